#include "core/support/ValueText.h"

#include "core/support/DecodeEscape.h"
#include "core/support/DumpBytes.h"
#include "core/support/Number64.h"
#include "core/support/TextConv.h"

#include <algorithm>

namespace dualvex {
namespace {

std::size_t SkipBlanks(std::string_view text, std::size_t pos = 0)
{
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    return pos;
}

std::vector<std::uint8_t> ParseText(std::string_view text, int max)
{
    std::vector<std::uint8_t> out;
    const std::string zeroTerminated(text);
    const char* p = zeroTerminated.c_str();
    const bool quoted = *p == '"';
    if (quoted) ++p;
    while (*p != '\0' && static_cast<int>(out.size()) < max) {
        if (quoted && *p == '"') break;
        int consumed = 0;
        out.push_back(static_cast<std::uint8_t>(DecodeEscape(p, &consumed)));
        p += consumed;
    }
    return out;
}

std::vector<std::uint8_t> ParseNumberBytes(std::string_view text)
{
    const std::string zeroTerminated(text);
    int end = 0;
    // The sign is taken so that a negative decimal searches for its two's complement,
    // the same bytes FormatValue shows as that negative number.
    const std::uint64_t value = ParseNumber64(zeroTerminated.c_str(), kParseNoLeadingBlanks, &end);
    std::size_t pos = 0;
    if (pos < text.size() && text[pos] == '-') ++pos;
    int digits = end - static_cast<int>(pos);
    if (pos + 1 < text.size() && text[pos] == '0') {
        const char p = static_cast<char>(text[pos + 1] | 0x20);
        if (p == 'x' || p == 'b' || p == 'o') digits -= 2;
    }
    const int n = digits <= 8 ? 4 : 8;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    return out;
}

} // namespace

int Classify(std::string_view text)
{
    std::size_t pos = SkipBlanks(text);
    if (pos >= text.size()) return kKindNone;
    const char c = text[pos];
    if (c == '"') return kKindText;
    if (c == ':') {
        for (std::size_t i = pos + 1; i < text.size() && text[i] != '('; ++i) {
            if (text[i] == ':' || text[i] == '#' || text[i] == '?') return kKindMask;
        }
        return kKindDump;
    }
    if (c == '-') ++pos;
    if (pos >= text.size()) return kKindText;
    if (text[pos] == '0' && pos + 1 < text.size()) {
        switch (text[pos + 1]) {
        case 'o':
        case 'O': return kKindOctal;
        case 'b':
        case 'B': return kKindBinary;
        case 'x':
        case 'X': return kKindHex;
        default: return kKindDecimal;
        }
    }
    return (text[pos] >= '0' && text[pos] <= '9') ? kKindDecimal : kKindText;
}

std::vector<std::uint8_t> ParseHexDump(std::string_view text, int max)
{
    if (max < 1) return {};
    const std::string zeroTerminated(text);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(max));
    out.resize(static_cast<std::size_t>(ReadDumpBytes(zeroTerminated.c_str(), out.data(), max)));
    return out;
}

std::vector<std::uint8_t> ParseValue(std::string_view text, int max)
{
    const int kind = Classify(text);
    text.remove_prefix(std::min(SkipBlanks(text), text.size()));
    switch (kind) {
    case kKindText: return ParseText(text, max);
    case kKindDump: return ParseHexDump(text, max);
    case kKindMask: {
        BitMask m = ParseBitMask(text, max / 2);
        m.value.insert(m.value.end(), m.mask.begin(), m.mask.end());
        return m.value;
    }
    case kKindDecimal:
    case kKindHex:
    case kKindBinary:
    case kKindOctal: return ParseNumberBytes(text);
    default: return {};
    }
}

BitMask ParseBitMask(std::string_view text, int maxBytes)
{
    BitMask r;
    std::size_t pos = SkipBlanks(text);
    if (pos < text.size() && text[pos] == ':') ++pos;
    bool binary = false;
    unsigned value = 0;
    unsigned mask = 0;
    int bits = 0;
    // A byte closed early keeps its bits right-aligned; at the end of the pattern its
    // unused high bits must be zero, elsewhere they are free.
    auto close = [&](bool atEnd) {
        if (bits == 0) return;
        if (atEnd) mask |= 0xFFu << bits;
        r.value.push_back(static_cast<std::uint8_t>(value));
        r.mask.push_back(static_cast<std::uint8_t>(mask));
        value = mask = 0;
        bits = 0;
    };
    for (; pos < text.size() && static_cast<int>(r.value.size()) < maxBytes; ++pos) {
        const char c = text[pos];
        const int shift = binary ? 1 : 4;
        if (IsBlank(c)) {
            close(false);
            binary = false;
            continue;
        }
        if (c == '#' || c == ':') {
            binary = true;
            continue;
        }
        if (c == '?') {
            value <<= shift;
            mask <<= shift;
        } else if (binary && (c == '0' || c == '1')) {
            value = (value << 1) | static_cast<unsigned>(c - '0');
            mask = (mask << 1) | 1u;
        } else if (!binary && HexDigitValue(c) >= 0) {
            value = (value << 4) | static_cast<unsigned>(HexDigitValue(c));
            mask = (mask << 4) | 0xFu;
        } else {
            break;
        }
        bits += shift;
        if (bits >= 8) close(false);
    }
    if (static_cast<int>(r.value.size()) < maxBytes) close(true);
    return r;
}

namespace {

std::string FormatNumberBytes(std::span<const std::uint8_t> bytes, int kind)
{
    if (bytes.empty()) return {};
    char buf[80];
    if (bytes.size() >= 8) {
        // Eight-byte patterns come from numbers that need them; showing only their low
        // half would change the value when the text is parsed again.
        std::uint64_t v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | bytes[static_cast<std::size_t>(i)];
        FormatNumber64(v, buf, static_cast<std::uint32_t>(kind));
        return buf;
    }
    const std::size_t n = std::min<std::size_t>(bytes.size(), 4);
    std::uint32_t v = (bytes[n - 1] & 0x80) ? 0xFFFFFFFFu : 0u;
    for (std::size_t i = n; i-- > 0;) v = (v << 8) | bytes[i];
    FormatNumber(v, buf, static_cast<std::uint32_t>(kind));
    return buf;
}

std::string FormatText(std::span<const std::uint8_t> bytes, bool wide)
{
    std::size_t n = wide ? bytes.size() & ~std::size_t{1} : bytes.size();
    const std::size_t unit = wide ? 2 : 1;
    while (n >= unit && bytes[n - 1] == 0 && bytes[n - unit] == 0) n -= unit;
    char buf[257];
    EscapeString(buf, sizeof buf, bytes.data(), static_cast<int>(n), wide ? 0x10000000u : 0u);
    return buf;
}

std::string FormatDump(std::span<const std::uint8_t> bytes)
{
    std::string buf(3 * bytes.size() + 4, '\0');
    const int len = FormatHexDump(bytes.data(), buf.data(), static_cast<int>(bytes.size()), 0xB0002000u);
    buf.resize(static_cast<std::size_t>(std::max(len, 0)));
    return buf;
}

void AppendMaskByte(std::string& out, std::uint8_t value, std::uint8_t mask)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (mask == 0xFF || mask == 0xF0 || mask == 0x0F || mask == 0x00) {
        out += (mask & 0xF0) ? kHex[value >> 4] : '?';
        out += (mask & 0x0F) ? kHex[value & 0xF] : '?';
        return;
    }
    out += '#';
    for (int bit = 7; bit >= 0; --bit)
        out += ((mask >> bit) & 1) ? static_cast<char>('0' + ((value >> bit) & 1)) : '?';
}

std::string FormatMask(std::span<const std::uint8_t> bytes)
{
    const std::size_t half = bytes.size() / 2;
    std::string out = ":";
    for (std::size_t i = 0; i < half; ++i) {
        if (i > 0) out += ' ';
        AppendMaskByte(out, bytes[i], bytes[half + i]);
    }
    return out;
}

} // namespace

std::string FormatValue(std::span<const std::uint8_t> bytes, int kind)
{
    switch (kind) {
    case kKindDecimal:
    case kKindHex:
    case kKindBinary:
    case kKindOctal: return FormatNumberBytes(bytes, kind);
    case kKindText: return FormatText(bytes, false);
    case kKindUnicodeText: return FormatText(bytes, true);
    case kKindDump: return FormatDump(bytes);
    case kKindMask: return FormatMask(bytes);
    default: return {};
    }
}

} // namespace dualvex
