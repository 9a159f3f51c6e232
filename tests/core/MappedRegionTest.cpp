#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "TempDir.h"
#include "core/app/DiffSet.h"
#include "core/app/FileAccess.h"
#include "core/app/MappedRegion.h"

namespace dualvex {
namespace {

constexpr std::size_t kFileSize = 6u << 20; // above the mapping threshold
constexpr off_t kKept = 1 << 20;

std::string Bytes(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(1 + i % 251);
    return bytes;
}

class MappedRegionTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        m_path = m_dir.Write("big.bin", Bytes(kFileSize));
        ASSERT_EQ(LoadRawImage(m_path, m_image), LoadStatus::Ok);
        ASSERT_TRUE(m_image.IsMapped());
    }
    test::TempDir m_dir;
    std::string m_path;
    MemoryImage m_image;
};

// Another process cuts the file short while the comparison walks it.
TEST_F(MappedRegionTest, TruncatedFileReadsAsZerosAndIsMarked)
{
    EXPECT_FALSE(m_image.Faulted());
    ASSERT_EQ(truncate(m_path.c_str(), kKept), 0);

    MemoryImage copy;
    const std::string original = Bytes(kFileSize);
    ASSERT_EQ(LoadRawImage(m_dir.Write("same.bin", original.substr(0, 3u << 20)), copy), LoadStatus::Ok);
    DiffSet diff;
    ASSERT_TRUE(diff.Compare(m_image, copy));
    EXPECT_TRUE(m_image.Faulted());
    EXPECT_FALSE(copy.Faulted());
    EXPECT_EQ(diff.Summary().first, static_cast<ImageLength>(kKept));
    EXPECT_EQ(m_image.Data()[kKept - 1], static_cast<std::uint8_t>(original[kKept - 1]));
    EXPECT_EQ(m_image.Data()[kKept], 0);
    EXPECT_EQ(m_image.Data()[kFileSize - 1], 0);
}

TEST_F(MappedRegionTest, ReleaseEndsTheMark)
{
    ASSERT_EQ(truncate(m_path.c_str(), 0), 0);
    EXPECT_EQ(m_image.Data()[kFileSize / 2], 0);
    EXPECT_TRUE(m_image.Faulted());
    m_image.Release();
    EXPECT_FALSE(m_image.Faulted());
    // The next image of the same file is guarded afresh.
    m_dir.Write("big.bin", Bytes(kFileSize));
    ASSERT_EQ(LoadRawImage(m_path, m_image), LoadStatus::Ok);
    EXPECT_FALSE(m_image.Faulted());
    EXPECT_EQ(m_image.Data()[kFileSize - 1], static_cast<std::uint8_t>(Bytes(kFileSize)[kFileSize - 1]));
}

TEST_F(MappedRegionTest, DecodingATruncatedTextFailsTheLoad)
{
    const LoadStatus status = WithFileText(m_path, [this](const char* text, std::size_t size) {
        if (truncate(m_path.c_str(), 0) != 0) return false;
        volatile char last = text[size - 1];
        (void)last;
        return true;
    });
    EXPECT_EQ(status, LoadStatus::CannotOpen);
}

// A fault outside every guarded region is not ours to hide: it ends the program.
TEST(MappedRegion, FaultsElsewhereStillEndTheProgram)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reports the fault itself";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the address sanitizer reports the fault itself";
#endif
#endif
    test::TempDir dir;
    const std::string path = dir.Write("other.bin", std::string(65536, 'x'));
    MappedRegion unrelated(&path, sizeof path); // makes sure the handler is installed
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = open(path.c_str(), O_RDONLY);
        void* view = mmap(nullptr, 65536, PROT_READ, MAP_SHARED, fd, 0);
        if (view == MAP_FAILED || truncate(path.c_str(), 0) != 0) _exit(3);
        volatile char byte = static_cast<const char*>(view)[40000];
        (void)byte;
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit code " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGBUS);
}

} // namespace
} // namespace dualvex
