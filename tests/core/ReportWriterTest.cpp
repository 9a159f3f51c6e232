#include <gtest/gtest.h>

#include <string>

#include "core/app/ReportWriter.h"

namespace dualvex {
namespace {

struct EscapeCase {
    const char* name;
    std::string raw;
    std::string text; // header line form
    std::string json; // JSON string form
};

class NameEscape : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(NameEscape, KeepsEveryNameOnOneLineAndUnambiguous)
{
    EXPECT_EQ(EscapeName(GetParam().raw), GetParam().text);
    EXPECT_EQ(JsonString(GetParam().raw), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NameEscape,
    ::testing::Values(EscapeCase{"plain", "/tmp/a b.bin", "/tmp/a b.bin", "\"/tmp/a b.bin\""},
                      EscapeCase{"newline", "a\nb", "a\\nb", "\"a\\u000Ab\""},
                      EscapeCase{"tabAndReturn", "\t\r", "\\t\\r", "\"\\u0009\\u000D\""},
                      // Octal has a fixed width, so a digit after it stays a digit.
                      EscapeCase{"escapeThenDigit", std::string("\x1b") + "1", "\\0331", "\"\\u001B1\""},
                      EscapeCase{"delete", "\x7f", "\\177", "\"\\u007F\""},
                      EscapeCase{"nul", std::string(1, '\0'), "\\000", "\"\\u0000\""},
                      EscapeCase{"backslash", "a\\nb", "a\\\\nb", "\"a\\\\nb\""},
                      EscapeCase{"quote", "say \"x\"", "say \"x\"", "\"say \\\"x\\\"\""},
                      EscapeCase{"utf8", "Grüße €", "Grüße €", "\"Grüße €\""},
                      EscapeCase{"notUtf8", "a\xff\xc3(b", "a\xff\xc3(b", "\"a\\ufffd\\ufffd(b\""},
                      EscapeCase{"overlong", "\xc0\xaf", "\xc0\xaf", "\"\\ufffd\\ufffd\""},
                      EscapeCase{"surrogate", "\xed\xa0\x80", "\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""},
                      EscapeCase{"cutSequence", "x\xe2\x82", "x\xe2\x82", "\"x\\ufffd\\ufffd\""}),
    [](const auto& info) { return std::string(info.param.name); });

struct Written {
    std::string text;
    std::uint64_t lines;
};

Written Write(ReportFormat format, std::uint64_t longer, std::uint64_t limit,
              std::initializer_list<std::pair<std::uint64_t, std::uint64_t>> ranges)
{
    StringSink sink;
    ReportWriter writer(sink, format, longer, limit);
    for (const auto& [s, e] : ranges) writer.Add(s, e);
    writer.Finish();
    EXPECT_TRUE(sink.Flush());
    return {sink.Text(), writer.Lines()};
}

TEST(ReportWriter, EightDigitsUpTo4GiBSixteenBeyond)
{
    EXPECT_EQ(Write(ReportFormat::Text, 0xFFFFFFFFu, kNoLimit, {{0xA, 0xFFFFFFFF}}).text,
              "0x0000000A 0xFFFFFFFF 4294967285\n");
    // One position more needs a ninth digit: every line of that report is wide.
    EXPECT_EQ(Write(ReportFormat::Text, 0x100000000u, kNoLimit, {{1, 2}, {0xFFFFFFFF, 0x100000000}}).text,
              "0x0000000000000001 0x0000000000000002 1\n0x00000000FFFFFFFF 0x0000000100000000 1\n");
}

TEST(ReportWriter, JsonLines)
{
    EXPECT_EQ(Write(ReportFormat::Json, 1u << 20, kNoLimit, {{5, 6}, {0x10, 0x20}}).text,
              "{\"start\":5,\"end\":6,\"length\":1}\n{\"start\":16,\"end\":32,\"length\":16}\n");
}

TEST(ReportWriter, RangesThatTouchAreOneLine)
{
    const Written w = Write(ReportFormat::Text, 100, kNoLimit, {{0, 4}, {4, 8}, {8, 9}, {10, 12}, {12, 13}});
    EXPECT_EQ(w.text, "0x00000000 0x00000009 9\n0x0000000A 0x0000000D 3\n");
    EXPECT_EQ(w.lines, 2u);
}

TEST(ReportWriter, LimitCountsMergedLines)
{
    EXPECT_EQ(Write(ReportFormat::Text, 100, 1, {{0, 4}, {4, 8}, {9, 10}}).text, "0x00000000 0x00000008 8\n");
    EXPECT_EQ(Write(ReportFormat::Text, 100, 0, {{0, 4}}).text, "");
    EXPECT_EQ(Write(ReportFormat::Text, 100, 5, {{0, 4}, {6, 7}}).lines, 2u);
}

TEST(ReportWriter, Headers)
{
    const ReportHeader h{"a\nb", 10, "c.bin", 4294967296, 3, 7};
    StringSink text;
    ReportWriter(text, ReportFormat::Text, 4294967296, kNoLimit).Header(h);
    ASSERT_TRUE(text.Flush());
    EXPECT_EQ(text.Text(), "file1: a\\nb 10 bytes\nfile2: c.bin 4294967296 bytes\nranges: 3 differing: 7\n");
    StringSink json;
    ReportWriter(json, ReportFormat::Json, 4294967296, kNoLimit).Header(h);
    ASSERT_TRUE(json.Flush());
    EXPECT_EQ(json.Text(), "{\"file1\":\"a\\u000Ab\",\"size1\":10,\"file2\":\"c.bin\",\"size2\":4294967296,"
                           "\"ranges\":3,\"differing\":7}\n");
}

} // namespace
} // namespace dualvex
