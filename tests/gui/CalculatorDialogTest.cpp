// "Zahlen umwandeln" typed into: the five outputs while typing, the light red input
// for what cannot be read, the history kept on closing and the refresh tick.
#include "DialogTestSupport.h"
#include "HexViewTestSupport.h"
#include "ManualClock.h"

#include "gui/tools/CalculatorDialog.h"

#include <QPushButton>
#include <QSignalBlocker>

using dualvex::CalculatorDialog;
using dualvex::test::Base;
using dualvex::test::ClearStoredSettings;
using dualvex::test::Control;
using dualvex::test::ManualClock;
using dualvex::test::ShowActive;
using dualvex::test::TypeInto;

namespace {

QString Output(const QWidget& dialog, int id)
{
    return Control<QLineEdit>(dialog, id)->text();
}

TEST(CalculatorDialogTest, OpensWithTheInitialValueInHex)
{
    ClearStoredSettings();
    ManualClock clock;
    CalculatorDialog dialog(0x41, nullptr, &clock);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Zahlen umwandeln"));
    EXPECT_EQ(Control<QComboBox>(dialog, 1042)->currentText(), QStringLiteral("0x41"));
    EXPECT_EQ(Output(dialog, 1075), QStringLiteral("65"));
    EXPECT_EQ(Output(dialog, 1107), QStringLiteral("A"));
    EXPECT_EQ(Base(Control<QLineEdit>(dialog, 1077)), QColor(255, 255, 155));
    dialog.show();
    EXPECT_FALSE(Control<QPushButton>(dialog, 2)->isVisible());
}

TEST(CalculatorDialogTest, TypedExpressionsShowTheirValueOrTurnRed)
{
    ClearStoredSettings();
    ManualClock clock;
    CalculatorDialog dialog(0, nullptr, &clock);
    ShowActive(dialog);
    QComboBox* input = Control<QComboBox>(dialog, 1042);
    const struct {
        const char* typed;
        const char* decimal;
        bool valid;
    } cases[] = {
        {"0x10+010", "26", true}, {"17o+1", "16", true},      {"'\\n'", "10", true},
        {"1|2&3", "3", true},     {"ABS(2-7)*2", "10", true}, {"1 ? 2 : 1/0", "2", true},
        {"~0", "-1", true},       {"1/0", "1", false},        {"", "0", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        TypeInto(input, QString::fromLatin1(c.typed), false);
        EXPECT_EQ(Output(dialog, 1075), QString::fromLatin1(c.decimal));
        EXPECT_EQ(dialog.Valid(), c.valid);
        EXPECT_EQ(Base(input->lineEdit()) == QColor(255, 128, 128), !c.valid);
    }
    TypeInto(input, QStringLiteral("0x12345"), false);
    EXPECT_EQ(Output(dialog, 1077), QStringLiteral("0x12345"));
    EXPECT_EQ(Output(dialog, 1105), QStringLiteral("0o221505"));
    EXPECT_EQ(Output(dialog, 1106), QStringLiteral("0b10001101000101"));
}

TEST(CalculatorDialogTest, ClosingPutsTheInputFirstInTheHistory)
{
    ClearStoredSettings();
    ManualClock clock;
    for (const char* typed : {"1+1", "2+2", "1+1"}) {
        CalculatorDialog dialog(0, nullptr, &clock);
        ShowActive(dialog);
        TypeInto(Control<QComboBox>(dialog, 1042), QString::fromLatin1(typed), false);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    }
    CalculatorDialog dialog(0, nullptr, &clock);
    QComboBox* input = Control<QComboBox>(dialog, 1042);
    // The repeated entry moved to the front instead of appearing twice.
    ASSERT_EQ(input->count(), 2);
    EXPECT_EQ(input->itemText(0), QStringLiteral("1+1"));
    EXPECT_EQ(input->itemText(1), QStringLiteral("2+2"));
    ClearStoredSettings();
}

// A list entry chosen without a notification is picked up by the next tick.
TEST(CalculatorDialogTest, TheTickCatchesASilentListChoice)
{
    ClearStoredSettings();
    ManualClock clock;
    {
        CalculatorDialog first(0, nullptr, &clock);
        ShowActive(first);
        TypeInto(Control<QComboBox>(first, 1042), QStringLiteral("6*7"), false);
        QTest::mouseClick(Control<QPushButton>(first, 1), Qt::LeftButton);
    }
    CalculatorDialog dialog(0, nullptr, &clock);
    QComboBox* input = Control<QComboBox>(dialog, 1042);
    {
        const QSignalBlocker quiet(input);
        input->setCurrentIndex(0);
    }
    EXPECT_EQ(Output(dialog, 1075), QStringLiteral("0"));
    clock.Advance(CalculatorDialog::kRefreshMs - 1);
    EXPECT_EQ(Output(dialog, 1075), QStringLiteral("0"));
    clock.Advance(1);
    EXPECT_EQ(Output(dialog, 1075), QStringLiteral("42"));
    ClearStoredSettings();
}

} // namespace
