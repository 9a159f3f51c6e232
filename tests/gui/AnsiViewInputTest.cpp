#include "AnsiTestView.h"

#include "gui/textwnd/AnsiAutoScroller.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMenu>
#include <QSignalSpy>

using dualvex::AnsiAutoScroller;
using dualvex::AnsiCell;
using dualvex::AnsiLine;
using dualvex::CAnsiView;
using dualvex::test::AnsiTestView;
using dualvex::test::SendMouse;
using dualvex::test::SendWheel;
using dualvex::test::ShowView;

namespace {

class AnsiInput : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ShowView(view);
        view.activateWindow();
        view.setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* menu = qobject_cast<QMenu*>(w)) menu->close();
    }
    QPoint CellCentre(int column, AnsiLine line) const { return view.CellRect(column, line).center(); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int repeat = 1)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), repeat > 1,
                        static_cast<quint16>(repeat));
        QApplication::sendEvent(&view, &event);
    }
    QMenu* OpenMenu() const
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* menu = qobject_cast<QMenu*>(w); menu && menu->isVisible()) return menu;
        return nullptr;
    }

    AnsiTestView view{QStringLiteral("Input"), 60, 500};
};

} // namespace

// ---- keyboard -----------------------------------------------------------------------

TEST_F(AnsiInput, KeyRepeatIsCappedAtThirtySteps)
{
    Key(Qt::Key_Down, Qt::NoModifier, 50);
    EXPECT_EQ(view.CursorCell().line, 30);
    Key(Qt::Key_Down, Qt::NoModifier, 3);
    EXPECT_EQ(view.CursorCell().line, 33);
}

TEST_F(AnsiInput, NavigationKeysStepTheCursorWithTheirFlags)
{
    view.SetCursor(5, 40, 0);
    view.Recalc(0);
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int column, line, flags;
    };
    const int page = view.VisibleLines() - 1;
    for (const Case& c : std::vector<Case>{
             {Qt::Key_Right, Qt::NoModifier, 1, 0, CAnsiView::kRelative | CAnsiView::kArrowStep},
             {Qt::Key_Up, Qt::ShiftModifier, 0, -1,
              CAnsiView::kRelative | CAnsiView::kExtend | CAnsiView::kArrowStep},
             {Qt::Key_PageDown, Qt::NoModifier, 0, page, CAnsiView::kRelative},
             {Qt::Key_Home, Qt::ShiftModifier, -6, 0, CAnsiView::kRelative | CAnsiView::kExtend},
             {Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier, -1, 0,
              CAnsiView::kRelative | CAnsiView::kExtend | CAnsiView::kCtrl | CAnsiView::kArrowStep},
             {Qt::Key_End, Qt::ControlModifier, 0, 500, 0},
             {Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier, 0, 0, CAnsiView::kExtend}}) {
        SCOPED_TRACE(c.key);
        view.cursorCalls.clear();
        Key(c.key, c.modifiers);
        ASSERT_EQ(view.cursorCalls.size(), 1u);
        EXPECT_EQ(view.cursorCalls[0].column, c.column);
        EXPECT_EQ(view.cursorCalls[0].line, c.line);
        EXPECT_EQ(view.cursorCalls[0].flags, c.flags);
    }
}

TEST_F(AnsiInput, CtrlArrowsAndAHiddenCaretScrollInsteadOfMovingTheCursor)
{
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(view.GetScrollPosition().line, 1);
    EXPECT_EQ(view.CursorCell().line, 0);
    view.SetCaretMode(0);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(view.GetScrollPosition().line, 1 + view.VisibleLines() - 1);
    EXPECT_TRUE(view.cursorCalls.empty());
}

// ---- wheel and extra buttons --------------------------------------------------------

TEST_F(AnsiInput, WheelScrollsThreeNineOrAPage)
{
    struct Case {
        int delta;
        Qt::KeyboardModifiers modifiers;
        AnsiLine change;
    };
    for (const Case& c : std::vector<Case>{{-120, Qt::NoModifier, 3},
                                           {120, Qt::NoModifier, -3},
                                           {-120, Qt::ShiftModifier, 9},
                                           {120, Qt::ShiftModifier, -9},
                                           {-120, Qt::ControlModifier, view.VisibleLines() - 1},
                                           {120, Qt::ControlModifier, -(view.VisibleLines() - 1)}}) {
        SCOPED_TRACE(c.delta);
        view.ScrollTo(0, 100);
        SendWheel(&view, c.delta, c.modifiers);
        EXPECT_EQ(view.GetScrollPosition().line, 100 + c.change);
    }
}

TEST_F(AnsiInput, WheelNotifiesTheScroll)
{
    QSignalSpy spy(&view, &CAnsiView::Notify);
    SendWheel(&view, -120);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][1].toInt(), CAnsiView::kScrolled);
    EXPECT_EQ(spy[0][3].toLongLong(), 3);
}

TEST_F(AnsiInput, BackAndForwardButtonsPage)
{
    const AnsiLine page = view.VisibleLines() - 1;
    SendMouse(&view, QEvent::MouseButtonPress, Qt::BackButton, Qt::BackButton, QPoint(30, 30));
    EXPECT_EQ(view.CursorCell().line, page);
    SendMouse(&view, QEvent::MouseButtonPress, Qt::ForwardButton, Qt::ForwardButton, QPoint(30, 30));
    EXPECT_EQ(view.CursorCell().line, 0);
}

// ---- focus --------------------------------------------------------------------------

TEST_F(AnsiInput, FocusChangesAreNotified)
{
    QWidget other;
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    QSignalSpy spy(&view, &CAnsiView::Notify);
    other.activateWindow();
    other.setFocus();
    QApplication::processEvents();
    view.activateWindow();
    view.setFocus();
    QApplication::processEvents();
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[0][1].toInt(), CAnsiView::kFocusLost);
    EXPECT_EQ(spy[1][1].toInt(), CAnsiView::kFocusGained);
    EXPECT_EQ(spy[1][2].toLongLong(), 0);
    EXPECT_EQ(spy[1][3].toLongLong(), 0);
}

// ---- left button: click and drag ----------------------------------------------------

TEST_F(AnsiInput, LeftClickPlacesTheCursorOnTheNearerCellBoundary)
{
    const QRect cell = view.CellRect(7, 3);
    SendMouse(&view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, cell.topLeft() + QPoint(1, 2));
    EXPECT_EQ(view.CursorCell(), (AnsiCell{7, 3}));
    ASSERT_FALSE(view.cursorCalls.empty());
    EXPECT_EQ(view.cursorCalls.back().flags, CAnsiView::kByMouse | CAnsiView::kButtonPress);
    SendMouse(&view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, cell.topLeft());
    SendMouse(&view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
              cell.topLeft() + QPoint(view.CharWidth() - 1, 2));
    EXPECT_EQ(view.CursorCell(), (AnsiCell{8, 3})) << "right half of a cell rounds to the next boundary";
}

TEST_F(AnsiInput, DraggingBelowTheTextAreaScrollsOnTheTimer)
{
    SendMouse(&view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, CellCentre(4, 2));
    const int below = view.TextHeight() + 20;
    SendMouse(&view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPoint(CellCentre(4, 2).x(), below));
    EXPECT_EQ(view.TimerKind(), 1) << "the auto-scroll timer runs";
    const int step = ((20 + view.CharHeight()) | 8) >> 3;
    view.cursorCalls.clear();
    view.clock->Advance(CAnsiView::kDragTimerMs - 1);
    EXPECT_TRUE(view.cursorCalls.empty()) << "no step before the first interval has passed";
    view.clock->Advance(1);
    EXPECT_EQ(view.cursorCalls.size(), 1u);
    view.clock->Advance(2 * CAnsiView::kDragTimerMs);
    ASSERT_EQ(view.cursorCalls.size(), 3u) << "one step per interval";
    for (const auto& call : view.cursorCalls) {
        EXPECT_EQ(call.flags, CAnsiView::kRelative | CAnsiView::kExtend | CAnsiView::kByMouse);
        EXPECT_EQ(call.line, step);
    }
    EXPECT_GT(view.GetScrollPosition().line, 0) << "the view followed the cursor";
    SendMouse(&view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, CellCentre(4, 2));
    EXPECT_EQ(view.TimerKind(), 0) << "back inside the area the timer stops";
    SendMouse(&view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, CellCentre(4, 2));
    EXPECT_EQ(view.TimerKind(), 0);
}

TEST_F(AnsiInput, DragStepsGrowWithTheDistanceOutside)
{
    SendMouse(&view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, CellCentre(4, 4));
    struct Case {
        QPoint pos;
        int stepX, stepY;
    };
    const int right = view.TextWidth() - view.CharWidth();
    for (const Case& c : std::vector<Case>{{QPoint(-1, 50), -1, 0},
                                           {QPoint(-17, 50), -3, 0},
                                           {QPoint(right + 1, 50), 1, 0},
                                           {QPoint(right + 24, 50), 3, 0},
                                           {QPoint(right + 40, 50), 5, 0},
                                           {QPoint(50, -9), 0, -2}}) {
        SCOPED_TRACE(c.pos.x());
        SendMouse(&view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, c.pos);
        view.cursorCalls.clear();
        view.clock->Advance(CAnsiView::kDragTimerMs);
        ASSERT_EQ(view.cursorCalls.size(), 1u);
        EXPECT_EQ(view.cursorCalls[0].column, c.stepX);
        EXPECT_EQ(view.cursorCalls[0].line, c.stepY);
    }
    SendMouse(&view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(5, 5));
}

TEST_F(AnsiInput, MovesRightAfterADoubleClickAreIgnored)
{
    SendMouse(&view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, CellCentre(4, 4));
    SendMouse(&view, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, CellCentre(4, 4));
    view.cursorCalls.clear();
    SendMouse(&view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, CellCentre(9, 6));
    EXPECT_TRUE(view.cursorCalls.empty()) << "within 300 ms of the double-click";
    view.clock->Advance(299);
    SendMouse(&view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, CellCentre(9, 6));
    EXPECT_TRUE(view.cursorCalls.empty()) << "still within 300 ms";
    view.clock->Advance(1);
    SendMouse(&view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, CellCentre(9, 6));
    ASSERT_EQ(view.cursorCalls.size(), 1u);
    EXPECT_EQ(view.cursorCalls[0].flags, CAnsiView::kExtend | CAnsiView::kByMouse);
    SendMouse(&view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, CellCentre(9, 6));
}

TEST_F(AnsiInput, TheDragTimerWaitsOutTheDoubleClickGuard)
{
    SendMouse(&view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, CellCentre(4, 4));
    SendMouse(&view, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, CellCentre(4, 4));
    SendMouse(&view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton,
              QPoint(CellCentre(4, 4).x(), view.TextHeight() + 20));
    ASSERT_EQ(view.TimerKind(), 1);
    view.cursorCalls.clear();
    view.clock->Advance(CAnsiView::kDragTimerMs);
    EXPECT_TRUE(view.cursorCalls.empty()) << "the tick at 165 ms falls within the 300 ms guard";
    view.clock->Advance(CAnsiView::kDragTimerMs);
    EXPECT_EQ(view.cursorCalls.size(), 1u) << "the tick at 330 ms steps";
    SendMouse(&view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, CellCentre(4, 4));
}

// ---- right button: menu, long press and panning -------------------------------------

TEST_F(AnsiInput, AShortRightClickOpensTheContextMenu)
{
    SendMouse(&view, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, QPoint(40, 40));
    SendMouse(&view, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, QPoint(41, 40));
    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    auto* colors = menu->findChild<QAction*>(QStringLiteral("ansiColors"));
    auto* fonts = menu->findChild<QAction*>(QStringLiteral("ansiFonts"));
    ASSERT_TRUE(colors && fonts);
    EXPECT_EQ(colors->text(), QStringLiteral("&Farben einstellen"));
    EXPECT_EQ(fonts->text(), QStringLiteral("Schri&ften einstellen"));
    EXPECT_EQ(colors->data().toInt(), 37424);
    EXPECT_EQ(fonts->data().toInt(), 37425);
    EXPECT_TRUE(colors->isEnabled() && fonts->isEnabled());
}

TEST_F(AnsiInput, ContextMenuItemsJoinAGivenMenu)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Kopieren"));
    view.ContextMenu(0, 0, &menu);
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_EQ(menu.actions()[1]->objectName(), QStringLiteral("ansiColors"));
    EXPECT_FALSE(menu.isVisible());
}

TEST_F(AnsiInput, HoldingTheRightButtonStartsPanningWithoutAMenu)
{
    SendMouse(&view, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, QPoint(40, 40));
    EXPECT_EQ(view.TimerKind(), 2);
    const int longPress = 5 * CAnsiView::kDragTimerMs; // the fifth tick of the drag timer
    view.clock->Advance(longPress - 1);
    EXPECT_FALSE(view.IsPanning()) << "not yet a long press";
    view.clock->Advance(1);
    EXPECT_TRUE(view.IsPanning());
    EXPECT_EQ(view.cursor().shape(), Qt::ClosedHandCursor);
    SendMouse(&view, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, QPoint(40, 40));
    EXPECT_FALSE(view.IsPanning());
    EXPECT_EQ(OpenMenu(), nullptr);
}

TEST_F(AnsiInput, PanningSnapsToTheNearerCell)
{
    const int h = view.CharHeight();
    struct Case {
        int dy;          // pixels the pointer moves up
        AnsiLine during; // first line while panning
        int offset;      // pan offset while panning
        AnsiLine after;  // first line after release
    };
    for (const Case& c : std::vector<Case>{{2 * h + 2, 2, 2, 2},
                                           {2 * h + (h + 1) / 2, 2, (h + 1) / 2, 3},
                                           {2 * h + h - 1, 2, h - 1, 3},
                                           {5, 0, 5, h <= 10 ? 1 : 0}}) {
        SCOPED_TRACE(c.dy);
        view.ScrollTo(0, 10);
        const QPoint press(60, 120);
        SendMouse(&view, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, press);
        SendMouse(&view, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, press - QPoint(0, c.dy));
        ASSERT_TRUE(view.IsPanning()) << "a move of 4 pixels or more starts panning at once";
        EXPECT_EQ(view.GetScrollPosition().line, 10 + c.during);
        EXPECT_EQ(view.PanOffset().y(), c.offset);
        SendMouse(&view, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, press - QPoint(0, c.dy));
        EXPECT_EQ(view.GetScrollPosition().line, 10 + c.after);
        EXPECT_EQ(view.PanOffset(), QPoint(0, 0));
        EXPECT_EQ(OpenMenu(), nullptr);
    }
}

TEST_F(AnsiInput, PanningStopsAtTheTopLeft)
{
    view.ScrollTo(0, 1);
    SendMouse(&view, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, QPoint(60, 60));
    SendMouse(&view, QEvent::MouseMove, Qt::NoButton, Qt::RightButton,
              QPoint(90, 60 + 5 * view.CharHeight()));
    EXPECT_EQ(view.GetScrollPosition(), (AnsiCell{0, 0}));
    EXPECT_EQ(view.PanOffset(), QPoint(0, 0));
    SendMouse(&view, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(90, 90));
    EXPECT_FALSE(view.IsPanning()) << "a move without the button ends panning";
}

// ---- middle button: automatic scrolling ---------------------------------------------

TEST(AnsiAutoScroll, DirectionFollowsTheSlopeAroundTheOrigin)
{
    struct Case {
        int dx, dy, mode, direction;
    };
    for (const Case& c : std::vector<Case>{{5, 5, 3, 0},
                                           {0, 19, 3, 0},
                                           {100, 0, 3, 3},
                                           {100, 100, 3, 4},
                                           {100, -100, 3, 5},
                                           {10, 100, 3, 1},
                                           {10, -100, 3, 2},
                                           {-100, 0, 3, 6},
                                           {-100, 100, 3, 7},
                                           {-100, -100, 3, 8},
                                           {-10, 100, 3, 1},
                                           {-10, -100, 3, 2},
                                           {0, 100, 3, 1},
                                           {100, 100, 1, 3},
                                           {100, 100, 2, 1},
                                           {-100, -100, 2, 2}}) {
        SCOPED_TRACE(std::to_string(c.dx) + "," + std::to_string(c.dy) + " mode " + std::to_string(c.mode));
        EXPECT_EQ(AnsiAutoScroller::DirectionFor(c.dx, c.dy, c.mode), c.direction);
    }
}

TEST(AnsiAutoScroll, SpeedIsOneCellPerSixteenPixelsOfEachActivePart)
{
    EXPECT_EQ(AnsiAutoScroller::SpeedFor(0, 64, 1), 4);
    EXPECT_EQ(AnsiAutoScroller::SpeedFor(64, -64, 5), 8) << "opposite signs do not cancel out";
    EXPECT_EQ(AnsiAutoScroller::SpeedFor(200, 40, 3), 12) << "the vertical part is idle in direction right";
    EXPECT_EQ(AnsiAutoScroller::SpeedFor(-100, 0, 6), 7) << "arithmetic shift rounds away from the origin";
}

TEST_F(AnsiInput, MiddleButtonScrollsUntilAClickOrEscape)
{
    const QPoint origin(100, 100);
    view.ScrollTo(0, 50);
    SendMouse(&view, QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, origin);
    SendMouse(&view, QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, origin);
    ASSERT_TRUE(view.IsAutoScrolling());
    auto* marker = view.findChild<QWidget*>(QStringLiteral("ansiAutoScrollMarker"));
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->geometry(), QRect(origin - QPoint(16, 16), QSize(32, 32))) << "centred on the origin";
    SendMouse(&view, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, origin + QPoint(0, -64));
    view.clock->Advance(2 * AnsiAutoScroller::kTickMs);
    const AnsiLine line = view.GetScrollPosition().line;
    EXPECT_EQ(line, 50 - 2 * 4) << "upwards, four lines a tick";
    SendWheel(&view, -120);
    EXPECT_LE(view.GetScrollPosition().line, line) << "the wheel is ignored meanwhile";
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&view, &escape);
    EXPECT_FALSE(view.IsAutoScrolling());
    EXPECT_EQ(view.findChild<QWidget*>(QStringLiteral("ansiAutoScrollMarker")), nullptr);
    const AnsiLine stopped = view.GetScrollPosition().line;
    view.clock->Advance(2 * AnsiAutoScroller::kTickMs);
    EXPECT_EQ(view.GetScrollPosition().line, stopped) << "the view stays where scrolling brought it";
}

TEST_F(AnsiInput, AnyButtonEndsAutomaticScrolling)
{
    SendMouse(&view, QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, QPoint(80, 80));
    ASSERT_TRUE(view.IsAutoScrolling());
    const AnsiCell cursor = view.CursorCell();
    SendMouse(&view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(10, 10));
    EXPECT_FALSE(view.IsAutoScrolling());
    EXPECT_EQ(view.CursorCell(), cursor) << "the ending click does nothing else";
}

TEST(AnsiAutoScroll, PicturesAreDrawnForEveryDirection)
{
    for (int d = 0; d < 9; ++d) {
        const QImage image = AnsiAutoScroller::DirectionPixmap(d).toImage();
        EXPECT_EQ(image.size(), QSize(32, 32));
        EXPECT_GT(image.pixelColor(16, 16).alpha(), 0) << d;
    }
    EXPECT_EQ(AnsiAutoScroller::MarkerPixmap(3).size(), QSize(32, 32));
}
