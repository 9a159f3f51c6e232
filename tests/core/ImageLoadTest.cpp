#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "core/app/FileAccess.h"
#include "core/app/ImageLoad.h"
#include "core/app/IntelHex.h"

namespace dualvex {
namespace {

struct ExtCase {
    const char* path;
    int index;
};

class ExtensionRule : public ::testing::TestWithParam<ExtCase> {};

TEST_P(ExtensionRule, MatchesTheListWithoutCase)
{
    EXPECT_EQ(ExtensionInList(GetParam().path, kIntelHexExtensions), GetParam().index) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Table, ExtensionRule,
                         ::testing::Values(ExtCase{"a.hex", 1}, ExtCase{"a.HeX", 1}, ExtCase{"dir/b.h86", 2},
                                           ExtCase{"/x/y/c.ihx", 3}, ExtCase{"c.bin", 0}, ExtCase{"hex", 0},
                                           ExtCase{".hex", 0}, ExtCase{"dir/.hex", 0}, ExtCase{"a.b.hex", 1},
                                           ExtCase{"a.hex.bin", 0}, ExtCase{"a.hex/b", 0}, ExtCase{"a.", 0},
                                           ExtCase{"a.hexx", 0}, ExtCase{"..hex", 1}, ExtCase{"", 0}));

TEST(ExtensionRule, EmptyEntriesNeverMatch)
{
    EXPECT_EQ(ExtensionInList("a.", "HEX;;X"), 0);
    EXPECT_EQ(ExtensionInList("a.x", "HEX;;X"), 3);
}

class ImageLoadTest : public ::testing::Test {
  protected:
    std::string Hex() { return m_dir.Write("fw.hex", ":0200000041420A\n"); }
    std::string Raw(const std::string& name, const std::string& content)
    {
        return m_dir.Write(name, content);
    }

    test::TempDir m_dir;
    std::vector<std::string> m_asked;
    IntelHexQuestion Answer(bool yes)
    {
        return [this, yes](const std::string& p) {
            m_asked.push_back(p);
            return yes;
        };
    }
};

TEST_F(ImageLoadTest, QuestionDecidesForListedExtensions)
{
    const std::string hex = Hex();
    const std::string bin = Raw("b.bin", "AB");
    LoadFlags flags;
    LoadResult r = LoadImages(hex, bin, flags, Answer(true));
    ASSERT_EQ(r.failed, LoadFailure::None);
    EXPECT_EQ(m_asked, std::vector<std::string>{hex});
    EXPECT_EQ(r.first.Length(), 1024u); // decoded
    EXPECT_EQ(r.second.Length(), 2u);

    m_asked.clear();
    r = LoadImages(hex, bin, flags, Answer(false));
    EXPECT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(r.first.Length(), 16u); // the text itself
}

TEST_F(ImageLoadTest, AutomaticFlagsAnswerWithoutAsking)
{
    const std::string hex = Hex();
    LoadFlags flags;
    flags.hexAutoOnce = -1 != 0; // start-up passes "not given" unchanged: still switches it on
    LoadResult r = LoadImages(hex, hex, flags, Answer(false));
    ASSERT_EQ(r.failed, LoadFailure::None);
    EXPECT_TRUE(m_asked.empty());
    EXPECT_EQ(r.second.Length(), 1024u);
    EXPECT_FALSE(flags.hexAutoOnce); // consumed by the completed load

    r = LoadImages(hex, hex, flags, Answer(false));
    EXPECT_EQ(m_asked.size(), 2u);

    m_asked.clear();
    flags.intelHexAuto = true;
    r = LoadImages(hex, hex, flags, Answer(false));
    EXPECT_TRUE(m_asked.empty());
    EXPECT_EQ(r.first.Length(), 1024u);
}

TEST_F(ImageLoadTest, OwnFlagDecodesWhateverTheAnswerAndIsConsumed)
{
    const std::string hex = Hex();
    const std::string other = Raw("fw.txt", ":0100000011EE\n");
    LoadFlags flags;
    flags.firstIsHex = true;
    flags.secondIsHex = true;
    LoadResult r = LoadImages(hex, other, flags, Answer(false));
    ASSERT_EQ(r.failed, LoadFailure::None);
    EXPECT_EQ(m_asked, std::vector<std::string>{hex}); // still asked
    EXPECT_EQ(r.first.Length(), 1024u);
    EXPECT_EQ(r.second.Length(), 1024u);
    EXPECT_EQ(r.second.Data()[0], 0x11);
    EXPECT_FALSE(flags.firstIsHex);
    EXPECT_FALSE(flags.secondIsHex);
}

TEST_F(ImageLoadTest, FailingFileIsNamedAndFirstImageKept)
{
    const std::string bin = Raw("b.bin", "xyz");
    const std::string missing = (m_dir.Path() / "nope.bin").string();
    LoadFlags flags;
    flags.hexAutoOnce = true;
    LoadResult r = LoadImages(missing, bin, flags, {});
    EXPECT_EQ(r.failed, LoadFailure::First);
    EXPECT_EQ(r.status, LoadStatus::NotComparable);
    r = LoadImages(bin, missing, flags, {});
    EXPECT_EQ(r.failed, LoadFailure::Second);
    EXPECT_EQ(r.first.Length(), 3u);
    EXPECT_TRUE(flags.hexAutoOnce); // only a completed load consumes it
}

TEST_F(ImageLoadTest, EmptyFileIsAValidImage)
{
    MemoryImage img;
    ASSERT_EQ(LoadRawImage(Raw("e.bin", ""), img), LoadStatus::Ok);
    EXPECT_EQ(img.Length(), 0u);
    EXPECT_NE(img.Data(), nullptr);
    EXPECT_FALSE(img.IsMapped());
}

TEST_F(ImageLoadTest, SmallFilesAreCopiedLargeOnesMapped)
{
    const std::string small(kMapThreshold - 1, 'a');
    std::string large(kMapThreshold, 'b');
    large.back() = 'z';
    MemoryImage a;
    MemoryImage b;
    ASSERT_EQ(LoadRawImage(Raw("s.bin", small), a), LoadStatus::Ok);
    ASSERT_EQ(LoadRawImage(Raw("l.bin", large), b), LoadStatus::Ok);
    EXPECT_FALSE(a.IsMapped());
    EXPECT_TRUE(b.IsMapped());
    EXPECT_EQ(a.Length(), small.size());
    EXPECT_EQ(b.Length(), large.size());
    EXPECT_EQ(a.Data()[small.size() - 1], 'a');
    EXPECT_EQ(b.Data()[large.size() - 1], 'z');
    MemoryImage moved = std::move(b);
    EXPECT_TRUE(moved.IsMapped());
    EXPECT_EQ(b.Length(), 0u);
    moved.Release();
    EXPECT_EQ(moved.Length(), 0u);
}

TEST_F(ImageLoadTest, SpecialFilesAreNotComparableAndNeverBlock)
{
    const std::string fifo = (m_dir.Path() / "pipe").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto started = std::chrono::steady_clock::now();
    MemoryImage img;
    for (const std::string& p :
         {fifo, m_dir.Path().string(), std::string("/dev/zero"), std::string("/dev/null")}) {
        SCOPED_TRACE(p);
        EXPECT_EQ(LoadRawImage(p, img), LoadStatus::NotComparable);
        EXPECT_EQ(ReadIntelHex(p, img), LoadStatus::NotComparable);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(GetFileKind(fifo), FileKind::Special);
    EXPECT_EQ(GetFileKind(m_dir.Path().string()), FileKind::Directory);
    EXPECT_EQ(GetFileKind(""), FileKind::Missing);
}

TEST_F(ImageLoadTest, UnreadableFileCannotBeOpened)
{
    if (geteuid() == 0) GTEST_SKIP() << "root reads files whatever their mode";
    const std::string p = Raw("locked.bin", "data");
    ASSERT_EQ(chmod(p.c_str(), 0), 0);
    MemoryImage img;
    EXPECT_EQ(LoadRawImage(p, img), LoadStatus::CannotOpen);
    EXPECT_EQ(ReadIntelHex(p, img), LoadStatus::CannotOpen);
}

TEST_F(ImageLoadTest, FilesOf4GiBAndMoreAreRefusedNotTruncated)
{
    // Sparse files take no disk space.
    MemoryImage img;
    for (const std::uint64_t size : {std::uint64_t{1} << 32, (std::uint64_t{1} << 32) + 5}) {
        const std::string p = Raw("big.bin", "");
        std::filesystem::resize_file(p, size);
        EXPECT_EQ(LoadRawImage(p, img), LoadStatus::TooLarge) << size;
        EXPECT_EQ(img.Length(), 0u);
    }
}

TEST_F(ImageLoadTest, LargestFileIsMappedWhole)
{
    const std::string p = Raw("max.bin", "");
    std::filesystem::resize_file(p, kMaxImageLength);
    MemoryImage img;
    ASSERT_EQ(LoadRawImage(p, img), LoadStatus::Ok);
    EXPECT_EQ(img.Length(), 0xFFFFFFFFu);
    EXPECT_TRUE(img.IsMapped());
    EXPECT_EQ(img.Data()[img.Length() - 1], 0);
}

TEST(LoadErrorMessage, GermanTexts)
{
    EXPECT_EQ(LoadErrorMessage(LoadStatus::NotComparable, "a.bin"),
              "Die Datei a.bin existiert nicht zum Vergleichen !");
    EXPECT_EQ(LoadErrorMessage(LoadStatus::CannotOpen, "a.bin"),
              "Die Datei a.bin konnte nicht geöffnet werden !");
    EXPECT_EQ(LoadErrorMessage(LoadStatus::TooLarge, "a.bin"),
              "Die Datei a.bin ist zu groß zum Vergleichen (4 GiB oder mehr) !");
}

} // namespace
} // namespace dualvex
