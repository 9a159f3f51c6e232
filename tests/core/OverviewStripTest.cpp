#include <gtest/gtest.h>

#include "core/app/OverviewStrip.h"

#include <array>

using namespace dualvex;

namespace {
std::array<std::uint8_t, 256> Buckets(std::initializer_list<int> set)
{
    std::array<std::uint8_t, 256> b{};
    for (int i : set) b[i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
    return b;
}
} // namespace

TEST(OverviewStripRuns, EqualFilesGiveOneEqualRun)
{
    const auto b = Buckets({});
    EXPECT_EQ(OverviewStripRuns(b, 100), (std::vector<StripRun>{{0, 100, false}}));
    EXPECT_TRUE(OverviewStripRuns(b, 0).empty());
}

TEST(OverviewStripRuns, RowsCoverTheirBucketRange)
{
    // 2048 buckets on 512 rows: 4 buckets a row.
    const auto b = Buckets({5, 2047});
    EXPECT_EQ(OverviewStripRuns(b, 512),
              (std::vector<StripRun>{{0, 1, false}, {1, 2, true}, {2, 511, false}, {511, 512, true}}));
}

TEST(OverviewStripRuns, TallerThanTheBucketsRowsRepeatTheirRun)
{
    // 4096 rows: every other row covers no new bucket and continues the run before it.
    const auto b = Buckets({0});
    EXPECT_EQ(OverviewStripRuns(b, 4096),
              (std::vector<StripRun>{{0, 1, false}, {1, 3, true}, {3, 4096, false}}));
}

TEST(OverviewBucketAt, ScalesAndClamps)
{
    EXPECT_EQ(OverviewBucketAt(0, 512), 0);
    EXPECT_EQ(OverviewBucketAt(511, 512), 2044);
    EXPECT_EQ(OverviewBucketAt(600, 512), 2047);
    EXPECT_EQ(OverviewBucketAt(-3, 512), 0);
    EXPECT_EQ(OverviewBucketAt(5, 0), 0);
}
