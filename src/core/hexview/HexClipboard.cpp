#include "core/hexview/HexClipboard.h"

#include "core/support/TextConv.h"
#include "core/support/ValueText.h"

#include <algorithm>
#include <climits>

namespace dualvex {

namespace {

bool StartsWithHexPrefix(std::string_view text, std::size_t at)
{
    return at + 1 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X');
}

} // namespace

std::string HexCopyText(const std::uint8_t* bytes, HexPos count, bool fromCharColumn)
{
    if (count <= 0) return {};
    const bool text =
        fromCharColumn && std::none_of(bytes, bytes + count, [](std::uint8_t b) { return b < 0x20; });
    if (text) return std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count));
    const int n = static_cast<int>(std::min(count, kHexCopyCap));
    // ":" plus three characters per byte and the terminator.
    std::string dump(static_cast<std::size_t>(3 * n + 2), '\0');
    const int length = FormatHexDump(bytes, dump.data(), n, 0xB0002000u);
    dump.resize(static_cast<std::size_t>(std::clamp(length, 0, 3 * n + 1)));
    return dump;
}

std::vector<std::uint8_t> ConvertPasteHex(std::string_view text, HexPos maxBytes)
{
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    std::string clean(text.substr(start));
    const bool prefixed = StartsWithHexPrefix(clean, 0);
    for (std::size_t i = 0; i < clean.size(); ++i) {
        char& ch = clean[i];
        if (prefixed && StartsWithHexPrefix(clean, i)) {
            clean[i] = clean[i + 1] = ' ';
            ++i;
        } else if (ch == ',' || ch == ':' || ch == '\n' || ch == '\r' ||
                   static_cast<unsigned char>(ch) == 0xA0) {
            ch = ' ';
        }
    }
    const HexPos limit = std::min({maxBytes, static_cast<HexPos>(clean.size() / 2 + 1), HexPos{INT_MAX}});
    return ParseHexDump(clean, static_cast<int>(limit));
}

} // namespace dualvex
