#include "core/support/ValueText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace dualvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ValueTextTest, ClassifyRecognisesEveryKind)
{
    struct Case {
        const char* text;
        int kind;
    } cases[] = {
        {"", kKindNone},          {" \t", kKindNone},    {"\"abc", kKindText}, {"abc", kKindText},
        {":12 34", kKindDump},    {":1?", kKindMask},    {":#1", kKindMask},   {"::1", kKindMask},
        {":12 (a?b)", kKindDump}, {"-5", kKindDecimal},  {"-", kKindText},     {"-abc", kKindText},
        {"0o17", kKindOctal},     {"0O17", kKindOctal},  {"0b1", kKindBinary}, {"0B1", kKindBinary},
        {"0x1F", kKindHex},       {"\t 0X1F", kKindHex}, {"0", kKindDecimal},  {"0d12", kKindDecimal},
        {"12", kKindDecimal},     {" - 1", kKindText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Classify(c.text), c.kind);
    }
}

TEST(ValueTextTest, ParseValueNumbersGiveFourOrEightLittleEndianBytes)
{
    struct Case {
        const char* text;
        Bytes bytes;
    } cases[] = {
        {"4660", {0x34, 0x12, 0, 0}},
        {"  4660", {0x34, 0x12, 0, 0}},
        {"4294967295", {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}}, // ten characters
        {"0xFFFFFFFF", {0xFF, 0xFF, 0xFF, 0xFF}},             // eight behind the prefix
        {"0x123456789", {0x89, 0x67, 0x45, 0x23, 0x01, 0, 0, 0}},
        {"0b101", {5, 0, 0, 0}},
        {"0o17", {15, 0, 0, 0}},
        {"-5", {0xFB, 0xFF, 0xFF, 0xFF}},
        {"-4294967296", {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseValue(c.text, 1), c.bytes);
    }
}

TEST(ValueTextTest, ParseValueTexts)
{
    struct Case {
        const char* text;
        int max;
        Bytes bytes;
    } cases[] = {
        {"abc", 256, {'a', 'b', 'c'}},
        {"  ab c", 256, {'a', 'b', ' ', 'c'}},
        {"\"ab\\x41\\n\"", 256, {'a', 'b', 'A', '\n'}},
        {"\"ab\"cd", 256, {'a', 'b'}},
        {"\"a\\\"b\"", 256, {'a', '"', 'b'}},
        {"\"unclosed", 256, {'u', 'n', 'c', 'l', 'o', 's', 'e', 'd'}},
        {"\"\\q\"", 256, {'\\', 'q'}},
        {"abcdef", 3, {'a', 'b', 'c'}},
        {"\"\"", 256, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseValue(c.text, c.max), c.bytes);
    }
}

TEST(ValueTextTest, ParseHexDumpReadsPairsAndStopsAtOtherCharacters)
{
    struct Case {
        const char* text;
        int max;
        Bytes bytes;
    } cases[] = {
        {":12 34", 256, {0x12, 0x34}},
        {":123", 256, {0x12, 0x03}},
        {": 1 2\t3", 256, {1, 2, 3}},
        {"  :ab zz 12", 256, {0xAB}},
        {"12 34", 256, {0x12, 0x34}},
        {":12 34 56", 2, {0x12, 0x34}},
        {":", 256, {}},
        {":12\t\t(0x1234)", 256, {0x12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseHexDump(c.text, c.max), c.bytes);
    }
}

TEST(ValueTextTest, ParseBitMask)
{
    struct Case {
        const char* text;
        Bytes value, mask;
    } cases[] = {
        {":1?", {0x10}, {0xF0}},
        {":#1???0000", {0x80}, {0x8F}},
        {":1? #1???0000", {0x10, 0x80}, {0xF0, 0x8F}},
        {":1", {0x01}, {0xFF}},  // open at the end: high bits must be zero
        {":1 ", {0x01}, {0x0F}}, // closed by a blank: high bits free
        {":#101", {0x05}, {0xFF}},
        {":#101\t2", {0x05, 0x02}, {0x07, 0xFF}},
        {":?", {0x00}, {0xF0}},
        {":1#0101", {0x15}, {0xFF}},            // "#" switches to bits within the byte
        {":12:1?", {0x12, 0x02}, {0xFF, 0xFE}}, // two bits open at the end
        {":12 z 34", {0x12}, {0xFF}},
        {":", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const BitMask m = ParseBitMask(c.text, 128);
        EXPECT_EQ(m.value, c.value);
        EXPECT_EQ(m.mask, c.mask);
    }
    EXPECT_EQ(ParseBitMask(":11 22 33", 2).value, (Bytes{0x11, 0x22}));
    EXPECT_EQ(ParseValue(":1? #1???0000", 256), (Bytes{0x10, 0x80, 0xF0, 0x8F}));
    EXPECT_EQ(ParseValue(":11 22 3?", 5), (Bytes{0x11, 0x22, 0xFF, 0xFF}));
}

TEST(ValueTextTest, FormatValueInEveryKind)
{
    struct Case {
        const char* name;
        Bytes bytes;
        int kind;
        std::string text;
    } cases[] = {
        {"word decimal", {0x34, 0x12}, kKindDecimal, "4660"},
        {"byte sign-extended", {0x80}, kKindDecimal, "-128"},
        {"byte hex sign-extended", {0xFF}, kKindHex, "0xFFFFFFFF"},
        {"dword decimal", {0xFF, 0xFF, 0xFF, 0xFF}, kKindDecimal, "-1"},
        {"three bytes", {0x01, 0x02, 0x03}, kKindHex, "0x30201"},
        {"binary", {5}, kKindBinary, "0b101"},
        {"octal", {8}, kKindOctal, "0o10"},
        {"qword keeps its high half", {0, 0, 0, 0, 1, 0, 0, 0}, kKindDecimal, "4294967296"},
        {"qword hex", {0xEF, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0x01}, kKindHex, "0x123456789ABCDEF"},
        {"no bytes", {}, kKindDecimal, ""},
        {"text drops trailing zeros", {'a', '"', '\n', 0, 0}, kKindText, "\"a\\\"\\n\""},
        {"unicode text", {'h', 0, 'i', 0, 0, 0}, kKindUnicodeText, "\"hi\""},
        {"dump", {0x12, 0xAB}, kKindDump, ":12 AB"},
        {"mask", {0x10, 0x80, 0xF0, 0x8F}, kKindMask, ":1? #1???0000"},
        {"mask nibbles", {0x5A, 0x3C, 0x0F, 0x00}, kKindMask, ":?A ??"},
        {"unknown kind", {1}, 9, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatValue(c.bytes, c.kind), c.text);
    }
}

TEST(ValueTextTest, FormatValueTextStaysWithinItsLimit)
{
    const Bytes many(1000, 0x01);
    const std::string text = FormatValue(many, kKindText);
    EXPECT_LE(text.size(), 256u);
    EXPECT_EQ(text.back(), '"');
}

TEST(ValueTextTest, MaskTextsSurviveFormatAndParse)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 500; ++round) {
        const std::size_t n = 1 + rng() % 8;
        Bytes bytes(2 * n);
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t mask = static_cast<std::uint8_t>(rng() % 3 == 0 ? 0xF0 : rng());
            bytes[n + i] = mask;
            bytes[i] = static_cast<std::uint8_t>(rng()) & mask;
        }
        const std::string text = FormatValue(bytes, kKindMask);
        SCOPED_TRACE(text);
        EXPECT_EQ(Classify(text), kKindMask);
        EXPECT_EQ(ParseValue(text, 256), bytes);
    }
}

// Binary and octal texts of larger values grow past eight digits and so to eight
// bytes; decimal and hexadecimal keep the pattern as it was.
TEST(ValueTextTest, NumbersSurviveFormatAndParse)
{
    for (const char* text : {"4660", "0x1234", "0b1010", "0o777", "-5", "4294967296", "0x123456789"}) {
        SCOPED_TRACE(text);
        const Bytes bytes = ParseValue(text, 256);
        for (int kind : {kKindDecimal, kKindHex}) EXPECT_EQ(ParseValue(FormatValue(bytes, kind), 256), bytes);
    }
}

} // namespace
} // namespace dualvex
