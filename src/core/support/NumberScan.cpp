#include "core/support/NumberScan.h"

#include "core/support/TextConv.h"

namespace dualvex {
namespace {

bool IsWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Flag bits 10-11 allow underscores and apostrophes between digits (1000'000).
bool IsDigitSeparator(char c, std::uint32_t flags)
{
    const std::uint32_t allowed = (flags >> 10) & 3;
    return ((allowed & 1) && c == '_') || ((allowed & 2) && c == '\'');
}

struct DigitRun {
    std::uint64_t value = 0;
    int end = 0;
    int digits = 0;
};

DigitRun ReadDigits(const char* text, int pos, unsigned radix, std::uint32_t flags)
{
    DigitRun run{0, pos, 0};
    for (int p = pos;; ++p) {
        const auto digit = static_cast<unsigned>(DigitValue(static_cast<unsigned char>(text[p])));
        if (digit < radix) {
            run.value = run.value * radix + digit;
            ++run.digits;
            run.end = p + 1;
        } else if (run.digits == 0 || !IsDigitSeparator(text[p], flags)) {
            return run;
        }
    }
}

struct Notation {
    unsigned radix = 10;
    int start = 0;     // where the digits begin
    int suffixLen = 0; // characters behind the digits that belong to the number
};

Notation CNotation(const char* text, int pos)
{
    if (text[pos] == '0') {
        switch (Lower(text[pos + 1])) {
        case 'x': return {16, pos + 2, 0};
        case 'd': return {10, pos + 2, 0};
        case 'o': return {8, pos + 2, 0};
        case 'b': return {2, pos + 2, 0};
        default: break;
        }
    }
    return {10, pos, 0};
}

// A run of digits of `radix` directly followed by the suffix letter.
bool HasSuffix(const char* text, int pos, unsigned radix, char suffix, std::uint32_t flags)
{
    const DigitRun run = ReadDigits(text, pos, radix, flags);
    return run.digits > 0 && Lower(text[run.end]) == suffix;
}

// "0x" and "0o" and the based prefixes cannot be part of a digit run, so they are
// decided first. The h suffix comes before "0b"/"0d" because those two are also
// hexadecimal digits: 0BAh and 0D7h are hexadecimal numbers, not failed prefixes.
Notation EvaluatorNotation(const char* text, int pos, std::uint32_t flags)
{
    const char second = text[pos] == '\0' ? '\0' : Lower(text[pos + 1]);
    if (text[pos] == '0' && (second == 'x' || second == 'o')) return {second == 'x' ? 16u : 8u, pos + 2, 0};
    static constexpr struct {
        const char* prefix;
        unsigned radix;
    } kBased[] = {{"16#", 16}, {"10#", 10}, {"8#", 8}, {"2#", 2}};
    for (const auto& based : kBased) {
        int n = 0;
        while (based.prefix[n] != '\0' && text[pos + n] == based.prefix[n]) ++n;
        if (based.prefix[n] == '\0') return {based.radix, pos + n, 0};
    }
    if (HasSuffix(text, pos, 16, 'h', flags)) return {16, pos, 1};
    if (text[pos] == '0' && (second == 'b' || second == 'd')) return {second == 'b' ? 2u : 10u, pos + 2, 0};
    if (HasSuffix(text, pos, 2, 'b', flags)) return {2, pos, 1};
    if (HasSuffix(text, pos, 8, 'o', flags)) return {8, pos, 1};
    return {10, pos, 0};
}

int SkipSign(const char* text, std::uint32_t flags, bool* negative)
{
    int pos = 0;
    if (!(flags & kParseNoLeadingBlanks))
        while (IsBlank(text[pos])) ++pos;
    *negative = false;
    if (!(flags & kParseNoMinus) && text[pos] == '-') {
        *negative = true;
        ++pos;
        if (!(flags & (kParseNoBlankAfterMinus | kParseNoLeadingBlanks)))
            while (IsBlank(text[pos])) ++pos;
    }
    return pos;
}

} // namespace

NumberScan ScanNumber(const char* text, std::uint32_t flags)
{
    if (text == nullptr) return {};
    bool negative = false;
    const int pos = SkipSign(text, flags, &negative);
    const Notation notation = (flags & kParseRadixMask) == kParseRadixEvaluator
                                  ? EvaluatorNotation(text, pos, flags)
                                  : CNotation(text, pos);
    const DigitRun run = ReadDigits(text, notation.start, notation.radix, flags);
    NumberScan scan;
    if (run.digits == 0) {
        scan.end = pos;
        return scan;
    }
    scan.hasDigits = true;
    scan.value = negative ? 0 - run.value : run.value;
    scan.end = run.end + notation.suffixLen;
    if (flags & kParseSkipTrailingWhite)
        while (IsWhite(text[scan.end])) ++scan.end;
    return scan;
}

} // namespace dualvex
