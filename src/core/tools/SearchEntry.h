// Search entries: one string per searched value, as the group list box shows them
// and as search lists hold them. An entry reads
//   letter ":" byte count [" /G"] [" /B"] TAB ":" hex dump TABs "(" typed text ")"
// and only the letter, a "G" before the second ":", the count and the pattern from
// the second ":" on matter when it is searched.
#pragma once

#include "core/tools/FindPattern.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dualvex {

// "Byte-Anzahl" radio buttons: Byte, Word, DWord, Variabel.
enum ByteCountChoice : int { kCountByte = 0, kCountWord = 1, kCountDWord = 2, kCountVariable = 3 };
int ByteCountMaximum(int choice);

struct EntryOptions {
    int byteCount = kCountDWord; // ByteCountChoice; texts, dumps and masks always use Variabel
    bool unicode = false;        // text as 16-bit characters
    bool ignoreCase = false;     // text without regard to case
    bool bigEndian = false;      // numbers of Word or DWord in big-endian order
};

// Builds the entry for a typed value; an empty or unparsable value gives nothing.
[[nodiscard]] std::optional<std::string> BuildSearchEntry(std::string_view text, const EntryOptions& options);

// What loading an entry back into the dialog shows.
struct LoadedEntry {
    std::string text;
    int kind = 0;
    int byteCount = kCountVariable;
    bool ignoreCase = false;
    bool unicode = false;
    bool bigEndian = false;
};
[[nodiscard]] std::optional<LoadedEntry> LoadSearchEntry(std::string_view entry);

// An entry as the finder uses it: `bytes` holds `size` pattern bytes, followed by
// `size` mask bytes in mask mode.
struct SearchPattern {
    std::vector<std::uint8_t> bytes;
    int size = 0;
    MatchMode mode = MatchMode::Exact;
};
// Nothing when the entry holds no usable pattern.
[[nodiscard]] std::optional<SearchPattern> ReadSearchEntry(std::string_view entry);

// Range search takes at most this many bytes of the selection.
inline constexpr int kRangeSearchMaxBytes = 64;

// The entry that range search builds from the selected bytes (at most 64 used).
[[nodiscard]] std::string RangeSearchEntry(std::span<const std::uint8_t> bytes, bool ignoreCase);
// The value text a selection suggests (at most 64 bytes used): printable bytes as a
// quoted text, anything else as a hex dump.
[[nodiscard]] std::string SelectionValueText(std::span<const std::uint8_t> bytes);

} // namespace dualvex
