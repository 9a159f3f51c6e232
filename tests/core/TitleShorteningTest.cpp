#include <gtest/gtest.h>

#include "core/app/TitleShortening.h"

using dualvex::ShortenPath;

namespace {
int CharCount(std::string_view text)
{
    return static_cast<int>(text.size());
}
} // namespace

TEST(ShortenPath, KeepsRootTwoLeadingComponentsAndTheNearestTail)
{
    const std::string path = "/home/anna/projects/board/firmware/build/app.hex";
    const struct {
        int width;
        std::string expected;
    } cases[] = {
        {100, path},
        {static_cast<int>(path.size()), path},
        {43, "/home/anna/.../board/firmware/build/app.hex"},
        {42, "/home/anna/.../firmware/build/app.hex"},
        {37, "/home/anna/.../firmware/build/app.hex"},
        {30, "/home/anna/.../build/app.hex"},
        {24, "/home/anna/.../app.hex"},
        {20, "/home/.../app.hex"},
        {5, "/.../app.hex"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(ShortenPath(path, c.width, CharCount), c.expected);
    }
}

TEST(ShortenPath, ShortPathsAndRelativePathsStay)
{
    EXPECT_EQ(ShortenPath("/a/b/c", 1, CharCount), "/a/b/c");
    EXPECT_EQ(ShortenPath("x/y/z/w/file", 10, CharCount), "x/.../file");
    EXPECT_EQ(ShortenPath("x/y/z/w/file", 8, CharCount), ".../file");
    EXPECT_EQ(ShortenPath("", 0, CharCount), "");
}
