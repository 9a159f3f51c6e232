#include "core/hexview/HexClipboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dualvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(HexClipboardTest, PasteHexConversion)
{
    struct Case {
        const char* name;
        std::string text;
        Bytes expect;
    };
    const Case cases[] = {
        {"plain pairs", "12 34 AB", {0x12, 0x34, 0xAB}},
        {"leading blanks and colon", "  :12 34", {0x12, 0x34}},
        {"C initializer", "0x12, 0X34,0xab", {0x12, 0x34, 0xAB}},
        {"prefixes only count when the text starts with one", "12 0x34", {0x12, 0x00}},
        {"line ends and colons", "12:34\r\n56", {0x12, 0x34, 0x56}},
        {"non-breaking space",
         "12\xA0"
         "34",
         {0x12, 0x34}},
        {"single digits", "1 23 4", {0x01, 0x23, 0x04}},
        {"long runs are read in pairs", "12345", {0x12, 0x34, 0x05}},
        {"stops at junk", "12 zz 34", {0x12}},
        {"empty", "", {}},
        {"only blanks", " \t ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ConvertPasteHex(c.text, 100), c.expect);
    }
}

TEST(HexClipboardTest, PasteHexStopsAtTheLimit)
{
    EXPECT_EQ(ConvertPasteHex("11 22 33 44", 2), (Bytes{0x11, 0x22}));
    EXPECT_EQ(ConvertPasteHex("11 22 33 44", 0), Bytes{});
    EXPECT_EQ(ConvertPasteHex(std::string(8 << 20, 'a'), 3), (Bytes{0xAA, 0xAA, 0xAA}));
}

TEST(HexClipboardTest, CopyText)
{
    const Bytes text{0x41, 0x42, 0x43};
    const Bytes binary{0x41, 0x42, 0x00};
    EXPECT_EQ(HexCopyText(text.data(), 3, true), "ABC");
    EXPECT_EQ(HexCopyText(text.data(), 3, false), ":41 42 43");
    EXPECT_EQ(HexCopyText(binary.data(), 3, true), ":41 42 00");
    EXPECT_EQ(HexCopyText(text.data(), 0, true), "");
    const Bytes latin{0xE4, 0x7F, 0x20};
    EXPECT_EQ(HexCopyText(latin.data(), 3, true), "\xE4\x7F ");
}

TEST(HexClipboardTest, CopyTextRoundTripsThroughPaste)
{
    Bytes bytes(300);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    const std::string text = HexCopyText(bytes.data(), 300, false);
    EXPECT_EQ(text.size(), 1u + 3 * 300 - 1);
    EXPECT_EQ(ConvertPasteHex(text, 1000), bytes);
}

} // namespace
} // namespace dualvex
