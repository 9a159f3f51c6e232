#include <gtest/gtest.h>

#include "core/app/HandOver.h"

using namespace dualvex;
using Files = std::vector<std::string>;

TEST(AddHandedOverFiles, FillsFreeSlotsAnnouncedFirst)
{
    const struct {
        const char* name;
        Files given;
        std::string announced, own;
        Files expected;
    } cases[] = {
        {"both slots free", {}, "A", "B", {"A", "B"}},
        {"nothing announced", {}, "", "B", {"B"}},
        {"no own file", {}, "A", "", {"A"}},
        {"one slot taken", {"X"}, "A", "B", {"X", "A"}},
        {"both slots taken", {"X", "Y"}, "A", "B", {"X", "Y"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Files files = c.given;
        AddHandedOverFiles(files, c.announced, c.own);
        EXPECT_EQ(files, c.expected);
    }
}

TEST(FilesFromDialog, EmptyPathsAreLeftOut)
{
    EXPECT_EQ(FilesFromDialog("a", "b"), (Files{"a", "b"}));
    EXPECT_EQ(FilesFromDialog("", "b"), (Files{"b"}));
    EXPECT_EQ(FilesFromDialog("a", ""), (Files{"a"}));
    EXPECT_EQ(FilesFromDialog("", ""), Files{});
}
