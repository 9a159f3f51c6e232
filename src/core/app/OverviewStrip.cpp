#include "core/app/OverviewStrip.h"

#include <algorithm>

namespace dualvex {

namespace {

bool AnySet(std::span<const std::uint8_t> buckets, unsigned from, unsigned to)
{
    for (unsigned b = from; b < to; ++b)
        if (b / 8 < buckets.size() && (buckets[b / 8] >> (b % 8)) & 1) return true;
    return false;
}

} // namespace

std::vector<StripRun> OverviewStripRuns(std::span<const std::uint8_t> buckets, int height)
{
    std::vector<StripRun> runs;
    if (height <= 0) return runs;
    unsigned covered = 0;
    bool state = false;
    for (int y = 0; y < height; ++y) {
        const unsigned end = static_cast<unsigned>((static_cast<std::uint64_t>(y) + 1) * kOverviewBuckets /
                                                   static_cast<unsigned>(height));
        // A row that covers no new bucket continues the current run.
        if (end > covered) {
            state = AnySet(buckets, covered, end);
            covered = end;
        }
        if (runs.empty() || runs.back().differing != state)
            runs.push_back({y, y + 1, state});
        else
            runs.back().bottom = y + 1;
    }
    return runs;
}

int OverviewBucketAt(int y, int height)
{
    if (height <= 0) return 0;
    const long long bucket = static_cast<long long>(std::max(y, 0)) * kOverviewBuckets / height;
    return static_cast<int>(std::min<long long>(bucket, kOverviewBuckets - 1));
}

} // namespace dualvex
