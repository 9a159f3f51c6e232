#include "AnsiTestView.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>

using dualvex::AnsiCell;
using dualvex::AnsiLine;
using dualvex::CAnsiView;
using dualvex::test::AnsiTestView;
using dualvex::test::ShowView;

namespace {

// A view sized so that exactly `columns` x `lines` cells fit beside the bars it shows.
class AnsiLayout : public ::testing::Test {
  protected:
    void Show(int columnCount, AnsiLine lineCount, std::uint32_t style = 0)
    {
        view.SetColumnCount(columnCount);
        view.SetLineCount(lineCount);
        view.SetScrollStyle(style);
        ShowView(view, 40 * view.CharWidth() + BarWidth(), 20 * view.CharHeight() + BarHeight());
    }
    int BarWidth() const { return view.GetScrollBar(1)->sizeHint().width(); }
    int BarHeight() const { return view.GetScrollBar(0)->sizeHint().height(); }

    AnsiTestView view{QStringLiteral("Layout"), 30, 500};
};

} // namespace

TEST_F(AnsiLayout, VerticalRangeLeavesHalfAPageBelowTheLastLine)
{
    Show(30, 500);
    ASSERT_EQ(view.VisibleLines(), 20);
    EXPECT_TRUE(view.GetScrollBar(1)->isVisible());
    EXPECT_TRUE(view.GetScrollBar(0)->isVisible()) << "30 columns and half a page are wider than 40";
    view.ScrollTo(0, 100000);
    const AnsiLine emptyRows = view.GetScrollPosition().line + view.VisibleLines() - view.LineCount();
    EXPECT_GE(emptyRows, view.VisibleLines() / 2 - 1);
    EXPECT_LE(emptyRows, view.VisibleLines() / 2);
    EXPECT_EQ(view.GetScrollBar(1)->value(), view.GetScrollPosition().line);
    EXPECT_EQ(view.GetScrollBar(1)->maximum(), view.GetScrollPosition().line);
}

TEST_F(AnsiLayout, ExactRangesEndAtTheLastColumnAndLine)
{
    Show(200, 500, CAnsiView::kExactColumnRange | CAnsiView::kExactLineRange);
    view.ScrollTo(100000, 100000);
    EXPECT_EQ(view.GetScrollPosition().column + view.VisibleColumns(), 200);
    EXPECT_EQ(view.GetScrollPosition().line + view.VisibleLines(), 500);
}

TEST_F(AnsiLayout, WithoutExactRangeTheViewScrollsUntilHalfAPageIsEmpty)
{
    Show(200, 500);
    view.ScrollTo(100000, 0);
    const int empty = view.GetScrollPosition().column + view.VisibleColumns() - 200;
    EXPECT_GE(empty, view.VisibleColumns() / 2 - 1);
    EXPECT_LE(empty, view.VisibleColumns() / 2);
}

TEST_F(AnsiLayout, BarsHideWhenEverythingFitsUnlessAStyleKeepsThem)
{
    Show(10, 5);
    EXPECT_FALSE(view.GetScrollBar(0)->isVisible());
    EXPECT_FALSE(view.GetScrollBar(1)->isVisible());
    EXPECT_EQ(view.TextWidth(), view.width()) << "hidden bars leave the whole width to the text";
    view.SetScrollStyle(CAnsiView::kHorizontalBarAlways | CAnsiView::kVerticalBarAlways);
    view.Recalc(0);
    EXPECT_TRUE(view.GetScrollBar(0)->isVisible());
    EXPECT_TRUE(view.GetScrollBar(1)->isVisible());
    EXPECT_FALSE(view.GetScrollBar(0)->isEnabled()) << "nothing to scroll: shown but disabled";
    EXPECT_EQ(view.TextWidth(), view.width() - BarWidth());
}

TEST_F(AnsiLayout, KeepLineZeroStyleHoldsTheFirstLine)
{
    Show(30, 500, CAnsiView::kKeepLineZero);
    view.ScrollTo(0, 50);
    EXPECT_EQ(view.GetScrollPosition().line, 0);
}

TEST_F(AnsiLayout, CursorBeyondTheViewScrollsItAndAFarJumpCanBeCentred)
{
    Show(30, 500);
    view.SetCursor(0, 100, 0);
    view.Recalc(0);
    EXPECT_EQ(view.GetScrollPosition().line, 100 - 20 + 1) << "the cursor lands on the last row";
    view.SetCursor(0, 300, 0);
    view.Recalc(CAnsiView::kCentreJump);
    EXPECT_EQ(300 - view.GetScrollPosition().line, 20 / 2 - 1) << "a far jump lands in the middle";
    view.SetCursor(0, 1, CAnsiView::kRelative);
    view.Recalc(CAnsiView::kCentreJump);
    EXPECT_EQ(view.GetScrollPosition().line, 300 - 9) << "a single step never centres";
    view.SetCursor(0, 10, 0);
    view.Recalc(0);
    EXPECT_EQ(view.GetScrollPosition().line, 10) << "above the view: the cursor becomes the first line";
}

TEST_F(AnsiLayout, CursorIsClampedToTheContent)
{
    Show(30, 500);
    view.SetCursor(99, 9999, 0);
    view.Recalc(0);
    EXPECT_EQ(view.CursorCell(), (AnsiCell{29, 500})) << "the cursor may stand on line = line count";
    view.SetCursor(-5, -5, 0);
    view.Recalc(0);
    EXPECT_EQ(view.CursorCell(), (AnsiCell{0, 0}));
}

TEST_F(AnsiLayout, ScrollingNotifiesTheOwnerUnlessQuiet)
{
    Show(30, 500);
    QSignalSpy spy(&view, &CAnsiView::Notify);
    view.GetScrollBar(1)->setValue(40);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][1].toInt(), CAnsiView::kScrolled);
    EXPECT_EQ(spy[0][2].toLongLong(), 0);
    EXPECT_EQ(spy[0][3].toLongLong(), 40);
    view.ScrollTo(0, 60);
    EXPECT_EQ(spy.count(), 1) << "the owner's own scroll is not reported back";
    view.Recalc(0);
    EXPECT_EQ(spy.count(), 1) << "no change, no notification";
}

TEST_F(AnsiLayout, OwnerCommandsSetQueryAndScroll)
{
    Show(30, 500);
    struct Case {
        int op, x;
        AnsiLine y;
        AnsiCell result, cursorAfter;
        int flags;
    };
    view.ViewCommand(0, 3, 4);
    for (const Case& c : std::vector<Case>{{0, 5, 6, {3, 4}, {5, 6}, 0},
                                           {1, 0, 0, {5, 6}, {5, 6}, -1},
                                           {5, 0, 0, {5, 6}, {5, 6}, -1},
                                           {4, 7, 8, {5, 6}, {7, 8}, CAnsiView::kExtend},
                                           {2, 0, 30, {0, 0}, {7, 8}, -1},
                                           {3, 0, 0, {0, 30}, {7, 8}, -1},
                                           {9, 1, 1, {0, 0}, {7, 8}, -1}}) {
        SCOPED_TRACE(c.op);
        view.cursorCalls.clear();
        EXPECT_EQ(view.ViewCommand(c.op, c.x, c.y), c.result);
        EXPECT_EQ(view.CursorCell(), c.cursorAfter);
        if (c.flags >= 0) {
            ASSERT_EQ(view.cursorCalls.size(), 1u);
            EXPECT_EQ(view.cursorCalls[0].flags, c.flags);
        } else {
            EXPECT_TRUE(view.cursorCalls.empty());
        }
    }
}

TEST_F(AnsiLayout, MarginWidthIsSharedAndOutOfRangeMeansNone)
{
    Show(30, 500);
    AnsiTestView partner(QStringLiteral("Layout"));
    EXPECT_TRUE(view.SetMarginWidth(30));
    EXPECT_EQ(partner.MarginWidth(), 30);
    EXPECT_FALSE(view.SetMarginWidth(30)) << "unchanged";
    EXPECT_TRUE(partner.SetMarginWidth(2001));
    EXPECT_EQ(view.MarginWidth(), 0);
    EXPECT_FALSE(view.SetMarginWidth(-4));
}

TEST(AnsiHugeContent, LineNumbersBeyondTheBarRangeStillScroll)
{
    AnsiTestView view(QStringLiteral("Huge"), 30, 0);
    view.SetLineCount(AnsiLine{4} << 30); // one line per byte of a 4 GiB image
    ShowView(view);
    view.SetCursor(0, (AnsiLine{4} << 30) - 1, 0);
    view.Recalc(0);
    EXPECT_EQ(view.GetScrollPosition().line, (AnsiLine{4} << 30) - view.VisibleLines());
    view.GetScrollBar(1)->setValue(view.GetScrollBar(1)->maximum() / 2);
    EXPECT_GT(view.GetScrollPosition().line, AnsiLine{1} << 30);
    view.printed.clear();
    view.repaint();
    ASSERT_FALSE(view.printed.empty());
    EXPECT_EQ(*view.printed.begin(), view.GetScrollPosition().line);
}

// ---- incremental painting -----------------------------------------------------------

namespace {

class AnsiIncremental : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ShowView(view);
        view.printed.clear();
    }
    std::set<AnsiLine> PaintPending()
    {
        view.Redraw(true);
        QApplication::processEvents();
        return std::exchange(view.printed, {});
    }
    static std::set<AnsiLine> Range(AnsiLine first, AnsiLine last)
    {
        std::set<AnsiLine> lines;
        for (AnsiLine l = first; l <= last; ++l) lines.insert(l);
        return lines;
    }
    AnsiTestView view{QStringLiteral("Incremental")};
};

} // namespace

TEST_F(AnsiIncremental, OnlyTheNamedLinesAreProduced)
{
    const AnsiLine bottom = view.VisibleLines() - 1;
    view.MarkRedrawLine(5);
    EXPECT_EQ(PaintPending(), Range(5, 5));
    view.MarkRedrawRun(3, 4);
    EXPECT_EQ(PaintPending(), Range(3, 6));
    view.MarkRedrawFrom(bottom - 2);
    EXPECT_EQ(PaintPending(), Range(bottom - 2, bottom));
    view.MarkRedraw(CAnsiView::kRedrawCursorLine);
    EXPECT_EQ(PaintPending(), Range(0, 0));
    EXPECT_EQ(PaintPending(), std::set<AnsiLine>{}) << "painting clears the word";
}

TEST_F(AnsiIncremental, RequestsMergeToTheEarliestLineOrToEverything)
{
    view.MarkRedrawFrom(9);
    view.MarkRedrawFrom(7);
    EXPECT_EQ(view.PendingRedraw(), CAnsiView::kRedrawFromLine);
    EXPECT_EQ(PaintPending(), Range(7, view.VisibleLines() - 1));
    view.MarkRedrawLine(4);
    view.MarkRedrawFrom(9);
    EXPECT_EQ(view.PendingRedraw(), CAnsiView::kRedrawAll);
    EXPECT_EQ(PaintPending().size(), static_cast<size_t>(view.VisibleLines()));
}

TEST_F(AnsiIncremental, ACursorStepRedrawsOnlyTheTwoCaretLines)
{
    view.activateWindow();
    view.setFocus();
    QApplication::processEvents();
    view.SetCursor(3, 4, 0);
    view.Recalc(0);
    QApplication::processEvents();
    view.printed.clear();
    QTest::keyClick(&view, Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(view.printed, (std::set<AnsiLine>{4, 5}));
}

TEST_F(AnsiIncremental, ScrollingRedrawsEverything)
{
    view.ScrollTo(0, 10);
    QApplication::processEvents();
    EXPECT_EQ(std::exchange(view.printed, {}), Range(10, 10 + view.VisibleLines() - 1));
}
