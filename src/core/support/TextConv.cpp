#include "core/support/TextConv.h"

#include "core/support/Number64.h"

#include <cstddef>
#include <cstring>

namespace dualvex {

namespace {

constexpr char kUpperDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

bool HasClass(char ch, std::uint32_t mask)
{
    return (CharClass(static_cast<unsigned char>(ch)) & mask) != 0;
}

} // namespace

std::uint32_t CharClass(unsigned char ch)
{
    if (ch >= '0' && ch <= '9') {
        std::uint32_t c = kClassDigit;
        if (ch <= '1') c |= kClassBinary;
        if (ch <= '7') c |= kClassOctal;
        return c;
    }
    if (ch >= 'A' && ch <= 'Z') return ch <= 'F' ? kClassUpper | kClassHexLetter : kClassUpper;
    if (ch >= 'a' && ch <= 'z') return ch <= 'f' ? kClassLower | kClassHexLetter : kClassLower;
    switch (ch) {
    case '_': return kClassUnderscore;
    case '\t': return kClassTab;
    case '\n':
    case '\r': return kClassLineEnd;
    case ' ': return kClassSpace;
    default: return 0;
    }
}

int DigitValue(unsigned char ch)
{
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'A' && ch <= 'Z') return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'z') return ch - 'a' + 10;
    return 127;
}

int SpanClass(const char* text, std::uint32_t mask)
{
    if (!text) return 0;
    int n = 0;
    while (text[n] && HasClass(text[n], mask)) ++n;
    return n;
}

int FindChar(const char* text, char ch)
{
    if (!text) return 0;
    int n = 0;
    while (text[n] && text[n] != ch) ++n;
    return n;
}

int CopyText(char* dest, const char* src, int size)
{
    if (!dest || size < 1) return 0;
    int n = 0;
    if (src) {
        while (n < size - 1 && src[n]) {
            dest[n] = src[n];
            ++n;
        }
    }
    dest[n] = '\0';
    return n;
}

int AppendText(char* dest, const char* src, int size)
{
    if (!dest || size < 1) return 0;
    const int len = static_cast<int>(strnlen(dest, static_cast<std::size_t>(size)));
    // A destination without a terminator inside its size is left alone: writing one
    // would cut text the caller still owns.
    if (len >= size - 1) return len;
    return len + CopyText(dest + len, src, size - len);
}

// ---------------------------------------------------------------------------
// Numbers

namespace {

// Radix notation 0: "0x", "0d", "0o" and "0b" select the radix, anything else is decimal.
std::uint32_t PrefixRadix(const char* text, int* pos)
{
    if (text[*pos] != '0') return 10;
    switch (text[*pos + 1]) {
    case 'x':
    case 'X': *pos += 2; return 16;
    case 'd':
    case 'D': *pos += 2; return 10;
    case 'o':
    case 'O': *pos += 2; return 8;
    case 'b':
    case 'B': *pos += 2; return 2;
    default: return 10;
    }
}

bool IsDigitSeparator(char ch, std::uint32_t flags)
{
    const std::uint32_t allowed = (flags >> 10) & 3;
    return (ch == '_' && (allowed & 1)) || (ch == '\'' && (allowed & 2));
}

// Separators count only between two digits: a run of them is consumed when a digit
// of the radix follows, otherwise the number ends in front of them.
int SeparatorRun(const char* text, int pos, std::uint32_t radix, std::uint32_t flags)
{
    int n = 0;
    while (IsDigitSeparator(text[pos + n], flags)) ++n;
    if (n == 0) return 0;
    const auto next = static_cast<std::uint32_t>(DigitValue(static_cast<unsigned char>(text[pos + n])));
    return next < radix ? n : 0;
}

std::uint32_t AccumulateDigits(const char* text, int* pos, std::uint32_t radix, std::uint32_t flags)
{
    std::uint32_t value = 0;
    bool anyDigit = false;
    for (;;) {
        const auto digit = static_cast<std::uint32_t>(DigitValue(static_cast<unsigned char>(text[*pos])));
        if (digit < radix) {
            value = value * radix + digit;
            anyDigit = true;
            ++*pos;
            continue;
        }
        const int run = anyDigit ? SeparatorRun(text, *pos, radix, flags) : 0;
        if (run == 0) return value;
        *pos += run;
    }
}

} // namespace

std::uint32_t ParseNumber(const char* text, std::uint32_t flags, int* end)
{
    if (!text) {
        if (end) *end = 0;
        return 0;
    }
    if ((flags & kParseRadixMask) == kParseRadixEvaluator)
        return static_cast<std::uint32_t>(ParseNumber64(text, flags, end));
    int pos = 0;
    if (!(flags & kParseNoLeadingBlanks)) pos += SpanClass(text, kClassBlank);
    bool negative = false;
    if (text[pos] == '-' && !(flags & kParseNoMinus)) {
        negative = true;
        ++pos;
        if (!(flags & (kParseNoBlankAfterMinus | kParseNoLeadingBlanks)))
            pos += SpanClass(text + pos, kClassBlank);
    }
    const std::uint32_t radix = PrefixRadix(text, &pos);
    std::uint32_t value = AccumulateDigits(text, &pos, radix, flags);
    if (negative) value = 0u - value;
    if (flags & kParseSkipTrailingWhite) pos += SpanClass(text + pos, kClassWhite);
    if (end) *end = pos;
    return value;
}

namespace {

struct NumberStyle {
    std::uint32_t radix;
    const char* prefix;
    const char* suffix;
    bool isSigned;
    bool zeroBeforeLetter;
};

NumberStyle StyleOf(std::uint32_t flags)
{
    const std::uint32_t style = flags & 0xFF;
    if (flags & 0x8000) {
        // Radixes without a digit alphabet fall back to decimal instead of
        // looping (0, 1) or running out of digit letters (above 36).
        const std::uint32_t radix = (style >= 2 && style <= 36) ? style : 10;
        return {radix, "", "", false, false};
    }
    switch (style) {
    case 1: return {16, "0x", "", false, false};
    case 2: return {2, "0b", "", false, false};
    case 3: return {8, "0o", "", false, false};
    case 4: return {16, "", "h", false, true};
    case 5: return {2, "", "b", false, false};
    case 6: return {8, "", "o", false, true};
    case 7: return {16, "16#", "", false, false};
    case 8: return {2, "2#", "", false, false};
    case 9: return {8, "8#", "", false, false};
    case 10: return {10, "10#", "", false, false};
    default: return {10, "", "", true, false};
    }
}

int PutText(char* dest, int len, const char* text)
{
    while (*text) dest[len++] = *text++;
    return len;
}

int PutRepeated(char* dest, int len, char ch, int count)
{
    for (int i = 0; i < count; ++i) dest[len++] = ch;
    return len;
}

} // namespace

int FormatNumber(std::uint32_t value, char* dest, std::uint32_t flags)
{
    const NumberStyle style = StyleOf(flags);
    const bool negative = style.isSigned && static_cast<std::int32_t>(value) < 0;
    std::uint32_t magnitude = negative ? 0u - value : value;

    char digits[32]; // least significant first; 32 binary digits hold any value
    int count = 0;
    do {
        digits[count++] = kUpperDigits[magnitude % style.radix];
        magnitude /= style.radix;
    } while (magnitude != 0);

    int width = static_cast<int>((flags >> 8) & 0x3F);
    if (negative && width >= 3) --width; // the sign takes the place of one digit
    if (width > 32) width = 32;
    if ((flags & 0x4000) && width > 0 && count > width) count = width;
    int pad = width > count ? width - count : 0;
    const bool spaces = (flags & 0x10000) != 0;
    // "FFh" would read as a name; a leading zero keeps it a number. Zero padding
    // already provides it; space padding gives up one of its places for it.
    const bool letterZero = style.zeroBeforeLetter && (spaces || pad == 0) && digits[count - 1] > '9';
    if (letterZero && pad > 0) --pad;

    int len = 0;
    if (spaces) len = PutRepeated(dest, len, ' ', pad);
    if (negative) dest[len++] = '-';
    len = PutText(dest, len, style.prefix);
    if (!spaces) len = PutRepeated(dest, len, '0', pad);
    if (letterZero) dest[len++] = '0';
    while (count > 0) dest[len++] = digits[--count];
    len = PutText(dest, len, style.suffix);
    dest[len] = '\0';
    return len;
}

// ---------------------------------------------------------------------------
// Hex dumps

namespace {

struct DumpLayout {
    int group;      // bytes per group, 0 = none
    char separator; // written after each unit, 0 = no units
    int unit;       // bytes per unit
    bool spaceAtGroupEnd;
    bool noLastSeparator;
    bool reverse;
};

DumpLayout LayoutOf(std::uint32_t flags, int count)
{
    DumpLayout l{};
    l.group = static_cast<int>(flags & 0xFF);
    l.separator = static_cast<char>((flags >> 8) & 0xFF);
    l.unit = l.separator ? 1 << ((flags >> 25) & 3) : count;
    l.spaceAtGroupEnd = (flags & 0x08000000) != 0;
    l.noLastSeparator = (flags & 0x10000000) != 0;
    l.reverse = (flags & 0x40000000) != 0;
    return l;
}

int PutHexByte(char* dest, int len, std::uint8_t byte)
{
    dest[len++] = kUpperDigits[byte >> 4];
    dest[len++] = kUpperDigits[byte & 0xF];
    return len;
}

// Without units the bytes run together and only the groups are spaced.
int DumpRun(const std::uint8_t* src, char* dest, int len, int count, const DumpLayout& l)
{
    for (int i = 0; i < count; ++i) {
        len = PutHexByte(dest, len, src[l.reverse ? count - 1 - i : i]);
        if (l.group && (i + 1) % l.group == 0) dest[len++] = ' ';
    }
    return len;
}

int DumpUnits(const std::uint8_t* src, char* dest, int len, int count, const DumpLayout& l)
{
    for (int start = 0; start < count; start += l.unit) {
        const int size = l.unit < count - start ? l.unit : count - start;
        for (int i = 0; i < size; ++i)
            len = PutHexByte(dest, len, src[start + (l.reverse ? size - 1 - i : i)]);
        const int done = start + size;
        const bool groupEnd = l.group && done / l.group > start / l.group;
        if (done < count || !l.noLastSeparator)
            dest[len++] = (groupEnd && l.spaceAtGroupEnd) ? ' ' : l.separator;
        if (groupEnd) dest[len++] = ' ';
    }
    return len;
}

} // namespace

int FormatHexDump(const std::uint8_t* src, char* dest, int count, std::uint32_t flags)
{
    int len = 0;
    if (count > 0 && src) {
        if (flags & 0x20000000) dest[len++] = ':';
        const DumpLayout layout = LayoutOf(flags, count);
        len = layout.separator ? DumpUnits(src, dest, len, count, layout)
                               : DumpRun(src, dest, len, count, layout);
    }
    if (flags & 0x80000000) dest[len] = '\0';
    return len;
}

// ---------------------------------------------------------------------------
// C literals

namespace {

// The letter of a short escape, or 0 when the character has none.
char ShortEscapeLetter(unsigned ch)
{
    switch (ch) {
    case '\t': return 't';
    case '\r': return 'r';
    case '\n': return 'n';
    case '\a': return 'a';
    case '\b': return 'b';
    case '\f': return 'f';
    case '\v': return 'v';
    default: return 0;
    }
}

} // namespace

int EscapeChar(unsigned char ch, char* dest, bool inString)
{
    int len = 0;
    if (!inString) dest[len++] = '\'';
    if (ch == '\\' || ch == '\'' || ch == '"') {
        dest[len++] = '\\';
        dest[len++] = static_cast<char>(ch);
    } else if (const char letter = ShortEscapeLetter(ch)) {
        dest[len++] = '\\';
        dest[len++] = letter;
    } else if (ch < 32) {
        dest[len++] = '\\';
        dest[len++] = 'x';
        if (inString) dest[len++] = '0';
        len = PutHexByte(dest, len, ch);
    } else {
        dest[len++] = static_cast<char>(ch);
    }
    if (!inString) dest[len++] = '\'';
    dest[len] = '\0';
    return len;
}

namespace {

constexpr std::uint32_t kEscNoQuotes = 0x20000000;
constexpr std::uint32_t kEscCompactHex = 0x04000000;
constexpr std::uint32_t kEscNoShort = 0x40000000;
constexpr std::uint32_t kEscNoLetters = 0x80000000;
constexpr std::uint32_t kEscWide = 0x10000000;
constexpr std::uint32_t kEscMultiByte = 0x08000000;

// Reads the source one character at a time: bytes, 16-bit little-endian units, or
// bytes with multi-byte sequences kept whole.
struct EscapeSource {
    const std::uint8_t* src;
    int count;
    std::uint32_t flags;
    int pos = 0;

    int Step() const { return (flags & kEscWide) ? 2 : 1; }
    bool AtEnd() const { return pos + Step() > count; }
    unsigned At(int p) const
    {
        return (flags & kEscWide) ? src[p] | static_cast<unsigned>(src[p + 1]) << 8 : src[p];
    }
    // Whether the next character that will be written is a hex digit; wide characters
    // that are left out do not separate an escape from what follows them.
    bool NextIsHexDigit(int p) const
    {
        while (p + Step() <= count && At(p) >= 256) p += Step();
        if (p + Step() > count) return false;
        return (CharClass(static_cast<unsigned char>(At(p))) & kClassHexDigit) != 0;
    }
    // Length of the multi-byte sequence starting at pos (1 when it is no complete one).
    int SequenceLength() const;
};

int EscapeSource::SequenceLength() const
{
    const unsigned lead = src[pos];
    const int len = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    if (len == 1 || lead > 0xF4 || pos + len > count) return 1;
    for (int i = 1; i < len; ++i)
        if ((src[pos + i] & 0xC0) != 0x80) return 1;
    return len;
}

struct Piece {
    char text[10];
    int len = 0;
    int room = 0; // bytes that must be left in the destination before writing it
};

Piece HexEscapePiece(unsigned ch, bool compact, bool breakLiteral)
{
    Piece p;
    p.text[p.len++] = '\\';
    p.text[p.len++] = 'x';
    if (!compact) p.text[p.len++] = '0';
    p.len = PutHexByte(p.text, p.len, static_cast<std::uint8_t>(ch));
    // A hex escape swallows every hex digit behind it, so a following digit must
    // start a new literal.
    if (breakLiteral) {
        p.text[p.len++] = '"';
        p.text[p.len++] = '"';
    }
    p.room = breakLiteral ? 8 : 7;
    return p;
}

Piece EscapePiece(unsigned ch, std::uint32_t flags, bool nextIsHexDigit)
{
    Piece p;
    const bool step1 = !(flags & kEscNoShort);
    const bool step2 = step1 && !(flags & kEscNoLetters);
    const char letter = ShortEscapeLetter(ch);
    if (step1 && (ch == '\\' || ch == '"' || ch == '\r' || ch == '\n')) {
        p.text[0] = '\\';
        p.text[1] = ch == '\r' ? 'r' : ch == '\n' ? 'n' : static_cast<char>(ch);
        p.len = 2;
        p.room = 5;
    } else if (step2 && letter) {
        p.text[0] = '\\';
        p.text[1] = letter;
        p.len = 2;
        p.room = 5;
    } else if (ch < 32 || ch == '\\' || ch == '"') {
        p = HexEscapePiece(ch, (flags & kEscCompactHex) != 0, nextIsHexDigit);
    } else {
        p.text[0] = static_cast<char>(ch);
        p.len = 1;
        p.room = 3;
    }
    if (p.room < p.len + 2) p.room = p.len + 2;
    return p;
}

} // namespace

int EscapeString(char* dest, int destSize, const std::uint8_t* src, int count, std::uint32_t flags)
{
    const bool quoted = !(flags & kEscNoQuotes);
    if (!dest || destSize < 1) return 0;
    if (destSize < (quoted ? 3 : 1)) {
        dest[0] = '\0';
        return 0;
    }
    int len = 0;
    if (quoted) dest[len++] = '"';
    EscapeSource in{src, src ? count : 0, flags};
    while (!in.AtEnd()) {
        const int seq = (flags & kEscMultiByte) && !(flags & kEscWide) ? in.SequenceLength() : 1;
        if (seq > 1) {
            if (destSize - len < seq + 2) break;
            std::memcpy(dest + len, src + in.pos, static_cast<std::size_t>(seq));
            len += seq;
            in.pos += seq;
            continue;
        }
        const unsigned ch = in.At(in.pos);
        in.pos += in.Step();
        if (ch >= 256) continue; // no 8-bit form
        const Piece piece = EscapePiece(ch, flags, in.NextIsHexDigit(in.pos));
        if (destSize - len < piece.room) break;
        std::memcpy(dest + len, piece.text, static_cast<std::size_t>(piece.len));
        len += piece.len;
    }
    if (quoted) dest[len++] = '"';
    dest[len] = '\0';
    return len;
}

// ---------------------------------------------------------------------------
// Buffers and lists

int CompareMasked(const std::uint8_t* a, const std::uint8_t* b, const std::uint8_t* mask, int count)
{
    int i = 0;
    // Whole words first: most compared ranges are equal, and the first differing
    // byte is then found inside the word.
    for (; i + 4 <= count; i += 4) {
        std::uint32_t wa, wb, wm;
        std::memcpy(&wa, a + i, 4);
        std::memcpy(&wb, b + i, 4);
        std::memcpy(&wm, mask + i, 4);
        if (((wa ^ wb) & wm) != 0) break;
    }
    for (; i < count; ++i) {
        const int da = a[i] & mask[i];
        const int db = b[i] & mask[i];
        if (da != db) return da - db;
    }
    return 0;
}

const char* ListItem(const char* list, int n)
{
    if (!list || !*list || n < 0) return nullptr;
    const char* p = list;
    for (int i = 0; i < n; ++i) {
        p += std::strlen(p) + 1;
        if (!*p) return nullptr;
    }
    return p;
}

} // namespace dualvex
