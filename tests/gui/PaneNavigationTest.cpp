// The two panes under real input: keys, tool bar buttons, clicks in the strip and in
// the panes, on a pair whose second file is four bytes longer than the first.
#include <gtest/gtest.h>

#include "AnsiTestView.h"
#include "AppTestSupport.h"
#include "ManualClock.h"
#include "ViewWindowTest.h"
#include "gui/app/CDualvexView.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/HexDoubleWnd.h"
#include "gui/hexview/CHexView.h"
#include "gui/support/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <random>

using namespace dualvex;
using namespace dualvex::test;

namespace {

constexpr HexPos kFirstLength = 300000;
constexpr HexPos kSecondLength = kFirstLength + 4;

QByteArray RandomBytes(qsizetype size)
{
    std::mt19937 random(20261210);
    QByteArray bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
    return bytes;
}

QByteArray Changed(QByteArray bytes)
{
    const auto flip = [&bytes](HexPos from, HexPos to) {
        for (HexPos i = from; i <= to; ++i) bytes[static_cast<qsizetype>(i)] ^= 0x5A;
    };
    flip(0x40, 0x41);
    flip(0x1234, 0x1234);
    flip(0x20000, 0x20000);
    flip(0x30000, 0x3001F);
    flip(0x3FFFF, 0x3FFFF);
    bytes.append("\x01\x02\x03\x04", 4);
    return bytes;
}

class PaneNavigation : public ViewWindowTest {
  protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ShowWindow(1100, 700));
        QApplication::setActiveWindow(&m_frame);
        const QByteArray first = RandomBytes(kFirstLength);
        const QString p1 = WriteFile(m_dir, QStringLiteral("a.bin"), first);
        const QString p2 = WriteFile(m_dir, QStringLiteral("b.bin"), Changed(first));
        ASSERT_EQ(m_view->Load(p1, p2), LoadFailure::None);
        QApplication::processEvents();
    }
    void ClickFirstByte(int pane)
    {
        QTest::mouseClick(Pane(pane), Qt::LeftButton, {}, Pane(pane)->HexCellRect(0).center());
        ASSERT_TRUE(Pane(pane)->hasFocus());
    }
    QString StatusAddress() const
    {
        return m_frame.ExtraPaneCount() > 0 ? m_frame.ExtraPane(0)->text() : QString();
    }
    // After a jump to `target`: the pane that holds it has its cursor there, the
    // shorter one stands on its last byte, both panes show the same top address
    // with the target on the screen, and the status bar names the focused cursor.
    void ExpectJumpShown(HexPos target, int focused)
    {
        SCOPED_TRACE(QStringLiteral("target 0x%1").arg(target, 0, 16).toStdString());
        EXPECT_EQ(Pane(1)->GetCursorPos(false), target);
        EXPECT_EQ(Pane(0)->GetCursorPos(false), std::min(target, kFirstLength - 1));
        const HexPos top = Pane(0)->FirstVisiblePosition(false);
        EXPECT_EQ(Pane(1)->FirstVisiblePosition(false), top) << "the panes drifted apart";
        const HexPos width = Pane(0)->Core().Layout().Width();
        const HexPos fullLines = Pane(0)->FullLines();
        EXPECT_LE(top, target);
        EXPECT_LT(target, top + fullLines * width) << "the range's start is off the screen";
        EXPECT_EQ(StatusAddress(), StatusFor(Pane(focused)->GetCursorPos(false)));
    }
    static QString StatusFor(HexPos cursor)
    {
        return QStringLiteral(" Adr: 0x%1 / %2").arg(QString::number(cursor, 16).toUpper()).arg(cursor);
    }
};

struct Step {
    int command;
    HexPos target;
};
// Every navigation command, each far from the last position, back and forth.
const Step kWalk[] = {
    {cmd::LastDiff, 0x493E0}, {cmd::FirstDiff, 0x40},       {cmd::NextDiff, 0x1234},
    {cmd::NextDiff, 0x20000}, {cmd::NextDiff, 0x30000},     {cmd::PreviousDiff, 0x20000},
    {cmd::LastDiff, 0x493E0}, {cmd::PreviousDiff, 0x3FFFF}, {cmd::FirstDiff, 0x40},
    {cmd::NextDiff, 0x1234},  {cmd::NextDiff, 0x20000},     {cmd::NextDiff, 0x30000},
    {cmd::NextDiff, 0x3FFFF}, {cmd::NextDiff, 0x493E0},
};

QKeyCombination KeyOf(int command)
{
    switch (command) {
    case cmd::FirstDiff: return Qt::AltModifier | Qt::Key_Home;
    case cmd::LastDiff: return Qt::AltModifier | Qt::Key_End;
    case cmd::NextDiff: return Qt::AltModifier | Qt::Key_Down;
    default: return Qt::AltModifier | Qt::Key_Up;
    }
}

} // namespace

TEST_F(PaneNavigation, EveryJumpShowsItsRangeInBothPanesWithKeysInBothSplits)
{
    for (const bool horizontal : {false, true}) {
        SCOPED_TRACE(horizontal ? "one above the other" : "side by side");
        m_view->SetHorizontalSplit(horizontal);
        QApplication::processEvents();
        for (const int focused : {0, 1}) {
            SCOPED_TRACE(focused == 0 ? "focus in the shorter pane" : "focus in the longer pane");
            ClickFirstByte(focused);
            for (const Step& step : kWalk) {
                const QKeyCombination key = KeyOf(step.command);
                QTest::keyClick(Pane(focused), key.key(), key.keyboardModifiers());
                ExpectJumpShown(step.target, focused);
            }
            // At the last range nothing further can move, so nothing further is offered.
            EXPECT_FALSE(Enabled(cmd::NextDiff));
            EXPECT_FALSE(Enabled(cmd::LastDiff));
            EXPECT_TRUE(Enabled(cmd::PreviousDiff));
        }
    }
}

TEST_F(PaneNavigation, ToolBarButtonsJumpLikeTheKeys)
{
    ClickFirstByte(0);
    for (const Step& step : kWalk) {
        m_frame.Action(step.command)->trigger();
        ExpectJumpShown(step.target, 0);
    }
}

TEST_F(PaneNavigation, CurrentDifferenceBringsTheCursorBack)
{
    ClickFirstByte(0);
    QTest::keyClick(Pane(0), Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(Pane(0), Qt::Key_Down, Qt::AltModifier);
    ExpectJumpShown(0x1234, 0);
    for (int i = 0; i < 40; ++i) SendWheel(Pane(0), -120, Qt::ControlModifier); // away from the cursor
    ASSERT_GT(Pane(0)->FirstVisiblePosition(false), 0x1234 + Pane(0)->VisibleByteCount());
    EXPECT_EQ(Pane(1)->FirstVisiblePosition(false), Pane(0)->FirstVisiblePosition(false));
    QTest::keyClick(Pane(0), Qt::Key_Return, Qt::AltModifier);
    EXPECT_LE(Pane(0)->FirstVisiblePosition(false), 0x1234);
    EXPECT_EQ(Pane(1)->FirstVisiblePosition(false), Pane(0)->FirstVisiblePosition(false));
}

TEST_F(PaneNavigation, StripClicksMoveBothPanesAndTheStatusFollows)
{
    ClickFirstByte(0);
    for (const int y : {m_view->height() / 2, m_view->height() / 4, m_view->height() - 1}) {
        QTest::mouseClick(m_view, Qt::LeftButton, {}, QPoint(m_view->StripLeft() + 6, y));
        const HexPos cursor = Pane(0)->GetCursorPos(false);
        EXPECT_EQ(Pane(1)->FirstVisiblePosition(false), Pane(0)->FirstVisiblePosition(false));
        EXPECT_EQ(StatusAddress(), StatusFor(cursor));
    }
}

TEST_F(PaneNavigation, SettingsDialogChangesBothPanes)
{
    ClickFirstByte(0);
    ASSERT_NE(Pane(0)->Core().Layout().Width(), 12);
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* fixed = dialog->findChild<QCheckBox*>(QStringLiteral("c1045"));
        auto* width = dialog->findChild<QLineEdit*>(QStringLiteral("c1075"));
        ASSERT_TRUE(fixed && width);
        if (!fixed->isChecked()) QTest::mouseClick(fixed, Qt::LeftButton, {}, QPoint(4, fixed->height() / 2));
        width->selectAll();
        QTest::keyClicks(width, QStringLiteral("12"));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("c1")), Qt::LeftButton);
    });
    m_frame.Action(cmd::HexSettings)->trigger();
    EXPECT_EQ(Pane(0)->Core().Layout().Width(), 12);
    EXPECT_EQ(Pane(1)->Core().Layout().Width(), 12) << "the other pane took the new layout too";
    EXPECT_EQ(Pane(1)->FirstVisiblePosition(false), Pane(0)->FirstVisiblePosition(false));
}

TEST_F(PaneNavigation, DragSelectionBelowThePaneScrollsBothTogether)
{
    auto* clock = new ManualClock;
    Pane(0)->SetClock(std::unique_ptr<AnsiClock>(clock));
    const QPoint start = Pane(0)->HexCellRect(0x48).center();
    QTest::mousePress(Pane(0), Qt::LeftButton, {}, start);
    QTest::mouseMove(Pane(0), QPoint(start.x(), Pane(0)->TextHeight() + 15));
    for (int i = 0; i < 9; ++i) {
        clock->Advance(CAnsiView::kDragTimerMs);
        EXPECT_EQ(Pane(1)->FirstVisiblePosition(false), Pane(0)->FirstVisiblePosition(false)) << i;
    }
    QTest::mouseRelease(Pane(0), Qt::LeftButton, {}, QPoint(start.x(), Pane(0)->TextHeight() + 15));
    EXPECT_GT(Pane(0)->FirstVisiblePosition(false), 0);
    EXPECT_EQ(Pane(1)->FirstVisiblePosition(false), Pane(0)->FirstVisiblePosition(false));
    HexPos count0 = 0;
    HexPos count1 = 0;
    EXPECT_EQ(Pane(0)->GetSelection(false, &count0), Pane(1)->GetSelection(false, &count1));
    EXPECT_EQ(count0, count1);
    EXPECT_GT(count0, 0);
}

TEST_F(PaneNavigation, TheShorterPaneScrollsAsFarAsTheLongerOne)
{
    ClickFirstByte(1);
    QTest::keyClick(Pane(1), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Pane(1)->GetCursorPos(false), kSecondLength - 1);
    EXPECT_EQ(Pane(0)->FirstVisiblePosition(false), Pane(1)->FirstVisiblePosition(false));
}

namespace {

QMenu* OpenPopup()
{
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

void ClosePopup()
{
    if (QMenu* menu = OpenPopup()) menu->close();
    QApplication::processEvents();
}

// A right press as a desktop session delivers it: the press, then at once the
// platform's menu request (the offscreen platform sends no such request by itself).
void RightPress(QWidget* widget, QPoint at)
{
    QTest::mousePress(widget, Qt::RightButton, {}, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &request);
}

QStringList ActionNames(const QMenu* menu)
{
    QStringList names;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            names << action->objectName() + (action->isEnabled() ? QString() : QStringLiteral("-"));
    return names;
}

} // namespace

TEST_F(PaneNavigation, RightClickAndMenuKeyOnAPaneShowThePaneMenu)
{
    ClickFirstByte(0);
    const QPoint at = Pane(0)->HexCellRect(0x20).center();
    // Copy needs a selection; the panes of a comparison are read-only, so nothing can be
    // undone or pasted.
    const QStringList expected =
        QStringLiteral("cmd32780 cmd32790 cmd57634- cmd57636 cmd32778 cmd35085 cmd35081 "
                       "cmd32796 cmd57643- cmd35075- cmd35084- cmd35083- ansiColors ansiFonts")
            .split(QLatin1Char(' '));
    RightPress(Pane(0), at);
    EXPECT_EQ(OpenPopup(), nullptr) << "the menu waits for the release";
    QTest::mouseRelease(Pane(0), Qt::RightButton, {}, at);
    ASSERT_NE(OpenPopup(), nullptr);
    EXPECT_EQ(ActionNames(OpenPopup()), expected);
    ClosePopup();
    QTest::keyClick(Pane(0), Qt::Key_Menu);
    ASSERT_NE(OpenPopup(), nullptr) << "the Menu key opens the same menu";
    EXPECT_EQ(ActionNames(OpenPopup()), expected);
    ClosePopup();
}

TEST_F(PaneNavigation, TheTitleBarsKeepThePathMenu)
{
    QLabel* title = m_view->DoubleWindow()->TitleBar(1);
    ASSERT_TRUE(title->isVisible());
    RightPress(title, QPoint(10, title->height() / 2));
    ASSERT_NE(OpenPopup(), nullptr);
    EXPECT_EQ(ActionNames(OpenPopup()), QStringLiteral("cmd35078 cmd35079").split(QLatin1Char(' ')));
    ClosePopup();
}

TEST_F(PaneNavigation, ALongRightPressPansWithTheHandInsteadOfOpeningTheMenu)
{
    auto* clock = new ManualClock;
    Pane(0)->SetClock(std::unique_ptr<AnsiClock>(clock));
    Pane(0)->SetTopAddress(0x10000, false);
    const HexPos before = Pane(0)->FirstVisiblePosition(false);
    const QPoint at = Pane(0)->HexCellRect(before + 0x100).center();
    RightPress(Pane(0), at);
    clock->Advance(6 * CAnsiView::kDragTimerMs);
    EXPECT_TRUE(Pane(0)->IsPanning());
    EXPECT_EQ(Pane(0)->cursor().shape(), Qt::ClosedHandCursor);
    EXPECT_EQ(OpenPopup(), nullptr);
    QTest::mouseMove(Pane(0), at - QPoint(0, 3 * Pane(0)->CharHeight()));
    QTest::mouseRelease(Pane(0), Qt::RightButton, {}, at - QPoint(0, 3 * Pane(0)->CharHeight()));
    EXPECT_EQ(OpenPopup(), nullptr) << "a pan ends without a menu";
    EXPECT_FALSE(Pane(0)->IsPanning());
    const HexPos width = Pane(0)->Core().Layout().Width();
    EXPECT_EQ(Pane(0)->FirstVisiblePosition(false), before + 3 * width);
    EXPECT_EQ(Pane(1)->FirstVisiblePosition(false), Pane(0)->FirstVisiblePosition(false));
}

TEST_F(PaneNavigation, CommandsThatWouldDoNothingAreGreyed)
{
    ClickFirstByte(0);
    for (int id : {cmd::New, cmd::Cut, cmd::Paste, cmd::CopyCpp, cmd::FindRange})
        EXPECT_FALSE(Enabled(id)) << id;
    for (int id : {cmd::Open, cmd::Reload, cmd::HexSettings, cmd::Font, cmd::Colours, cmd::SplitHorizontal,
                   cmd::Checksum, cmd::Calculator, cmd::CrcCalculator, cmd::FloatConverter, cmd::InsertNumber,
                   cmd::Find, cmd::GotoAddress})
        EXPECT_TRUE(Enabled(id)) << id;
    QTest::keyClick(Pane(0), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(Pane(0)->GetCursorPos(false), 0);
}

// ---- the tools, reached by their keys, menus and the pane menu ----------------------

namespace {

// Runs `open` and answers the modal dialog it shows with `answer`; returns the
// dialog's class name.
QString AnswerDialog(const std::function<void()>& open, const std::function<void(QDialog*)>& answer)
{
    QString seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        seen = QString::fromLatin1(dialog->metaObject()->className());
        answer(dialog);
    });
    open();
    return seen;
}

} // namespace

TEST_F(PaneNavigation, EveryToolOpensFromItsKeyOrMenu)
{
    ClickFirstByte(0);
    const auto close = [](QDialog* dialog) { dialog->reject(); };
    // The window manager gives the activation back after a dialog; offscreen, the test does.
    const auto activate = [this] {
        QApplication::setActiveWindow(&m_frame);
        Pane(0)->setFocus();
    };
    EXPECT_EQ(
        AnswerDialog([&] { activate(), QTest::keyClick(Pane(0), Qt::Key_Y, Qt::ControlModifier); }, close),
        QStringLiteral("dualvex::CalculatorDialog"));
    EXPECT_EQ(AnswerDialog([&] { activate(), QTest::keyClick(Pane(0), Qt::Key_F5); }, close),
              QStringLiteral("dualvex::ChecksumDialog"));
    EXPECT_EQ(
        AnswerDialog([&] { activate(), QTest::keyClick(Pane(0), Qt::Key_F, Qt::ControlModifier); }, close),
        QStringLiteral("dualvex::FindDialog"));
    EXPECT_EQ(AnswerDialog([&] { activate(), QTest::keyClick(Pane(0), Qt::Key_F10); }, close),
              QStringLiteral("dualvex::GotoDialog"));
    for (const auto& [id, name] : {std::pair{cmd::CrcCalculator, "dualvex::CrcDialog"},
                                   std::pair{cmd::FloatConverter, "dualvex::FloatConverterDialog"},
                                   std::pair{cmd::InsertNumber, "dualvex::NumberInputDialog"}})
        EXPECT_EQ(AnswerDialog([&] { activate(), m_frame.Action(id)->trigger(); }, close),
                  QString::fromLatin1(name))
            << id;
}

TEST_F(PaneNavigation, CtrlACopiesTheSelectionAsSourceText)
{
    ClickFirstByte(0);
    QTest::keyClick(Pane(0), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(Pane(0), Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_TRUE(Pane(0)->HasSelection());
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(AnswerDialog([&] { QTest::keyClick(Pane(0), Qt::Key_A, Qt::ControlModifier); },
                           [](QDialog* dialog) { dialog->accept(); }),
              QStringLiteral("dualvex::CppCopyDialog"));
    const auto first = static_cast<std::uint8_t>(RandomBytes(1)[0]);
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(text.contains(QStringLiteral("%1").arg(first, 2, 16, QLatin1Char('0')), Qt::CaseInsensitive))
        << text.toStdString();
}

TEST_F(PaneNavigation, InsertNumberOnTheComparedFilesIsRefusedWithAMessage)
{
    SeamRecorder boxes;
    ClickFirstByte(0);
    const std::uint8_t before = *Pane(0)->Core().GetData(nullptr, nullptr);
    QTest::keyClick(Pane(0), Qt::Key_Menu);
    QMenu* menu = OpenPopup();
    ASSERT_NE(menu, nullptr);
    QAction* insert = menu->findChild<QAction*>(QStringLiteral("cmd32796"));
    ASSERT_NE(insert, nullptr);
    EXPECT_EQ(AnswerDialog([&] { insert->trigger(); }, [](QDialog* dialog) { dialog->accept(); }),
              QStringLiteral("dualvex::NumberInputDialog"));
    ClosePopup();
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_EQ(boxes.texts[0], QStringLiteral("Die Daten sind schreibgeschützt !"));
    EXPECT_EQ(*Pane(0)->Core().GetData(nullptr, nullptr), before);
}
