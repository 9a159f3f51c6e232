#include "core/support/TextConv.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace dualvex;

namespace {

constexpr unsigned char kGuard = 0xA5;

// A destination of a given size followed by guard bytes that no call may touch.
class GuardedBuffer {
  public:
    explicit GuardedBuffer(std::size_t size) : m_size(size), m_bytes(size + 16, kGuard) {}
    char* data() { return reinterpret_cast<char*>(m_bytes.data()); }
    std::string text() const { return std::string(reinterpret_cast<const char*>(m_bytes.data())); }
    std::string bytes(std::size_t n) const { return std::string(m_bytes.begin(), m_bytes.begin() + n); }
    bool guardIntact() const
    {
        for (std::size_t i = m_size; i < m_bytes.size(); ++i)
            if (m_bytes[i] != kGuard) return false;
        return true;
    }
    bool untouched() const { return m_bytes[0] == kGuard && guardIntact(); }

  private:
    std::size_t m_size;
    std::vector<unsigned char> m_bytes;
};

std::vector<std::uint8_t> Bytes(const std::string& s)
{
    return {s.begin(), s.end()};
}

} // namespace

// ---------------------------------------------------------------------------
// Character classes and simple text functions

TEST(TextConvClasses, CommonMasks)
{
    EXPECT_EQ(CharClass('A'), 0x40002u);
    EXPECT_EQ(CharClass('f'), 0x40004u);
    EXPECT_EQ(CharClass('G'), 0x2u);
    EXPECT_EQ(CharClass('1'), 0x30001u);
    EXPECT_EQ(CharClass('7'), 0x20001u);
    EXPECT_EQ(CharClass('9'), 0x1u);
    EXPECT_EQ(DigitValue('z'), 35);
    EXPECT_EQ(DigitValue(0xC4), 127);
}

TEST(TextConvSpanClass, CountsLeadingMembers)
{
    EXPECT_EQ(SpanClass(" \t x", kClassBlank), 3);
    EXPECT_EQ(SpanClass(" \r\n\tx", kClassWhite), 4);
    EXPECT_EQ(SpanClass(" \r\n", kClassBlank), 1);
    EXPECT_EQ(SpanClass("1aFg", kClassHexDigit), 3);
    EXPECT_EQ(SpanClass("a_1-", kClassAlnum | kClassUnderscore), 3);
    EXPECT_EQ(SpanClass("", kClassWhite), 0);
    EXPECT_EQ(SpanClass("\xE4", 0xFFFFFFFF), 0);
}

TEST(TextConvFindChar, IndexOrLength)
{
    EXPECT_EQ(FindChar("hello", 'l'), 2);
    EXPECT_EQ(FindChar("hello", 'z'), 5);
    EXPECT_EQ(FindChar("hello", '\0'), 5);
    EXPECT_EQ(FindChar("", 'a'), 0);
}

TEST(TextConvCopyText, BoundedAndTerminated)
{
    struct Case {
        const char* src;
        int size;
        const char* expected;
    };
    const Case cases[] = {{"abcdef", 100, "abcdef"}, {"abcdef", 7, "abcdef"}, {"abcdef", 6, "abcde"},
                          {"abcdef", 3, "ab"},       {"abcdef", 1, ""},       {"", 4, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.src) + " size " + std::to_string(c.size));
        GuardedBuffer buf(static_cast<std::size_t>(c.size));
        EXPECT_EQ(CopyText(buf.data(), c.src, c.size), static_cast<int>(std::strlen(c.expected)));
        EXPECT_EQ(buf.text(), c.expected);
        EXPECT_TRUE(buf.guardIntact());
    }
}

TEST(TextConvCopyText, NothingBelowSizeOne)
{
    for (int size : {0, -1}) {
        GuardedBuffer buf(0);
        EXPECT_EQ(CopyText(buf.data(), "abc", size), 0);
        EXPECT_TRUE(buf.untouched());
    }
}

TEST(TextConvAppendText, AppendsWithinSize)
{
    struct Case {
        const char* dest;
        const char* src;
        int size;
        const char* expected;
        int length;
    };
    const Case cases[] = {
        {"ab", "cd", 10, "abcd", 4}, {"ab", "cd", 5, "abcd", 4}, {"ab", "cd", 4, "abc", 3},
        {"ab", "cd", 3, "ab", 2},    {"", "xyz", 3, "xy", 2},    {"ab", "", 8, "ab", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dest) + "+" + c.src + " size " + std::to_string(c.size));
        GuardedBuffer buf(static_cast<std::size_t>(c.size));
        std::memcpy(buf.data(), c.dest, std::strlen(c.dest) + 1);
        EXPECT_EQ(AppendText(buf.data(), c.src, c.size), c.length);
        EXPECT_EQ(buf.text(), c.expected);
        EXPECT_TRUE(buf.guardIntact());
    }
}

TEST(TextConvAppendText, FullDestinationWithoutTerminatorIsLeftAlone)
{
    GuardedBuffer buf(3);
    std::memcpy(buf.data(), "abc", 3); // no terminator inside the three bytes
    EXPECT_EQ(AppendText(buf.data(), "xyz", 3), 3);
    EXPECT_EQ(buf.bytes(3), "abc");
    EXPECT_TRUE(buf.guardIntact());
}

TEST(TextConvListItem, WalksTheList)
{
    const char list[] = "first\0second\0\0";
    EXPECT_STREQ(ListItem(list, 0), "first");
    EXPECT_STREQ(ListItem(list, 1), "second");
    EXPECT_EQ(ListItem(list, 2), nullptr);
    EXPECT_EQ(ListItem(list, 3), nullptr);
    EXPECT_EQ(ListItem(list, -1), nullptr);
    EXPECT_EQ(ListItem(nullptr, 0), nullptr);
}

TEST(TextConvListItem, EmptyFirstTextEndsTheList)
{
    const char list[] = "\0hidden\0\0";
    for (int n = 0; n < 3; ++n) EXPECT_EQ(ListItem(list, n), nullptr) << n;
}

// ---------------------------------------------------------------------------
// ParseNumber

struct ParseCase {
    const char* text;
    std::uint32_t flags;
    std::uint32_t value;
    int end;
};

class TextConvParseNumber : public testing::TestWithParam<ParseCase> {};

TEST_P(TextConvParseNumber, ValueAndEnd)
{
    const ParseCase& c = GetParam();
    int end = -1;
    EXPECT_EQ(ParseNumber(c.text, c.flags, &end), c.value);
    EXPECT_EQ(end, c.end);
    EXPECT_EQ(ParseNumber(c.text, c.flags), c.value); // end is optional
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextConvParseNumber,
    testing::Values(
        // prefixes
        ParseCase{"0x1F", 0, 31, 4}, ParseCase{"0X1f", 0, 31, 4}, ParseCase{"0b101", 0, 5, 5},
        ParseCase{"0B102", 0, 2, 4}, ParseCase{"0o17", 0, 15, 4}, ParseCase{"0O8", 0, 0, 2},
        ParseCase{"0d19", 0, 19, 4}, ParseCase{"012", 0, 12, 3}, ParseCase{"09", 0, 9, 2},
        ParseCase{"0", 0, 0, 1}, ParseCase{"0x", 0, 0, 2}, ParseCase{"0xg", 0, 0, 2},
        ParseCase{"12abc", 0, 12, 2}, ParseCase{"123456789", 0, 123456789, 9},
        // wrapping at 32 bits
        ParseCase{"4294967295", 0, 0xFFFFFFFF, 10}, ParseCase{"4294967296", 0, 0, 10},
        ParseCase{"0x123456789", 0, 0x23456789, 11},
        // blanks and minus
        ParseCase{"  -12", 0, static_cast<std::uint32_t>(-12), 5}, ParseCase{"\t7", 0, 7, 2},
        ParseCase{"\n7", 0, 0, 0}, ParseCase{"- 12", 0, static_cast<std::uint32_t>(-12), 4},
        ParseCase{"-0x10", 0, static_cast<std::uint32_t>(-16), 5}, ParseCase{"-12", 0x4000, 0, 0},
        ParseCase{"- 12", 0x2000, 0, 1}, ParseCase{"  12", 0x8000, 0, 0}, ParseCase{"-  12", 0x8000, 0, 1},
        ParseCase{"-", 0, 0, 1}, ParseCase{"", 0, 0, 0}, ParseCase{"   ", 0, 0, 3}, ParseCase{"abc", 0, 0, 0},
        // trailing white space
        ParseCase{"12 ", 0x1000, 12, 3}, ParseCase{"12 ", 0, 12, 2}, ParseCase{"12 \t\r\nx", 0x1000, 12, 6},
        ParseCase{"x ", 0x1000, 0, 0},
        // characters between digits
        ParseCase{"1_000", 0, 1, 1}, ParseCase{"1_000", 0x400, 1000, 5}, ParseCase{"1'000", 0x800, 1000, 5},
        ParseCase{"1'000", 0x400, 1, 1}, ParseCase{"1_'0", 0xC00, 10, 4}, ParseCase{"1_", 0x400, 1, 1},
        ParseCase{"1_ ", 0x1400, 1, 1}, ParseCase{"_1", 0x400, 0, 0}, ParseCase{"0x_F", 0x400, 0, 2},
        ParseCase{"0xF_F", 0x400, 255, 5}, ParseCase{"1_x", 0x400, 1, 1}));

TEST(TextConvParseNumberNull, NullTextIsZero)
{
    int end = -1;
    EXPECT_EQ(ParseNumber(nullptr, 0, &end), 0u);
    EXPECT_EQ(end, 0);
}

// ---------------------------------------------------------------------------
// FormatNumber

struct FormatCase {
    std::uint32_t value;
    std::uint32_t flags;
    const char* text;
};

class TextConvFormatNumber : public testing::TestWithParam<FormatCase> {};

TEST_P(TextConvFormatNumber, Text)
{
    const FormatCase& c = GetParam();
    GuardedBuffer buf(37);
    EXPECT_EQ(FormatNumber(c.value, buf.data(), c.flags), static_cast<int>(std::strlen(c.text)));
    EXPECT_EQ(buf.text(), c.text);
    EXPECT_TRUE(buf.guardIntact());
}

constexpr std::uint32_t Neg(int v)
{
    return static_cast<std::uint32_t>(v);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextConvFormatNumber,
    testing::Values(
        // styles
        FormatCase{255, 4, "0FFh"}, FormatCase{255, 0x8810, "000000FF"}, FormatCase{Neg(-5), 0, "-5"},
        FormatCase{0, 0, "0"}, FormatCase{0x80000000, 0, "-2147483648"},
        FormatCase{2147483647, 0, "2147483647"}, FormatCase{255, 1, "0xFF"}, FormatCase{0, 1, "0x0"},
        FormatCase{5, 2, "0b101"}, FormatCase{8, 3, "0o10"}, FormatCase{0xA, 4, "0Ah"},
        FormatCase{9, 4, "9h"}, FormatCase{0x1F, 4, "1Fh"}, FormatCase{5, 5, "101b"}, FormatCase{8, 6, "10o"},
        FormatCase{255, 7, "16#FF"}, FormatCase{5, 8, "2#101"}, FormatCase{8, 9, "8#10"},
        FormatCase{123, 10, "10#123"}, FormatCase{Neg(-1), 10, "10#4294967295"},
        FormatCase{Neg(-5), 11, "-5"}, FormatCase{Neg(-1), 1, "0xFFFFFFFF"},
        // radix itself
        FormatCase{255, 0x8010, "FF"}, FormatCase{0, 0x8010, "0"}, FormatCase{Neg(-1), 0x800A, "4294967295"},
        FormatCase{35, 0x8024, "Z"}, FormatCase{10, 0x8002, "1010"}, FormatCase{12, 0x8000, "12"},
        FormatCase{12, 0x8001, "12"}, FormatCase{12, 0x8025, "12"},
        FormatCase{0xFFFFFFFF, 0x8002, "11111111111111111111111111111111"},
        // width
        FormatCase{5, 0x0300, "005"}, FormatCase{Neg(-5), 0x0300, "-05"}, FormatCase{Neg(-5), 0x0200, "-05"},
        FormatCase{Neg(-5), 0x0100, "-5"}, FormatCase{Neg(-123), 0x0300, "-123"},
        FormatCase{255, 0x0404, "00FFh"}, FormatCase{255, 0x0301, "0x0FF"},
        FormatCase{0x12345, 0x8210, "12345"}, FormatCase{1, 0x3F00, "00000000000000000000000000000001"},
        FormatCase{0, 0x3F0A, "10#00000000000000000000000000000000"},
        // width as maximum
        FormatCase{0x12345, 0xC410, "2345"}, FormatCase{0x12345, 0xC010, "12345"},
        FormatCase{0x12345, 0xCA10, "0000012345"}, FormatCase{Neg(-12345), 0x4400, "-345"},
        // space padding
        FormatCase{255, 0x18410, "  FF"}, FormatCase{Neg(-5), 0x10500, "   -5"},
        FormatCase{255, 0x10404, " 0FFh"}, FormatCase{255, 0x10204, "0FFh"},
        FormatCase{255, 0x10401, "  0xFF"},
        FormatCase{Neg(-1), 0x13F00, "                               -1"}));

// ---------------------------------------------------------------------------
// FormatHexDump

struct DumpCase {
    std::string bytes;
    std::uint32_t flags;
    const char* text;
};

class TextConvHexDump : public testing::TestWithParam<DumpCase> {};

TEST_P(TextConvHexDump, Text)
{
    const DumpCase& c = GetParam();
    const auto src = Bytes(c.bytes);
    const std::size_t length = std::strlen(c.text);
    const bool terminated = (c.flags & 0x80000000) != 0;
    GuardedBuffer buf(length + (terminated ? 1 : 0));
    EXPECT_EQ(FormatHexDump(src.data(), buf.data(), static_cast<int>(src.size()), c.flags),
              static_cast<int>(length));
    EXPECT_EQ(buf.bytes(length), c.text);
    if (terminated) {
        EXPECT_EQ(buf.data()[length], '\0');
    }
    EXPECT_TRUE(buf.guardIntact());
}

INSTANTIATE_TEST_SUITE_P(Cases, TextConvHexDump,
                         testing::Values(DumpCase{"\x01\x02\x03\x04\x05", 0x80002004, "01 02 03 04  05 "},
                                         DumpCase{"\x01\x02\x03\x04\x05", 0x80002000, "01 02 03 04 05 "},
                                         DumpCase{"\x01\x02", 0x40000000, "0201"},
                                         DumpCase{"\x01\x02\x03\x04\x05", 0x80000000, "0102030405"},
                                         DumpCase{"\xAB\xcd\xef", 0x80000000, "ABCDEF"},
                                         DumpCase{"\x01\x02\x03\x04\x05", 0x80000002, "0102 0304 05"},
                                         DumpCase{"\x01\x02\x03\x04", 0x80000004, "01020304 "},
                                         DumpCase{"\x01\x02\x03", 0xC0000002, "0302 01"},
                                         DumpCase{"\x01\x02\x03\x04\x05", 0x90002000, "01 02 03 04 05"},
                                         DumpCase{"\x01\x02\x03\x04", 0x90002004, "01 02 03 04 "},
                                         DumpCase{"\x01\x02\x03\x04\x05", 0x80002C04, "01,02,03,04, 05,"},
                                         DumpCase{"\x01\x02\x03\x04\x05", 0x88002C04, "01,02,03,04  05,"},
                                         DumpCase{"\x01\x02\x03\x04\x05", 0x82002000, "0102 0304 05 "},
                                         DumpCase{"\x01\x02\x03\x04\x05", 0xC2002000, "0201 0403 05 "},
                                         DumpCase{"\x01\x02\x03\x04\x05", 0xC4002000, "04030201 05 "},
                                         DumpCase{"\x01\x02\x03\x04\x05\x06", 0xC4002000, "04030201 0605 "},
                                         DumpCase{std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09", 9),
                                                  0x86002000, "0102030405060708 09 "},
                                         DumpCase{std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8),
                                                  0x82002004, "0102 0304  0506 0708  "},
                                         DumpCase{"\x01", 0xA0002000, ":01 "},
                                         DumpCase{"\x01\x02", 0x20000000, ":0102"},
                                         DumpCase{std::string("\x00\xFF", 2), 0x80002D00, "00-FF-"}));

TEST(TextConvHexDumpEmpty, ZeroOrNegativeCountGivesEmptyText)
{
    const std::uint8_t src[] = {1};
    for (int count : {0, -3}) {
        GuardedBuffer terminated(1);
        EXPECT_EQ(FormatHexDump(src, terminated.data(), count, 0xA0002004), 0);
        EXPECT_EQ(terminated.text(), "");
        EXPECT_TRUE(terminated.guardIntact());
        GuardedBuffer open(0);
        EXPECT_EQ(FormatHexDump(src, open.data(), count, 0x20002004), 0);
        EXPECT_TRUE(open.untouched());
    }
}

// ---------------------------------------------------------------------------
// EscapeChar and EscapeString

struct EscapeCharCase {
    unsigned char ch;
    bool inString;
    const char* text;
};

class TextConvEscapeChar : public testing::TestWithParam<EscapeCharCase> {};

TEST_P(TextConvEscapeChar, Text)
{
    const EscapeCharCase& c = GetParam();
    GuardedBuffer buf(8);
    EXPECT_EQ(EscapeChar(c.ch, buf.data(), c.inString), static_cast<int>(std::strlen(c.text)));
    EXPECT_EQ(buf.text(), c.text);
    EXPECT_TRUE(buf.guardIntact());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextConvEscapeChar,
    testing::Values(EscapeCharCase{'a', false, "'a'"}, EscapeCharCase{'a', true, "a"},
                    EscapeCharCase{' ', false, "' '"}, EscapeCharCase{'\\', false, "'\\\\'"},
                    EscapeCharCase{'\\', true, "\\\\"}, EscapeCharCase{'\'', false, "'\\''"},
                    EscapeCharCase{'\'', true, "\\'"}, EscapeCharCase{'"', false, "'\\\"'"},
                    EscapeCharCase{'"', true, "\\\""}, EscapeCharCase{'\t', false, "'\\t'"},
                    EscapeCharCase{'\r', true, "\\r"}, EscapeCharCase{'\n', true, "\\n"},
                    EscapeCharCase{7, true, "\\a"}, EscapeCharCase{8, true, "\\b"},
                    EscapeCharCase{12, true, "\\f"}, EscapeCharCase{11, false, "'\\v'"},
                    EscapeCharCase{0, false, "'\\x00'"}, EscapeCharCase{0, true, "\\x000"},
                    EscapeCharCase{0x1F, true, "\\x01F"}, EscapeCharCase{0x1B, false, "'\\x1B'"},
                    EscapeCharCase{127, false, "'\x7F'"}, EscapeCharCase{0xE4, true, "\xE4"}));

struct EscapeStringCase {
    std::string src;
    std::uint32_t flags;
    const char* text;
};

class TextConvEscapeString : public testing::TestWithParam<EscapeStringCase> {};

TEST_P(TextConvEscapeString, Text)
{
    const EscapeStringCase& c = GetParam();
    const auto src = Bytes(c.src);
    GuardedBuffer buf(256);
    EXPECT_EQ(EscapeString(buf.data(), 256, src.data(), static_cast<int>(src.size()), c.flags),
              static_cast<int>(std::strlen(c.text)));
    EXPECT_EQ(buf.text(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextConvEscapeString,
    testing::Values(EscapeStringCase{"ab", 0, "\"ab\""}, EscapeStringCase{"ab", 0x20000000, "ab"},
                    EscapeStringCase{"", 0, "\"\""}, EscapeStringCase{"", 0x20000000, ""},
                    EscapeStringCase{"a\"b\\", 0, "\"a\\\"b\\\\\""}, EscapeStringCase{"it's", 0, "\"it's\""},
                    EscapeStringCase{"\r\n\t\a\b\f\v", 0, "\"\\r\\n\\t\\a\\b\\f\\v\""},
                    EscapeStringCase{"\x7F\xE4", 0, "\"\x7F\xE4\""},
                    // hex escapes: a following hex digit must not extend the escape
                    EscapeStringCase{"\x01x", 0, "\"\\x001x\""},
                    EscapeStringCase{"\x01"
                                     "A",
                                     0, "\"\\x001\"\"A\""},
                    EscapeStringCase{std::string("\x00", 1), 0, "\"\\x000\""},
                    EscapeStringCase{"\x01"
                                     "A",
                                     0x24000000, "\\x01\"\"A"},
                    EscapeStringCase{"\x01G", 0x24000000, "\\x01G"},
                    EscapeStringCase{"\x1B", 0x24000000, "\\x1B"},
                    EscapeStringCase{"\x01"
                                     "9",
                                     0x04000000, "\"\\x01\"\"9\""},
                    // steps turned off
                    EscapeStringCase{"\\\"\n\t", 0x40000000, "\"\\x05C\\x022\\x00A\\x009\""},
                    EscapeStringCase{"\\\n\t\a", 0x80000000, "\"\\\\\\n\\x009\\x007\""},
                    EscapeStringCase{"\t", 0x84000000, "\"\\x09\""},
                    // 16-bit characters: odd byte dropped, characters from 256 up left out
                    EscapeStringCase{std::string("A\0\x00\x01\n\0B", 7), 0x10000000, "\"A\\n\""},
                    EscapeStringCase{std::string("\x01\0F\0", 4), 0x34000000, "\\x01\"\"F"},
                    EscapeStringCase{std::string("\xE4\0", 2), 0x10000000, "\"\xE4\""},
                    EscapeStringCase{std::string("\x01\0\0\x01"
                                                 "A\0",
                                                 6),
                                     0x10000000, "\"\\x001\"\"A\""},
                    // multi-byte text is copied as it is
                    EscapeStringCase{"\xC3\xA4\n", 0x08000000, "\"\xC3\xA4\\n\""}));

TEST(TextConvEscapeStringRoom, StopsBeforeTheRoomRunsOut)
{
    struct Case {
        std::string src;
        std::uint32_t flags;
        int destSize;
        const char* text;
    };
    const Case cases[] = {
        {"abc", 0, 5, "\"ab\""},
        {"abc", 0, 6, "\"abc\""},
        {"abc", 0, 3, "\"\""},
        {"abc", 0, 2, ""},
        {"abc", 0, 1, ""},
        {"abc", 0x20000000, 3, "a"},
        {"abc", 0x20000000, 1, ""},
        {"\n", 0, 5, "\"\""},
        {"\n", 0, 6, "\"\\n\""},
        {"a\n", 0, 6, "\"a\""},
        {"\x01", 0, 7, "\"\""},
        {"\x01", 0, 8, "\"\\x001\""},
        {"\x01"
         "A",
         0x04000000, 8, "\"\""},
        {"\x01"
         "A",
         0x04000000, 9, "\"\\x01\"\"\""},
        {"\x01"
         "A",
         0, 9, "\"\""},
        {"\x01"
         "A",
         0, 10, "\"\\x001\"\"\""},
        {"\xC3\xA4", 0x08000000, 4, "\"\""},
        {"\xC3\xA4", 0x08000000, 5, "\"\xC3\xA4\""},
        {"\xC3\xA4", 0, 4, "\"\xC3\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.src + " size " + std::to_string(c.destSize));
        const auto src = Bytes(c.src);
        GuardedBuffer buf(static_cast<std::size_t>(c.destSize));
        EXPECT_EQ(EscapeString(buf.data(), c.destSize, src.data(), static_cast<int>(src.size()), c.flags),
                  static_cast<int>(std::strlen(c.text)));
        EXPECT_EQ(buf.text(), c.text);
        EXPECT_TRUE(buf.guardIntact());
    }
}

TEST(TextConvEscapeStringRoom, EverySizeGivesAPrefixAndStaysInside)
{
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    const auto src = Bytes(all + "0\x01"
                                 "a\x02");
    for (std::uint32_t flags : {0u, 0x10000000u, 0x24000000u, 0x40000000u, 0x80000000u, 0x08000000u}) {
        GuardedBuffer full(4096);
        const int fullLength =
            EscapeString(full.data(), 4096, src.data(), static_cast<int>(src.size()), flags);
        const bool quoted = !(flags & 0x20000000);
        const std::string body =
            full.text().substr(0, static_cast<std::size_t>(fullLength - (quoted ? 1 : 0)));
        for (int size = 0; size <= fullLength + 2; ++size) {
            SCOPED_TRACE("flags " + std::to_string(flags) + " size " + std::to_string(size));
            GuardedBuffer buf(static_cast<std::size_t>(size));
            const int length =
                EscapeString(buf.data(), size, src.data(), static_cast<int>(src.size()), flags);
            ASSERT_TRUE(buf.guardIntact());
            if (size == 0) {
                ASSERT_TRUE(buf.untouched());
                continue;
            }
            const std::string text = buf.text();
            ASSERT_EQ(static_cast<int>(text.size()), length);
            ASSERT_LT(length, size);
            if (length == 0) continue;
            if (quoted) {
                ASSERT_EQ(text.back(), '"');
            }
            ASSERT_EQ(
                body.compare(0, text.size() - (quoted ? 1 : 0), text, 0, text.size() - (quoted ? 1 : 0)), 0);
        }
    }
}

TEST(TextConvEscapeStringRoom, NothingForNegativeCountButTheQuotes)
{
    const std::uint8_t src[] = {'a'};
    GuardedBuffer buf(8);
    EXPECT_EQ(EscapeString(buf.data(), 8, src, -4, 0), 2);
    EXPECT_EQ(buf.text(), "\"\"");
}

// ---------------------------------------------------------------------------
// CompareMasked

namespace {

int NaiveCompareMasked(const std::uint8_t* a, const std::uint8_t* b, const std::uint8_t* mask, int count)
{
    for (int i = 0; i < count; ++i)
        if ((a[i] ^ b[i]) & mask[i]) return (a[i] & mask[i]) - (b[i] & mask[i]);
    return 0;
}

} // namespace

TEST(TextConvCompareMasked, Cases)
{
    const std::uint8_t a[] = {1, 2, 3, 4, 5, 0x10};
    const std::uint8_t b[] = {1, 2, 3, 4, 6, 0x20};
    const std::uint8_t all[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const std::uint8_t low[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xF0, 0x0F};
    EXPECT_EQ(CompareMasked(a, b, all, 6), -1);
    EXPECT_EQ(CompareMasked(b, a, all, 6), 1);
    EXPECT_EQ(CompareMasked(a, b, low, 6), 0);
    EXPECT_EQ(CompareMasked(a, b, all, 4), 0);
    EXPECT_EQ(CompareMasked(a, b, all, 0), 0);
    EXPECT_EQ(CompareMasked(a, b, all, -1), 0);
    // inside one word the first differing byte decides, not the word's value
    const std::uint8_t c[] = {0, 9, 0, 1};
    const std::uint8_t d[] = {0, 1, 0, 9};
    EXPECT_EQ(CompareMasked(c, d, all, 4), 8);
}

TEST(TextConvCompareMasked, AgreesWithByteWiseReference)
{
    std::mt19937 rng(20240601);
    for (int round = 0; round < 2000; ++round) {
        const int count = static_cast<int>(rng() % 24);
        std::vector<std::uint8_t> a(static_cast<std::size_t>(count) + 1), b, mask(a.size());
        for (auto& x : a) x = static_cast<std::uint8_t>(rng());
        b = a;
        for (auto& m : mask) m = static_cast<std::uint8_t>(rng() % 3 ? 0xFF : rng());
        for (int flips = static_cast<int>(rng() % 3); flips > 0 && count > 0; --flips)
            b[rng() % static_cast<unsigned>(count)] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        ASSERT_EQ(CompareMasked(a.data(), b.data(), mask.data(), count),
                  NaiveCompareMasked(a.data(), b.data(), mask.data(), count))
            << "round " << round;
    }
}

// ---------------------------------------------------------------------------
// PrintText

TEST(TextConvPrintText, SixtyFourBitPrefix)
{
    char buf[64];
    EXPECT_EQ(PrintText(buf, sizeof buf, "%I64i  >%04I64Xh", -5LL, 0xABULL), 10);
    EXPECT_STREQ(buf, "-5  >00ABh");
    PrintText(buf, sizeof buf, "%i  >%04Xh", -5, 0xABu);
    EXPECT_STREQ(buf, "-5  >00ABh");
    PrintText(buf, sizeof buf, "%I64u|%I64X", 0xFFFFFFFFFFFFFFFFULL, 0x123456789ABULL);
    EXPECT_STREQ(buf, "18446744073709551615|123456789AB");
    PrintText(buf, sizeof buf, "-s:%u", 4000000000u);
    EXPECT_STREQ(buf, "-s:4000000000");
}

TEST(TextConvPrintText, StandardDirectives)
{
    char buf[64];
    PrintText(buf, sizeof buf, "%s|%5.2f|%c|%%|%x|%lu|%zu", "ab", 3.14159, 'z', 255u, 7UL, std::size_t{9});
    EXPECT_STREQ(buf, "ab| 3.14|z|%|ff|7|9");
    PrintText(buf, sizeof buf, "%*d|%-*.*s|", 5, 42, 6, 2, "abcdef");
    EXPECT_STREQ(buf, "   42|ab    |");
    PrintText(buf, sizeof buf, "%hhu %hd %lld", 258, 65537, -1LL);
    EXPECT_STREQ(buf, "2 1 -1");
}

TEST(TextConvPrintText, UnknownDirectiveStopsReadingArguments)
{
    char buf[64];
    EXPECT_EQ(PrintText(buf, sizeof buf, "a%yb %d", 5), 7);
    EXPECT_STREQ(buf, "a%yb %d");
    PrintText(buf, sizeof buf, "100%");
    EXPECT_STREQ(buf, "100%");
}

TEST(TextConvPrintText, CountDirectiveWritesNothing)
{
    char buf[64];
    int count = -7;
    PrintText(buf, sizeof buf, "ab%ncd%d", &count, 5);
    EXPECT_STREQ(buf, "abcd5");
    EXPECT_EQ(count, -7);
}

TEST(TextConvPrintText, EverySizeIsAPrefixAndStaysInside)
{
    char full[128];
    const int fullLength = PrintText(full, sizeof full, "x%I64X-%s-%05d%%", 0xDEADBEEFCAFEULL, "mid", -42);
    ASSERT_STREQ(full, "xDEADBEEFCAFE-mid--0042%");
    for (int size = 0; size <= fullLength + 2; ++size) {
        SCOPED_TRACE(size);
        GuardedBuffer buf(static_cast<std::size_t>(size));
        const int length = PrintText(buf.data(), static_cast<std::size_t>(size), "x%I64X-%s-%05d%%",
                                     0xDEADBEEFCAFEULL, "mid", -42);
        ASSERT_TRUE(buf.guardIntact());
        if (size == 0) {
            ASSERT_EQ(length, 0);
            ASSERT_TRUE(buf.untouched());
            continue;
        }
        ASSERT_EQ(length, std::min(fullLength, size - 1));
        ASSERT_EQ(buf.text(), std::string(full, static_cast<std::size_t>(length)));
    }
}
