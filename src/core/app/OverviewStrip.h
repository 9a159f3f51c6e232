// The overview strip beside the panes: the 2,048 overview buckets scaled to the
// strip's height, as runs of rows that are either differing or equal.
#pragma once

#include "core/app/DiffSet.h"

#include <cstdint>
#include <span>
#include <vector>

namespace dualvex {

struct StripRun {
    int top = 0;
    int bottom = 0; // exclusive
    bool differing = false;
    bool operator==(const StripRun&) const = default;
};

// `buckets` holds 2,048 bits, least significant bit first in each byte. The last run
// reaches the bottom; no runs for a height of 0.
std::vector<StripRun> OverviewStripRuns(std::span<const std::uint8_t> buckets, int height);

// The bucket a click at row y of a strip of the given height points at.
int OverviewBucketAt(int y, int height);

} // namespace dualvex
