#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "core/app/IntelHex.h"

namespace dualvex {
namespace {

std::vector<std::uint8_t> Decode(const std::string& text, std::uint64_t limit = kMaxImageLength)
{
    MemoryImage image;
    EXPECT_TRUE(DecodeIntelHex(text.data(), text.size(), image, limit));
    return {image.Data(), image.Data() + image.Length()};
}

// A data record line with a correct checksum.
std::string Record(unsigned type, unsigned address, const std::vector<std::uint8_t>& data)
{
    static const char* digits = "0123456789ABCDEF";
    std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(data.size()),
                                       static_cast<std::uint8_t>(address >> 8),
                                       static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(type)};
    bytes.insert(bytes.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (auto b : bytes) sum += b;
    bytes.push_back(static_cast<std::uint8_t>(-sum));
    std::string line = ":";
    for (auto b : bytes) {
        line += digits[b >> 4];
        line += digits[b & 15];
    }
    return line + "\n";
}

std::string Extended(unsigned type, unsigned value)
{
    return Record(type, 0, {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

TEST(IntelHex, EmptyTextAndTextWithoutDataGiveAnEmptyImage)
{
    EXPECT_TRUE(Decode("").empty());
    EXPECT_TRUE(Decode(":00000001FF\n").empty());
    EXPECT_TRUE(Decode("junk\n\x01\x02\xff garbage\n").empty());
}

TEST(IntelHex, SingleRecordRoundsUpTo1024WithFF)
{
    const auto img = Decode(Record(0, 0x10, {1, 2, 3}));
    ASSERT_EQ(img.size(), 1024u);
    EXPECT_EQ(img[0x0F], 0xFF);
    EXPECT_EQ(img[0x10], 1);
    EXPECT_EQ(img[0x12], 3);
    EXPECT_EQ(img[0x13], 0xFF);
    EXPECT_EQ(img[1023], 0xFF);
}

TEST(IntelHex, GapBetweenRecordsIsFF)
{
    const auto img = Decode(Record(0, 0x0000, {0xAA, 0xBB}) + Record(0, 0x8000, {1, 2, 3, 4}));
    ASSERT_EQ(img.size(), 0x8400u); // 0x8004 rounded up to 1,024
    EXPECT_EQ(img[0], 0xAA);
    EXPECT_EQ(img[2], 0xFF);
    EXPECT_EQ(img[0x7FFF], 0xFF);
    EXPECT_EQ(img[0x8003], 4);
}

TEST(IntelHex, LinearAndSegmentAddressRecords)
{
    auto img = Decode(Extended(4, 0x0001) + Record(0, 0x0000, {0x42}));
    ASSERT_EQ(img.size(), 65536u + 1024u);
    EXPECT_EQ(img[65536], 0x42);
    EXPECT_EQ(img[0], 0xFF);
    img = Decode(Extended(2, 0x1000) + Record(0, 0x0004, {7}));
    ASSERT_EQ(img.size(), 0x10000u + 1024u);
    EXPECT_EQ(img[0x10004], 7);
}

TEST(IntelHex, AddressRecordsNeedTwoBytes)
{
    // byte count 1, and a record cut after one value byte: both ignored.
    const auto img = Decode(":01000004010000\n:02000004 01\n" + Record(0, 0, {9}));
    ASSERT_EQ(img.size(), 1024u);
    EXPECT_EQ(img[0], 9);
}

TEST(IntelHex, DataAfterEndRecordAndWrongChecksumAreKept)
{
    const auto img = Decode(":00000001FF\n:0100050011FF\n"); // checksum should be E9
    ASSERT_EQ(img.size(), 1024u);
    EXPECT_EQ(img[5], 0x11);
}

TEST(IntelHex, LaterRecordsOverwriteEarlierOnes)
{
    const auto img = Decode(Record(0, 0x100, {1, 1, 1, 1}) + Record(0, 0x000, {2}) + Record(0, 0x102, {3}));
    EXPECT_EQ(img[0], 2);
    EXPECT_EQ(img[0x101], 1);
    EXPECT_EQ(img[0x102], 3);
    EXPECT_EQ(img[0x103], 1);
}

TEST(IntelHex, BlanksLeadingSpaceCrLfAndSingleDigitBytes)
{
    // Leading blanks, blanks between bytes, CR LF ends, and "5" read as one byte
    // before a blank.
    const auto img = Decode("  \t: 02 0000 00 5 AB 00\r\n");
    ASSERT_EQ(img.size(), 1024u);
    EXPECT_EQ(img[0], 0x05);
    EXPECT_EQ(img[1], 0xAB);
}

TEST(IntelHex, ShortRecordsAndBadDigits)
{
    // Fewer than five bytes: ignored. Count larger than the decoded data: only
    // the decoded bytes less the last (taken as checksum) are stored. Decoding
    // stops at the first bad character.
    const auto img = Decode(":03000000\n:0400000011223344G5\n:10001000AABB\n");
    ASSERT_EQ(img.size(), 1024u);
    EXPECT_EQ(img[0], 0x11);
    EXPECT_EQ(img[1], 0x22);
    EXPECT_EQ(img[2], 0x33);
    EXPECT_EQ(img[3], 0xFF); // 0x44 was the last decoded byte
    EXPECT_EQ(img[0x10], 0xAA);
    EXPECT_EQ(img[0x11], 0xFF);
}

TEST(IntelHex, FullLengthRecordsAreDecodedCompletely)
{
    // 255 data bytes on a line of 521 characters, and the same with blanks
    // between the bytes (over 770 characters): every byte is stored.
    std::vector<std::uint8_t> data(255);
    for (int i = 0; i < 255; ++i) data[i] = static_cast<std::uint8_t>(i ^ 0x5A);
    const std::string line = Record(0, 0x0100, data);
    ASSERT_EQ(line.size(), 522u);
    std::string spaced = ":";
    for (std::size_t i = 1; i + 1 < line.size(); i += 2) spaced += line.substr(i, 2) + "  ";
    spaced += "\n";
    for (const std::string& text : {line, spaced}) {
        const auto img = Decode(text);
        ASSERT_EQ(img.size(), 1024u);
        for (int i = 0; i < 255; ++i) ASSERT_EQ(img[0x100 + i], data[i]) << i;
        EXPECT_EQ(img[0x100 + 255], 0xFF);
    }
}

TEST(IntelHex, LongLineContinuationIsNotReadAsRecord)
{
    // Text after a long run of junk on the same line must not start a record.
    const std::string text = ":" + std::string(300, 'Z') + ":0100000077FF\n";
    EXPECT_TRUE(Decode(text).empty());
}

TEST(IntelHex, DataBeyondTheLimitIsDroppedWithoutOverflow)
{
    // The limit stands in for the 4 GiB address space, so the test stays small.
    const std::uint64_t limit = 0x10000 + 2;
    const auto img = Decode(Extended(4, 0x0001) + Record(0, 0x0000, {1, 2, 3, 4}) + Extended(4, 0xFFFF) +
                                Record(0, 0xFFFF, {9, 9}),
                            limit);
    ASSERT_EQ(img.size(), limit);
    EXPECT_EQ(img[0x10000], 1);
    EXPECT_EQ(img[0x10001], 2);
}

TEST(IntelHex, RecordsBeyondTheImageAddressSpaceAreDropped)
{
    // A record at 0xFFFFFFF0 of segment 0xFFFF would reach past 4 GiB; with the
    // real limit it would need a 4 GiB image, so the limit keeps the test small
    // while the arithmetic runs in the same ranges.
    const auto img = Decode(Extended(4, 0xFFFF) + Record(0, 0xFFF0, std::vector<std::uint8_t>(32, 1)) +
                                Extended(4, 0) + Record(0, 0, {5}),
                            4096);
    ASSERT_EQ(img.size(), 1024u);
    EXPECT_EQ(img[0], 5);
}

TEST(IntelHex, AllocationFailureFailsTheLoad)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "address space limits do not mix with the address sanitizer";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "address space limits do not mix with the address sanitizer";
#endif
#endif
    // In a child with 1 GiB of address space, an image reaching 0xFFFF0010
    // cannot be had: the decode reports failure instead of crashing.
    const std::string text = Extended(4, 0xFFFF) + Record(0, 0x0000, {1});
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        rlimit lim{1u << 30, 1u << 30};
        setrlimit(RLIMIT_AS, &lim);
        MemoryImage image;
        const bool ok = DecodeIntelHex(text.data(), text.size(), image);
        _exit(ok ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

IntelHexDefects DefectsOf(const std::string& text, std::uint64_t limit = kMaxImageLength)
{
    MemoryImage image;
    IntelHexDefects defects;
    defects.count = 99; // must be overwritten
    EXPECT_TRUE(DecodeIntelHex(text.data(), text.size(), image, limit, &defects));
    return defects;
}

TEST(IntelHex, EachLineEndEndsARecord)
{
    for (const char* ending : {"\n", "\r", "\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(ending));
        std::string text;
        for (unsigned i = 0; i < 3; ++i) {
            std::string line = Record(0, i * 0x10, {static_cast<std::uint8_t>(i + 1)});
            line.pop_back();
            text += line + ending;
        }
        text += std::string("junk") + ending + ending;
        const auto img = Decode(text);
        ASSERT_EQ(img.size(), 1024u);
        EXPECT_EQ(img[0x00], 1);
        EXPECT_EQ(img[0x10], 2);
        EXPECT_EQ(img[0x20], 3);
        const IntelHexDefects defects = DefectsOf(text);
        EXPECT_EQ(defects.count, 1u);
        EXPECT_EQ(defects.firstLine, 4u); // CR LF counts as one line end
    }
}

TEST(IntelHex, BadLinesAreUsedButCounted)
{
    const std::string good = Record(0, 0, {1, 2});
    std::string withExtraByte = good;
    withExtraByte.insert(withExtraByte.size() - 1, "00");
    struct Case {
        const char* name;
        std::string text;
        std::uint64_t count;
        std::uint64_t firstLine;
    };
    const Case cases[] = {
        {"sound records, blank and empty lines", good + "\n  \t\n" + Record(1, 0, {}), 0, 0},
        {"wrong checksum", good + ":0100050011FF\n", 1, 2},
        {"shorter than its byte count", ":10001000AABB\n" + good, 1, 1},
        {"more bytes than its byte count", withExtraByte, 1, 1},
        {"junk line", "junk\n" + good, 1, 1},
        {"binary garbage", good + good + std::string("\x01\x02\xff\x00z", 5), 1, 3},
        {"bad digit inside a record", ":0400000011223344G5\n", 1, 1},
        {"fewer than five bytes", ":03000000\n", 1, 1},
        {"address record with one byte", ":01000004010000\n", 1, 1},
        {"several", good + "x\n" + good + "y\n", 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const IntelHexDefects defects = DefectsOf(c.text);
        EXPECT_EQ(defects.count, c.count);
        EXPECT_EQ(defects.firstLine, c.firstLine);
    }
    // Still used as far as it goes, as before.
    EXPECT_EQ(Decode(":0100050011FF\n")[5], 0x11);
}

TEST(IntelHex, DataThatCannotBePlacedIsCounted)
{
    const std::uint64_t limit = 0x10000 + 2;
    const std::string text = Extended(4, 0x0001) + Record(0, 0x0000, {1, 2, 3, 4}) + Extended(4, 0xFFFF) +
                             Record(0, 0xFFFF, {9, 9});
    const IntelHexDefects defects = DefectsOf(text, limit);
    EXPECT_EQ(defects.count, 2u);
    EXPECT_EQ(defects.firstLine, 2u);
    // At the top of the real address space: the last byte fits, the one after it not.
    EXPECT_EQ(DefectsOf(Extended(4, 0xFFFF) + Record(0, 0xFFFF, {9}), 0x100000000ull - 1).count, 1u);
}

TEST(IntelHex, WarningNamesTheCountAndTheFirstLine)
{
    EXPECT_EQ(IntelHexWarning("a.hex", {}), "");
    EXPECT_EQ(IntelHexWarning("a.hex", {1, 7}),
              "Die Intel-Hex-Datei a.hex enthält 1 fehlerhafte Zeile (erste in Zeile 7); gelesen wurde, "
              "was sich lesen ließ.");
    EXPECT_EQ(IntelHexWarning("b.hex", {12, 3}),
              "Die Intel-Hex-Datei b.hex enthält 12 fehlerhafte Zeilen (erste in Zeile 3); gelesen wurde, "
              "was sich lesen ließ.");
}

// Private memory of this process as the kernel accounts it, in bytes.
std::uint64_t PrivateBytes()
{
    std::ifstream in("/proc/self/smaps_rollup");
    std::string line;
    std::uint64_t total = 0;
    while (std::getline(in, line)) {
        if (line.rfind("Private_Clean:", 0) != 0 && line.rfind("Private_Dirty:", 0) != 0) continue;
        std::istringstream fields(line.substr(line.find(':') + 1));
        std::uint64_t kib = 0;
        fields >> kib;
        total += kib * 1024;
    }
    return total;
}

TEST(IntelHex, GapBelowARecordAtTheTopCostsNoMemory)
{
    if (!std::ifstream("/proc/self/smaps_rollup")) GTEST_SKIP() << "no /proc/self/smaps_rollup";
    // A 72-byte file: one record of 8 bytes at 0xFFFFFFF0.
    const std::string text =
        Extended(4, 0xFFFF) + Record(0, 0xFFF0, {1, 2, 3, 4, 5, 6, 7, 8}) + ":00000001FF\n";
    const std::uint64_t before = PrivateBytes();
    MemoryImage image;
    ASSERT_TRUE(DecodeIntelHex(text.data(), text.size(), image));
    ASSERT_EQ(image.Length(), 0xFFFFFFFFu);
    // Read the whole image as the comparison would, one byte per 64 KiB block.
    unsigned notFF = 0;
    for (std::uint64_t at = 0; at < 0xFFFF0000u; at += 65536) notFF += image.Data()[at] != 0xFF;
    EXPECT_EQ(notFF, 0u);
    EXPECT_EQ(image.Data()[0xFFFFFFEF], 0xFF);
    EXPECT_EQ(image.Data()[0xFFFFFFF0], 1);
    EXPECT_EQ(image.Data()[0xFFFFFFF7], 8);
    EXPECT_EQ(image.Data()[0xFFFFFFF8], 0xFF);
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's shadow of the 4 GiB range is private memory of its own";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the address sanitizer's shadow of the 4 GiB range is private memory of its own";
#endif
#endif
    // Read once: the count may shrink between two reads, and a difference of two reads
    // taken after `before` could wrap around.
    const std::uint64_t after = PrivateBytes();
    EXPECT_LT(after - std::min(before, after), std::uint64_t{64} << 20);
}

TEST(IntelHex, ZeroLengthRecordMovesTheEnd)
{
    const auto img = Decode(Record(0, 0x0800, {}) + Record(0, 0, {1}));
    ASSERT_EQ(img.size(), 0x800u);
    EXPECT_EQ(img[0x7FF], 0xFF);
}

TEST(IntelHex, ReadFromFile)
{
    test::TempDir dir;
    const std::string path = dir.Write("a.hex", Record(0, 0, {1, 2}));
    MemoryImage image;
    ASSERT_EQ(ReadIntelHex(path, image), LoadStatus::Ok);
    ASSERT_EQ(image.Length(), 1024u);
    EXPECT_EQ(image.Data()[1], 2);
    EXPECT_FALSE(image.IsMapped());
    EXPECT_EQ(ReadIntelHex(dir.Write("e.hex", ""), image), LoadStatus::Ok);
    EXPECT_EQ(image.Length(), 0u);
    EXPECT_EQ(ReadIntelHex((dir.Path() / "missing.hex").string(), image), LoadStatus::NotComparable);
    EXPECT_EQ(ReadIntelHex(dir.Path().string(), image), LoadStatus::NotComparable);
}

TEST(IntelHex, AscendingRecordsOfALargeImage)
{
    // 4 MiB in 16-byte records, as a linker writes them: checks growth keeps
    // every earlier byte.
    std::string text;
    unsigned segment = 0xFFFFFFFF;
    for (std::uint32_t addr = 0; addr < (4u << 20); addr += 16) {
        if ((addr >> 16) != segment) {
            segment = addr >> 16;
            text += Extended(4, segment);
        }
        std::vector<std::uint8_t> data(16);
        for (int i = 0; i < 16; ++i) data[i] = static_cast<std::uint8_t>((addr + i) * 7 >> 3);
        text += Record(0, addr & 0xFFFF, data);
    }
    const auto img = Decode(text);
    ASSERT_EQ(img.size(), 4u << 20);
    for (std::uint32_t i = 0; i < img.size(); i += 4093)
        ASSERT_EQ(img[i], static_cast<std::uint8_t>(i * 7 >> 3)) << i;
}

} // namespace
} // namespace dualvex
