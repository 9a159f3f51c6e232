#include <gtest/gtest.h>

#include "core/app/HandOver.h"

using namespace dualvex;
using Files = std::vector<std::string>;

TEST(AddHandedOverFiles, FillsFreeSlotsAnnouncedFirst)
{
    const struct {
        Files given;
        std::string announced, own;
        Files expected;
    } cases[] = {
        {{}, "A", "B", {"A", "B"}},
        {{}, "", "B", {"B"}},
        {{}, "A", "", {"A"}},
        {{"X"}, "A", "B", {"X", "A"}},
        {{"X", "Y"}, "A", "B", {"X", "Y"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.announced + "|" + c.own);
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
