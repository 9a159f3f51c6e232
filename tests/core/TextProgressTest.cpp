#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/app/TextProgress.h"

namespace dualvex {
namespace {

// A clock the test moves by hand: no test waits for real time.
struct FakeClock {
    double now = 100.0;
};

TEST(TextProgress, AtMostFourLinesASecondRewrittenInPlaceAndWiped)
{
    std::ostringstream err;
    FakeClock clock;
    {
        TextProgress progress(err, true, [&clock] { return clock.now; });
        progress.Begin("Vergleich", 1000000000);
        clock.now += 0.1;
        progress.Update(10000000); // too soon after the start: short runs stay silent
        EXPECT_EQ(err.str(), "");
        clock.now += 0.4; // half a second, a quarter of the bytes
        progress.Update(250000000);
        EXPECT_EQ(err.str(), "\rVergleich:  25 %    500 MB/s");
        clock.now += 0.2;
        progress.Update(300000000);
        EXPECT_EQ(err.str().size(), 29u) << "a line within a quarter second of the last";
        clock.now += 0.3;
        progress.Update(1000000000);
        EXPECT_EQ(err.str(), "\rVergleich:  25 %    500 MB/s\rVergleich: 100 %   1000 MB/s");
    }
    EXPECT_EQ(err.str().substr(58), "\r" + std::string(28, ' ') + "\r");
}

TEST(TextProgress, SilentWhenNotATerminal)
{
    std::ostringstream err;
    FakeClock clock;
    TextProgress progress(err, false, [&clock] { return clock.now; });
    progress.Begin("Vergleich", 100);
    clock.now += 10;
    progress.Update(50);
    progress.Clear();
    EXPECT_EQ(err.str(), "");
}

} // namespace
} // namespace dualvex
