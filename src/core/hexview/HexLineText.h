// One text line of a hex view with a colour attribute per column, built from
// the layout, the borrowed data, the difference bits and the ranges. The
// widget only draws what it gets here.
#pragma once

#include "core/hexview/HexLayout.h"
#include "core/hexview/HexTypes.h"

#include <array>
#include <cstdint>

namespace dualvex {

// Enough for the widest line: 10 address columns, the hex area of 256
// bytes with a blank after every byte and every raster, 256 characters.
inline constexpr int kHexMaxLineChars = 1536;

// PrintHexLine flag: text and base colours only, no differences, marks or
// selection.
inline constexpr unsigned kPrintPlain = 0x1;

// Everything a line is built from; all of it is borrowed.
struct HexLineSource {
    const HexLayout* layout = nullptr;
    const std::uint8_t* data = nullptr;
    std::uint32_t base = 0;
    // One bit per byte index, least significant bit first; bits at and
    // above diffCount are never read.
    const std::uint8_t* diffBits = nullptr;
    HexPos diffCount = 0;
    // The selection at index 0, marks 1..8 after it.
    const HexRange* ranges = nullptr;
};

// The line as 8-bit Latin-1 text (the widget converts it) and one
// attribute (HexAttr) per column.
struct HexLineText {
    std::array<char, kHexMaxLineChars> text;
    std::array<std::uint8_t, kHexMaxLineChars> attr;
    int length = 0;

    // End of the run of equal attributes starting at column, at most limit.
    int RunEnd(int column, int limit) const;
};

// Builds line n; returns its length T, or 0 when the line does not exist.
int PrintHexLine(const HexLineSource& source, HexPos line, unsigned flags, HexLineText& out);

} // namespace dualvex
