#include "HexViewTestUtil.h"
#include "core/hexview/HexViewCore.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace dualvex {
namespace {

using test::State;

class HexEditTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        m_bytes = test::CountingBytes(64);
        test::UseFixedWidth(m_view, 16);
        m_view.SetData(m_bytes.data(), 64, 0, kDataEditable);
    }
    void Type(const std::string& text)
    {
        for (char ch : text) m_view.TypeChar(static_cast<unsigned char>(ch));
    }

    std::vector<std::uint8_t> m_bytes;
    HexViewCore m_view;
};

TEST_F(HexEditTest, TypingOnTheSecondDigitReplacesTheLowNibble)
{
    m_bytes[3] = 0x12;
    m_view.SetCursorPos(3, false);
    m_view.SetCursor(1, 0, kCursorRelative);
    Type("A");
    EXPECT_EQ(m_bytes[3], 0x1A);
    EXPECT_EQ(State(m_view), "4h");
    EXPECT_TRUE(m_view.IsModified());
}

TEST_F(HexEditTest, TypingRunsOnDigitByDigitAcrossLines)
{
    m_view.SetCursorPos(15, false);
    Type("abCD");
    EXPECT_EQ(m_bytes[15], 0xAB);
    EXPECT_EQ(m_bytes[16], 0xCD);
    EXPECT_EQ(State(m_view), "17h");
}

TEST_F(HexEditTest, TypingTheSameValueLeavesTheModifiedFlag)
{
    m_view.SetCursorPos(0x21, false);
    Type("21");
    EXPECT_FALSE(m_view.IsModified());
    EXPECT_TRUE(m_view.CanUndo());
}

TEST_F(HexEditTest, CharacterColumnTyping)
{
    m_view.SetCursorPos(15, false);
    m_view.CycleArea(false);
    Type("xy");
    EXPECT_EQ(m_bytes[15], 'x');
    EXPECT_EQ(m_bytes[16], 'y');
    EXPECT_EQ(State(m_view), "17c");
}

TEST_F(HexEditTest, RefusalsBeepAndChangeNothing)
{
    struct Case {
        const char* name;
        unsigned char ch;
        bool readOnly;
        int area; // tabs from the hex area
    };
    const Case cases[] = {
        {"not a hex digit", 'g', false, 0},     {"control character", 0x01, false, 0},
        {"address column", '1', false, 2},      {"read-only", '1', true, 0},
        {"read-only characters", 'a', true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> before = m_bytes;
        m_view.SetData(m_bytes.data(), 64, 0, c.readOnly ? 0u : kDataEditable);
        for (int i = 0; i < c.area; ++i) m_view.CycleArea(false);
        m_view.TakeUpdate();
        EXPECT_FALSE(m_view.TypeChar(c.ch));
        EXPECT_TRUE(m_view.TakeUpdate().beep);
        EXPECT_EQ(m_bytes, before);
        EXPECT_FALSE(m_view.CanUndo());
    }
}

TEST_F(HexEditTest, BackspaceActsAsLeft)
{
    m_view.SetCursorPos(5, false);
    m_view.TypeChar('\b');
    EXPECT_EQ(State(m_view), "4l");
}

TEST_F(HexEditTest, UndoAndRedoPutTheCursorOnTheTypedDigit)
{
    m_view.SetCursorPos(8, false);
    Type("F");
    EXPECT_EQ(m_bytes[8], 0xF8);
    EXPECT_TRUE(m_view.Undo());
    EXPECT_EQ(m_bytes[8], 0x08);
    EXPECT_EQ(State(m_view), "8h");
    EXPECT_FALSE(m_view.IsModified());
    EXPECT_TRUE(m_view.Redo());
    EXPECT_EQ(m_bytes[8], 0xF8);
    EXPECT_EQ(State(m_view), "8l");
    EXPECT_TRUE(m_view.IsModified());
    Type("E");
    EXPECT_TRUE(m_view.Undo());
    EXPECT_EQ(State(m_view), "8l");
    EXPECT_TRUE(m_view.Redo());
    EXPECT_EQ(State(m_view), "9h");
    EXPECT_FALSE(m_view.Redo());
}

TEST_F(HexEditTest, ReadOnlyRefusesUndo)
{
    m_view.SetCursorPos(8, false);
    Type("F");
    m_view.SetData(static_cast<const std::uint8_t*>(m_bytes.data()), 64, 0, kDataKeepPosition);
    EXPECT_FALSE(m_view.CanUndo());
    EXPECT_FALSE(m_view.Undo());
}

TEST_F(HexEditTest, AfterAFullRingTheFirstEditIsGoneAndTheFlagStays)
{
    m_view.SetCursorPos(0, false);
    for (int i = 0; i < 256; ++i) Type(i % 2 == 0 ? "F" : "E");
    int undone = 0;
    while (m_view.Undo()) ++undone;
    EXPECT_EQ(undone, 255);
    EXPECT_TRUE(m_view.IsModified());
    EXPECT_EQ(m_bytes[0], 0xF0);
    for (int i = 1; i < 64; ++i) ASSERT_EQ(m_bytes[i], i) << i;
}

TEST_F(HexEditTest, CopyTextFollowsTheArea)
{
    m_bytes[0] = 0x41;
    m_bytes[1] = 0x42;
    m_bytes[2] = 0x00;
    m_bytes[3] = 0x43;
    EXPECT_EQ(m_view.CopyText(), "");
    m_view.SetCursorPos(0, false);
    m_view.SelectTo(3, false);
    m_view.CycleArea(false);
    EXPECT_EQ(m_view.CopyText(), ":41 42 00");
    m_bytes[2] = 0x43;
    EXPECT_EQ(m_view.CopyText(), "ABC");
    m_view.CycleArea(true);
    EXPECT_EQ(m_view.CopyText(), ":41 42 43");
}

TEST_F(HexEditTest, PasteHexOverwritesAndUndoes)
{
    m_view.SetCursorPos(62, false);
    EXPECT_TRUE(m_view.PasteHex("0xAA, 0xBB, 0xCC"));
    EXPECT_EQ(m_bytes[62], 0xAA);
    EXPECT_EQ(m_bytes[63], 0xBB);
    EXPECT_TRUE(m_view.IsModified());
    EXPECT_TRUE(m_view.Undo());
    EXPECT_EQ(m_bytes[62], 62);
    EXPECT_EQ(m_bytes[63], 63);
    EXPECT_FALSE(m_view.IsModified());
}

TEST_F(HexEditTest, PasteIsCappedAtTheSelection)
{
    m_view.SetCursorPos(10, false);
    m_view.SelectTo(12, false);
    EXPECT_TRUE(m_view.PasteBytes({1, 2, 3, 4}));
    EXPECT_EQ(m_bytes[10], 1);
    EXPECT_EQ(m_bytes[11], 2);
    EXPECT_EQ(m_bytes[12], 12);
}

TEST_F(HexEditTest, PasteValueTakesEveryValueForm)
{
    struct Case {
        const char* name;
        const char* text;
        std::vector<std::uint8_t> expect; // bytes 0..3 after the paste at 0
    };
    const Case cases[] = {
        {"quoted text", "\"AB\"", {0x41, 0x42, 2, 3}},
        {"hex dump", ":12 34 5", {0x12, 0x34, 0x05, 3}},
        {"number, little-endian", "0x1234", {0x34, 0x12, 0, 0}},
        {"decimal", "258", {2, 1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_bytes = test::CountingBytes(64);
        m_view.SetData(m_bytes.data(), 64, 0, kDataEditable);
        EXPECT_TRUE(m_view.PasteValue(c.text));
        EXPECT_EQ(std::vector<std::uint8_t>(m_bytes.begin(), m_bytes.begin() + 4), c.expect);
    }
    m_view.SetData(m_bytes.data(), 64, 0, 0);
    m_view.TakeUpdate();
    EXPECT_FALSE(m_view.PasteValue("\"x\""));
    EXPECT_TRUE(m_view.TakeUpdate().beep);
}

TEST_F(HexEditTest, PasteRefusals)
{
    EXPECT_FALSE(m_view.PasteHex("zz"));
    EXPECT_FALSE(m_view.CanUndo());
    m_view.SetData(m_bytes.data(), 64, 0, 0);
    m_view.TakeUpdate();
    EXPECT_FALSE(m_view.CanPaste());
    EXPECT_FALSE(m_view.PasteHex("12"));
    EXPECT_TRUE(m_view.TakeUpdate().beep);
    EXPECT_EQ(m_bytes[0], 0);
}

TEST_F(HexEditTest, PasteOfMegabytesOfJunkStaysInTheData)
{
    std::mt19937 random(99);
    std::string junk(3 << 20, '\0');
    for (char& ch : junk) ch = static_cast<char>(random());
    junk.replace(0, 6, "0x4142");
    m_view.SetCursorPos(60, false);
    m_view.PasteHex(junk);
    EXPECT_EQ(m_bytes[60], 0x41);
    EXPECT_EQ(m_bytes[61], 0x42);
    std::string digits(4 << 20, 'F');
    m_view.SetCursorPos(0, false);
    EXPECT_TRUE(m_view.PasteHex(digits));
    for (int i = 0; i < 64; ++i) ASSERT_EQ(m_bytes[i], 0xFF);
}

TEST_F(HexEditTest, WriteBytesClipsAtTheEndAndRefusesReadOnly)
{
    const std::uint8_t value[] = {9, 8, 7, 6};
    m_view.SetCursorPos(62, false);
    EXPECT_EQ(m_view.WriteBytes(value, 4), HexWriteResult::Written);
    EXPECT_EQ(m_bytes[62], 9);
    EXPECT_EQ(m_bytes[63], 8);
    m_view.SetData(m_bytes.data(), 64, 0, 0);
    EXPECT_EQ(m_view.WriteBytes(value, 4), HexWriteResult::ReadOnly);
    m_view.SetData(m_bytes.data(), 0, 0, kDataEditable);
    EXPECT_EQ(m_view.WriteBytes(value, 4), HexWriteResult::Outside);
}

// The ring against a plain list of snapshots that keeps the last 255 edits.
struct NaiveHistory {
    struct Entry {
        std::vector<std::uint8_t> before, after;
        bool modifiedBefore;
    };
    std::vector<Entry> entries;
    std::size_t position = 0;
    bool modified = false;

    void Edit(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after,
              bool setsModified)
    {
        entries.resize(position);
        entries.push_back({before, after, modified});
        if (setsModified) modified = true;
        if (entries.size() > 255) entries.erase(entries.begin());
        position = entries.size();
    }
    bool Undo(std::vector<std::uint8_t>& data)
    {
        if (position == 0) return false;
        data = entries[--position].before;
        if (position == 0 && !entries[0].modifiedBefore) modified = false;
        return true;
    }
    bool Redo(std::vector<std::uint8_t>& data)
    {
        if (position == entries.size()) return false;
        data = entries[position++].after;
        modified = true;
        return true;
    }
};

TEST(HexUndoRandomTest, RingAgreesWithSnapshotsUnderRandomEdits)
{
    std::mt19937 random(20240611);
    std::vector<std::uint8_t> bytes(48, 0);
    std::vector<std::uint8_t> expected = bytes;
    HexViewCore view;
    test::UseFixedWidth(view, 16);
    view.SetData(bytes.data(), 48, 0, kDataEditable);
    NaiveHistory naive;
    for (int step = 0; step < 6000; ++step) {
        SCOPED_TRACE(step);
        const int action = static_cast<int>(random() % 10);
        const std::vector<std::uint8_t> before = bytes;
        if (action < 5) {
            view.SetCursorPos(random() % 48, false);
            if (random() % 2) view.SetCursor(1, 0, kCursorRelative);
            const char digit = "0123456789ABCDEF"[random() % (step % 500 < 250 ? 2 : 16)];
            view.TypeChar(static_cast<unsigned char>(digit));
            naive.Edit(before, bytes, before != bytes);
            expected = bytes;
        } else if (action < 6) {
            view.SetCursorPos(random() % 48, false);
            std::vector<std::uint8_t> paste(1 + random() % 6);
            for (auto& b : paste) b = static_cast<std::uint8_t>(random());
            view.PasteBytes(paste);
            naive.Edit(before, bytes, true);
            expected = bytes;
        } else if (action < 8) {
            ASSERT_EQ(view.Undo(), naive.Undo(expected));
        } else {
            ASSERT_EQ(view.Redo(), naive.Redo(expected));
        }
        ASSERT_EQ(bytes, expected);
        ASSERT_EQ(view.IsModified(), naive.modified);
        ASSERT_EQ(view.CanUndo(), naive.position > 0);
        ASSERT_EQ(view.CanRedo(), naive.position < naive.entries.size());
    }
}

} // namespace
} // namespace dualvex
