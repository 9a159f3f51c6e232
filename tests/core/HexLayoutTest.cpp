#include "core/hexview/HexLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace dualvex {
namespace {

HexLayoutParams Params(int width, int format, bool invert, bool space, int raster, int digits = 6)
{
    HexLayoutParams params;
    params.width = width;
    params.format = format;
    params.invert = invert;
    params.insertSpace = space;
    params.extraSpace = raster;
    params.digits = digits;
    return params;
}

// Walks the cells one by one, the way the line is read: two digits, a blank
// after each group when S is on, one more after every R bytes.
int WalkedColumn(const HexLayout& layout, int cell)
{
    int column = layout.HexStart();
    for (int p = 0; p < cell; ++p) {
        column += 2;
        if (layout.InsertSpace() && (p + 1) % layout.Group() == 0) ++column;
        if ((p + 1) % layout.ExtraSpace() == 0) ++column;
    }
    return column;
}

TEST(HexLayoutTest, DefaultLayoutHasTheDerivedWidths)
{
    HexLayout layout(Params(16, 0, false, true, 4));
    layout.SetLength(100);
    EXPECT_EQ(layout.HexStart(), 8);
    EXPECT_EQ(layout.HexWidth(), 52);
    EXPECT_EQ(layout.CharStart(), 60);
    EXPECT_EQ(layout.CharWidth(), 16);
    EXPECT_EQ(layout.LineWidth(), 76);
    EXPECT_EQ(layout.LineCount(), 7);
}

TEST(HexLayoutTest, RoundsWidthAndRasterToTheGroup)
{
    struct Case {
        const char* name;
        int width, format, raster;
        int expectWidth, expectRaster;
    };
    const Case cases[] = {
        {"DWord width 10 becomes 8", 10, 2, 4, 8, 4},
        {"DWord raster 3 becomes 4", 16, 2, 3, 16, 4},
        {"Word width 1 becomes the group", 1, 1, 4, 2, 4},
        {"QWord width 300 clamps to 256", 300, 3, 8, 256, 8},
        {"width 0 becomes 1", 0, 0, 4, 1, 4},
        {"negative raster is none", 16, 0, -5, 16, kHexNoRaster},
        {"raster above 256 is none", 16, 0, 1000, 16, kHexNoRaster},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HexLayout layout(Params(c.width, c.format, false, true, c.raster));
        EXPECT_EQ(layout.Width(), c.expectWidth);
        EXPECT_EQ(layout.ExtraSpace(), c.expectRaster);
    }
}

TEST(HexLayoutTest, WidthRasterRoundsDown)
{
    HexLayoutParams params = Params(23, 0, false, true, 4);
    params.widthRaster = 8;
    EXPECT_EQ(HexLayout(params).Width(), 16);
    params.width = 5;
    EXPECT_EQ(HexLayout(params).Width(), 1);
}

TEST(HexLayoutTest, DigitsAreCappedAtEight)
{
    EXPECT_EQ(HexLayout(Params(16, 0, false, true, 4, 99)).HexStart(), 10);
    EXPECT_EQ(HexLayout(Params(16, 0, false, true, 4, -3)).HexStart(), 2);
}

TEST(HexLayoutTest, InversionMaskOnlyWithGroups)
{
    EXPECT_EQ(HexLayout(Params(16, 0, true, true, 4)).Mask(), 0);
    EXPECT_EQ(HexLayout(Params(16, 1, true, true, 4)).Mask(), 1);
    EXPECT_EQ(HexLayout(Params(16, 3, true, true, 8)).Mask(), 7);
    EXPECT_EQ(HexLayout(Params(16, 3, false, true, 8)).Mask(), 0);
}

// The closed forms of the cell columns and of H agree with a walk over the
// cells, and the inverse mapping finds every cell and digit again.
TEST(HexLayoutTest, ColumnsAndInverseMappingAgreeForEveryLayout)
{
    for (int format = 0; format <= 3; ++format)
        for (int space = 0; space <= 1; ++space)
            for (int raster : {0, 1, 2, 3, 4, 5, 8, 16, 256})
                for (int width : {1, 3, 7, 8, 10, 16, 24, 31, 64, 256}) {
                    HexLayout layout(Params(width, format, format > 0, space != 0, raster));
                    SCOPED_TRACE("g=" + std::to_string(format) + " S=" + std::to_string(space) +
                                 " R=" + std::to_string(raster) + " W=" + std::to_string(layout.Width()));
                    const int w = layout.Width();
                    for (int p = 0; p < w; ++p) {
                        ASSERT_EQ(layout.HexColumn(p), WalkedColumn(layout, p));
                        const HexCellHit high = layout.CellAtColumn(layout.HexColumn(p));
                        const HexCellHit low = layout.CellAtColumn(layout.HexColumn(p) + 1);
                        ASSERT_EQ(high.cell, p);
                        ASSERT_EQ(high.offset, 0);
                        ASSERT_EQ(low.cell, p);
                        ASSERT_EQ(low.offset, 1);
                    }
                    // The hex area ends two blanks after the last cell.
                    ASSERT_EQ(layout.CharStart(), layout.HexColumn(w - 1) + 4);
                    ASSERT_EQ(layout.CellAtColumn(0).cell, 0);
                    ASSERT_EQ(layout.CellAtColumn(layout.CharStart() + 50).cell, w - 1);
                }
}

TEST(HexLayoutTest, HiddenAreasHaveNoWidth)
{
    HexLayoutParams params = Params(16, 0, false, true, 4);
    params.showAddress = false;
    params.showChars = false;
    HexLayout layout(params);
    EXPECT_EQ(layout.HexStart(), 0);
    EXPECT_EQ(layout.CharWidth(), 0);
    EXPECT_EQ(layout.LineWidth(), 52);
    params.showHex = false;
    params.showChars = true;
    HexLayout chars(params);
    EXPECT_EQ(chars.HexWidth(), 0);
    EXPECT_EQ(chars.CharStart(), 0);
    EXPECT_EQ(chars.LineWidth(), 16);
}

TEST(HexLayoutTest, LinesAndCellsWithDisplayOffset)
{
    HexLayout layout(Params(16, 0, false, true, 4));
    layout.SetLength(5);
    layout.SetOffset(11);
    EXPECT_EQ(layout.LineCount(), 1);
    EXPECT_EQ(layout.LineOf(4), 0);
    EXPECT_EQ(layout.LineOf(5), 1);
    EXPECT_EQ(layout.ByteInLine(0), 11);
    EXPECT_EQ(layout.LineStart(1), 5);
    EXPECT_EQ(layout.LineOf(-12), -1);
}

TEST(HexLayoutTest, LineArithmeticAbove4GiB)
{
    HexLayout layout(Params(1, 0, false, true, 4));
    layout.SetLength(0xFFFFFFFFLL);
    EXPECT_EQ(layout.LineCount(), 0xFFFFFFFFLL);
    EXPECT_EQ(layout.LineStart(0xFFFFFFFELL), 0xFFFFFFFELL);
    HexLayout wide(Params(256, 0, false, true, 4));
    wide.SetLength(0xFFFFFFFFLL);
    wide.SetOffset(255);
    EXPECT_EQ(wide.LineCount(), 0x1000001LL);
    EXPECT_EQ(wide.LineOf(0xFFFFFFFELL), 0x1000000LL);
    EXPECT_EQ(wide.ByteInLine(0x80000000LL), 255);
}

} // namespace
} // namespace dualvex
