// Shared vocabulary of the hex view core: positions, view flags, colour
// attributes, ranges and the notification body.
#pragma once

#include "core/support/Position.h"

#include <algorithm>
#include <cstdint>

namespace dualvex {

// Bits of the view flag word ("HexFlags").
enum : std::uint32_t {
    kHexReadOnly = 0x0001,
    kHexAutoFit = 0x0002,
    kHexSnapAddress = 0x0004,
    kHexWidthRaster = 0x0008,
    kHexHideHex = 0x0010,
    kHexHideChars = 0x0020,
    kHexHideAddress = 0x0040,
    kHexPersist = 0x0080,
    kHexOwned = 0x0100,
    kHexRelayout = 0x4000,
    kHexModified = 0x8000,
    // Bits that force the layout step to run even when no value changed.
    kHexLayoutBits = 0x4076,
    // The only bits taken from stored settings.
    kHexStoredBits = kHexAutoFit | kHexSnapAddress | kHexWidthRaster,
    kHexDefaultFlags = 0x018E,
};

// Colour entries of the "Hex" style set used as per-column attributes.
enum HexAttr : std::uint8_t {
    kAttrStandard = 0,
    kAttrAddress = 1,
    kAttrHex = 2,
    kAttrSelection = 3,
    kAttrMark = 4,
    kAttrDiffHex = 5,
    kAttrDiffText = 6,
};

// Cursor areas.
enum HexArea : int {
    kAreaHex = 0,
    kAreaChars = 1,
    kAreaAddress = 2,
};

// Notification codes sent to the owner.
enum : int {
    kNotifyScrolled = 10228,
    kNotifySelection = 11253,
    kNotifySettings = 11254,
    kNotifyFocusLost = 11255,
    kNotifyFocusGained = 11256,
};

// The three fields that follow the notification header; wide enough for
// every position of a 4 GiB image.
struct HexNotify {
    HexPos first = 0;
    HexPos second = 0;
    HexPos third = 0;
    bool operator==(const HexNotify&) const = default;
};

// The selection (index 0) or one of the eight marks. The selection keeps
// its anchor in start, so start may exceed end.
struct HexRange {
    bool active = false;
    HexPos start = 0;
    HexPos end = 0;
    std::uint8_t attr = kAttrMark;

    HexPos Lower() const { return std::min(start, end); }
    HexPos Upper() const { return std::max(start, end); }
    HexPos Length() const { return Upper() - Lower() + 1; }
};

inline constexpr int kHexMaxWidth = 256;
inline constexpr int kHexRangeCount = 9;
inline constexpr HexPos kHexNoRaster = 4096;
// Copies and selection queries hand out at most this many bytes.
inline constexpr HexPos kHexCopyCap = 0x400000;

} // namespace dualvex
