#include "core/support/ComboHistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConfigDir.h"
#include "core/support/CSettingsKey.h"

namespace dualvex {
namespace {

using test::ConfigDirTest;
using List = std::vector<std::string>;

TEST(ComboHistoryTest, CurrentTextMovesToTheFront)
{
    EXPECT_EQ(BuildHistory("b", {"a", "b", "c"}), (List{"b", "a", "c"}));
    EXPECT_EQ(BuildHistory("new", {"a", "", "b"}), (List{"new", "a", "b"}));
    EXPECT_EQ(BuildHistory("", {"a", "b"}), List{});
}

TEST(ComboHistoryTest, KeepsAtMostSixteenEntries)
{
    List items;
    for (int i = 0; i < 20; ++i) items.push_back("item" + std::to_string(i));
    const List history = BuildHistory("typed", items);
    ASSERT_EQ(history.size(), kHistoryMaxEntries);
    EXPECT_EQ(history.front(), "typed");
    EXPECT_EQ(history.back(), "item14");
    EXPECT_EQ(BuildHistory("item3", items)[15], "item15");
}

TEST(ComboHistoryTest, SelectedItemStandsInForEmptyEditText)
{
    const List items{"a", "b"};
    EXPECT_EQ(CurrentHistoryText("typed", items, 1), "typed");
    EXPECT_EQ(CurrentHistoryText("", items, 1), "b");
    EXPECT_EQ(CurrentHistoryText("", items, -1), "");
    EXPECT_EQ(CurrentHistoryText("", items, 2), "");
}

TEST(ComboHistoryTest, HashPathsLieBelowTheApplicationKey)
{
    EXPECT_EQ(HistoryKeyPath("#HexCrcCalc"), "Software\\Ql\\Dualvex\\HexCrcCalc");
    EXPECT_EQ(HistoryKeyPath("#"), "Software\\Ql\\Dualvex");
    EXPECT_EQ(HistoryKeyPath("Software\\Ql\\Dualvex"), "Software\\Ql\\Dualvex");
    EXPECT_EQ(HistoryKeyPath("Software\\#x"), "Software\\#x");
}

class ComboHistoryStoreTest : public ConfigDirTest {};

TEST_F(ComboHistoryStoreTest, SavedListLoadsBackInOrder)
{
    EXPECT_EQ(LoadHistory("PolynomList", "#HexCrcCalc"), List{});
    EXPECT_EQ(SaveHistory({"0x04C11DB7", "0x1021"}, "PolynomList", "#HexCrcCalc"), 2u);
    EXPECT_EQ(LoadHistory("PolynomList", "Software\\Ql\\Dualvex\\HexCrcCalc"),
              (List{"0x04C11DB7", "0x1021"}));

    CSettingsKey key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeRead));
    ASSERT_TRUE(key.OpenSub("HexCrcCalc"));
    List stored;
    EXPECT_TRUE(key.ReadList(stored, "PolynomList"));
    EXPECT_EQ(stored.size(), 2u);
}

TEST_F(ComboHistoryStoreTest, EmptyListLeavesStoredListAlone)
{
    ASSERT_EQ(SaveHistory({"a"}, "File1", "Software\\Ql\\Dualvex"), 1u);
    EXPECT_EQ(SaveHistory(BuildHistory("", {"x"}), "File1", "Software\\Ql\\Dualvex"), 0u);
    EXPECT_EQ(LoadHistory("File1", "#"), List{"a"});
}

TEST_F(ComboHistoryStoreTest, LoadCutsLongEntries)
{
    ASSERT_EQ(SaveHistory({std::string(300, 'x'), "y"}, "HexFind", "#"), 2u);
    const List loaded = LoadHistory("HexFind", "#");
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[0], std::string(kHistoryMaxEntryLength, 'x'));
}

} // namespace
} // namespace dualvex
