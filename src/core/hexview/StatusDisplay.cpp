#include "core/hexview/StatusDisplay.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace dualvex {

namespace {

int ValueSize(const StatusInput& in, HexPos& position)
{
    if (in.selection) {
        const HexPos lower = std::min(in.anchor, in.end);
        const HexPos count = std::max(in.anchor, in.end) - lower + 1;
        position = lower;
        return count >= 1 && count <= 4 ? static_cast<int>(count) : 4;
    }
    position = in.cursor;
    static constexpr int kSizes[] = {1, 2, 4, 4};
    return kSizes[in.mode & kStatusSizeMask];
}

std::uint32_t ReadBytes(const StatusInput& in, HexPos position, int size)
{
    if (position < 0 || !in.data) return 0;
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        const HexPos at = position + i;
        if (at >= in.length) break;
        const std::uint32_t byte = in.data[at];
        // Big endian: the bytes present form the number; little endian: missing ones count as 0.
        value = (in.mode & kStatusBigEndian) ? (value << 8) | byte : value | (byte << (8 * i));
    }
    return value;
}

} // namespace

std::string StatusAddressText(const StatusInput& in)
{
    char text[96];
    const std::uint64_t address = static_cast<std::uint64_t>(in.base + in.cursor);
    int n = std::snprintf(text, sizeof text, " Adr: 0x%" PRIX64 " / ", address);
    if (!in.selection) {
        std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), "%" PRId64, in.base + in.cursor);
        return text;
    }
    const HexPos distance = (in.end >= in.anchor ? in.end - in.anchor : in.anchor - in.end) + 1;
    const char sign = in.end >= in.anchor ? '+' : '-';
    if (in.mode & kStatusHexDistances)
        std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), "M: %c0x%" PRIX64, sign,
                      static_cast<std::uint64_t>(distance));
    else
        std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), "M: %c%" PRId64, sign, distance);
    return text;
}

std::int64_t StatusValue(const StatusInput& in)
{
    HexPos position = 0;
    const int size = ValueSize(in, position);
    const std::uint32_t raw = ReadBytes(in, position, size);
    const int bits = size * 8;
    const std::uint32_t cut = bits >= 32 ? raw : raw & ((1u << bits) - 1);
    if (in.mode & kStatusPositive) return cut;
    const std::uint32_t sign = 1u << (bits - 1);
    return static_cast<std::int64_t>(static_cast<std::int32_t>((cut ^ sign) - sign));
}

std::string StatusValueText(std::int64_t value, std::uint32_t mode)
{
    char text[64];
    const auto word = static_cast<std::uint32_t>(value);
    if (mode & kStatusPositive)
        std::snprintf(text, sizeof text, " Wert: 0x%" PRIX32 " / %" PRIu32, word, word);
    else
        std::snprintf(text, sizeof text, " Wert: 0x%" PRIX32 " / %" PRId32, word,
                      static_cast<std::int32_t>(word));
    return text;
}

} // namespace dualvex
