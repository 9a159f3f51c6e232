// Text and number conversion helpers shared by every subsystem.
//
// All functions work on 8-bit text (one byte per character), keep no state and
// never allocate. Destinations are bounded by the caller: a function that takes
// no size writes at most the length its own description gives.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dualvex {

// Character class bits of CharClass().
enum : std::uint32_t {
    kClassDigit = 0x1,
    kClassUpper = 0x2,
    kClassLower = 0x4,
    kClassUnderscore = 0x8,
    kClassTab = 0x20,
    kClassLineEnd = 0x40,
    kClassSpace = 0x80,
    kClassBinary = 0x10000,
    kClassOctal = 0x20000,
    kClassHexLetter = 0x40000,
    kClassBlank = 0xA0, // tab, space
    kClassWhite = 0xE0, // tab, line feed, carriage return, space
    kClassHexDigit = 0x40001,
    kClassAlnum = 0x40007,
};

// ParseNumber flags (bits 0-7 hold the radix notation: 0 automatic C-like prefixes,
// 252 the evaluator's notation with suffixes and based prefixes).
enum : std::uint32_t {
    kParseRadixMask = 0xFF,
    kParseRadixEvaluator = 252,
    kParseSkipTrailingWhite = 0x1000,
    kParseNoBlankAfterMinus = 0x2000,
    kParseNoMinus = 0x4000,
    kParseNoLeadingBlanks = 0x8000,
};

std::uint32_t CharClass(unsigned char ch);
// Space or tab: what separates the parts of a value or a record on one line.
constexpr bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}
// 0-15 for a hex digit of either case, -1 for every other character.
constexpr int HexDigitValue(char ch)
{
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
}
// 0-9 for digits, 10-35 for letters of either case, 127 for every other byte.
int DigitValue(unsigned char ch);

int SpanClass(const char* text, std::uint32_t mask);
int FindChar(const char* text, char ch);
int CopyText(char* dest, const char* src, int size);
int AppendText(char* dest, const char* src, int size);

// Returns the value; *end (when given) receives the index behind what was read.
std::uint32_t ParseNumber(const char* text, std::uint32_t flags, int* end = nullptr);
// Writes at most 36 characters plus the terminator.
int FormatNumber(std::uint32_t value, char* dest, std::uint32_t flags);
// The caller's buffer must hold the dump of count bytes: at most 3 characters per
// byte plus 2 per group plus 2 (leading ":" and terminator).
int FormatHexDump(const std::uint8_t* src, char* dest, int count, std::uint32_t flags);
// Writes at most 7 characters plus the terminator.
int EscapeChar(unsigned char ch, char* dest, bool inString);
int EscapeString(char* dest, int destSize, const std::uint8_t* src, int count, std::uint32_t flags);
int CompareMasked(const std::uint8_t* a, const std::uint8_t* b, const std::uint8_t* mask, int count);
// printf-style into a bounded buffer; also takes the size prefix "I64" for 64-bit
// integers. Always terminates when destSize >= 1; returns the length written.
int PrintText(char* dest, std::size_t destSize, const char* format, ...);
// The n-th text of a zero-separated text list, or nullptr.
const char* ListItem(const char* list, int n);

} // namespace dualvex
