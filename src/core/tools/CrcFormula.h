// The polynomial as a formula such as "x^16 + x^12 + x^5 + 1": reading what the user
// types and writing the formula of the current polynomial.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dualvex {

struct CrcFormula {
    bool valid = false;
    std::uint64_t bits = 0; // coefficient of x^k in bit k (x^64 has no bit)
    unsigned degree = 1;    // highest power up to 64, at least 1
    int errorPos = -1;      // index of the character that was not understood
};

// Accepts terms "x^e", "x'e", "xe", "x^{e}", "x" and "1" joined by "+" and blanks;
// "=" ends the formula early. Any other character makes it invalid.
CrcFormula ParseCrcFormula(const char* text);

// Writes the formula of a reflected polynomial of the given width (1..64), highest
// power first, into dest (always terminated when destSize >= 1); returns the length.
int WriteCrcFormula(std::uint64_t reflected, unsigned width, char* dest, std::size_t destSize);
// Room for the longest formula (width 64 with every coefficient set) and its terminator.
constexpr std::size_t kCrcFormulaSize = 448;

} // namespace dualvex
