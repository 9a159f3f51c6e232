// Value texts of the search and the hex view: what kind a typed text is, the bytes
// it stands for, and the text that shows given bytes in a chosen kind.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dualvex {

// The kind index is also the index of the "Eingabe Art" radio button; UnicodeText
// exists only as a formatting kind and as the entry letter N.
enum ValueKind : int {
    kKindNone = -1,
    kKindDecimal = 0,
    kKindHex = 1,
    kKindBinary = 2,
    kKindOctal = 3,
    kKindText = 4,
    kKindDump = 5,
    kKindMask = 6,
    kKindUnicodeText = 7,
};

// Entry letters indexed by kind.
inline constexpr char kKindLetters[] = "DHBOTUMN";

inline bool IsNumberKind(int kind)
{
    return kind >= kKindDecimal && kind <= kKindOctal;
}

[[nodiscard]] int Classify(std::string_view text);

// The bytes a value text stands for. Text and dump kinds give at most max bytes;
// the mask kind gives value bytes followed by as many mask bytes, at most max / 2
// of each; number kinds always give 4 bytes (at most eight characters without the
// radix prefix) or 8 bytes, little-endian, and leave the cut to the caller. An
// empty text gives no bytes.
[[nodiscard]] std::vector<std::uint8_t> ParseValue(std::string_view text, int max);

// ":" then bytes of one or two hexadecimal digits separated by blanks; a longer run
// of digits is read in pairs. Stops at any other character or after max bytes.
[[nodiscard]] std::vector<std::uint8_t> ParseHexDump(std::string_view text, int max);

// A bit-mask pattern of at most maxBytes bytes.
struct BitMask {
    std::vector<std::uint8_t> value;
    std::vector<std::uint8_t> mask; // bit 1: the bit must match
};
[[nodiscard]] BitMask ParseBitMask(std::string_view text, int maxBytes);

// The text that shows the bytes in the kind; unknown kinds give an empty text.
[[nodiscard]] std::string FormatValue(std::span<const std::uint8_t> bytes, int kind);

} // namespace dualvex
