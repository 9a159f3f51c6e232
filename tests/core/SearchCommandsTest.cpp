#include "core/tools/SearchCommands.h"

#include "core/support/ValueText.h"
#include "core/tools/FindList.h"

#include <gtest/gtest.h>

namespace dualvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SearchCommandsTest, ScansFollowTheFlags)
{
    const SelectionRange sel{10, 19};
    struct Case {
        const char* name;
        std::uint32_t flags;
        std::optional<SelectionRange> selection;
        Scan first;
        std::optional<Scan> rest;
    } cases[] = {
        {"forward", 0, std::nullopt, {51, 100}, std::nullopt},
        {"forward wrapping", kFindWrap, std::nullopt, {51, 100}, Scan{0, 50}},
        {"backward wrapping", kFindWrap | kFindBackward, std::nullopt, {49, -100}, Scan{100, -50}},
        {"from the start", kFindWrap | kFindFromStart | kFindBackward, std::nullopt, {0, 100}, std::nullopt},
        {"in the selection", kFindWrap | kFindInSelection, sel, {10, 10}, std::nullopt},
        {"in the selection backward", kFindInSelection | kFindBackward, sel, {19, -10}, std::nullopt},
        {"in the selection without one", kFindInSelection | kFindWrap, std::nullopt, {51, 100}, Scan{0, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FindScans scans = ScanForFind(c.flags, 50, 100, c.selection);
        EXPECT_EQ(scans.first, c.first);
        EXPECT_EQ(scans.rest, c.rest);
    }
}

TEST(SearchCommandsTest, BackwardWrapScansDownToTheCursor)
{
    // The rest of a backward search covers the last possible position down to the
    // cursor itself.
    const Bytes d = {'A', 'B', 0, 0, 'A', 'B'};
    const FindScans scans = ScanForFind(kFindWrap | kFindBackward, 4, 6, std::nullopt);
    const Bytes ab = {'A', 'B'};
    EXPECT_EQ(FindPattern(d, ab.data(), 2, scans.first.from, scans.first.count, MatchMode::Exact), 0);
    EXPECT_EQ(FindPattern(d, ab.data(), 2, scans.rest->from, scans.rest->count, MatchMode::Exact), 4);
}

TEST(SearchCommandsTest, RenderInKind)
{
    struct Case {
        const char* text;
        int byteCount;
        int kind;
        const char* rendered;
    } cases[] = {
        {"255", kCountDWord, kKindHex, "0xFF"},
        {"0xFF", kCountByte, kKindDecimal, "-1"},
        {"0x1234", kCountWord, kKindDump, ":34 12"},
        {"\"AB\"", kCountByte, kKindHex, "0x4241"},
        {"", kCountByte, kKindHex, "0x"},
        {" ", kCountByte, kKindText, "\""},
        {"", kCountByte, kKindMask, ":"},
        {"", kCountByte, kKindDecimal, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RenderInKind(c.text, c.byteCount, c.kind), c.rendered);
    }
}

TEST(SearchCommandsTest, GroupRangeWidth)
{
    EXPECT_EQ(GroupRangeWidth(TextList()), 1000);
    EXPECT_EQ(GroupRangeWidth(TextList({"0"})), 1000);
    EXPECT_EQ(GroupRangeWidth(TextList({"-4"})), 1000);
    EXPECT_EQ(GroupRangeWidth(TextList({"0x20"})), 32);
}

TEST(SearchCommandsTest, CommitBuildsTheActiveList)
{
    SearchState state;
    SearchDialogResult r;
    r.text = "0x1234";
    r.flags = kFindBigEndian | kFindHasSelection | 0x200;
    r.byteCount = kCountWord;
    r.rangeWidth = 10;
    r.groupEntries = {"T:1\t:41"};
    CommitSearchDialog(state, r);
    EXPECT_EQ(state.history.At(0), "0x1234");
    EXPECT_EQ(state.groupList, TextList({"10", "T:1\t:41"}));
    EXPECT_EQ(state.activeList, TextList({"0", "H:2 /B\t:12 34\t\t\t\t\t(0x1234)"}));
    EXPECT_EQ(state.flags, kFindBigEndian);
    EXPECT_EQ(state.lastByteCount, kCountWord);

    // The decimal 4660 with Word finds 34 12, and 12 34 in big-endian order.
    const Bytes d = {0x12, 0x34, 0x12};
    r.text = "4660";
    CommitSearchDialog(state, r);
    EXPECT_EQ(FindListIn(d, state.activeList, 0, 3, false).position, 0);
    r.flags = 0;
    CommitSearchDialog(state, r);
    EXPECT_EQ(FindListIn(d, state.activeList, 0, 3, false).position, 1);

    r.flags = kFindGroup;
    r.groupEntries.assign(20, "T:1\t:41");
    CommitSearchDialog(state, r);
    EXPECT_EQ(state.activeList.Count(), 17);
    EXPECT_EQ(state.activeList, state.groupList);

    r.flags = 0;
    r.text = "\"\"";
    CommitSearchDialog(state, r);
    EXPECT_EQ(state.activeList, TextList({"0"}));
    EXPECT_TRUE(state.HasActiveList());
}

TEST(SearchCommandsTest, RangeSearchUsesTheFirst64Bytes)
{
    SearchState state;
    state.flags = kFindIgnoreCase;
    Bytes sel(100, 'a');
    sel[70] = 'b';
    PrepareRangeSearch(state, sel);
    EXPECT_EQ(state.history.At(0), "\"" + std::string(64, 'a') + "\"");
    ASSERT_EQ(state.activeList.Count(), 2);
    EXPECT_EQ(state.activeList.At(0), "64");
    EXPECT_EQ(state.activeList.At(1).substr(0, 12), "T:0x0040 /G ");
    EXPECT_TRUE(state.flags & kFindHasSelection);
    Bytes d(200, 'x');
    std::fill(d.begin() + 120, d.begin() + 184, 'A');
    EXPECT_EQ(FindListIn(d, state.activeList, 0, 200, false).position, 120);
}

TEST(SearchCommandsTest, StoredListsFillOnlyAnEmptyState)
{
    SearchState state;
    EXPECT_EQ(state.flags, kFindWrap);
    EXPECT_EQ(state.lastByteCount, 2);
    EXPECT_FALSE(state.HasActiveList());
    state.AdoptStoredLists(TextList({"a"}), TextList({"5"}));
    state.AdoptStoredLists(TextList({"b"}), TextList({"6"}));
    EXPECT_EQ(state.history, TextList({"a"}));
    EXPECT_EQ(state.groupList, TextList({"5"}));
    EXPECT_EQ(&ProcessSearchState(), &ProcessSearchState());
}

} // namespace
} // namespace dualvex
