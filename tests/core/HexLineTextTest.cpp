#include "core/hexview/HexLineText.h"
#include "HexViewTestUtil.h"
#include "core/hexview/HexViewCore.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace dualvex {
namespace {

using test::Attributes;
using test::CountingBytes;
using test::Text;
using test::UseFixedWidth;

std::string PrintedLine(const HexViewCore& view, HexPos line, unsigned flags = 0)
{
    HexLineText out;
    view.PrintLine(line, flags, out);
    return Text(out);
}

// How much of a printed line a case pins down.
enum class Part { kWhole, kStart, kEnd };

// One printed line of a fresh view: bytes, fixed width, optional layout
// (width, extra space, insert space, digits, format, invert), base address.
struct PrintCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    int width;
    std::optional<std::array<int, 6>> layout;
    HexPos base;
    HexPos line;
    Part part;
    std::string expected;
    HexPos lineCount;
};

std::vector<std::uint8_t> CountingWith(std::size_t count, std::size_t index, std::uint8_t value)
{
    std::vector<std::uint8_t> bytes = CountingBytes(count);
    bytes[index] = value;
    return bytes;
}

const std::vector<std::uint8_t> kControlAndLatin1{0x00, 0x1F, 0x20, 0x41, 0x7E, 0x7F,
                                                  0x80, 0x9F, 0xA0, 0xC4, 0xE9, 0xFF};

const PrintCase kPrintCases[] = {
    {"DefaultLayout", CountingWith(20, 1, 'A'), 16, std::nullopt, 0x1000, 0, Part::kWhole,
     "001000  00 41 02 03  04 05 06 07  08 09 0A 0B  0C 0D 0E 0F  .A..............", 2},
    {"LastLineIsBlankBehindTheData", CountingBytes(20), 16, std::nullopt, 0, 1, Part::kWhole,
     "000010  10 11 12 13  " + std::string(39, ' ') + "....            ", 2},
    {"WordFormatWithInversionShowsBigEndianGroups", CountingBytes(16), 16, std::array{16, 4, 1, 4, 1, 1}, 0,
     0, Part::kWhole, "0000  0100 0302  0504 0706  0908 0B0A  0D0C 0F0E  ................", 1},
    {"InversionWithoutGroupBlanksFollowsTheCells", CountingBytes(8), 8, std::array{8, 0, 0, 2, 2, 1}, 0, 0,
     Part::kWhole, "00  0302010007060504  ........", 1},
    // Bytes 4 and 5 sit in cells 7 and 6 of the reversed group.
    {"GroupCutByTheDataEndKeepsItsCells", CountingBytes(6), 8, std::array{8, 0, 1, 2, 2, 1}, 0, 0,
     Part::kWhole, "00  03020100     0504  ......  ", 1},
    {"CharacterColumnDotsControlBytesAndShowsLatin1", kControlAndLatin1, 12, std::nullopt, 0, 0, Part::kEnd,
     ".. A~...\xA0\xC4\xE9\xFF", 1},
    {"OneByteAtTheTopOfTheAddressRange", std::vector<std::uint8_t>(1, 0xAB), 16, std::nullopt, 0xFFFFFFFF, 0,
     Part::kStart, "FFFFFF  AB", 1},
};

class HexLinePrint : public ::testing::TestWithParam<PrintCase> {};

TEST_P(HexLinePrint, PrintsTheExpectedText)
{
    const PrintCase& c = GetParam();
    HexViewCore view;
    UseFixedWidth(view, c.width);
    if (c.layout) {
        const auto& l = *c.layout;
        view.SetLayout({.width = l[0],
                        .extraSpace = l[1],
                        .insertSpace = l[2],
                        .digits = l[3],
                        .format = l[4],
                        .invert = l[5]});
    }
    view.SetData(c.bytes.data(), static_cast<HexPos>(c.bytes.size()), c.base, 0);
    EXPECT_EQ(view.Layout().LineCount(), c.lineCount);
    const std::string line = PrintedLine(view, c.line);
    const std::size_t n = c.expected.size();
    switch (c.part) {
    case Part::kWhole: EXPECT_EQ(line, c.expected); break;
    case Part::kStart: EXPECT_EQ(line.substr(0, n), c.expected); break;
    case Part::kEnd:
        ASSERT_GE(line.size(), n);
        EXPECT_EQ(line.substr(line.size() - n), c.expected);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(HexLineTextTest, HexLinePrint, ::testing::ValuesIn(kPrintCases),
                         [](const ::testing::TestParamInfo<PrintCase>& info) { return info.param.name; });

TEST(HexLineTextTest, DefaultLayoutLineLengthAndAttributes)
{
    const std::vector<std::uint8_t> bytes = CountingWith(20, 1, 'A');
    HexViewCore view;
    UseFixedWidth(view, 16);
    view.SetData(bytes.data(), 20, 0x1000, 0);
    HexLineText out;
    ASSERT_EQ(view.PrintLine(0, 0, out), 76);
    EXPECT_EQ(Attributes(out), std::string(8, '1') + std::string(52, '2') + std::string(16, '0'));
}

TEST(HexLineTextTest, LinesOutsideTheDataPrintNothing)
{
    const std::vector<std::uint8_t> bytes = CountingBytes(20);
    HexViewCore view;
    UseFixedWidth(view, 16);
    view.SetData(bytes.data(), 20, 0, 0);
    for (const HexPos line : {HexPos{2}, HexPos{-1}}) {
        SCOPED_TRACE(line);
        HexLineText out;
        EXPECT_EQ(view.PrintLine(line, 0, out), 0);
    }
}

TEST(HexLineTextTest, TopAddressFivePutsElevenBlankCellsBeforeByteZero)
{
    std::vector<std::uint8_t> bytes = CountingBytes(40);
    HexViewCore view;
    UseFixedWidth(view, 16);
    view.SetData(bytes.data(), 40, 0, 0);
    view.SetTopAddress(5, false);
    EXPECT_EQ(view.Layout().Offset(), 11);
    EXPECT_EQ(view.TopLine(), 1);
    EXPECT_EQ(view.GetTopPosition(false), 5);
    EXPECT_EQ(PrintedLine(view, 0),
              "FFFFF5  " + std::string(35, ' ') + "00  01 02 03 04  " + std::string(11, ' ') + ".....");
    EXPECT_EQ(PrintedLine(view, 1).substr(0, 21), "000005  05 06 07 08  ");
}

// Changing the hidden areas of a live view lays its lines out anew.
TEST(HexLineTextTest, HiddenAreas)
{
    std::vector<std::uint8_t> bytes = CountingBytes(4);
    bytes[0] = 'x';
    HexViewCore view;
    UseFixedWidth(view, 4);
    view.SetData(bytes.data(), 4, 0, 0);
    view.SetHiddenAreas(kHexHideAddress | kHexHideChars);
    EXPECT_EQ(PrintedLine(view, 0), "78 01 02 03  ");
    view.SetHiddenAreas(kHexHideHex);
    EXPECT_EQ(PrintedLine(view, 0), "000000  x...");
}

// Differences under marks under the selection, per column.
TEST(HexLineTextTest, SelectionCoversMarksAndMarksCoverDifferences)
{
    std::vector<std::uint8_t> bytes = CountingBytes(8);
    std::vector<std::uint8_t> bits{0b00011110}; // bytes 1..4 differ
    HexViewCore view;
    UseFixedWidth(view, 8);
    view.SetLayout({.width = 8, .extraSpace = 0, .insertSpace = 1, .digits = 0, .format = 0, .invert = 0});
    view.SetData(bytes.data(), 8, 0, 0);
    view.SetDifferenceBits(bits.data(), -1);
    view.SetMark(0, 2, 3); // bytes 2..4
    view.SetCursorPos(4, false);
    view.SelectTo(6, false); // bytes 4..5
    HexLineText out;
    view.PrintLine(0, 0, out);
    // Address, then 8 hex cells of 3 columns and one more blank, then the characters.
    EXPECT_EQ(Attributes(out), "11"
                               "222552442442332332222222"
                               "2"
                               "06443300");
    view.PrintLine(0, kPrintPlain, out);
    EXPECT_EQ(Attributes(out), "11" + std::string(25, '2') + std::string(8, '0'));
}

TEST(HexLineTextTest, DifferenceBitsStopAtTheirCount)
{
    std::vector<std::uint8_t> bytes = CountingBytes(4);
    std::vector<std::uint8_t> bits{0xFF};
    HexViewCore view;
    UseFixedWidth(view, 4);
    view.SetLayout({.width = 4, .extraSpace = 0, .insertSpace = 0, .digits = 0, .format = 0, .invert = 0});
    view.SetHiddenAreas(kHexHideHex | kHexHideAddress);
    view.SetData(bytes.data(), 4, 0, 0);
    view.SetDifferenceBits(bits.data(), 3);
    HexLineText out;
    view.PrintLine(0, 0, out);
    EXPECT_EQ(Attributes(out), "6660");
}

TEST(HexLineTextTest, RunsSplitAtAttributeChanges)
{
    HexLineText line;
    line.length = 6;
    const std::uint8_t attrs[] = {1, 1, 2, 2, 2, 0};
    std::copy(attrs, attrs + 6, line.attr.begin());
    EXPECT_EQ(line.RunEnd(0, 6), 2);
    EXPECT_EQ(line.RunEnd(2, 6), 5);
    EXPECT_EQ(line.RunEnd(2, 4), 4);
    EXPECT_EQ(line.RunEnd(5, 100), 6);
}

// A full line goes through the hex-dump formatter, a partial one is placed
// cell by cell; both must agree with the cell mapping for every layout.
TEST(HexLineTextTest, FullLinesAgreeWithTheCellMapping)
{
    std::mt19937 random(4711);
    std::vector<std::uint8_t> bytes(512);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    for (int format = 0; format <= 3; ++format)
        for (int invert = 0; invert <= 1; ++invert)
            for (int space = 0; space <= 1; ++space)
                for (int raster : {0, 1, 3, 4, 8, 256})
                    for (int width : {1, 5, 8, 16, 24, 256}) {
                        HexViewCore view;
                        UseFixedWidth(view, width);
                        view.SetLayout({.width = width,
                                        .extraSpace = raster,
                                        .insertSpace = space,
                                        .digits = 8,
                                        .format = format,
                                        .invert = invert});
                        view.SetData(bytes.data(), 512, 0, 0);
                        const HexLayout& layout = view.Layout();
                        SCOPED_TRACE("g=" + std::to_string(format) + " inv=" + std::to_string(invert) +
                                     " S=" + std::to_string(space) + " R=" + std::to_string(raster) +
                                     " W=" + std::to_string(layout.Width()));
                        std::string expected(layout.HexWidth(), ' ');
                        for (int k = 0; k < layout.Width(); ++k) {
                            const int column = layout.HexColumn(layout.CellOfByte(k)) - layout.HexStart();
                            const char digits[] = "0123456789ABCDEF";
                            expected[column] = digits[bytes[k] >> 4];
                            expected[column + 1] = digits[bytes[k] & 15];
                        }
                        ASSERT_EQ(PrintedLine(view, 0).substr(layout.HexStart(), layout.HexWidth()),
                                  expected);
                    }
}

TEST(HexLineTextTest, EmptyDataHasNoLines)
{
    HexViewCore view;
    view.SetData(static_cast<const std::uint8_t*>(nullptr), 0, 0, 0);
    EXPECT_EQ(view.Layout().LineCount(), 0);
    HexLineText out;
    EXPECT_EQ(view.PrintLine(0, 0, out), 0);
}

} // namespace
} // namespace dualvex
