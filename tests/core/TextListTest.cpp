#include "core/tools/TextList.h"

#include <gtest/gtest.h>

#include <string>

namespace dualvex {
namespace {

using namespace std::string_literals;

TEST(TextListTest, BlockRoundTripAndEmptyBlocks)
{
    const TextList list = TextList::FromBlock("one\0two\0\0ignored\0"s);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(1), "two");
    EXPECT_EQ(list.ToBlock(), "one\0two\0\0"s);
    EXPECT_EQ(list.BlockSize(), 9u);
    EXPECT_EQ(TextList::FromBlock("").Count(), 0);
    EXPECT_EQ(TextList::FromBlock("\0abc\0"s).Count(), 0);
    EXPECT_EQ(TextList::FromBlock("unterminated").At(0), "unterminated");
    EXPECT_EQ(TextList().ToBlock(), "\0"s);
}

TEST(TextListTest, InsertFindRemove)
{
    TextList list;
    EXPECT_TRUE(list.Insert(0, "b"));
    EXPECT_TRUE(list.Insert(0, "a"));
    EXPECT_TRUE(list.Insert(99, "c"));
    EXPECT_FALSE(list.Insert(0, ""));
    EXPECT_FALSE(list.Insert(0, "x\0y"s));
    EXPECT_EQ(list, TextList({"a", "b", "c"}));
    EXPECT_EQ(list.Find("c"), 2);
    EXPECT_EQ(list.Find("C"), -1);
    list.Remove(1);
    list.Remove(5);
    list.Remove(-1);
    EXPECT_EQ(list, TextList({"a", "c"}));
}

TEST(TextListTest, HistoryKeepsSixteenMostRecentFirstWithoutDuplicates)
{
    TextList history;
    for (int i = 1; i <= 17; ++i) history.AddToHistory("text" + std::to_string(i));
    ASSERT_EQ(history.Count(), 16);
    EXPECT_EQ(history.At(0), "text17");
    EXPECT_EQ(history.At(15), "text2");
    history.AddToHistory("text9");
    EXPECT_EQ(history.Count(), 16);
    EXPECT_EQ(history.At(0), "text9");
    EXPECT_EQ(history.Find("text9"), 0);
    EXPECT_EQ(history.At(1), "text17");
    history.AddToHistory("");
    EXPECT_EQ(history.At(0), "text9");
}

} // namespace
} // namespace dualvex
