#include <gtest/gtest.h>

#include "core/app/DoubleWindowLayout.h"

using namespace dualvex;

TEST(OverviewStripLeft, OddAndEvenWidths)
{
    EXPECT_EQ(OverviewStripLeft(401), 385);
    EXPECT_EQ(OverviewStripLeft(400), 383);
    EXPECT_EQ(OverviewStripLeft(17), 1);
}

TEST(TitleHeight, AtLeastNineteenAndZeroWithoutTitles)
{
    EXPECT_EQ(TitleHeight(12, true), 19);
    EXPECT_EQ(TitleHeight(17, true), 20);
    EXPECT_EQ(TitleHeight(17, false), 0);
}

TEST(LayOutDoubleWindow, VerticalSplitSideBySide)
{
    const DoubleWindowLayout l = LayOutDoubleWindow(801, 500, false, 20);
    EXPECT_EQ(l.pane[0], (LayoutRect{0, 20, 400, 480}));
    EXPECT_EQ(l.pane[1], (LayoutRect{400, 20, 400, 480}));
    EXPECT_EQ(l.title[0], (LayoutRect{0, 0, 400, 20}));
    EXPECT_EQ(l.title[1], (LayoutRect{400, 0, 400, 20}));
    EXPECT_EQ(l.separatorTop, -1);
    EXPECT_EQ(LayOutDoubleWindow(800, 500, false, 20).title[1], (LayoutRect{399, 0, 400, 20}));
}

TEST(LayOutDoubleWindow, HorizontalSplitWithSeparatorBand)
{
    const DoubleWindowLayout l = LayOutDoubleWindow(600, 401, true, 20);
    // s = 401 / 2 - 3 = 197
    EXPECT_EQ(l.separatorTop, 197);
    EXPECT_EQ(l.title[0], (LayoutRect{0, 0, 600, 20}));
    EXPECT_EQ(l.pane[0], (LayoutRect{0, 20, 600, 177}));
    EXPECT_EQ(l.title[1], (LayoutRect{0, 204, 600, 20}));
    EXPECT_EQ(l.pane[1], (LayoutRect{0, 224, 600, 177}));
}

TEST(LayOutDoubleWindow, NoTitlesGiveThePanesTheFullHeight)
{
    const DoubleWindowLayout l = LayOutDoubleWindow(600, 400, false, 0);
    EXPECT_FALSE(l.titlesShown);
    EXPECT_EQ(l.pane[0], (LayoutRect{0, 0, 300, 400}));
}

TEST(LayOutDoubleWindow, TinyHeightsNeverGoNegativeAtTheSeparator)
{
    const DoubleWindowLayout l = LayOutDoubleWindow(100, 4, true, 0);
    EXPECT_EQ(l.separatorTop, 0);
    EXPECT_EQ(l.pane[1].height, 0);
}
