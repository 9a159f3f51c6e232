// Keyboard navigation and typing, undo and redo with the modified flag, the
// clipboard and the read-only refusals of a hex pane, driven by simulated keys.
#include "HexViewTestSupport.h"
#include "gui/support/CommandIds.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>

using dualvex::CHexView;
using dualvex::HexNotify;
using dualvex::HexPos;
using dualvex::test::HexViewFixture;

namespace {

class HexViewEdit : public HexViewFixture {
  protected:
    void SetUp() override
    {
        HexViewFixture::SetUp();
        Bind(64);
        Show();
    }
    void Type(const char* text) { QTest::keyClicks(view.get(), QString::fromLatin1(text)); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(view.get(), key, modifiers);
    }
};

TEST_F(HexViewEdit, ArrowKeysMoveByDigitsAndLines)
{
    Key(Qt::Key_Right);
    EXPECT_EQ(view->GetCursorPos(false), 0); // second digit of byte 0
    Key(Qt::Key_Right);
    EXPECT_EQ(view->GetCursorPos(false), 1);
    Key(Qt::Key_Down);
    EXPECT_EQ(view->GetCursorPos(false), 17);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view->GetCursorPos(false), 63);
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view->GetCursorPos(false), 0);
}

TEST_F(HexViewEdit, TypingHexDigitsOverwritesNibblesAndMarksModified)
{
    EXPECT_FALSE(view->IsModified());
    Type("a5");
    EXPECT_EQ(data[0], 0xA5);
    EXPECT_TRUE(view->IsModified());
    EXPECT_EQ(view->GetCursorPos(false), 1);
    Type("F");
    EXPECT_EQ(data[1], 0xF1);
}

TEST_F(HexViewEdit, InvalidHexDigitChangesNothing)
{
    Type("g");
    EXPECT_EQ(data[0], 0x00);
    EXPECT_FALSE(view->IsModified());
    EXPECT_EQ(view->GetCursorPos(false), 0);
}

TEST_F(HexViewEdit, TabCyclesToTheCharacterColumnWhereCharactersAreTyped)
{
    Key(Qt::Key_Tab);
    EXPECT_EQ(view->Core().Cursor().area, dualvex::kAreaChars);
    Type("Hi");
    QTest::sendKeyEvent(QTest::Click, view.get(), Qt::Key_Adiaeresis, QString(QChar(0xE4)), Qt::NoModifier);
    EXPECT_EQ(data[0], 'H');
    EXPECT_EQ(data[1], 'i');
    EXPECT_EQ(data[2], 0xE4); // Latin-1 stays one byte
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(view->Core().Cursor().area, dualvex::kAreaHex);
    EXPECT_TRUE(view->hasFocus());
}

TEST_F(HexViewEdit, BackspaceStepsLeftWithoutDeleting)
{
    Type("12");
    Key(Qt::Key_Backspace);
    EXPECT_EQ(view->GetCursorPos(false), 0);
    EXPECT_EQ(data[0], 0x12);
    EXPECT_EQ(data[1], 0x01);
}

TEST_F(HexViewEdit, UndoAndRedoRestoreBytesAndTheModifiedFlag)
{
    Type("ff");
    ASSERT_EQ(data[0], 0xFF);
    EXPECT_TRUE(view->Undo());
    EXPECT_TRUE(view->Undo());
    EXPECT_EQ(data[0], 0x00);
    EXPECT_FALSE(view->IsModified());
    EXPECT_FALSE(view->Undo());
    EXPECT_TRUE(view->OnCommand(dualvex::cmd::Redo));
    EXPECT_TRUE(view->OnCommand(dualvex::cmd::Redo));
    EXPECT_EQ(data[0], 0xFF);
    EXPECT_TRUE(view->IsModified());
}

TEST_F(HexViewEdit, UndoRingKeepsTheLast255Edits)
{
    Key(Qt::Key_Tab);
    for (int i = 0; i < 256; ++i) {
        Type("x");
        if (view->GetCursorPos(false) == 63) Key(Qt::Key_Home, Qt::ControlModifier);
    }
    int undone = 0;
    while (view->Undo()) ++undone;
    EXPECT_EQ(undone, 255);
    EXPECT_TRUE(view->IsModified());
}

TEST_F(HexViewEdit, ShiftArrowsSelectAndNotify)
{
    QSignalSpy spy(view.get(), &CHexView::HexNotification);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_TRUE(view->HasSelection());
    HexPos count = 0;
    EXPECT_EQ(view->GetSelection(false, &count), 0);
    EXPECT_EQ(count, 2);
    bool sawSelection = false;
    for (const QList<QVariant>& signal : spy) {
        if (signal.at(1).toInt() != dualvex::kNotifySelection) continue;
        sawSelection = true;
        EXPECT_EQ(signal.at(2).value<HexNotify>().third, 1);
    }
    EXPECT_TRUE(sawSelection);
}

TEST_F(HexViewEdit, OwnerMovesAreSilent)
{
    QSignalSpy spy(view.get(), &CHexView::HexNotification);
    view->SetCursorPos(10, false);
    view->SelectTo(20, false);
    view->SetCursorPos(5, false, true);
    for (const QList<QVariant>& signal : spy) EXPECT_NE(signal.at(1).toInt(), dualvex::kNotifySelection);
}

TEST_F(HexViewEdit, CopyPutsHexOrTextOnTheClipboard)
{
    data[0] = 0x41, data[1] = 0x42, data[2] = 0x00;
    view->SetCursorPos(0, false);
    view->SelectTo(3, false);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral(":41 42 00"));
    data[2] = 0x43;
    Key(Qt::Key_Tab);
    view->SetCursorPos(0, false);
    view->SelectTo(3, false);
    EXPECT_TRUE(view->Copy());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("ABC"));
}

TEST_F(HexViewEdit, PasteHexWritesAtTheCursorAndUndoes)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("0xDE, 0xAD,0xBE 0xEF"));
    view->SetCursorPos(4, false);
    EXPECT_TRUE(view->PasteHex());
    EXPECT_EQ(data[4], 0xDE);
    EXPECT_EQ(data[7], 0xEF);
    EXPECT_EQ(data[8], 8);
    EXPECT_TRUE(view->Undo());
    EXPECT_EQ(data[4], 4);
    EXPECT_EQ(data[7], 7);
}

TEST_F(HexViewEdit, PasteValueTakesQuotedTextAndStopsAtTheDataEnd)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("\"xyz\""));
    view->SetCursorPos(62, false);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(data[62], 'x');
    EXPECT_EQ(data[63], 'y');
}

TEST_F(HexViewEdit, HugeOrJunkClipboardTextNeverWritesBeyondTheData)
{
    const std::vector<std::uint8_t> before = data;
    QString junk(3 * 1024 * 1024, Qt::Uninitialized);
    for (qsizetype i = 0; i < junk.size(); ++i)
        junk[i] = QChar(static_cast<char16_t>((i * 7919) % 0xD7FF + 1));
    for (const QString& text : {junk, QString(4 * 1024 * 1024, QLatin1Char('A')),
                                QStringLiteral("00 ").repeated(2 * 1024 * 1024)}) {
        QGuiApplication::clipboard()->setText(text);
        view->SetCursorPos(60, false);
        (void)view->PasteValue();
        (void)view->PasteHex();
    }
    for (std::size_t i = 0; i < 60; ++i) EXPECT_EQ(data[i], before[i]) << i;
}

TEST_F(HexViewEdit, WrittenBytesAreClippedAtTheEndAndUndoable)
{
    const std::uint8_t bytes[] = {0xAA, 0xBB, 0xCC, 0xDD};
    view->SetCursorPos(62, false);
    EXPECT_EQ(view->WriteBytes(bytes, 4), dualvex::HexWriteResult::Written);
    EXPECT_EQ(data[62], 0xAA);
    EXPECT_EQ(data[63], 0xBB);
    EXPECT_TRUE(view->IsModified());
    EXPECT_TRUE(view->Undo());
    EXPECT_EQ(data[62], 62);
    EXPECT_EQ(data[63], 63);
    Bind(64, false);
    EXPECT_EQ(view->WriteBytes(bytes, 4), dualvex::HexWriteResult::ReadOnly);
    EXPECT_EQ(data[0], 0);
}

TEST_F(HexViewEdit, ReadOnlyPaneRefusesTypingPasteAndUndo)
{
    Bind(64, false);
    ASSERT_TRUE(view->IsReadOnly());
    Type("ff");
    QGuiApplication::clipboard()->setText(QStringLiteral("11 22"));
    EXPECT_FALSE(view->PasteHex());
    EXPECT_FALSE(view->PasteValue());
    EXPECT_FALSE(view->Undo());
    EXPECT_EQ(data[0], 0x00);
    EXPECT_EQ(data[1], 0x01);
    EXPECT_FALSE(view->IsModified());
    dualvex::CommandState state;
    EXPECT_TRUE(view->OnUpdateCommand(dualvex::cmd::Paste, state));
    EXPECT_FALSE(state.enabled);
}

// Find next needs a search and range search a selection; the pane's own hooks for the
// window's Ctrl+F and Ctrl+Y never type the letters as digits.
TEST_F(HexViewEdit, SearchCommandsNeedTheirInputAndCtrlKeysTypeNothing)
{
    for (int id : {dualvex::cmd::FindRange, dualvex::cmd::CopyCpp}) {
        dualvex::CommandState state;
        state.enabled = true;
        EXPECT_FALSE(view->OnUpdateCommand(id, state) && state.enabled) << id;
    }
    for (int id : {dualvex::cmd::Find, dualvex::cmd::GotoAddress}) {
        dualvex::CommandState state;
        EXPECT_TRUE(view->OnUpdateCommand(id, state) && state.enabled) << id;
    }
    Key(Qt::Key_F, Qt::ControlModifier);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(data[0], 0x00);
    EXPECT_FALSE(view->IsModified());
}

TEST_F(HexViewEdit, CtrlZUndoesAndCtrlShiftZRedoes)
{
    Type("ab");
    ASSERT_EQ(data[0], 0xAB);
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(data[0], 0x00);
    EXPECT_FALSE(view->IsModified());
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(data[0], 0xAB);
}

TEST_F(HexViewEdit, FocusChangesAreNotified)
{
    QWidget other;
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    QSignalSpy spy(view.get(), &CHexView::HexNotification);
    other.activateWindow();
    other.setFocus();
    QApplication::processEvents();
    view->activateWindow();
    view->setFocus();
    QApplication::processEvents();
    std::vector<int> codes;
    for (const QList<QVariant>& signal : spy) codes.push_back(signal.at(1).toInt());
    EXPECT_NE(std::find(codes.begin(), codes.end(), dualvex::kNotifyFocusLost), codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), dualvex::kNotifyFocusGained), codes.end());
}

} // namespace
