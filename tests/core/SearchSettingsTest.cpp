#include "core/tools/SearchSettings.h"

#include "ConfigDir.h"

#include <gtest/gtest.h>

namespace dualvex {
namespace {

using SearchSettingsTest = test::ConfigDirTest;

TEST_F(SearchSettingsTest, StoredListsAndFlagsComeBack)
{
    SearchState saved;
    saved.flags = kFindGroup | kFindOrdered | kFindHasSelection | 0x10000;
    saved.history = TextList({"\"abc\"", "0x1234"});
    saved.groupList = TextList({"10", "T:2\t:41 42\t\t\t\t\t(\"AB\")"});
    ASSERT_TRUE(SaveSearchSettings(saved));

    SearchState loaded;
    LoadSearchSettings(loaded);
    EXPECT_EQ(loaded.history, saved.history);
    EXPECT_EQ(loaded.groupList, saved.groupList);
    // The selection bit and anything above the stored bits never come back.
    EXPECT_EQ(loaded.flags, kFindGroup | kFindOrdered);
}

TEST_F(SearchSettingsTest, AStateWithListsKeepsThem)
{
    SearchState stored;
    stored.history = TextList({"stored"});
    stored.flags = kFindBackward;
    ASSERT_TRUE(SaveSearchSettings(stored));

    SearchState own;
    own.history = TextList({"own"});
    LoadSearchSettings(own);
    EXPECT_EQ(own.history, TextList({"own"}));
    EXPECT_EQ(own.flags, kFindWrap);
}

TEST_F(SearchSettingsTest, NothingStoredKeepsTheDefaults)
{
    SearchState state;
    LoadSearchSettings(state);
    EXPECT_EQ(state.flags, kFindWrap);
    EXPECT_EQ(state.history.Count(), 0);
}

} // namespace
} // namespace dualvex
