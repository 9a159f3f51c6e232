// The program's clock for the text window, on real Qt timers. The waits end as soon as
// the ticks arrive; their limits only stop a broken build from hanging.
#include "gui/textwnd/AnsiQtClock.h"

#include <gtest/gtest.h>

#include <QTest>

using dualvex::AnsiQtClock;

TEST(AnsiQtClock, OnlyAStartedTickerTicks)
{
    AnsiQtClock clock;
    int first = 0;
    int second = 0;
    const auto firstTicker = clock.MakeTicker(1, [&] { ++first; });
    const auto secondTicker = clock.MakeTicker(1, [&] { ++second; });
    firstTicker->Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first >= 3; }, 60000)) << "a started ticker repeats";
    EXPECT_EQ(second, 0) << "a ticker is made stopped";
    firstTicker->Stop();
    const int stopped = first;
    secondTicker->Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return second >= 3; }, 60000));
    EXPECT_EQ(first, stopped) << "a stopped ticker stays quiet";
}
