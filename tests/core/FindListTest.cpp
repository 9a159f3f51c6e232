#include "core/tools/FindList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace dualvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(std::string_view s)
{
    return Bytes(s.begin(), s.end());
}

std::string TextEntry(std::string_view text, bool ignoreCase = false)
{
    std::string entry = "T:" + std::to_string(text.size()) + (ignoreCase ? " /G" : "") + "\t:";
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (char c : text) {
        if (entry.back() != ':') entry += ' ';
        entry += kHex[static_cast<unsigned char>(c) >> 4];
        entry += kHex[c & 0xF];
    }
    return entry + "\t\t\t\t(" + std::string(text) + ")";
}

TextList List(int range, std::initializer_list<std::string_view> texts)
{
    TextList list;
    list.Insert(0, std::to_string(range));
    for (std::string_view t : texts) list.Insert(list.Count(), TextEntry(t));
    return list;
}

HexPos Forward(std::string_view data, const TextList& list, bool ordered)
{
    const Bytes d = Of(data);
    return FindListIn(d, list, 0, static_cast<HexPos>(d.size()), ordered).position;
}

TEST(FindListTest, GroupsWithinTheRangeWidth)
{
    struct Case {
        const char* name;
        const char* data;
        int range;
        std::initializer_list<std::string_view> texts;
        bool ordered;
        HexPos expected;
    } cases[] = {
        {"single entry", "..xyz..", 0, {"xyz"}, true, 2},
        {"CD ends at the range end", "..AB......CD..", 10, {"AB", "CD"}, true, 2},
        {"CD ends one behind the range", "..AB.......CD.", 10, {"AB", "CD"}, true, -1},
        {"second candidate completes the group", "AB.........AB.CD", 5, {"AB", "CD"}, true, 11},
        {"ordered needs list order", "AB.EF.CD", 10, {"AB", "CD", "EF"}, true, -1},
        {"unordered takes any order", "AB.EF.CD", 10, {"AB", "CD", "EF"}, false, 0},
        {"unordered also ends within the range", "..AB......CD..", 10, {"AB", "CD"}, false, 2},
        {"unordered no further than the range", "..AB.......CD.", 10, {"AB", "CD"}, false, -1},
        {"unordered looks only behind the first", "CD.AB....", 10, {"AB", "CD"}, false, -1},
        {"ordered entries do not overlap", "ABC", 10, {"AB", "BC"}, true, -1},
        {"range zero finds no group", "ABCD", 0, {"AB", "CD"}, true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Forward(c.data, List(c.range, c.texts), c.ordered), c.expected);
    }
}

TEST(FindListTest, EmptyListsAndDamagedEntriesFindNothing)
{
    EXPECT_EQ(Forward("abc", TextList(), true), -1);
    EXPECT_EQ(Forward("abc", TextList({"0"}), true), -1);
    // An entry with a zero count would otherwise "match" anywhere.
    EXPECT_EQ(Forward("abc", TextList({"0", "T:0\t:61"}), true), -1);
    EXPECT_EQ(Forward("abc", TextList({"0", "T:0\t:61", TextEntry("c")}), true), 2);
}

TEST(FindListTest, RangeWidthTakesAnyRadix)
{
    TextList list = List(0, {"AB", "CD"});
    list.Remove(0);
    list.Insert(0, "0x10");
    EXPECT_EQ(Forward("AB............CD", list, true), 0);
}

TEST(FindListTest, BackwardGroupSearch)
{
    const Bytes d = Of("AB..CD....AB..CD..AB");
    const TextList list = List(6, {"AB", "CD"});
    EXPECT_EQ(FindListIn(d, list, 19, -20, true).position, 10);
    EXPECT_EQ(FindListIn(d, list, 9, -10, true).position, 0);
    // The further entries stay within the scanned positions: a match may not run
    // past where the backward scan started.
    EXPECT_EQ(FindListIn(d, list, 11, -12, true).position, 0);
}

TEST(FindListTest, MatchesOfEveryEntryAreReported)
{
    const Bytes d = Of("xxABxCDxEF");
    const ListResult r = FindListIn(d, List(20, {"AB", "CD", "EF"}), 0, 10, true);
    ASSERT_EQ(r.position, 2);
    ASSERT_EQ(r.matches.size(), 3u);
    EXPECT_EQ(r.matches[1].position, 5);
    EXPECT_EQ(r.matches[2].position, 8);
    EXPECT_EQ(r.matches[2].size, 2);
}

TEST(FindListTest, IgnoreCaseAndMaskEntries)
{
    const Bytes d = {'x', 'a', 'B', 'c', 0x17, 0x90};
    TextList list({"5", TextEntry("ABC", true), "M:2\t:10 F0", "M:2\t:80 8F"});
    const ListResult r = FindListIn(d, list, 0, 6, true);
    EXPECT_EQ(r.position, 1);
    ASSERT_EQ(r.matches.size(), 3u);
    EXPECT_EQ(r.matches[1].position, 4);
    EXPECT_EQ(r.matches[2].position, 5);
}

// A view that records what the search does to it; lines of 16 bytes.
class RecordingView : public SearchView {
  public:
    explicit RecordingView(Bytes data) : m_data(std::move(data)) {}
    std::span<const std::uint8_t> SearchData() const override { return m_data; }
    void SetMark(int index, HexPos start, HexPos count) override
    {
        if (index == -2)
            m_marks.clear();
        else
            m_marks.push_back({index, start, count});
    }
    void SetCursorPos(HexPos index) override { m_cursor = index; }
    void SelectTo(HexPos index) override { m_selectTo = index; }
    HexPos LineOf(HexPos index) const override { return index / 16; }
    HexPos FirstVisibleLine() const override { return m_top; }
    int VisibleLines() const override { return 10; }
    bool LastLinePartial() const override { return true; }
    void ScrollToLine(HexPos line) override { m_top = line; }
    void SetBusy(bool busy) override { m_busyChanges += busy ? 1 : 10; }

    struct Mark {
        int index;
        HexPos start, count;
        bool operator==(const Mark&) const = default;
    };
    Bytes m_data;
    std::vector<Mark> m_marks{{0, 1, 1}};
    HexPos m_cursor = -1, m_selectTo = -1, m_top = 0;
    int m_busyChanges = 0;
};

TEST(FindListTest, SelectMarksEveryEntryAndSelectsTheFirst)
{
    Bytes d(400, '.');
    const std::string group = "ABCDEFGHIJ";
    std::copy(group.begin(), group.end(), d.begin() + 300);
    RecordingView view(d);
    TextList list({"20"});
    for (char c : group) list.Insert(list.Count(), TextEntry(std::string(1, c)));
    EXPECT_EQ(FindList(view, list, 0, 400, true, true), 300);
    EXPECT_EQ(view.m_busyChanges, 11);
    ASSERT_EQ(view.m_marks.size(), 8u); // eight marks for ten entries
    EXPECT_EQ(view.m_marks[7], (RecordingView::Mark{7, 307, 1}));
    EXPECT_EQ(view.m_cursor, 300);
    EXPECT_EQ(view.m_selectTo, 301);
    EXPECT_EQ(view.m_top, 0); // a match on one line needs no scrolling here

    EXPECT_EQ(FindList(view, List(0, {"nothing"}), 0, 400, true, true), -1);
    EXPECT_TRUE(view.m_marks.empty());
}

TEST(FindListTest, WithoutSelectTheViewIsLeftAlone)
{
    RecordingView view(Of("..AB.."));
    EXPECT_EQ(FindList(view, List(0, {"AB"}), 0, 6, true, false), 2);
    EXPECT_EQ(view.m_marks.size(), 1u);
    EXPECT_EQ(view.m_cursor, -1);
}

TEST(FindListTest, ScrollRuleForMatchesOverSeveralLines)
{
    struct Case {
        const char* name;
        HexPos first;
        int visible;
        bool partial;
        HexPos matchFirst, matchLast;
        std::optional<HexPos> target;
    } cases[] = {
        {"one line", 0, 10, false, 12, 12, std::nullopt},
        {"already visible", 0, 10, false, 7, 9, std::nullopt},
        {"ends below", 0, 10, false, 9, 11, 2},
        {"partial bottom line does not count", 0, 10, true, 8, 9, 1},
        {"partial counts in a small window", 0, 3, true, 2, 3, std::nullopt},
        {"too long for half the window", 0, 10, false, 9, 14, std::nullopt},
        {"small window", 4, 4, false, 7, 8, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MatchScrollLine(c.first, c.visible, c.partial, c.matchFirst, c.matchLast), c.target);
    }
}

// Data over several chunks of the worker's slices, zero apart from the values placed
// at the given offsets.
Bytes Spread(std::size_t size, std::initializer_list<std::pair<std::size_t, std::string_view>> values)
{
    Bytes data(size, 0);
    for (const auto& [at, text] : values)
        std::copy(text.begin(), text.end(), data.begin() + static_cast<long>(at));
    return data;
}

// The sliced search must give what one pass gives, also where a value straddles the
// border of two slices and where a group's second value lies beyond the slice that
// holds the first.
TEST(FindListTest, SlicedSearchFindsWhatOnePassFinds)
{
    constexpr auto kChunk = static_cast<HexPos>(kWorkChunkBytes);
    const Bytes data = Spread(
        3 * kWorkChunkBytes + 100,
        {{kWorkChunkBytes - 2, "ABCD"}, {2 * kWorkChunkBytes - 3, "AB"}, {2 * kWorkChunkBytes + 5, "CD"}});
    const auto size = static_cast<HexPos>(data.size());
    struct Case {
        const char* name;
        TextList list;
        HexPos from, count;
        HexPos expected;
    } cases[] = {
        {"straddling forward", List(0, {"ABCD"}), 0, size, kChunk - 2},
        {"straddling backward", List(0, {"ABCD"}), size - 1, -size, kChunk - 2},
        {"group across a border", List(16, {"AB", "CD"}), kChunk, size, 2 * kChunk - 3},
        {"group backward across a border", List(16, {"AB", "CD"}), size - 1, -size, 2 * kChunk - 3},
        {"group out of range", List(4, {"AB", "CD"}), kChunk, size, -1},
        {"start beyond the data", List(0, {"AB"}), size + 10, size, -1},
        {"backward from beyond the data", List(0, {"CD"}), size + 3 * kChunk, -(size + 3 * kChunk),
         2 * kChunk + 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint64_t> asked;
        const WorkObserver observer = [&asked](std::uint64_t done, std::uint64_t total) {
            EXPECT_LE(done, total);
            asked.push_back(done);
            return true;
        };
        const std::optional<ListResult> sliced =
            FindListObserved(data, c.list, c.from, c.count, true, observer);
        ASSERT_TRUE(sliced.has_value());
        EXPECT_EQ(sliced->position, c.expected);
        EXPECT_EQ(FindListIn(data, c.list, c.from, c.count, true).position, c.expected);
        EXPECT_TRUE(std::is_sorted(asked.begin(), asked.end()));
    }
}

TEST(FindListTest, SlicedSearchStopsWhenTheObserverSaysSo)
{
    const Bytes data = Spread(3 * kWorkChunkBytes, {{3 * kWorkChunkBytes - 4, "ABCD"}});
    int calls = 0;
    const WorkObserver stop = [&calls](std::uint64_t, std::uint64_t) { return ++calls < 2; };
    EXPECT_FALSE(FindListObserved(data, List(0, {"ABCD"}), 0, static_cast<HexPos>(data.size()), false, stop));
    EXPECT_EQ(calls, 2);
    // A match within the first slice comes back before anyone is asked.
    const WorkObserver never = [](std::uint64_t, std::uint64_t) { return false; };
    const Bytes early = Spread(2 * kWorkChunkBytes, {{10, "ABCD"}});
    const auto found =
        FindListObserved(early, List(0, {"ABCD"}), 0, static_cast<HexPos>(early.size()), false, never);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->position, 10);
}

} // namespace
} // namespace dualvex
