// "Zahlen eingabe" and its use for "Kopiere im C++ Format": the bytes a typed number
// gives, the captions of the format variant, the preview that follows the input on
// the timer, and the copy options kept between runs.
#include "DialogTestSupport.h"
#include "HexViewTestSupport.h"
#include "ManualClock.h"

#include "core/hexview/CppArray.h"
#include "gui/tools/CppCopyDialog.h"
#include "gui/tools/NumberInputDialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <vector>

using dualvex::CppCopyDialog;
using dualvex::NumberInputDialog;
using dualvex::NumberInputParams;
using dualvex::test::ClearStoredSettings;
using dualvex::test::ClickBox;
using dualvex::test::Control;
using dualvex::test::ManualClock;
using dualvex::test::ShowActive;
using dualvex::test::TypeInto;
using Bytes = std::vector<std::uint8_t>;

namespace {

NumberInputParams Plain(Bytes value, int byteCount, bool hex = true)
{
    NumberInputParams params;
    std::copy(value.begin(), value.end(), params.value.begin());
    params.byteCount = byteCount;
    params.hexDisplay = hex;
    return params;
}

TEST(NumberInputDialogTest, ShowsTheValueWithTheSignOfItsHighestByte)
{
    const struct {
        Bytes value;
        int count;
        bool hex;
        const char* shown;
    } cases[] = {
        {{0x78, 0x56, 0x34, 0x12}, 4, true, "0x12345678"},
        {{0x80, 0x00}, 2, true, "0x80"},
        {{0x80, 0xFF}, 2, false, "-128"},
    };
    for (const auto& c : cases) {
        NumberInputDialog dialog(Plain(c.value, c.count, c.hex));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Zahlen eingabe"));
        EXPECT_EQ(Control<QLineEdit>(dialog, 1055)->text(), QString::fromLatin1(c.shown));
    }
}

TEST(NumberInputDialogTest, TypedNumbersGiveTheirBytes)
{
    const struct {
        const char* typed;
        int button; // 1093 + index
        bool bigEndian;
        Bytes bytes;
    } cases[] = {
        {"0xAABB", 1, false, {0xBB, 0xAA}}, {"0xAABB", 1, true, {0xAA, 0xBB}},
        {"1+2*3", 0, false, {0x07}},        {":01 02 03", 2, false, {0x01, 0x02, 0x03, 0x00}},
        {"-1", 3, false, Bytes(8, 0xFF)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        NumberInputDialog dialog(Plain({0x78, 0x56, 0x34, 0x12}, 4));
        ShowActive(dialog);
        TypeInto(Control<QLineEdit>(dialog, 1055), QString::fromLatin1(c.typed), false);
        QTest::mouseClick(Control<QRadioButton>(dialog, 1093 + c.button), Qt::LeftButton, {}, QPoint(5, 5));
        if (c.bigEndian) ClickBox(Control<QCheckBox>(dialog, 1122));
        QTest::mouseClick(Control<QPushButton>(dialog, 1), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.OutputBytes(), c.bytes);
    }
}

TEST(NumberInputDialogTest, CaptionsFollowTheChosenFormat)
{
    ClearStoredSettings();
    const Bytes selection = {1, 2, 3};
    ManualClock clock;
    CppCopyDialog dialog(selection, nullptr, &clock);
    ShowActive(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kopiere im C++ Format"));
    EXPECT_EQ(Control<QLabel>(dialog, 1120)->text(), QStringLiteral("Spaltenbreite"));
    EXPECT_EQ(Control<QRadioButton>(dialog, 1096)->text(), QStringLiteral("&QWord"));
    QTest::mouseClick(Control<QRadioButton>(dialog, 1031), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Control<QRadioButton>(dialog, 1093)->text(), QStringLiteral("Base 64"));
    EXPECT_EQ(Control<QRadioButton>(dialog, 1096)->text(), QStringLiteral("Chars"));
    QTest::mouseClick(Control<QRadioButton>(dialog, 1032), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Control<QRadioButton>(dialog, 1096)->text(), QStringLiteral("---"));
}

TEST(NumberInputDialogTest, PreviewFollowsThreeTicksAfterTheLastChange)
{
    ClearStoredSettings();
    const Bytes selection = {0x01, 0x02, 0x03};
    ManualClock clock;
    CppCopyDialog dialog(selection, nullptr, &clock);
    ShowActive(dialog);
    QLineEdit* preview = Control<QLineEdit>(dialog, 1075);
    clock.Advance(NumberInputDialog::kPreviewMs);
    EXPECT_EQ(preview->text(), QStringLiteral("0x01,0x02,0x03,"));
    TypeInto(Control<QLineEdit>(dialog, 1055), QStringLiteral("2"), false);
    clock.Advance(2 * NumberInputDialog::kPreviewMs);
    EXPECT_EQ(preview->text(), QStringLiteral("0x01,0x02,0x03,"));
    clock.Advance(NumberInputDialog::kPreviewMs);
    EXPECT_EQ(preview->text(), QStringLiteral("0x01,0x02,"));
}

TEST(NumberInputDialogTest, CopyOptionsAreKeptAndMakeTheText)
{
    ClearStoredSettings();
    const Bytes selection = {0x34, 0x12, 0x78, 0x56};
    ManualClock clock;
    {
        CppCopyDialog dialog(selection, nullptr, &clock);
        ShowActive(dialog);
        TypeInto(Control<QLineEdit>(dialog, 1055), QStringLiteral("0x1"), false);
        QTest::mouseClick(Control<QRadioButton>(dialog, 1094), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(Control<QPushButton>(dialog, 1), Qt::LeftButton);
        EXPECT_EQ(dialog.Text(), QStringLiteral("0x1234,\n0x5678,\n"));
    }
    const dualvex::CppCopySettings stored = dualvex::LoadCppCopySettings();
    EXPECT_EQ(stored.lineSize, 1);
    EXPECT_EQ(stored.valueSize, 2);
    EXPECT_EQ(stored.format, 0);
    EXPECT_TRUE(stored.hexLineSize);
    CppCopyDialog again(selection, nullptr, &clock);
    EXPECT_EQ(Control<QLineEdit>(again, 1055)->text(), QStringLiteral("0x1"));
    EXPECT_TRUE(Control<QRadioButton>(again, 1094)->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(again, 1122)->isChecked());
    // Cancel keeps the options.
    ShowActive(again);
    QTest::mouseClick(Control<QRadioButton>(again, 1095), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(Control<QPushButton>(again, 2), Qt::LeftButton);
    EXPECT_EQ(dualvex::LoadCppCopySettings().valueSize, 2);
    ClearStoredSettings();
}

TEST(NumberInputDialogTest, EscapedCopyPutsTheTextOnTheClipboard)
{
    const Bytes selection = {'a', '"', 0x0A, 0x01};
    EXPECT_GT(dualvex::CopyEscapedSelection(selection), 0);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QString::fromStdString(dualvex::EscapedSelectionText(selection)));
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("a\\\"\\n")));
}

} // namespace
