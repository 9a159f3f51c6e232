#include <gtest/gtest.h>

#include "TempDir.h"
#include "core/app/EditorLaunch.h"

#include <filesystem>

using namespace dualvex;

TEST(HexEditorArguments, OffsetArgumentOnlyBeyondTheContextLines)
{
    const struct {
        std::uint64_t first;
        std::vector<std::string> expected;
    } cases[] = {
        {0, {"/a b/f.bin"}},
        {11, {"/a b/f.bin"}},
        {12, {"-s:1", "/a b/f.bin"}},
        {4096, {"-s:4085", "/a b/f.bin"}},
        {0xFFFFFFFFull, {"-s:4294967284", "/a b/f.bin"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(HexEditorArguments(c.first, "/a b/f.bin"), c.expected);
    }
}

TEST(HexEditorArguments, PathWithShellCharactersStaysOneArgument)
{
    const std::string path = "/tmp/x \"q\" $(rm -rf ~);echo\tz";
    EXPECT_EQ(HexEditorArguments(0, path), std::vector<std::string>{path});
}

TEST(FindHexEditor, CandidatesInOrder)
{
    test::TempDir dir;
    const auto bin = dir.Path() / "bin";
    const auto sibling = dir.Path() / "Hexorra";
    const auto onPath = dir.Path() / "path";
    for (const auto& d : {bin, sibling, onPath}) std::filesystem::create_directories(d);
    const std::string searchPath = "/nonexistent::" + onPath.string();

    EXPECT_EQ(FindHexEditor(bin.string(), searchPath), "");
    dir.Write("path/Hexorra", "#!/bin/sh\n");
    EXPECT_EQ(FindHexEditor(bin.string(), searchPath), (onPath / "Hexorra").string());
    dir.Write("Hexorra/Hexorra", "#!/bin/sh\n");
    EXPECT_EQ(FindHexEditor(bin.string(), searchPath), (sibling / "Hexorra").string());
    dir.Write("bin/Hexorra", "#!/bin/sh\n");
    EXPECT_EQ(FindHexEditor(bin.string(), searchPath), (bin / "Hexorra").string());
}

TEST(FindHexEditor, ADirectoryNamedLikeTheEditorDoesNotCount)
{
    test::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "Hexorra");
    EXPECT_EQ(FindHexEditor(dir.Path().string(), ""), "");
}
