// "Flieskommakonverter" typed into: each field rewrites the others, mantissa and
// exponent fields show only their number while focused and turn red out of range,
// and the swap buttons rearrange the dump as typed.
#include "DialogTestSupport.h"

#include "gui/tools/FloatConverterDialog.h"

#include <QPushButton>

#include <vector>

using dualvex::FloatConverterDialog;
using dualvex::test::Base;
using dualvex::test::Control;
using dualvex::test::ShowActive;
using dualvex::test::TypeInto;

namespace {

enum : int {
    kDouble = 1055,
    kFloat = 1075,
    kDump = 1077,
    kDoubleMantissa = 1105,
    kFloatMantissa = 1106,
    kDoubleExponent = 1107,
    kFloatExponent = 1057,
};

QString Field(const QWidget& dialog, int id)
{
    return Control<QLineEdit>(dialog, id)->text();
}

const std::vector<std::uint8_t> kOne = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};

TEST(FloatConverterDialogTest, OpensOnTheBytesOfADouble)
{
    FloatConverterDialog dialog(kOne.data(), 8);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Flieskommakonverter"));
    EXPECT_EQ(Field(dialog, kDouble), QStringLiteral("1"));
    EXPECT_EQ(Field(dialog, kDoubleExponent), QStringLiteral("0  >3FFh"));
    EXPECT_EQ(Field(dialog, kDoubleMantissa), QStringLiteral("0  >0000h"));
    EXPECT_EQ(Field(dialog, kFloat), QStringLiteral("0"));
    EXPECT_EQ(Field(dialog, kDump), QStringLiteral(":00 00 00 00 00 00 F0 3F "));
    EXPECT_EQ(Base(Control<QLineEdit>(dialog, kFloatExponent)), QColor(255, 255, 155));
}

TEST(FloatConverterDialogTest, TypingAFloatRewritesTheOtherFields)
{
    FloatConverterDialog dialog(kOne.data(), 8);
    ShowActive(dialog);
    TypeInto(Control<QLineEdit>(dialog, kFloat), QStringLiteral("1.5"), false);
    EXPECT_EQ(Field(dialog, kFloat), QStringLiteral("1.5"));
    EXPECT_EQ(Field(dialog, kDump), QStringLiteral(":00 00 C0 3F "));
    EXPECT_EQ(Field(dialog, kFloatExponent), QStringLiteral("0  >7Fh"));
    EXPECT_EQ(Field(dialog, kFloatMantissa), QStringLiteral("4194304  >400000h"));
    // An integer text counts by its value, 1023 * 2^52 = 1.998046875 * 2^61, not as a
    // bit pattern.
    TypeInto(Control<QLineEdit>(dialog, kDouble), QStringLiteral("0x3FF0000000000000"), false);
    EXPECT_EQ(Field(dialog, kDump), QStringLiteral(":00 00 00 00 00 F8 CF 43 "));
    EXPECT_EQ(Field(dialog, kDoubleExponent), QStringLiteral("61  >43Ch"));
}

TEST(FloatConverterDialogTest, ExponentFieldShowsItsNumberWhileFocusedAndTurnsRedOutOfRange)
{
    FloatConverterDialog dialog(kOne.data(), 8);
    ShowActive(dialog);
    QLineEdit* exponent = Control<QLineEdit>(dialog, kDoubleExponent);
    exponent->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(exponent->text(), QStringLiteral("0"));
    EXPECT_EQ(exponent->selectedText(), QStringLiteral("0"));
    TypeInto(exponent, QStringLiteral("3"));
    EXPECT_EQ(Field(dialog, kDouble), QStringLiteral("8"));
    EXPECT_EQ(exponent->text(), QStringLiteral("3  >402h"));
    EXPECT_EQ(Base(exponent), QColor(255, 255, 155));

    TypeInto(exponent, QStringLiteral(">2048"), false);
    EXPECT_EQ(Base(exponent), QColor(255, 128, 128));
    TypeInto(exponent, QStringLiteral("1"), false);
    EXPECT_EQ(Base(exponent), QColor(255, 255, 155));
}

TEST(FloatConverterDialogTest, SwapButtonsRearrangeTheTypedDump)
{
    const struct {
        int button;
        const char* dump;
    } cases[] = {
        {1050, "02 01 04 03 06 05 08 07 "},
        {1051, "03 04 01 02 07 08 05 06 "},
        {1052, "05 06 07 08 01 02 03 04 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        FloatConverterDialog dialog(kOne.data(), 8);
        ShowActive(dialog);
        TypeInto(Control<QLineEdit>(dialog, kDump), QStringLiteral("01 02 03 04 05 06 07 08"), false);
        QTest::mouseClick(Control<QPushButton>(dialog, c.button), Qt::LeftButton);
        EXPECT_EQ(Field(dialog, kDump), QString::fromLatin1(c.dump));
    }
}

TEST(FloatConverterDialogTest, MissingBytesAreZero)
{
    const std::vector<std::uint8_t> two = {0x11, 0x22, 0x33};
    FloatConverterDialog dialog(two.data(), 2);
    EXPECT_EQ(Field(dialog, kDump), QStringLiteral(":11 22 00 00 00 00 00 00 "));
}

} // namespace
