#include "core/hexview/CppArray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace dualvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Generate(const Bytes& bytes, int v, std::uint32_t format, int n)
{
    return CppArrayText(bytes, v, format, n);
}

TEST(CppArrayTest, EveryFormatAndValueSize)
{
    const Bytes abc = {'A', 0x01, 'B'};
    struct Case {
        const char* name;
        Bytes bytes;
        int v;
        std::uint32_t format;
        int n;
        std::string text;
    } cases[] = {
        {"C bytes", {1, 2, 3}, 1, kCppFormatC, 2, "0x01,0x02,\n0x03,\n"},
        {"C word little endian", {0x34, 0x12}, 2, kCppFormatC, 16, "0x1234,\n"},
        {"C word big endian", {0x34, 0x12}, 2, kCppFormatC | kCppBigEndian, 16, "0x3412,\n"},
        {"C partial word padded", {1, 2, 3}, 2, kCppFormatC, 16, "0x0201,0x0003,\n"},
        {"C qword", {1, 2, 3, 4, 5, 6, 7, 8}, 8, kCppFormatC, 1, "0x0807060504030201,\n"},
        {"C full last line", {1, 2}, 1, kCppFormatC, 2, "0x01,0x02,\n"},
        {"assembler bytes",
         {1, 2, 3, 4, 5},
         1,
         kCppFormatAssembler,
         4,
         "DB\t001h,002h,003h,004h\nDB\t005h\n"},
        {"assembler words", {0x34, 0x12, 0xCD, 0xAB}, 2, kCppFormatAssembler, 16, "DW\t01234h,0ABCDh\n"},
        {"assembler dword big endian",
         {1, 2, 3, 4},
         4,
         kCppFormatAssembler | kCppBigEndian,
         16,
         "DD\t001020304h\n"},
        {"assembler qword", {1}, 8, kCppFormatAssembler, 16, "DQ\t00000000000000001h\n"},
        {"base64 three", {'M', 'a', 'n'}, 1, kCppFormatText, 16, "TWFu\n"},
        {"base64 two", {'M', 'a'}, 1, kCppFormatText, 16, "TWE=\n"},
        {"base64 one", {'M'}, 1, kCppFormatText, 16, "TQ==\n"},
        {"hex literals", {0x00, 0x41, 0xFF}, 2, kCppFormatText, 2, "\"\\x00\\x41\"\n\"\\xFF\"\n"},
        {"hex literals end at a line end", {0x00, 0x41}, 2, kCppFormatText, 2, "\"\\x00\\x41\"\n"},
        {"escaped literals", abc, 4, kCppFormatText, 16, "\"A\\x01\"\"B\"\n"},
        {"escaped literal lines", {'a', '"', 'b', '\n'}, 4, kCppFormatText, 2, "\"a\\\"\"\n\"b\\n\"\n"},
        {"decimals", {0, 255, 7}, 8, kCppFormatText, 2, "0,255,\n7,\n"},
        {"dump words", {0x00, 0x11, 0x22, 0x33}, 2, kCppFormatDump, 4, "0011 2233 \n"},
        {"dump bytes", {0x00, 0x11, 0x22}, 1, kCppFormatDump, 2, "00 11 \n22 \n"},
        {"dump dwords short line",
         {0, 0x11, 0x22, 0x33, 0x44, 0x55},
         4,
         kCppFormatDump,
         6,
         "00112233 4455\n"},
        {"dump qwords have no blanks", {0x00, 0x11, 0x22, 0x33}, 8, kCppFormatDump, 16, "00112233\n"},
        {"odd value size is a byte", {1, 2}, 3, kCppFormatC, 16, "0x01,0x02,\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Generate(c.bytes, c.v, c.format, c.n), c.text);
    }
}

TEST(CppArrayTest, Base64BreaksLinesAfterSixtyFourCharacters)
{
    const Bytes bytes(49, 0);
    const std::string text = Generate(bytes, 1, kCppFormatText, 16);
    EXPECT_EQ(text, std::string(64, 'A') + "\nAA==\n");
    EXPECT_EQ(Generate(Bytes(48, 0), 1, kCppFormatText, 16), std::string(64, 'A') + "\n");
}

TEST(CppArrayTest, StopsBeforeAValueThatDoesNotFit)
{
    const Bytes bytes = {1, 2, 3};
    char buf[32];
    EXPECT_EQ(GenerateCppArray(bytes.data(), 3, 1, kCppFormatC, 16, buf, 11), 10);
    EXPECT_STREQ(buf, "0x01,0x02,");
    EXPECT_EQ(GenerateCppArray(bytes.data(), 3, 1, kCppFormatC, 16, buf, 3), 0);
    EXPECT_STREQ(buf, "");
    // Base64 drops whole groups of three bytes.
    EXPECT_EQ(GenerateCppArray(Bytes(6, 0).data(), 6, 1, kCppFormatText, 16, buf, 9), 5);
    EXPECT_STREQ(buf, "AAAA\n");
}

TEST(CppArrayTest, NeverWritesPastTheCapacity)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes(rng() % 80);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(rng() % 3 == 0 ? rng() % 32 : rng());
        const int v = 1 << (rng() % 4);
        const std::uint32_t format = (rng() % 4) | (rng() % 2 ? std::uint32_t{kCppBigEndian} : 0u);
        const int n = static_cast<int>(rng() % 20) - 2;
        const int capacity = static_cast<int>(rng() % 200);
        std::vector<char> buf(static_cast<std::size_t>(capacity) + 16, '#');
        SCOPED_TRACE(testing::Message() << "round " << round);
        const int len = GenerateCppArray(bytes.data(), static_cast<int>(bytes.size()), v, format, n,
                                         buf.data(), capacity);
        if (capacity == 0) {
            EXPECT_EQ(len, 0);
            EXPECT_EQ(buf[0], '#');
            continue;
        }
        ASSERT_LT(len, capacity);
        EXPECT_EQ(buf[static_cast<std::size_t>(len)], '\0');
        EXPECT_TRUE(std::all_of(buf.begin() + capacity, buf.end(), [](char c) { return c == '#'; }));
        // The commands' own buffer always holds the whole text, of which a smaller
        // buffer gets the start (Base64 instead encodes fewer bytes).
        const std::string whole = CppArrayText(bytes, v, format, n);
        const bool base64 = (format & kCppFormatMask) == kCppFormatText && v == 1;
        if (!base64) {
            EXPECT_EQ(whole.substr(0, static_cast<std::size_t>(len)),
                      std::string(buf.data(), static_cast<std::size_t>(len)));
        }
        if (!bytes.empty()) {
            EXPECT_EQ(whole.back(), '\n');
        }
    }
}

TEST(CppArrayTest, SelectionIsCutTo32768Bytes)
{
    const std::string text = Generate(Bytes(40000, 0xAB), 1, kCppFormatC, 16);
    EXPECT_EQ(std::count(text.begin(), text.end(), ','), 32768);
    EXPECT_EQ(EscapedSelectionText(Bytes(40000, 'a')).size(), 32768u);
}

TEST(CppArrayTest, LineAndValueSizesFromSettings)
{
    for (auto [stored, n] : {std::pair{0, 16}, {-1, 16}, {256, 16}, {257, 1}, {4, 4}, {255, 255}}) {
        EXPECT_EQ(CppLineSize(stored), n) << stored;
    }
    for (auto [stored, v] : {std::pair{1, 1}, {2, 2}, {4, 4}, {8, 8}, {3, 1}, {0, 1}, {16, 1}}) {
        EXPECT_EQ(CppValueSize(stored), v) << stored;
    }
    EXPECT_EQ(CppArrayBufferSize(10, 2), (5 + 20) * 4 + 20);
}

TEST(CppArrayTest, EscapedSelectionKeepsEveryByte)
{
    EXPECT_EQ(EscapedSelectionText(Bytes{'A', 0x01, 'B', '\t'}), "A\\x01\"\"B\\t");
    // Every byte doubles here; a buffer sized only for control bytes lost half of them.
    const std::string text = EscapedSelectionText(Bytes(100, '\\'));
    EXPECT_EQ(text.size(), 200u);
    EXPECT_EQ(EscapedSelectionText(Bytes(50, 0x01)).size(), 200u);
}

} // namespace
} // namespace dualvex
