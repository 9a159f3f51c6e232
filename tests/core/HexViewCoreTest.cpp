#include "core/hexview/HexViewCore.h"
#include "HexViewTestUtil.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace dualvex {
namespace {

using test::State;

class HexViewCoreTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        m_bytes = test::CountingBytes(100);
        test::UseFixedWidth(m_view, 16);
        m_view.SetData(m_bytes.data(), 100, 0x1000, kDataEditable);
    }

    std::vector<std::uint8_t> m_bytes;
    HexViewCore m_view;
};

TEST_F(HexViewCoreTest, SetDataResetsPositionMarksUndoAndSelection)
{
    m_view.SetTopAddress(0x1020, true);
    m_view.SetCursorPos(40, false);
    m_view.SelectTo(50, false);
    m_view.SetMark(0, 1, 2);
    m_view.TypeChar('1');
    std::vector<std::uint8_t> other = test::CountingBytes(30);
    EXPECT_EQ(m_view.SetData(other.data(), 30, 0, kDataEditable), 100);
    EXPECT_EQ(m_view.GetTopPosition(false), 0);
    EXPECT_EQ(State(m_view), "0h");
    EXPECT_FALSE(m_view.Range(1).active);
    EXPECT_FALSE(m_view.CanUndo());
    EXPECT_FALSE(m_view.IsModified());
    EXPECT_TRUE(m_view.TakeUpdate().repaintAll);
}

TEST_F(HexViewCoreTest, SetDataCanKeepPositionAndSkipTheRepaint)
{
    m_view.SetTopAddress(32, false);
    m_view.SetCursorPos(90, false);
    m_view.TakeUpdate();
    m_view.SetData(m_bytes.data(), 60, 0, kDataKeepPosition | kDataNoRepaint | kDataKeepLayout);
    EXPECT_EQ(m_view.GetTopPosition(false), 32);
    EXPECT_EQ(State(m_view), "59h");
    EXPECT_FALSE(m_view.TakeUpdate().repaintAll);
}

TEST_F(HexViewCoreTest, ReadOnlyAndUnwritableBindings)
{
    const std::uint8_t* constant = m_bytes.data();
    m_view.SetData(constant, 100, 0, 0);
    EXPECT_TRUE(m_view.IsReadOnly());
    EXPECT_EQ(m_view.Length(), 100);
    EXPECT_EQ(m_view.SetData(constant, 100, 0, kDataEditable), 100);
    EXPECT_EQ(m_view.Length(), 0);
    EXPECT_FALSE(m_view.IsReadOnly());
    m_view.SetData(static_cast<std::uint8_t*>(nullptr), 100, 0, kDataEditable);
    EXPECT_EQ(m_view.Length(), 0);
    m_view.SetData(m_bytes.data(), -5, 0, 0);
    EXPECT_EQ(m_view.Length(), 0);
}

TEST_F(HexViewCoreTest, OwnedDataIsFreedOnReplacementButNotWhenReboundToItself)
{
    auto owned = std::make_unique<std::uint8_t[]>(8);
    owned[3] = 0x77;
    std::uint8_t* raw = owned.get();
    m_view.SetOwnedData(std::move(owned), 8, 0, kDataEditable);
    EXPECT_NE(m_view.Flags() & kHexOwned, 0u);
    // Rebinding the owned buffer itself keeps it alive (the sanitizer build
    // would report a use after free below).
    m_view.SetData(raw, 8, 0x10, kDataEditable);
    EXPECT_NE(m_view.Flags() & kHexOwned, 0u);
    HexLineText out;
    m_view.PrintLine(0, 0, out);
    EXPECT_EQ(test::Text(out).substr(8, 12), "00 00 00 77 ");
    m_view.SetData(m_bytes.data(), 100, 0, 0);
    EXPECT_EQ(m_view.Flags() & kHexOwned, 0u);
}

TEST_F(HexViewCoreTest, SetMarkCases)
{
    EXPECT_EQ(m_view.SetMark(2, 10, 5), 2);
    EXPECT_TRUE(m_view.Range(3).active);
    EXPECT_EQ(m_view.Range(3).Lower(), 10);
    EXPECT_EQ(m_view.Range(3).Upper(), 14);
    EXPECT_EQ(m_view.Range(3).attr, kAttrMark);
    EXPECT_EQ(m_view.SetMark(-1, 20, 1), 0);
    EXPECT_EQ(m_view.SetMark(-1, 30, 1), 1);
    EXPECT_EQ(m_view.SetMark(8, 1, 1), 8);
    EXPECT_EQ(m_view.SetMark(-3, 1, 1), 8);
    m_view.TakeUpdate();
    EXPECT_EQ(m_view.SetMark(2, 10, 5), 2);
    EXPECT_LT(m_view.TakeUpdate().firstLine, 0);
    EXPECT_EQ(m_view.SetMark(2, 0, 0), 2);
    EXPECT_FALSE(m_view.Range(3).active);
    for (int i = 0; i < 8; ++i) m_view.SetMark(i, i, 1);
    EXPECT_EQ(m_view.SetMark(-1, 50, 1), 8);
    m_view.SetMark(-2, 0, 0);
    for (int i = 1; i <= 8; ++i) EXPECT_FALSE(m_view.Range(i).active);
}

TEST_F(HexViewCoreTest, SetMarkRepaintsTheAffectedLines)
{
    m_view.TakeUpdate();
    m_view.SetMark(0, 20, 20);
    const HexViewUpdate update = m_view.TakeUpdate();
    EXPECT_FALSE(update.repaintAll);
    EXPECT_EQ(update.firstLine, 1);
    EXPECT_EQ(update.lastLine, 2);
}

TEST_F(HexViewCoreTest, SetBaseAddressKeepsCursorSelectionAndTop)
{
    m_view.TypeChar('5');
    m_view.SetTopAddress(0x1010, true);
    m_view.SetCursorPos(0x1030, true);
    m_view.SetCursor(3, 0, kCursorRelative | kCursorExtend);
    m_view.SetMark(0, 1, 1);
    const std::string state = State(m_view);
    EXPECT_EQ(m_view.SetBaseAddress(0x2000), 0x1000u);
    EXPECT_EQ(State(m_view), state);
    EXPECT_EQ(m_view.GetTopPosition(true), 0x2010);
    EXPECT_EQ(m_view.GetSelectionStart(true), 0x2030);
    EXPECT_FALSE(m_view.Range(1).active);
    EXPECT_FALSE(m_view.CanUndo());
    EXPECT_EQ(m_view.SetBaseAddress(0x2000), 0x2000u);
}

TEST_F(HexViewCoreTest, CommandMessageOperations)
{
    EXPECT_EQ(m_view.Command(kOpSetCursor, 20), 1);
    EXPECT_EQ(m_view.Command(kOpGetSelectionStart, 0), 20);
    EXPECT_EQ(m_view.Command(kOpSelectTo, 25), 1);
    EXPECT_EQ(m_view.Command(kOpGetSelectionStart, 0), 20);
    EXPECT_EQ(m_view.Command(kOpGetSelectionLower, 0), 20);
    EXPECT_EQ(m_view.Command(kOpSelectTo, 15), 1);
    EXPECT_EQ(m_view.Command(kOpGetSelectionLower, 0), 16);
    EXPECT_EQ(m_view.Command(kOpSetTop, 48), 1);
    EXPECT_EQ(m_view.Command(kOpGetTop, 0), 48);
    EXPECT_EQ(m_view.Command(kOpSetBase, 0x400), 1);
    EXPECT_EQ(m_view.Command(kOpGetBase, 0), 0x400);
    EXPECT_EQ(m_view.Command(kOpGetLength, 0), 100);
    EXPECT_EQ(m_view.Command(9, 0), 0);
    EXPECT_EQ(m_view.Command(-1, 0), 0);
    EXPECT_EQ(m_view.Command(kOpSetCursor, 1000), 1);
    EXPECT_EQ(m_view.GetCursor(false), 99);
}

TEST_F(HexViewCoreTest, SelectionQueriesAndByteCopies)
{
    HexPos count = -1;
    EXPECT_EQ(m_view.GetSelection(true, &count), 0x1000);
    EXPECT_EQ(count, 0);
    m_view.SetCursorPos(10, false);
    m_view.SelectTo(4, false);
    EXPECT_EQ(m_view.GetSelection(false, &count), 5);
    EXPECT_EQ(count, 6);
    HexPos start = 0;
    EXPECT_TRUE(m_view.GetSelectionEx(&start, &count, true, 4));
    EXPECT_EQ(start, 0x1005);
    EXPECT_EQ(count, 4);
    std::uint8_t buffer[8] = {};
    EXPECT_EQ(m_view.CopySelectionBytes(buffer, 3), 3);
    EXPECT_EQ(buffer[0], 5);
    EXPECT_EQ(buffer[2], 7);
    m_view.SetCursorPos(97, false);
    EXPECT_FALSE(m_view.GetSelectionEx(&start, &count, false, 4));
    EXPECT_EQ(m_view.CopySelectionBytes(buffer, 8), 0);
    EXPECT_EQ(m_view.CopyBytesAtCursor(buffer, 8), 3);
    EXPECT_EQ(buffer[2], 99);
}

TEST_F(HexViewCoreTest, SetTopAddressClampsAndReturnsThePreviousTop)
{
    struct Case {
        const char* name;
        HexPos target;
        HexPos expectTop;
    };
    const Case cases[] = {
        {"a line start", 0x1020, 0x1020},
        {"inside a line", 0x1025, 0x1025},
        {"behind the data", 0x5000, 0x1063},
        {"before the data", 0, 0x1000 - 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HexPos before = m_view.GetTopPosition(true);
        EXPECT_EQ(m_view.SetTopAddress(c.target, true), before);
        EXPECT_EQ(m_view.GetTopPosition(true), c.expectTop);
    }
}

TEST_F(HexViewCoreTest, SetTopAddressKeepsTheCursorOnItsByte)
{
    m_view.SetCursorPos(40, false);
    m_view.SetTopAddress(7, false);
    EXPECT_EQ(State(m_view), "40h");
    EXPECT_EQ(m_view.Cursor().y, m_view.Layout().LineOf(40));
}

TEST_F(HexViewCoreTest, AddressSnappingKeepsTheTargetOnScreen)
{
    m_view.SetWidthMode(-16, 4, -1, -1);
    for (HexPos target : {5, 37, 70, 3, 99}) {
        SCOPED_TRACE(target);
        m_view.SetTopAddress(target, false);
        const HexPos top = m_view.GetTopPosition(false);
        EXPECT_LE(top, target);
        EXPECT_GT(top + 16, target);
        EXPECT_LT(m_view.Layout().Offset(), 4);
    }
}

TEST_F(HexViewCoreTest, DifferenceBitsCountDefaultsToTheLength)
{
    std::vector<std::uint8_t> bits(16, 0);
    m_view.SetDifferenceBits(bits.data(), -1);
    HexPos count = 0;
    EXPECT_EQ(m_view.GetDifferenceBits(&count), bits.data());
    EXPECT_EQ(count, 100);
    m_view.SetDifferenceBits(bits.data(), 128);
    m_view.GetDifferenceBits(&count);
    EXPECT_EQ(count, 128);
}

TEST_F(HexViewCoreTest, OneByteImage)
{
    std::uint8_t byte = 0x5A;
    m_view.SetData(&byte, 1, 0, kDataEditable);
    m_view.SetCursor(1000, 1000, 0);
    EXPECT_EQ(State(m_view), "0l");
    m_view.SetCursor(1, 0, kCursorRelative | kCursorExtend);
    EXPECT_EQ(State(m_view), "0l [0,0]");
    EXPECT_EQ(m_view.CopyText(), ":5A");
    EXPECT_EQ(m_view.SetTopAddress(5, false), 0);
    EXPECT_EQ(m_view.GetTopPosition(false), 0);
}

TEST(HexViewCoreEmptyTest, EmptyDataAnswersEveryOperation)
{
    HexViewCore view;
    view.SetData(static_cast<const std::uint8_t*>(nullptr), 0, 0, 0);
    EXPECT_EQ(view.Layout().LineCount(), 0);
    EXPECT_EQ(view.SetTopAddress(10, false), 0);
    EXPECT_EQ(view.Command(kOpGetLength, 0), 0);
    EXPECT_EQ(view.Command(kOpSetCursor, 3), 1);
    EXPECT_EQ(view.CopyText(), "");
    std::uint8_t buffer[4];
    EXPECT_EQ(view.CopyBytesAtCursor(buffer, 4), 0);
    EXPECT_FALSE(view.TypeChar('1'));
    EXPECT_FALSE(view.PasteHex("12"));
    view.OnResize(80, 10);
    view.SetWidthMode(0, 4, -1, -1);
    view.CycleArea(false);
    view.SetTopLine(5);
    EXPECT_EQ(view.TopLine(), 0);
}

} // namespace
} // namespace dualvex
