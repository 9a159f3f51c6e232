#include "HexViewTestUtil.h"
#include "core/hexview/HexViewCore.h"

#include <gtest/gtest.h>

#include <vector>

namespace dualvex {
namespace {

using test::State;

// 64 bytes in lines of 16: address columns 0-7, cell p at 8 + 3p + p/4,
// characters from column 60.
class HexCursorTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        m_bytes = test::CountingBytes(64);
        test::UseFixedWidth(m_view, 16);
        m_view.SetData(m_bytes.data(), 64, 0, kDataEditable);
        m_view.TakeUpdate();
    }

    int Column(int cell) const { return m_view.Layout().HexColumn(cell); }
    void Step(int dx, HexPos dy, unsigned flags = 0) { m_view.SetCursor(dx, dy, kCursorRelative | flags); }
    void Click(int x, HexPos y, unsigned flags = 0)
    {
        m_view.SetCursor(x, y, kCursorFromColumn | kCursorRemember | flags);
    }
    void Drag(int x, HexPos y) { m_view.SetCursor(x, y, kCursorFromColumn | kCursorExtend); }
    // Anchor at from, cursor at to.
    void Select(HexPos from, HexPos to)
    {
        m_view.SetCursorPos(from, false);
        m_view.SetCursorPos(to, false, true);
    }

    std::vector<std::uint8_t> m_bytes;
    HexViewCore m_view;
};

TEST_F(HexCursorTest, ShiftRightSelectsTheByteThenWholeBytes)
{
    m_view.SetCursorPos(5, false);
    Step(1, 0, kCursorExtend);
    EXPECT_EQ(State(m_view), "5l [5,5]");
    Step(1, 0, kCursorExtend);
    EXPECT_EQ(State(m_view), "6h [5,6]");
    Step(1, 0, kCursorExtend);
    EXPECT_EQ(State(m_view), "7h [5,7]");
    Step(-1, 0, kCursorExtend);
    EXPECT_EQ(State(m_view), "6h [5,6]");
}

TEST_F(HexCursorTest, ArrowOntoTheAnchorClearsTheSelection)
{
    struct Case {
        const char* name;
        HexPos anchor, cursor;
        int dx;
        HexPos dy;
        const char* expect;
    };
    const Case cases[] = {
        {"right with the anchor above", 20, 10, 1, 0, "20h"},
        {"down with the anchor above", 20, 10, 0, 1, "20h"},
        {"left with the anchor below", 10, 20, -1, 0, "10h"},
        {"up with the anchor below", 10, 20, 0, -1, "10h"},
        {"right with the anchor below moves on by a byte", 10, 20, 1, 0, "21h"},
        {"left with the anchor above moves back by a byte", 20, 10, -1, 0, "9h"},
        {"page step keeps its way", 10, 20, 0, 2, "52h"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Select(c.anchor, c.cursor);
        Step(c.dx, c.dy);
        EXPECT_EQ(State(m_view), c.expect);
    }
}

TEST_F(HexCursorTest, KeyboardStepsInTheHexArea)
{
    struct Case {
        const char* name;
        HexPos start;
        int startDigit; // 0 high, 1 second
        int dx;
        const char* expect;
    };
    const Case cases[] = {
        {"high to second digit", 5, 0, 1, "5l"},
        {"second digit over the blank to the next byte", 5, 1, 1, "6h"},
        {"over the raster's double blank", 3, 1, 1, "4h"},
        {"back over the double blank", 4, 0, -1, "3l"},
        {"wraps to the next line", 15, 1, 1, "16h"},
        {"wraps to the previous line", 16, 0, -1, "15l"},
        {"Home-like jump stops at the first cell", 21, 1, -1000, "16h"},
        {"End-like jump stops at the last cell", 17, 0, 1000, "31l"},
        {"before byte 0 stays on byte 0", 0, 0, -1, "0h"},
        {"behind the last byte stays on its second digit", 63, 1, 1, "63l"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_view.SetCursorPos(c.start, false);
        if (c.startDigit == 1) Step(1, 0);
        Step(c.dx, 0);
        EXPECT_EQ(State(m_view), c.expect);
    }
}

TEST_F(HexCursorTest, VerticalStepsClampAtBothEnds)
{
    m_view.SetCursorPos(3, false);
    Step(0, -1);
    EXPECT_EQ(State(m_view), "0h");
    m_view.SetCursorPos(50, false);
    Step(0, 5);
    EXPECT_EQ(State(m_view), "63l");
}

TEST_F(HexCursorTest, MouseChoosesAreaCellAndDigit)
{
    struct Case {
        const char* name;
        int x;
        HexPos y;
        const char* expect;
    };
    const Case cases[] = {
        {"high digit", 8 + 3 * 5 + 1, 1, "21h"},
        {"second digit", 8 + 3 * 5 + 2, 1, "21l"},
        {"blank after a byte stays on it", 8 + 3 * 5 + 3, 1, "21l"},
        {"second blank of the raster takes the next byte", 8 + 3 * 3 + 3, 0, "4h"},
        {"blanks after the address belong to byte 0", 7, 2, "32h"},
        {"address column", 2, 2, "32a"},
        {"character column", 60 + 7, 1, "23c"},
        {"behind the line", 500, 1, "31c"},
        {"below the data", 20, 9, "63l"},
        {"negative column", -5, 1, "16a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Click(c.x, c.y);
        EXPECT_EQ(State(m_view), c.expect);
    }
}

TEST_F(HexCursorTest, ClickWithoutMovementDoesNotSelect)
{
    Click(Column(5), 0);
    Drag(Column(5), 0);
    EXPECT_EQ(State(m_view), "5h");
    Drag(Column(7), 0);
    EXPECT_EQ(State(m_view), "7h [5,7]");
    Drag(Column(2), 1);
    EXPECT_EQ(State(m_view), "18h [5,18]");
}

TEST_F(HexCursorTest, SelectionRasterWidensToWholeGroupsAfterNotifying)
{
    m_view.SetLayout({.width = 16, .extraSpace = 4, .insertSpace = 1, .digits = 6, .format = 1, .invert = 0});
    m_view.SetWidthMode(-16, 0, -1, 1);
    Click(m_view.Layout().HexColumn(3), 0);
    m_view.TakeUpdate();
    Drag(m_view.Layout().HexColumn(4), 0);
    const HexViewUpdate update = m_view.TakeUpdate();
    EXPECT_EQ(m_view.Range(0).Lower(), 2);
    EXPECT_EQ(m_view.Range(0).Upper(), 5);
    EXPECT_EQ(m_view.Range(0).start, 2);
    ASSERT_TRUE(update.selectionNotify);
    EXPECT_EQ(update.selection, (HexNotify{3, 4, 1}));
}

TEST_F(HexCursorTest, CharacterColumnWrapsAndClamps)
{
    Click(60 + 15, 0);
    Step(1, 0);
    EXPECT_EQ(State(m_view), "16c");
    Step(-1, 0);
    EXPECT_EQ(State(m_view), "15c");
    Step(-1000, 0);
    EXPECT_EQ(State(m_view), "0c");
    Step(1000, 0);
    EXPECT_EQ(State(m_view), "15c");
}

TEST_F(HexCursorTest, AddressColumnHoldsTheDigitAndLeavesToTheHexArea)
{
    Click(3, 1);
    EXPECT_EQ(State(m_view), "16a");
    EXPECT_EQ(m_view.Cursor().nibble, 2);
    Step(1, 0);
    Step(1, 0);
    EXPECT_EQ(m_view.Cursor().nibble, 0);
    Step(1, 0);
    EXPECT_EQ(State(m_view), "16h");
}

TEST_F(HexCursorTest, NotificationsFollowSelectionChangesUnlessSilent)
{
    m_view.SetCursorPos(4, false);
    m_view.TakeUpdate();
    Step(1, 0, kCursorExtend);
    HexViewUpdate update = m_view.TakeUpdate();
    ASSERT_TRUE(update.selectionNotify);
    EXPECT_EQ(update.selection, (HexNotify{4, 4, 1}));
    Step(0, 0, kCursorExtend);
    EXPECT_FALSE(m_view.TakeUpdate().selectionNotify);
    Step(1, 0);
    update = m_view.TakeUpdate();
    ASSERT_TRUE(update.selectionNotify);
    EXPECT_EQ(update.selection, HexNotify{});
    Select(8, 9);
    EXPECT_FALSE(m_view.TakeUpdate().selectionNotify);
}

TEST_F(HexCursorTest, NibbleStepKeepsTheSelection)
{
    Select(4, 6);
    Step(1, 0, kCursorNibble);
    EXPECT_EQ(State(m_view), "6l [4,6]");
}

TEST_F(HexCursorTest, SelectionChangeRepaintsOnlyTheTouchedLines)
{
    Select(4, 6);
    m_view.TakeUpdate();
    Step(0, 2, kCursorExtend);
    const HexViewUpdate update = m_view.TakeUpdate();
    EXPECT_FALSE(update.repaintAll);
    EXPECT_EQ(update.firstLine, 0);
    EXPECT_EQ(update.lastLine, 2);
    Step(0, -1, kCursorExtend);
    const HexViewUpdate back = m_view.TakeUpdate();
    EXPECT_EQ(back.firstLine, 1);
    EXPECT_EQ(back.lastLine, 2);
}

TEST_F(HexCursorTest, PositionOperationsReportClamping)
{
    EXPECT_EQ(m_view.SetCursorPos(63, false), 1);
    EXPECT_EQ(m_view.SetCursorPos(64, false), 0);
    EXPECT_EQ(State(m_view), "63h");
    EXPECT_EQ(m_view.SetCursorPos(-1, false), 0);
    EXPECT_EQ(State(m_view), "0h");
    m_view.SetData(m_bytes.data(), 64, 0x8000, kDataEditable);
    EXPECT_EQ(m_view.SetCursorPos(0x8010, true), 1);
    EXPECT_EQ(m_view.GetCursor(false), 0x10);
    EXPECT_EQ(m_view.GetCursor(true), 0x8010);
}

TEST_F(HexCursorTest, SelectToExcludesThePosition)
{
    struct Case {
        const char* name;
        HexPos position;
        int result;
        const char* expect;
    };
    const Case cases[] = {
        {"after the cursor", 15, 1, "10h [10,14]"},
        {"before the cursor", 5, 1, "10h [10,6]"},
        {"on the cursor", 10, 1, "10h"},
        {"to the end", 64, 1, "10h [10,63]"},
        {"beyond the end", 1000, 0, "10h [10,63]"},
        {"to the start", -1, 1, "10h [10,0]"},
        {"before the start", -50, 0, "10h [10,0]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_view.SetCursorPos(10, false);
        EXPECT_EQ(m_view.SelectTo(c.position, false), c.result);
        EXPECT_EQ(State(m_view), c.expect);
    }
}

TEST_F(HexCursorTest, ClearSelectionKeepsTheCursor)
{
    EXPECT_EQ(m_view.ClearSelection(), 0);
    Select(3, 9);
    EXPECT_EQ(m_view.ClearSelection(), 1);
    EXPECT_EQ(State(m_view), "9h");
}

TEST_F(HexCursorTest, TabCyclesAreasAndRestoresTheCell)
{
    m_view.SetCursorPos(21, false);
    m_view.CycleArea(false);
    EXPECT_EQ(State(m_view), "21c");
    m_view.CycleArea(false);
    EXPECT_EQ(State(m_view), "16a");
    m_view.CycleArea(false);
    EXPECT_EQ(State(m_view), "21h");
    m_view.CycleArea(true);
    EXPECT_EQ(State(m_view), "16a");
    m_view.CycleArea(true);
    EXPECT_EQ(State(m_view), "21c");
    // Hiding the character column moves the cursor on to the address column.
    m_view.SetHiddenAreas(kHexHideChars);
    EXPECT_EQ(State(m_view), "16a");
    m_view.CycleArea(false);
    EXPECT_EQ(State(m_view), "21h");
    m_view.CycleArea(false);
    EXPECT_EQ(State(m_view), "16a");
}

TEST_F(HexCursorTest, HidingTheCursorAreaMovesTheCursor)
{
    Click(60 + 3, 0);
    m_view.SetHiddenAreas(kHexHideChars);
    EXPECT_EQ(State(m_view), "0a");
    m_view.SetHiddenAreas(kHexHideAddress);
    EXPECT_EQ(State(m_view), "3h");
}

TEST(HexCursorEmptyTest, EmptyDataKeepsTheCursorOnZero)
{
    HexViewCore view;
    view.SetData(static_cast<const std::uint8_t*>(nullptr), 0, 0, 0);
    EXPECT_EQ(view.SetCursorPos(5, false), 0);
    view.SetCursor(1, 1, kCursorRelative | kCursorExtend);
    EXPECT_EQ(State(view), "0h");
    EXPECT_EQ(view.SelectTo(3, false), 0);
    EXPECT_FALSE(view.HasSelection());
}

} // namespace
} // namespace dualvex
