// The number reader behind ParseNumber64 and the evaluator: one scan that also says
// whether any digit was found, which the plain value-and-end interface cannot tell.
#pragma once

#include <cstdint>

namespace dualvex {

struct NumberScan {
    std::uint64_t value = 0; // already negated when a minus was read
    int end = 0;             // index behind the number (and trailing white space with 0x1000)
    bool hasDigits = false;  // false: value 0, end behind the skipped blanks and minus only
};

// Reads a number in radix notation 0 (C-like prefixes) or 252 (the evaluator's
// suffixes and based prefixes) under the ParseNumber flags; arithmetic wraps at 64 bits.
NumberScan ScanNumber(const char* text, std::uint32_t flags);

} // namespace dualvex
