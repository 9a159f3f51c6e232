#include "core/tools/SearchEntry.h"

#include "core/support/TextConv.h"
#include "core/support/ValueText.h"

#include <algorithm>

namespace dualvex {
namespace {

constexpr int kEntryPatternMax = 256;

int TabsBeforeValue(std::size_t n)
{
    if (n < 3) return 5;
    if (n <= 6) return 4;
    if (n <= 9) return 3;
    if (n <= 12) return 2;
    return 1;
}

std::string HexDumpWithTrailingBlank(std::span<const std::uint8_t> bytes)
{
    std::string buf(3 * bytes.size() + 4, '\0');
    const int len = FormatHexDump(bytes.data(), buf.data(), static_cast<int>(bytes.size()), 0xA0002000u);
    buf.resize(static_cast<std::size_t>(std::max(len, 0)));
    return buf;
}

std::vector<std::uint8_t> Widen(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::uint8_t> wide;
    wide.reserve(2 * bytes.size());
    for (std::uint8_t b : bytes) {
        wide.push_back(b);
        wide.push_back(0);
    }
    return wide;
}

// The parts of an entry string that loading and searching read.
struct EntryFields {
    char letter = 0;
    std::uint32_t count = 0;
    std::string_view flags;   // from behind the count to the second ":"
    std::string_view pattern; // from the second ":" on
};

std::optional<EntryFields> SplitEntry(std::string_view entry)
{
    const std::size_t start = entry.find_first_not_of(" \t");
    if (start == std::string_view::npos) return std::nullopt;
    const std::size_t first = entry.find(':', start + 1);
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t second = entry.find(':', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    EntryFields f;
    f.letter = entry[start];
    const std::string countText(entry.substr(first + 1, second - first - 1));
    int end = 0;
    f.count = ParseNumber(countText.c_str(), 0, &end);
    // The count may be hexadecimal ("0x000B"): flags are only looked for behind it.
    f.flags = entry.substr(first + 1 + static_cast<std::size_t>(end),
                           second - first - 1 - static_cast<std::size_t>(end));
    f.pattern = entry.substr(second);
    return f;
}

int KindOfLetter(char letter)
{
    switch (letter) {
    case 'D': return kKindDecimal;
    case 'H': return kKindHex;
    case 'B': return kKindBinary;
    case 'O': return kKindOctal;
    case 'T':
    case 'N': return kKindText;
    case 'M': return kKindMask;
    default: return kKindDump;
    }
}

} // namespace

int ByteCountMaximum(int choice)
{
    switch (choice) {
    case kCountByte: return 1;
    case kCountWord: return 2;
    case kCountDWord: return 4;
    default: return 256;
    }
}

std::optional<std::string> BuildSearchEntry(std::string_view text, const EntryOptions& options)
{
    const int kind = Classify(text);
    if (kind == kKindNone) return std::nullopt;
    const int choice = IsNumberKind(kind) ? options.byteCount : kCountVariable;
    std::vector<std::uint8_t> bytes = ParseValue(text, ByteCountMaximum(choice));
    if (bytes.empty()) return std::nullopt;
    char letter = kKindLetters[kind];
    std::string flags;
    if (kind == kKindText) {
        if (options.unicode) {
            if (bytes.size() > 128) bytes.resize(128);
            bytes = Widen(bytes);
            letter = kKindLetters[kKindUnicodeText];
        }
        if (options.ignoreCase) flags += " /G";
    } else if (IsNumberKind(kind)) {
        if (choice == kCountByte || choice == kCountWord)
            bytes.resize(static_cast<std::size_t>(ByteCountMaximum(choice)));
        // Only Word and DWord offer the byte order; an 8-byte number keeps its order
        // and so carries no flag that would reverse it when loaded back.
        const bool orderable = choice == kCountWord || choice == kCountDWord;
        if (options.bigEndian && orderable && (bytes.size() == 2 || bytes.size() == 4)) {
            std::reverse(bytes.begin(), bytes.end());
            flags += " /B";
        }
    }
    std::string entry(1, letter);
    entry += ':';
    entry += std::to_string(bytes.size());
    entry += flags;
    entry += '\t';
    entry += FormatValue(bytes, kKindDump);
    entry.append(static_cast<std::size_t>(TabsBeforeValue(bytes.size())), '\t');
    entry += '(';
    entry += text;
    entry += ')';
    return entry;
}

std::optional<LoadedEntry> LoadSearchEntry(std::string_view entry)
{
    const std::optional<EntryFields> f = SplitEntry(entry);
    if (!f) return std::nullopt;
    std::vector<std::uint8_t> bytes = ParseHexDump(f->pattern, kEntryPatternMax);
    if (bytes.empty()) return std::nullopt;
    LoadedEntry loaded;
    loaded.kind = KindOfLetter(f->letter);
    loaded.bigEndian = f->flags.find('B') != std::string_view::npos;
    if (loaded.bigEndian) std::reverse(bytes.begin(), bytes.end());
    if (f->letter == 'N') {
        loaded.unicode = true;
        std::vector<std::uint8_t> narrow;
        for (std::size_t i = 0; i < bytes.size(); i += 2) narrow.push_back(bytes[i]);
        bytes = std::move(narrow);
    }
    loaded.text = FormatValue(bytes, loaded.kind);
    loaded.ignoreCase = loaded.kind == kKindText && f->flags.find('G') != std::string_view::npos;
    if (IsNumberKind(loaded.kind)) {
        if (bytes.size() == 1) loaded.byteCount = kCountByte;
        if (bytes.size() == 2) loaded.byteCount = kCountWord;
        if (bytes.size() == 4) loaded.byteCount = kCountDWord;
    }
    return loaded;
}

std::optional<SearchPattern> ReadSearchEntry(std::string_view entry)
{
    const std::optional<EntryFields> f = SplitEntry(entry);
    if (!f) return std::nullopt;
    const std::vector<std::uint8_t> parsed = ParseValue(f->pattern, kEntryPatternMax);
    SearchPattern p;
    // The count field decides the size, but never beyond the bytes the entry holds:
    // a damaged entry must not compare bytes it does not have.
    if (f->letter == 'M') {
        const std::size_t half = parsed.size() / 2;
        const std::size_t size = std::min<std::size_t>(f->count / 2, half);
        p.bytes.assign(parsed.begin(), parsed.begin() + static_cast<std::ptrdiff_t>(size));
        p.bytes.insert(p.bytes.end(), parsed.begin() + static_cast<std::ptrdiff_t>(half),
                       parsed.begin() + static_cast<std::ptrdiff_t>(half + size));
        p.size = static_cast<int>(size);
        p.mode = MatchMode::Mask;
    } else {
        const std::size_t size = std::min<std::size_t>(f->count, parsed.size());
        p.bytes.assign(parsed.begin(), parsed.begin() + static_cast<std::ptrdiff_t>(size));
        p.size = static_cast<int>(size);
        p.mode = f->flags.find('G') != std::string_view::npos ? MatchMode::IgnoreCase : MatchMode::Exact;
    }
    if (p.size < 1) return std::nullopt;
    return p;
}

std::string RangeSearchEntry(std::span<const std::uint8_t> bytes, bool ignoreCase)
{
    bytes = bytes.first(std::min<std::size_t>(bytes.size(), kRangeSearchMaxBytes));
    char count[8];
    FormatNumber(static_cast<std::uint32_t>(bytes.size()), count, 0x8410); // four hex digits
    std::string entry = "T:0x";
    entry += count;
    entry += ignoreCase ? " /G " : "    ";
    entry += HexDumpWithTrailingBlank(bytes);
    return entry;
}

std::string SelectionValueText(std::span<const std::uint8_t> bytes)
{
    bytes = bytes.first(std::min<std::size_t>(bytes.size(), kRangeSearchMaxBytes));
    const bool printable =
        std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b >= 32 && b <= 127; });
    if (!printable || bytes.empty()) return HexDumpWithTrailingBlank(bytes);
    std::string text = "\"";
    for (std::uint8_t b : bytes) {
        // A quote or backslash taken as it is would end the text or start an escape,
        // and the value would no longer be the selected bytes.
        if (b == '"' || b == '\\') text += '\\';
        text += static_cast<char>(b);
    }
    text += '"';
    return text;
}

} // namespace dualvex
