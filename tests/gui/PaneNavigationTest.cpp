// The two panes under real input: keys, tool bar buttons, clicks in the strip and in
// the panes, on a pair whose second file is four bytes longer than the first.
#include <gtest/gtest.h>

#include "AnsiTestView.h"
#include "AppTestSupport.h"
#include "ManualClock.h"
#include "gui/app/CDualvexView.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/HexDoubleWnd.h"
#include "gui/hexview/CHexView.h"
#include "gui/support/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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

class PaneNavigation : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_frame.setCentralWidget(m_view = new CDualvexView(&m_frame));
        m_frame.SetCommandTarget(m_view);
        m_frame.resize(1100, 700);
        m_frame.show();
        QApplication::setActiveWindow(&m_frame);
        const QByteArray first = RandomBytes(kFirstLength);
        const QString p1 = WriteFile(m_dir, QStringLiteral("a.bin"), first);
        const QString p2 = WriteFile(m_dir, QStringLiteral("b.bin"), Changed(first));
        ASSERT_EQ(m_view->Load(p1, p2), LoadFailure::None);
        QApplication::processEvents();
    }
    CHexView* Pane(int pane) const { return m_view->DoubleWindow()->Pane(pane); }
    bool Enabled(int id)
    {
        m_frame.UpdateCommandStates({m_frame.Action(id)});
        return m_frame.Action(id)->isEnabled();
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

    QTemporaryDir m_dir;
    CMainFrame m_frame;
    CDualvexView* m_view = nullptr;
};

struct Step {
    int command;
    HexPos target;
};
// Every navigation command, each far from the last position, back and forth.
const Step kWalk[] = {
    {cmd::LastDiff, 0x493E0},  {cmd::FirstDiff, 0x40},     {cmd::NextDiff, 0x1234},
    {cmd::NextDiff, 0x20000},  {cmd::NextDiff, 0x30000},   {cmd::PreviousDiff, 0x20000},
    {cmd::LastDiff, 0x493E0},  {cmd::PreviousDiff, 0x3FFFF}, {cmd::FirstDiff, 0x40},
    {cmd::NextDiff, 0x1234},   {cmd::NextDiff, 0x20000},   {cmd::NextDiff, 0x30000},
    {cmd::NextDiff, 0x3FFFF},  {cmd::NextDiff, 0x493E0},
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
