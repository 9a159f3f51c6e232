#include "core/tools/SearchEntry.h"
#include "core/support/ValueText.h"

#include <gtest/gtest.h>

#include <random>

namespace dualvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SearchEntryTest, BuildFollowsTheEntryFormat)
{
    struct Case {
        const char* name;
        const char* text;
        EntryOptions options;
        const char* entry;
    } cases[] = {
        {"word big endian", "0x1234", {kCountWord, false, false, true}, "H:2 /B\t:12 34\t\t\t\t\t(0x1234)"},
        {"word little endian", "4660", {kCountWord, false, false, false}, "D:2\t:34 12\t\t\t\t\t(4660)"},
        {"byte cuts", "0x1234", {kCountByte, false, false, true}, "H:1\t:34\t\t\t\t\t(0x1234)"},
        {"dword keeps eight bytes",
         "4294967295",
         {kCountDWord, false, false, false},
         "D:8\t:FF FF FF FF 00 00 00 00\t\t\t(4294967295)"},
        {"eight bytes are not reversed",
         "4294967295",
         {kCountDWord, false, false, true},
         "D:8\t:FF FF FF FF 00 00 00 00\t\t\t(4294967295)"},
        {"dword big endian", "0b1", {kCountDWord, false, false, true}, "B:4 /B\t:00 00 00 01\t\t\t\t(0b1)"},
        {"variable offers no byte order",
         "0o1",
         {kCountVariable, false, false, true},
         "O:4\t:01 00 00 00\t\t\t\t(0o1)"},
        {"unicode ignoring case",
         "abc",
         {kCountByte, true, true, true},
         "N:6 /G\t:61 00 62 00 63 00\t\t\t\t(abc)"},
        {"text", "\"ab\"", {kCountByte, false, false, false}, "T:2\t:61 62\t\t\t\t\t(\"ab\")"},
        {"dump",
         ":1 2 3 4 5 6 7",
         {kCountByte, false, true, false},
         "U:7\t:01 02 03 04 05 06 07\t\t\t(:1 2 3 4 5 6 7)"},
        {"mask", ":1?", {kCountByte, false, false, false}, "M:2\t:10 F0\t\t\t\t\t(:1?)"},
        {"ten bytes", "abcdefghij", {}, "T:10\t:61 62 63 64 65 66 67 68 69 6A\t\t(abcdefghij)"},
        {"thirteen bytes",
         "abcdefghijklm",
         {},
         "T:13\t:61 62 63 64 65 66 67 68 69 6A 6B 6C 6D\t(abcdefghijklm)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BuildSearchEntry(c.text, c.options).value_or("<none>"), c.entry);
    }
    EXPECT_FALSE(BuildSearchEntry("", {}));
    EXPECT_FALSE(BuildSearchEntry("  ", {}));
    EXPECT_FALSE(BuildSearchEntry("\"\"", {}));
    EXPECT_FALSE(BuildSearchEntry(":", {}));
}

TEST(SearchEntryTest, UnicodeTakesAtMost128Characters)
{
    const std::string text(200, 'x');
    const auto entry = BuildSearchEntry(text, {kCountVariable, true, false, false});
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->substr(0, 6), "N:256\t");
}

TEST(SearchEntryTest, LoadGivesBackWhatWasBuilt)
{
    struct Case {
        const char* text;
        EntryOptions options;
        LoadedEntry loaded;
    } cases[] = {
        {"0x1234", {kCountWord, false, false, true}, {"0x1234", kKindHex, kCountWord, false, false, true}},
        {"4660",
         {kCountDWord, false, false, false},
         {"4660", kKindDecimal, kCountDWord, false, false, false}},
        {"-2", {kCountByte, false, false, false}, {"-2", kKindDecimal, kCountByte, false, false, false}},
        {"4294967296",
         {kCountVariable, false, false, false},
         {"4294967296", kKindDecimal, kCountVariable, false, false, false}},
        {"\"Ab\"", {kCountByte, true, true, false}, {"\"Ab\"", kKindText, kCountVariable, true, true, false}},
        {"ab", {kCountByte, false, false, false}, {"\"ab\"", kKindText, kCountVariable, false, false, false}},
        {":12 AB", {}, {":12 AB", kKindDump, kCountVariable, false, false, false}},
        {":1? #1???0000", {}, {":1? #1???0000", kKindMask, kCountVariable, false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto entry = BuildSearchEntry(c.text, c.options);
        ASSERT_TRUE(entry);
        const auto loaded = LoadSearchEntry(*entry);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->text, c.loaded.text);
        EXPECT_EQ(loaded->kind, c.loaded.kind);
        EXPECT_EQ(loaded->byteCount, c.loaded.byteCount);
        EXPECT_EQ(loaded->ignoreCase, c.loaded.ignoreCase);
        EXPECT_EQ(loaded->unicode, c.loaded.unicode);
        EXPECT_EQ(loaded->bigEndian, c.loaded.bigEndian);
    }
}

TEST(SearchEntryTest, LoadReadsForeignEntries)
{
    // A hexadecimal count holding the letter B is no byte-order flag.
    const auto range = LoadSearchEntry("T:0x000B    :41 42 43 44 45 46 47 48 49 4A 4B ");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->text, "\"ABCDEFGHIJK\"");
    const auto unknown = LoadSearchEntry("X:1\t:41");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->kind, kKindDump);
    EXPECT_EQ(unknown->text, ":41");
    EXPECT_FALSE(LoadSearchEntry("T3 41"));
    EXPECT_FALSE(LoadSearchEntry("T:3:"));
    EXPECT_FALSE(LoadSearchEntry(""));
}

TEST(SearchEntryTest, ReadGivesThePatternTheFinderUses)
{
    struct Case {
        const char* entry;
        Bytes bytes;
        int size;
        MatchMode mode;
    } cases[] = {
        {"T:0x0003 /G :41 42 43 ", {0x41, 0x42, 0x43}, 3, MatchMode::IgnoreCase},
        {"H:2 /B\t:12 34\t\t\t\t\t(0x1234)", {0x12, 0x34}, 2, MatchMode::Exact},
        {"  M:4\t:10 80 F0 8F\t\t\t\t(:1? #1???0000)", {0x10, 0x80, 0xF0, 0x8F}, 2, MatchMode::Mask},
        {"M:2\t:10 80 F0 8F", {0x10, 0xF0}, 1, MatchMode::Mask},
        {"T:9\t:41 42", {0x41, 0x42}, 2, MatchMode::Exact}, // a count beyond the pattern is cut
        {"U:0x0002\t:41 42 43", {0x41, 0x42}, 2, MatchMode::Exact},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        const auto p = ReadSearchEntry(c.entry);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->bytes, c.bytes);
        EXPECT_EQ(p->size, c.size);
        EXPECT_EQ(p->mode, c.mode);
    }
    EXPECT_FALSE(ReadSearchEntry("T:0\t:41"));
    EXPECT_FALSE(ReadSearchEntry("T:2\t:"));
    EXPECT_FALSE(ReadSearchEntry("garbage"));
}

TEST(SearchEntryTest, RangeSearchEntryAndSelectionText)
{
    const Bytes abc = {'A', 'B', 'C'};
    EXPECT_EQ(RangeSearchEntry(abc, false), "T:0x0003    :41 42 43 ");
    EXPECT_EQ(RangeSearchEntry(abc, true), "T:0x0003 /G :41 42 43 ");
    const Bytes hundred(100, 0x20);
    EXPECT_EQ(RangeSearchEntry(hundred, false).substr(0, 8), "T:0x0040");
    EXPECT_EQ(SelectionValueText(abc), "\"ABC\"");
    EXPECT_EQ(SelectionValueText(Bytes{0x41, 0x00}), ":41 00 ");
    EXPECT_EQ(SelectionValueText(Bytes{0x41, 0x80}), ":41 80 ");
    EXPECT_EQ(SelectionValueText(hundred).size(), 66u);
}

TEST(SearchEntryTest, SelectionTextParsesBackToTheSelectedBytes)
{
    std::mt19937 rng(3);
    for (int round = 0; round < 300; ++round) {
        Bytes bytes(1 + rng() % 64);
        // Mostly printable, with quotes and backslashes, sometimes a control byte.
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(rng() % 40 == 0 ? rng() % 32 : "\"\\ab "[rng() % 5]);
        const std::string text = SelectionValueText(bytes);
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseValue(text, 256), bytes);
    }
}

} // namespace
} // namespace dualvex
