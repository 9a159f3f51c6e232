// The two widths of a byte position, and the one place that converts between them.
//
// HexPos is what views, navigation and tools count in: byte indices, lengths, line
// numbers and absolute addresses. Images reach 4 GiB - 1 bytes and addresses add a
// 32-bit base to that, so it is signed 64-bit (arithmetic may dip below zero before
// it is clamped). ImageLength is the image format's own 32-bit length and position,
// used where an image or the difference set is stored.
#pragma once

#include <cstdint>

namespace dualvex {

using HexPos = std::int64_t;
using ImageLength = std::uint32_t;
inline constexpr std::uint64_t kMaxImageLength = 0xFFFFFFFFu;

// A view position as an image position: clamped into the image format's range, so a
// negative or oversized position never wraps around to a different byte.
constexpr ImageLength ToImagePosition(HexPos position)
{
    if (position <= 0) return 0;
    if (static_cast<std::uint64_t>(position) >= kMaxImageLength)
        return static_cast<ImageLength>(kMaxImageLength);
    return static_cast<ImageLength>(position);
}

constexpr HexPos ToHexPos(ImageLength position)
{
    return static_cast<HexPos>(position);
}

} // namespace dualvex
