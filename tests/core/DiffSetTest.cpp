#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/app/CompareKernel.h"
#include "core/app/DiffSet.h"

namespace dualvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The comparison written the plain way, one byte at a time.
struct Reference {
    std::vector<bool> bits;
    DiffSummary summary;
};

Reference Naive(const Bytes& a, const Bytes& b)
{
    Reference r;
    const std::uint64_t n = std::max(a.size(), b.size());
    const std::uint64_t m = std::min(a.size(), b.size());
    r.bits.assign(n, false);
    r.summary.bitCount = static_cast<ImageLength>(n);
    OverviewScale(static_cast<ImageLength>(n), r.summary.scaleNumerator, r.summary.scaleDenominator);
    bool inRange = false;
    for (std::uint64_t i = 0; i < n; ++i) {
        const bool differs = i >= m || a[i] != b[i];
        r.bits[i] = differs;
        if (!differs) {
            inRange = false;
            continue;
        }
        ++r.summary.differing;
        const std::uint64_t bucket =
            std::min<std::uint64_t>(i * r.summary.scaleNumerator / r.summary.scaleDenominator, 2047);
        r.summary.buckets[bucket / 8] |= static_cast<std::uint8_t>(1 << (bucket % 8));
        if (!inRange) {
            if (r.summary.rangeCount == 0) r.summary.first = static_cast<ImageLength>(i);
            r.summary.last = static_cast<ImageLength>(i);
            ++r.summary.rangeCount;
        }
        inRange = true;
    }
    auto endOf = [&](std::uint64_t s) {
        while (s < n && r.bits[s]) ++s;
        return static_cast<ImageLength>(s);
    };
    if (r.summary.rangeCount > 0) {
        r.summary.firstEnd = endOf(r.summary.first);
        r.summary.lastEnd = endOf(r.summary.last);
    }
    return r;
}

void ExpectSame(const Bytes& a, const Bytes& b)
{
    const Reference ref = Naive(a, b);
    DiffSet set;
    ASSERT_TRUE(set.Compare(a.data(), static_cast<ImageLength>(a.size()), b.data(),
                            static_cast<ImageLength>(b.size())));
    const DiffSummary& s = set.Summary();
    EXPECT_EQ(s.bitCount, ref.summary.bitCount);
    EXPECT_EQ(s.rangeCount, ref.summary.rangeCount);
    EXPECT_EQ(s.differing, ref.summary.differing);
    EXPECT_EQ(s.first, ref.summary.first);
    EXPECT_EQ(s.firstEnd, ref.summary.firstEnd);
    EXPECT_EQ(s.last, ref.summary.last);
    EXPECT_EQ(s.lastEnd, ref.summary.lastEnd);
    EXPECT_EQ(s.buckets, ref.summary.buckets);
    EXPECT_EQ(set.StorageBytes(), (ref.bits.size() + 71) / 8);
    for (std::size_t i = 0; i < ref.bits.size(); ++i)
        ASSERT_EQ(TestBit(set.Bits(), static_cast<ImageLength>(i)), ref.bits[i]) << "bit " << i;
    // Bits at N and above stay clear up to the end of the storage.
    for (std::size_t i = ref.bits.size(); i < set.StorageBytes() * 8; ++i)
        ASSERT_FALSE(TestBit(set.Bits(), static_cast<ImageLength>(i))) << "bit " << i;
    const DiffCounts counts = CountDifferences(a.data(), static_cast<ImageLength>(a.size()), b.data(),
                                               static_cast<ImageLength>(b.size()));
    EXPECT_EQ(counts.rangeCount, ref.summary.rangeCount);
    EXPECT_EQ(counts.differing, ref.summary.differing);
}

Bytes FromText(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

TEST(Compare, EqualImages)
{
    const Bytes a = FromText("0123456789");
    DiffSet set;
    ASSERT_TRUE(set.Compare(a.data(), 10, a.data(), 10));
    EXPECT_EQ(set.Summary().rangeCount, 0u);
    EXPECT_EQ(set.Summary().first, 0u);
    EXPECT_EQ(set.Summary().lastEnd, 0u);
    ExpectSame(a, a);
}

TEST(Compare, EdgeCases)
{
    struct Case {
        const char* name;
        Bytes a;
        Bytes b;
    };
    const Bytes ten = FromText("0123456789");
    const Case cases[] = {
        {"prefixOfLonger", ten, FromText("0123456789ABCDEF")},
        {"lastCommonByteDiffers", FromText("012345678X"), FromText("0123456789ABCDEF")},
        {"emptyAgainstData", {}, FromText("0123456789ABCDEF")},
        {"bothEmpty", {}, {}},
        {"twoRanges", ten, FromText("01234X6X89")},
        {"lastPosition", ten, FromText("012345678X")},
        {"oneByte", FromText("a"), FromText("b")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSame(c.a, c.b);
        ExpectSame(c.b, c.a);
    }
    DiffSet set;
    ASSERT_TRUE(set.Compare(ten.data(), 10, FromText("01234X6X89").data(), 10));
    EXPECT_EQ(set.Summary().first, 5u);
    EXPECT_EQ(set.Summary().firstEnd, 6u);
    EXPECT_EQ(set.Summary().last, 7u);
    EXPECT_EQ(set.Summary().lastEnd, 8u);
    const Bytes longer = FromText("012345678X______");
    ASSERT_TRUE(set.Compare(ten.data(), 10, longer.data(), 16));
    EXPECT_EQ(set.Summary().rangeCount, 1u);
    EXPECT_EQ(set.Summary().first, 9u);
    EXPECT_EQ(set.Summary().lastEnd, 16u);
}

// Random fixtures under a fixed seed: none, sparse, dense and blocky
// differences, odd and unequal lengths.
TEST(Compare, RandomFixturesMatchTheByteLoop)
{
    std::mt19937_64 rng(20240517);
    const std::size_t lengths[] = {1, 63, 64, 65, 127, 4095, 4096, 4097, 70001, 262147};
    for (const std::size_t len : lengths) {
        for (int kind = 0; kind < 4; ++kind) {
            SCOPED_TRACE("length " + std::to_string(len) + " kind " + std::to_string(kind));
            Bytes a(len);
            for (auto& x : a) x = static_cast<std::uint8_t>(rng());
            Bytes b = a;
            if (kind == 1) {
                for (int k = 0; k < 5; ++k) b[rng() % len] ^= 0x10;
            } else if (kind == 2) {
                for (auto& x : b) x = static_cast<std::uint8_t>(rng() & 3);
            } else if (kind == 3) {
                for (std::size_t i = 0; i < len; ++i)
                    if ((i / 300) % 2 == 1) b[i] = static_cast<std::uint8_t>(~b[i]);
            }
            ExpectSame(a, b);
            Bytes shorter(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(len - len / 3));
            ExpectSame(a, shorter);
            ExpectSame(shorter, a);
        }
    }
}

TEST(Compare, KernelsAgreeWithEachOther)
{
    std::mt19937_64 rng(7);
    Bytes a(64 * 37);
    Bytes b(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        a[i] = static_cast<std::uint8_t>(rng());
        b[i] = (rng() % 3 == 0) ? static_cast<std::uint8_t>(rng()) : a[i];
    }
    std::vector<std::uint64_t> sse(37);
    std::vector<std::uint64_t> naive(37);
    const std::uint64_t anySse = CompareWordsSse2(a.data(), b.data(), sse.data(), 37);
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) naive[i / 64] |= std::uint64_t{1} << (i % 64);
    EXPECT_EQ(sse, naive);
    std::uint64_t any = 0;
    for (auto w : naive) any |= w;
    EXPECT_EQ(anySse, any);
    if (!CpuHasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    std::vector<std::uint64_t> avx(37);
    EXPECT_EQ(CompareWordsAvx2(a.data(), b.data(), avx.data(), 37), any);
    EXPECT_EQ(avx, naive);
}

TEST(Compare, BucketScaleAt64MiAndAbove)
{
    std::uint32_t num = 0;
    std::uint32_t den = 0;
    OverviewScale(0, num, den);
    EXPECT_EQ(num, 32u);
    EXPECT_EQ(den, 1u);
    OverviewScale(67108863u, num, den);
    EXPECT_EQ(num, 32u);
    EXPECT_EQ(den, 1048576u);
    OverviewScale(67108864u, num, den);
    EXPECT_EQ(num, 1u);
    EXPECT_EQ(den, 32768u);
    OverviewScale(0xFFFFFFFFu, num, den);
    EXPECT_EQ(den, 2097152u);
}

TEST(Compare, LargeImageBucketsSpreadToTheLastBucket)
{
    // An empty image against 64 Mi + 1 positions is cheap: only the tail differs,
    // and every bucket from 0 to 2,047 is reached.
    const std::uint32_t n = 67108865u;
    std::vector<std::uint8_t> big(n, 0);
    DiffSet set;
    ASSERT_TRUE(set.Compare(nullptr, 0, big.data(), n));
    EXPECT_EQ(set.Summary().rangeCount, 1u);
    EXPECT_EQ(set.Summary().lastEnd, n);
    EXPECT_EQ(set.Summary().differing, n);
    EXPECT_EQ(set.BucketOf(n - 1), 2047);
    for (int b = 0; b < kOverviewBuckets; ++b) ASSERT_TRUE(set.BucketSet(b)) << b;
    // One difference near the end lands in the last bucket only.
    std::vector<std::uint8_t> other = big;
    other[n - 2] = 1;
    ASSERT_TRUE(set.Compare(big.data(), n, other.data(), n));
    EXPECT_EQ(set.Summary().first, n - 2);
    for (int b = 0; b < kOverviewBuckets; ++b) ASSERT_EQ(set.BucketSet(b), b == 2047) << b;
}

TEST(Compare, CountingInTwoHalvesJoinsRangesAcrossTheSplit)
{
    // Large enough to be counted in two halves; the split lies at half.
    const std::uint32_t m = (64u << 20) + 4160;
    const std::uint32_t half = (m / 2) & ~63u;
    struct Case {
        const char* name;
        std::vector<std::uint32_t> differ;
    };
    const Case cases[] = {
        {"acrossTheSplit", {half - 2, half - 1, half, half + 1}},
        {"endsBeforeTheSplit", {half - 1}},
        {"startsAtTheSplit", {half, half + 1, 5, m - 1}},
        {"bothSidesApart", {half - 1, half + 1}},
    };
    std::vector<std::uint8_t> a(m + 100, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> b(m, 0);
        for (auto i : c.differ) b[i] = 1;
        DiffSet set;
        ASSERT_TRUE(set.Compare(a.data(), m + 100, b.data(), m));
        const DiffCounts counts = CountDifferences(a.data(), m + 100, b.data(), m);
        EXPECT_EQ(counts.rangeCount, set.Summary().rangeCount);
        EXPECT_EQ(counts.differing, set.Summary().differing);
        EXPECT_EQ(counts.differing, c.differ.size() + 100);
    }
}

TEST(BitSearch, FindNextSetAndClear)
{
    // Bits 3, 4 and 70..199 of N = 200.
    std::vector<std::uint8_t> bits((200 + 71) / 8, 0);
    auto set = [&](unsigned i) { bits[i / 8] |= static_cast<std::uint8_t>(1 << (i % 8)); };
    set(3);
    set(4);
    for (unsigned i = 70; i < 200; ++i) set(i);
    const std::uint8_t* p = bits.data();
    EXPECT_EQ(FindNextSet(p, 200, 0), 3u);
    EXPECT_EQ(FindNextSet(p, 200, 4), 4u);
    EXPECT_EQ(FindNextSet(p, 200, 5), 70u);
    EXPECT_EQ(FindNextSet(p, 200, 199), 199u);
    EXPECT_EQ(FindNextSet(p, 200, 200), 200u);
    EXPECT_EQ(FindNextSet(p, 200, 0xFFFFFFFFu), 200u);
    EXPECT_EQ(FindNextSet(p, 60, 5), 60u);
    EXPECT_EQ(FindNextClear(p, 200, 3), 5u);
    EXPECT_EQ(FindNextClear(p, 200, 70), 200u); // all-set tail
    EXPECT_EQ(FindNextClear(p, 200, 200), 200u);
    EXPECT_EQ(FindNextClear(p, 200, 0), 0u);
    EXPECT_TRUE(TestBit(p, 3));
    EXPECT_FALSE(TestBit(p, 5));
    // Read as 32-bit words, bit i is bit (i mod 32) of word (i div 32).
    std::uint32_t word2;
    std::memcpy(&word2, p + 8, 4);
    EXPECT_EQ(word2, 0xFFFFFFC0u); // bits 70..95
}

} // namespace
} // namespace dualvex
