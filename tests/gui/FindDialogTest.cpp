// "Wert suchen" typed into as a user does: the kind follows the text, the kind
// buttons re-render it, the enabling rules, the group list and what OK commits.
#include "DialogTestSupport.h"
#include "HexViewTestSupport.h"

#include "gui/tools/FindDialog.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace dualvex {
namespace {

using test::ClearStoredSettings;
using test::ClickBox;
using test::Control;
using test::ShowActive;
using test::TypeInto;

QComboBox* Value(const QWidget& dialog)
{
    return Control<QComboBox>(dialog, 1042);
}

TEST(FindDialogTest, TheKindFollowsTheTypedText)
{
    const struct {
        const char* text;
        int kindId;
        bool variable;
    } cases[] = {{"4660", 1087, false}, {"0x12", 1088, false},  {"0b101", 1089, false}, {"0o17", 1090, false},
                 {"\"ab", 1091, true},  {":12 34", 1092, true}, {":1?", 1124, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ClearStoredSettings();
        SearchState state;
        FindDialog dialog(state, {});
        ShowActive(dialog);
        TypeInto(Value(dialog), QString::fromUtf8(c.text), false);
        EXPECT_TRUE(Control<QRadioButton>(dialog, c.kindId)->isChecked());
        if (c.variable) {
            EXPECT_TRUE(Control<QRadioButton>(dialog, 1096)->isChecked());
        }
    }
}

TEST(FindDialogTest, KindButtonsRenderTheValue)
{
    ClearStoredSettings();
    SearchState state;
    FindDialog dialog(state, {});
    ShowActive(dialog);
    TypeInto(Value(dialog), QStringLiteral("255"), false);
    QTest::mouseClick(Control<QRadioButton>(dialog, 1088), Qt::LeftButton);
    EXPECT_EQ(Value(dialog)->currentText(), QStringLiteral("0xFF"));
    TypeInto(Value(dialog), QString(), false);
    QTest::mouseClick(Control<QRadioButton>(dialog, 1124), Qt::LeftButton);
    EXPECT_EQ(Value(dialog)->currentText(), QStringLiteral(":"));
    EXPECT_TRUE(Control<QRadioButton>(dialog, 1124)->isChecked());
}

TEST(FindDialogTest, EnablingRules)
{
    ClearStoredSettings();
    SearchState state;
    state.flags = kFindWrap | kFindHasSelection;
    FindDialog dialog(state, {});
    ShowActive(dialog);
    TypeInto(Value(dialog), QStringLiteral("\"ab\""), false);
    EXPECT_TRUE(Control<QCheckBox>(dialog, 1043)->isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(dialog, 1126)->isEnabled());
    TypeInto(Value(dialog), QStringLiteral("4660"), false);
    QTest::mouseClick(Control<QRadioButton>(dialog, 1094), Qt::LeftButton);
    EXPECT_FALSE(Control<QCheckBox>(dialog, 1043)->isEnabled());
    EXPECT_TRUE(Control<QCheckBox>(dialog, 1126)->isEnabled());
    auto* inSelection = Control<QCheckBox>(dialog, 1045);
    auto* fromStart = Control<QCheckBox>(dialog, 1098);
    ClickBox(inSelection);
    EXPECT_FALSE(Control<QRadioButton>(dialog, 1047)->isEnabled());
    ClickBox(fromStart);
    EXPECT_FALSE(inSelection->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(dialog, 1047)->isEnabled());
}

TEST(FindDialogTest, OkCommitsTheValueAsTheActiveList)
{
    ClearStoredSettings();
    SearchState state;
    FindDialog dialog(state, {});
    ShowActive(dialog);
    TypeInto(Value(dialog), QStringLiteral("4660"), false);
    QTest::mouseClick(Control<QRadioButton>(dialog, 1094), Qt::LeftButton);
    ClickBox(Control<QCheckBox>(dialog, 1126));
    QTest::mouseClick(Control<QPushButton>(dialog, 1), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(state.activeList.Count(), 2);
    EXPECT_EQ(state.activeList.At(1).substr(0, 12), "D:2 /B\t:12 3");
    EXPECT_EQ(state.history.At(0), "4660");
    EXPECT_EQ(state.lastByteCount, kCountWord);
}

TEST(FindDialogTest, GroupListGrowsTheDialogAndCollectsEntries)
{
    ClearStoredSettings();
    SearchState state;
    FindDialog dialog(state, {});
    ShowActive(dialog);
    const int small = dialog.height();
    auto* list = Control<QListWidget>(dialog, 1099);
    EXPECT_FALSE(list->isVisible());
    ClickBox(Control<QCheckBox>(dialog, 1046));
    EXPECT_TRUE(list->isVisible());
    EXPECT_GT(dialog.height(), small);
    auto* add = Control<QPushButton>(dialog, 1100);
    for (const char* text : {"\"AB\"", "\"CD\"", "\"EF\""}) {
        TypeInto(Value(dialog), QString::fromUtf8(text), false);
        QTest::mouseClick(add, Qt::LeftButton);
    }
    ASSERT_EQ(list->count(), 3);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QTest::mouseClick(Control<QPushButton>(dialog, 1103), Qt::LeftButton);
    EXPECT_TRUE(list->item(2)->text().endsWith(QStringLiteral("(\"AB\")")));
    // Double-clicking an entry loads it back into the value field.
    // A user's double click starts with a plain press and release on the item.
    const QPoint entry = list->visualItemRect(list->item(2)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, entry);
    EXPECT_EQ(Value(dialog)->currentText(), QStringLiteral("\"AB\""));
    QTest::mouseClick(Control<QPushButton>(dialog, FindDialog::kSearchAgain), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), FindDialog::kSearchAgain);
    EXPECT_EQ(state.activeList.Count(), 4);
    EXPECT_EQ(state.activeList.At(0), "1000");
}

} // namespace
} // namespace dualvex
