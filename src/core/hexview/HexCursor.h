// Where the cursor of a hex view lands: the resolution of a relative step or
// an absolute column and line into area, column, digit and byte index.
#pragma once

#include "core/hexview/HexLayout.h"
#include "core/hexview/HexTypes.h"

namespace dualvex {

// SetCursor flag bits.
enum : unsigned {
    kCursorRelative = 0x01,
    kCursorExtend = 0x02,
    kCursorCtrl = 0x04,
    kCursorFromColumn = 0x08,
    kCursorRemember = 0x10,
    kCursorNibble = 0x20,
    kCursorSilent = 0x40,
    kCursorSingleStep = 0x80,
};

struct HexCursor {
    int x = 0;    // text column
    HexPos y = 0; // line
    int area = kAreaHex;
    // Hex area: 1 on the high digit, 0 on the second. Address column: the
    // digit position counted from the right.
    int nibble = 1;
    // The byte under the cursor; in the address column the line's first.
    HexPos index = 0;
};

struct HexClickPoint {
    int x = -1;
    HexPos y = -1;
};

struct HexCursorResolution {
    HexCursor cursor;
    unsigned flags = 0; // the flags as they apply after the resolution
};

// Resolves SetCursor(x, y, flags) against the layout, the current cursor
// and the selection; updates the remembered click point.
HexCursorResolution ResolveCursor(const HexLayout& layout, const HexCursor& current,
                                  const HexRange& selection, int x, HexPos y, unsigned flags,
                                  HexClickPoint& click);

// The cursor on byte index in the given area; in the hex area on the high
// digit (digit 0) or the second (digit 1). The index must lie in the data.
HexCursor CursorAt(const HexLayout& layout, HexPos index, int area, int digit);

} // namespace dualvex
