#include "core/tools/GotoAddress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dualvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(GotoAddressTest, InitialTextFromSelectionOrCursor)
{
    const Bytes eight{0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE, 0x11};
    const Bytes two{0x34, 0x12};
    struct Case {
        const char* name;
        std::optional<std::span<const std::uint8_t>> selected;
        std::uint64_t base;
        HexPos cursor;
        const char* expected;
    } cases[] = {
        {"cursor plus base", std::nullopt, 0x8000, 0x10, "0x8010"},
        {"cursor without base", std::nullopt, 0, 0, "0x0"},
        {"selection read little-endian", std::span(two), 0, 5, "0x1234"},
        {"selected offset raised by the base", std::span(two), 0x8000, 5, "0x9234"},
        {"selected address kept", std::span(two), 0x1000, 5, "0x1234"},
        {"at most eight bytes", std::span(eight), 0, 0, "0xFEDCBA9876543210"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GotoInitialText(c.selected, c.base, c.cursor), c.expected);
    }
}

TEST(GotoAddressTest, TypedTextsAsAddresses)
{
    struct Case {
        const char* text;
        std::optional<std::uint32_t> expected;
    } cases[] = {
        {"0x100", 0x100},   {"  256", 256},        {"0x100+20", 0x114},
        {"(2+3)*4", 20},    {"0x100zz", 0x100},    {"zz", std::nullopt},
        {"", std::nullopt}, {"   ", std::nullopt}, {"0xFFFFFFFF", 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(EvaluateGotoText(c.text), c.expected);
    }
}

TEST(GotoAddressTest, OffsetsClippedIntoTheData)
{
    EXPECT_EQ(GotoOffset(0x8010, 0x8000, 0x100), 0x10);
    EXPECT_EQ(GotoOffset(0x10, 0x8000, 0x100), 0);
    EXPECT_EQ(GotoOffset(0x9000, 0x8000, 0x100), 0xFF);
    EXPECT_EQ(GotoOffset(0xFFFFFFFFu, 0, HexPos{1} << 33), 0xFFFFFFFF);
    EXPECT_EQ(GotoOffset(5, 0, 0), std::nullopt);
}

TEST(GotoAddressTest, HistoryKeepsSixteenEntriesWithinTheBlockLimit)
{
    TextList history;
    for (int i = 0; i < 20; ++i) AddGotoHistory(history, "0x" + std::to_string(i));
    ASSERT_EQ(history.Count(), 16);
    EXPECT_EQ(history.At(0), "0x19");
    AddGotoHistory(history, "0x5");
    EXPECT_EQ(history.At(0), "0x5");
    EXPECT_EQ(history.Find("0x5"), 0);
    EXPECT_EQ(history.Count(), 16);

    TextList longTexts;
    for (int i = 0; i < 16; ++i) AddGotoHistory(longTexts, std::string(200, static_cast<char>('a' + i)));
    EXPECT_LE(longTexts.BlockSize(), kGotoHistoryBytes);
    EXPECT_EQ(longTexts.At(0), std::string(200, 'p'));
    EXPECT_EQ(longTexts.Count(), 10);
}

} // namespace
} // namespace dualvex
