#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "TempDir.h"
#include "core/app/FileStamp.h"

namespace dualvex {
namespace {

TEST(FileStamp, NothingThereHasNoStamp)
{
    test::TempDir dir;
    EXPECT_FALSE(ReadFileStamp("").exists);
    EXPECT_FALSE(ReadFileStamp((dir.Path() / "missing.bin").string()).exists);
    EXPECT_EQ(ReadFileStamp((dir.Path() / "missing.bin").string()), FileStamp{});
}

// What a change to a compared file can look like, and whether the stamp sees it.
TEST(FileStamp, SeesTheChangesAnEditorMakes)
{
    struct Case {
        const char* name;
        std::function<void(const test::TempDir&, const std::string&)> change;
        bool differs;
    };
    const Case cases[] = {
        {"left alone", [](const test::TempDir&, const std::string&) {}, false},
        {"read again",
         [](const test::TempDir&, const std::string& path) {
             std::FILE* f = std::fopen(path.c_str(), "rb");
             std::fgetc(f);
             std::fclose(f);
         },
         false},
        {"grown", [](const test::TempDir& d, const std::string&) { d.Write("f.bin", "0123456789"); }, true},
        {"shrunk", [](const test::TempDir& d, const std::string&) { d.Write("f.bin", "01"); }, true},
        // Saved by writing a new file and renaming it over the old: same length,
        // maybe the same clock tick, but another file.
        {"replaced",
         [](const test::TempDir& d, const std::string& path) {
             const std::string fresh = d.Write("f.bin.new", "abcde");
             std::filesystem::rename(fresh, path);
         },
         true},
        {"deleted", [](const test::TempDir&, const std::string& path) { std::filesystem::remove(path); },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string path = dir.Write("f.bin", "abcde");
        const FileStamp before = ReadFileStamp(path);
        ASSERT_TRUE(before.exists);
        EXPECT_EQ(before.size, 5u);
        c.change(dir, path);
        EXPECT_EQ(ReadFileStamp(path) != before, c.differs);
    }
}

} // namespace
} // namespace dualvex
