// Helpers shared by the hex view core tests: a view bound to editable test
// bytes with a fixed layout, and short state strings for cursor and
// selection.
#pragma once

#include "core/hexview/HexViewCore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dualvex::test {

// Bytes 00 01 02 ... of the given count.
inline std::vector<std::uint8_t> CountingBytes(std::size_t count)
{
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i);
    return bytes;
}

// Fixed width, no address snapping: the layout the cases are written for.
inline void UseFixedWidth(HexViewCore& view, int width)
{
    view.SetWidthMode(-width, 0, -1, -1);
}

// "5h" cursor on the high digit of byte 5, "5l" on its second digit, "5c"
// in the character column, "5a" in the address column; an active selection
// follows as "[anchor,end]".
inline std::string State(const HexViewCore& view)
{
    const HexCursor& cursor = view.Cursor();
    std::string text = std::to_string(cursor.index);
    if (cursor.area == kAreaHex)
        text += cursor.nibble == 1 ? "h" : "l";
    else
        text += cursor.area == kAreaChars ? "c" : "a";
    const HexRange& selection = view.Range(0);
    if (selection.active)
        text += " [" + std::to_string(selection.start) + "," + std::to_string(selection.end) + "]";
    return text;
}

// The attributes of a line as one digit per column.
inline std::string Attributes(const HexLineText& line)
{
    std::string text;
    for (int i = 0; i < line.length; ++i) text += static_cast<char>('0' + line.attr[i]);
    return text;
}

inline std::string Text(const HexLineText& line)
{
    return std::string(line.text.data(), line.length);
}

} // namespace dualvex::test
