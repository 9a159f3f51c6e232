#include "core/support/Number64.h"
#include "core/support/TextConv.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace dualvex;

namespace {

struct ParseCase {
    const char* text;
    std::uint32_t flags;
    std::uint64_t value;
    int end;
};

constexpr std::uint32_t kEval = 252;

TEST(Number64Parse, Table)
{
    const ParseCase cases[] = {
        // radix mode 0: C-like prefixes
        {"0x1F", 0, 31, 4},
        {"0X1f", 0, 31, 4},
        {"0b101", 0, 5, 5},
        {"0o17", 0, 15, 4},
        {"0d19", 0, 19, 4},
        {"017", 0, 17, 3}, // a leading zero stays decimal
        {"  -12", 0, std::uint64_t(-12), 5},
        {"- 12", 0, std::uint64_t(-12), 4},
        {"- 12", 0x2000, 0, 1}, // no blanks after the minus: no digits
        {"-12", 0x4000, 0, 0},  // no minus accepted
        {" 7", 0x8000, 0, 0},   // no leading blanks skipped
        {"12 \t\n", 0x1000, 12, 5},
        {"12 ", 0, 12, 2},
        {"0x", 0, 0, 0}, // a prefix without digits is no number
        {"", 0, 0, 0},
        {"  ", 0, 0, 2},
        {"0xFFFFFFFFFFFFFFFF", 0, ~std::uint64_t(0), 18},
        {"0x1FFFFFFFFFFFFFFFF", 0, ~std::uint64_t(0), 19}, // wraps, keeps the low 64 bits
        {"18446744073709551616", 0, 0, 20},
        {"1_000", 0x400, 1000, 5}, // underscores between digits
        {"1'000", 0x800, 1000, 5},
        {"1_000", 0, 1, 1},
        {"1__0_", 0x400, 10, 4},
        {"1h", 0, 1, 1}, // suffixes are mode 252 only
        // radix mode 252: the evaluator's notation
        {"0x10", kEval, 16, 4},
        {"0o17", kEval, 15, 4},
        {"0d12", kEval, 12, 4},
        {"0b101", kEval, 5, 5},
        {"16#FF", kEval, 255, 5},
        {"10#99", kEval, 99, 5},
        {"8#17", kEval, 15, 4},
        {"2#101", kEval, 5, 5},
        {"0FFh", kEval, 255, 4},
        {"1AH", kEval, 26, 3},
        {"FFh", kEval, 255, 3},
        {"1010b", kEval, 10, 5},
        {"1010B", kEval, 10, 5},
        {"1010h", kEval, 0x1010, 5},
        {"17o", kEval, 15, 3},
        {"17O", kEval, 15, 3},
        {"010", kEval, 10, 3},
        {"0BAh", kEval, 0xBA, 4}, // an h suffix wins over the "0b" prefix
        {"0D7h", kEval, 0xD7, 4},
        {"1e5", kEval, 1, 1},
        {"19o", kEval, 19, 2}, // 9 is no octal digit: decimal, "o" left over
        {"12b", kEval, 12, 2},
        {"-0x10", kEval, std::uint64_t(-16), 5},
        {" 0x10 ", kEval | 0x1000, 16, 6},
        {"0x", kEval, 0, 0},
        {"16#", kEval, 0, 0},
        {"h", kEval, 0, 0},
        {"", kEval, 0, 0},
        {"1_0h", kEval | 0x400, 0x10, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\" flags " + std::to_string(c.flags));
        int end = -1;
        EXPECT_EQ(ParseNumber64(c.text, c.flags, &end), c.value);
        EXPECT_EQ(end, c.end);
    }
}

TEST(Number64Parse, EndMayBeNull)
{
    EXPECT_EQ(ParseNumber64("42", 0), 42u);
}

struct FormatCase {
    std::uint64_t value;
    std::uint32_t flags;
    const char* text;
};

TEST(Number64Format, Table)
{
    const std::uint64_t minus5 = std::uint64_t(-5);
    const FormatCase cases[] = {
        {0, 0, "0"},
        {minus5, 0, "-5"},
        {0x8000000000000000, 0, "-9223372036854775808"},
        {0x7FFFFFFFFFFFFFFF, 0, "9223372036854775807"},
        {255, 1, "0xFF"},
        {~std::uint64_t(0), 1, "0xFFFFFFFFFFFFFFFF"},
        {5, 2, "0b101"},
        {8, 3, "0o10"},
        {255, 4, "0FFh"},
        {0x12, 4, "12h"},
        {5, 5, "101b"},
        {8, 6, "10o"},
        {255, 7, "16#FF"},
        {5, 8, "2#101"},
        {8, 9, "8#10"},
        {12, 10, "10#12"},
        {minus5, 11, "-5"},
        {255, 0x8010, "FF"},
        {255, 0x8810, "000000FF"},
        {35, 0x8024, "Z"},
        {255, 0x8001, "255"},      // radix 1 is none: decimal
        {0x12345, 0xC410, "2345"}, // width 4 as maximum drops the higher digits
        {7, 0x10300, "  7"},
        {minus5, 0x0400, "-005"}, // width 4 counts the sign
        {minus5, 0x0200, "-05"},  // below 3 the sign is extra
        {0xAB, 0x0404, "00ABh"},  // padded: already starts with a digit
        {0xAB, 0x10404, " 0ABh"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("flags ") + std::to_string(c.flags) + " expecting " + c.text);
        char buffer[80];
        const int length = FormatNumber64(c.value, buffer, c.flags);
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(length, static_cast<int>(std::strlen(c.text)));
    }
}

// The header promises at most 66 characters: check the longest forms at every width.
TEST(Number64Format, NeverLongerThanPromised)
{
    for (std::uint32_t style = 0; style < 12; ++style) {
        for (std::uint32_t width = 0; width < 64; ++width) {
            for (std::uint32_t extra : {0u, 0x10000u, 0x4000u}) {
                for (std::uint64_t value : {std::uint64_t(0), ~std::uint64_t(0), std::uint64_t(1) << 63}) {
                    char buffer[80];
                    std::memset(buffer, 'X', sizeof buffer);
                    const int length = FormatNumber64(value, buffer, style | width << 8 | extra);
                    ASSERT_LE(length, 66);
                    ASSERT_EQ(buffer[length], '\0');
                    ASSERT_EQ(buffer[67], 'X');
                }
            }
        }
    }
}

TEST(Number64, RoundTripsThroughEveryPrefixStyle)
{
    const std::uint64_t values[] = {0, 1, 0x7F, 0xFFFF, 0x123456789ABCDEF0, ~std::uint64_t(0)};
    for (std::uint64_t value : values) {
        for (std::uint32_t style : {1u, 2u, 3u}) {
            char buffer[80];
            FormatNumber64(value, buffer, style);
            EXPECT_EQ(ParseNumber64(buffer, 0), value) << buffer;
            EXPECT_EQ(ParseNumber64(buffer, kEval), value) << buffer;
        }
        for (std::uint32_t style : {4u, 5u, 6u, 7u, 8u, 9u, 10u}) {
            char buffer[80];
            FormatNumber64(value, buffer, style);
            EXPECT_EQ(ParseNumber64(buffer, kEval), value) << buffer;
        }
    }
}

} // namespace

namespace {

// The 32-bit reader takes the same notation and keeps the low 32 bits.
TEST(Number64, ParseNumberReadsTheEvaluatorNotation)
{
    const struct {
        const char* text;
        std::uint32_t value;
        int end;
    } cases[] = {{"0FFh", 255, 4},        {"1010b", 10, 5}, {"17o", 15, 3}, {"16#1FFFFFFFF", 0xFFFFFFFF, 12},
                 {"-2#1", 0xFFFFFFFF, 4}, {"h", 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        int end = -1;
        EXPECT_EQ(dualvex::ParseNumber(c.text, dualvex::kParseRadixEvaluator, &end), c.value);
        EXPECT_EQ(end, c.end);
    }
}

} // namespace
