#include "core/hexview/Checksums.h"

#include <gtest/gtest.h>

#include <vector>

namespace dualvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ChecksumsTest, TwoFFBytes)
{
    const Bytes d = {0xFF, 0xFF};
    const auto t = ChecksumTexts(ComputeChecksums(d), false);
    EXPECT_EQ(t[0], "0x000001FE");
    EXPECT_EQ(t[1], "0xFFFFFE02");
    EXPECT_EQ(t[2], "0x00000000");
    EXPECT_EQ(t[3], "0x0000FFFF");
    EXPECT_EQ(ChecksumTexts(ComputeChecksums(d), true)[3], "0x0000FFFF");
}

TEST(ChecksumsTest, PartialValuesAreCompletedWithZeros)
{
    const Bytes three = {0x01, 0x02, 0x03};
    const Checksums c = ComputeChecksums(three);
    EXPECT_EQ(c.wordsLittle.sum, 0x0201u + 0x0003u);
    EXPECT_EQ(c.wordsBig.sum, 0x0102u + 0x0300u);
    EXPECT_EQ(c.wordsLittle.xorValue, 0x0201u ^ 0x0003u);
    EXPECT_EQ(c.dwordsLittle.sum, 0x00030201u);
    EXPECT_EQ(c.dwordsBig.sum, 0x01020300u);

    const Bytes five = {0x01, 0x00, 0x00, 0x00, 0x02};
    const auto little = ChecksumTexts(ComputeChecksums(five), false);
    const auto big = ChecksumTexts(ComputeChecksums(five), true);
    EXPECT_EQ(little[6], "0x00000003");
    EXPECT_EQ(big[6], "0x03000000");
    EXPECT_EQ(big[0], little[0]); // the byte row ignores the byte order
}

TEST(ChecksumsTest, SumsWrapAndWordSumsAreNotCut)
{
    const Bytes d(0x20000, 0xFF);
    const Checksums c = ComputeChecksums(d);
    EXPECT_EQ(c.wordsLittle.sum, 0x10000u * 0xFFFFu);
    EXPECT_EQ(c.dwordsBig.sum, 0x8000u * 0xFFFFFFFFu);
    EXPECT_EQ(c.dwordsBig.negated, 0u - c.dwordsBig.sum);
    EXPECT_EQ(c.bytes.xorValue, 0u);
}

TEST(ChecksumsTest, EmptyInputGivesZeros)
{
    for (const std::string& t : ChecksumTexts(ComputeChecksums({}), false)) EXPECT_EQ(t, "0x00000000");
}

TEST(ChecksumsTest, InputIsTheSelectionOrTheFirstMebibyte)
{
    const Bytes big(2 << 20, 1);
    EXPECT_EQ(ChecksumInput(big, std::nullopt).size(), 1048576u);
    const Bytes d = {0, 1, 2, 3, 4, 5};
    const auto sel = ChecksumInput(d, SelectionEnds{4, 1});
    ASSERT_EQ(sel.size(), 4u);
    EXPECT_EQ(sel[0], 1);
    EXPECT_EQ(ChecksumInput(d, SelectionEnds{2, 99}).size(), 4u);
    EXPECT_EQ(ChecksumInput(d, SelectionEnds{-5, 0}).size(), 1u);
}

bool SameTriple(const ChecksumTriple& a, const ChecksumTriple& b)
{
    return a.sum == b.sum && a.negated == b.negated && a.xorValue == b.xorValue;
}

// Chunks end on double-word boundaries, so only the true end may hold a partial value;
// lengths just past a chunk end show a chunk that would complete one too early.
TEST(ChecksumsTest, ChunkedEqualsWholeAndCanStop)
{
    for (std::size_t length :
         {std::size_t{0}, kWorkChunkBytes, kWorkChunkBytes + 1, 2 * kWorkChunkBytes + 3}) {
        Bytes data(length);
        for (std::size_t i = 0; i < length; ++i) data[i] = static_cast<std::uint8_t>(i * 131 + (i >> 9));
        const Checksums whole = ComputeChecksums(data);
        int calls = 0;
        const auto chunked =
            ComputeChecksums(data, [&](std::uint64_t, std::uint64_t) { return ++calls > 0; });
        ASSERT_TRUE(chunked.has_value()) << length;
        EXPECT_EQ(calls, static_cast<int>((length + kWorkChunkBytes - 1) / kWorkChunkBytes));
        EXPECT_TRUE(SameTriple(chunked->bytes, whole.bytes)) << length;
        EXPECT_TRUE(SameTriple(chunked->wordsLittle, whole.wordsLittle)) << length;
        EXPECT_TRUE(SameTriple(chunked->wordsBig, whole.wordsBig)) << length;
        EXPECT_TRUE(SameTriple(chunked->dwordsLittle, whole.dwordsLittle)) << length;
        EXPECT_TRUE(SameTriple(chunked->dwordsBig, whole.dwordsBig)) << length;
    }
    const Bytes data(2 * kWorkChunkBytes);
    EXPECT_FALSE(ComputeChecksums(data, [](std::uint64_t, std::uint64_t) { return false; }).has_value());
}

} // namespace
} // namespace dualvex
