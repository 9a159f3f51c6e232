// The byte-pattern finder under every value search: candidate start positions are
// scanned forward or backward and the first accepted one is returned.
#pragma once

#include "core/hexview/HexTypes.h"

#include <cstdint>
#include <span>

namespace dualvex {

enum class MatchMode {
    Exact = 0,
    IgnoreCase = 1, // only the ASCII letters A-Z/a-z are folded
    Mask = 2,       // pattern holds size value bytes followed by size mask bytes
};

// Positions are signed: -1 means "not found" and a negative count "backward".
// Scans count candidate positions from `from` forward (count > 0) or |count|
// positions backward (count <= 0), clipped to the positions where the pattern
// fits. A size below 1 returns `from` unchanged; empty data returns -1. In mask
// mode the pattern must hold 2 * size bytes.
[[nodiscard]] HexPos FindPattern(std::span<const std::uint8_t> data, const std::uint8_t* pattern, int size,
                                 HexPos from, HexPos count, MatchMode mode);

} // namespace dualvex
