#include "app/DiffSet.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "app/CompareKernel.h"

namespace dualvex {
namespace {

constexpr std::size_t kBlockWords = 64; // 4 KiB of each image per block
constexpr std::uint8_t kZeroByte = 0;

std::uint64_t CeilDiv(std::uint64_t a, std::uint64_t b)
{
    return (a + b - 1) / b;
}

// Gathers ranges, set bits and overview buckets from difference words in
// position order. Only words with a set bit cost anything, and the bucket of a
// word is found by comparing with the cached bounds of the last bucket, so a
// division happens once per bucket touched, not once per differing byte.
class DiffScanner {
  public:
    DiffScanner(DiffSummary& summary, bool withBuckets) : m_summary(summary), m_withBuckets(withBuckets) {}

    void Feed(const std::uint64_t* words, std::size_t count, std::uint64_t base)
    {
        for (std::size_t k = 0; k < count; ++k, base += 64) {
            const std::uint64_t w = words[k];
            if (w == 0) {
                m_carry = 0;
                continue;
            }
            const std::uint64_t starts = w & ~((w << 1) | m_carry);
            m_carry = w >> 63;
            if (starts != 0) {
                if (m_ranges == 0)
                    m_summary.first = static_cast<ImageLength>(base + std::countr_zero(starts));
                m_summary.last = static_cast<ImageLength>(base + 63 - std::countl_zero(starts));
                m_ranges += static_cast<std::uint64_t>(std::popcount(starts));
            }
            m_differing += static_cast<std::uint64_t>(std::popcount(w));
            if (m_withBuckets) MarkBuckets(w, base);
        }
    }

    void NoDifferences() { m_carry = 0; }

    // The surplus tail [from, to) of the longer image, all different;
    // lastBitSet tells whether position from - 1 differed.
    void Tail(std::uint64_t from, std::uint64_t to, bool lastBitSet)
    {
        if (from >= to) return;
        if (!lastBitSet) {
            if (m_ranges == 0) m_summary.first = static_cast<ImageLength>(from);
            m_summary.last = static_cast<ImageLength>(from);
            ++m_ranges;
        }
        m_differing += to - from;
        if (!m_withBuckets) return;
        // With fewer positions than buckets, some buckets belong to no position.
        if (m_summary.scaleDenominator < m_summary.scaleNumerator) {
            for (std::uint64_t pos = from; pos < to; ++pos)
                SetBucket(BucketOf(pos));
            return;
        }
        const int lastBucket = BucketOf(to - 1);
        for (int b = BucketOf(from); b <= lastBucket; ++b)
            SetBucket(b);
    }

    void Finish()
    {
        m_summary.rangeCount = static_cast<ImageLength>(m_ranges);
        m_summary.differing = static_cast<ImageLength>(m_differing);
    }

  private:
    int BucketOf(std::uint64_t pos) const
    {
        const std::uint64_t b = pos * m_summary.scaleNumerator / m_summary.scaleDenominator;
        return static_cast<int>(std::min<std::uint64_t>(b, kOverviewBuckets - 1));
    }

    void SetBucket(int b) { m_summary.buckets[b >> 3] |= static_cast<std::uint8_t>(1u << (b & 7)); }

    void MarkBuckets(std::uint64_t w, std::uint64_t base)
    {
        while (w != 0) {
            const std::uint64_t pos = base + std::countr_zero(w);
            if (pos < m_low || pos >= m_high) Locate(pos);
            SetBucket(m_bucket);
            if (m_high - base >= 64) return;
            w &= ~std::uint64_t{0} << (m_high - base);
        }
    }

    void Locate(std::uint64_t pos)
    {
        const std::uint64_t num = m_summary.scaleNumerator;
        const std::uint64_t den = m_summary.scaleDenominator;
        m_bucket = BucketOf(pos);
        m_low = CeilDiv(m_bucket * den, num);
        m_high = m_bucket == kOverviewBuckets - 1 ? std::numeric_limits<std::uint64_t>::max()
                                                  : CeilDiv((m_bucket + 1) * den, num);
    }

    DiffSummary& m_summary;
    bool m_withBuckets;
    std::uint64_t m_carry = 0;
    std::uint64_t m_ranges = 0;
    std::uint64_t m_differing = 0;
    std::uint64_t m_low = 1; // cached bounds of m_bucket; empty at first
    std::uint64_t m_high = 0;
    std::uint64_t m_bucket = 0;
};

// Sets bits [from, to) of a bit set.
void FillOnes(std::uint8_t* bits, std::uint64_t from, std::uint64_t to)
{
    for (; from < to && (from & 7) != 0; ++from)
        bits[from >> 3] |= static_cast<std::uint8_t>(1u << (from & 7));
    const std::uint64_t fullEnd = to & ~std::uint64_t{7};
    if (from < fullEnd) {
        std::memset(bits + (from >> 3), 0xFF, (fullEnd - from) >> 3);
        from = fullEnd;
    }
    for (; from < to; ++from)
        bits[from >> 3] |= static_cast<std::uint8_t>(1u << (from & 7));
}

// One pass over the common length m. Writes the difference words to bits when
// given (blocks without a difference are skipped: the set starts zeroed and its
// untouched pages are never even faulted in). Returns whether position m - 1
// differed.
bool ComparePass(const std::uint8_t* a, const std::uint8_t* b, std::uint64_t m, std::uint8_t* bits,
                 DiffScanner& scanner)
{
    const CompareWordsFn compare = SelectCompareWords();
    alignas(64) std::uint64_t words[kBlockWords];
    const std::uint64_t fullWords = m / 64;
    std::uint64_t lastWord = 0;
    for (std::uint64_t w = 0; w < fullWords; w += kBlockWords) {
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBlockWords, fullWords - w));
        const std::uint64_t any = compare(a + 64 * w, b + 64 * w, words, count);
        lastWord = words[count - 1];
        if (any == 0) {
            scanner.NoDifferences();
            continue;
        }
        if (bits != nullptr) StreamWords(bits + 8 * w, words, count);
        scanner.Feed(words, count, 64 * w);
    }
    if (bits != nullptr) StreamFence();
    const std::uint64_t rest = m % 64;
    if (rest == 0) return m != 0 && (lastWord >> 63) != 0;
    // The last partial word: both fragments padded with the same zeros compare
    // equal past their end, so no byte loop is needed.
    alignas(64) std::uint8_t padA[64] = {};
    alignas(64) std::uint8_t padB[64] = {};
    std::memcpy(padA, a + 64 * fullWords, rest);
    std::memcpy(padB, b + 64 * fullWords, rest);
    std::uint64_t word = 0;
    compare(padA, padB, &word, 1);
    if (bits != nullptr && word != 0) std::memcpy(bits + 8 * fullWords, &word, sizeof word);
    scanner.Feed(&word, 1, 64 * fullWords);
    return ((word >> (rest - 1)) & 1) != 0;
}

std::uint64_t LoadWord(const std::uint8_t* bits, std::uint64_t index)
{
    std::uint64_t w;
    std::memcpy(&w, bits + 8 * index, sizeof w);
    return w;
}

template <bool kClear> ImageLength FindNext(const std::uint8_t* bits, ImageLength n, ImageLength start)
{
    if (start >= n) return n;
    std::uint64_t index = start / 64;
    std::uint64_t w = LoadWord(bits, index);
    if constexpr (kClear) w = ~w;
    w &= ~std::uint64_t{0} << (start % 64);
    while (w == 0) {
        ++index;
        if (index * 64 >= n) return n;
        w = LoadWord(bits, index);
        if constexpr (kClear) w = ~w;
    }
    return static_cast<ImageLength>(std::min<std::uint64_t>(index * 64 + std::countr_zero(w), n));
}

} // namespace

void OverviewScale(ImageLength n, std::uint32_t& numerator, std::uint32_t& denominator)
{
    std::uint64_t den = CeilDiv(n, 64);
    numerator = 32;
    if (n >= 67108864u) {
        numerator = 1;
        den /= 32;
    }
    denominator = static_cast<std::uint32_t>(std::max<std::uint64_t>(den, 1));
}

bool DiffSet::Compare(const std::uint8_t* a, ImageLength lengthA, const std::uint8_t* b, ImageLength lengthB)
{
    m_bits.Release();
    m_summary = DiffSummary();
    const ImageLength n = std::max(lengthA, lengthB);
    const ImageLength m = std::min(lengthA, lengthB);
    if (!m_bits.Allocate((std::size_t{n} + 71) / 8, false)) return false;
    m_summary.bitCount = n;
    OverviewScale(n, m_summary.scaleNumerator, m_summary.scaleDenominator);
    DiffScanner scanner(m_summary, true);
    const bool lastBitSet = ComparePass(a, b, m, m_bits.Data(), scanner);
    if (m < n) FillOnes(m_bits.Data(), m, n);
    scanner.Tail(m, n, lastBitSet);
    scanner.Finish();
    if (m_summary.rangeCount > 0) {
        m_summary.firstEnd = FindNextClear(m_bits.Data(), n, m_summary.first);
        m_summary.lastEnd = FindNextClear(m_bits.Data(), n, m_summary.last);
    }
    return true;
}

bool DiffSet::Compare(const MemoryImage& a, const MemoryImage& b)
{
    return Compare(a.Data(), a.Length(), b.Data(), b.Length());
}

const std::uint8_t* DiffSet::Bits() const
{
    return m_bits.Data() != nullptr ? m_bits.Data() : &kZeroByte;
}

int DiffSet::BucketOf(ImageLength position) const
{
    const std::uint64_t b = std::uint64_t{position} * m_summary.scaleNumerator / m_summary.scaleDenominator;
    return static_cast<int>(std::min<std::uint64_t>(b, kOverviewBuckets - 1));
}

bool DiffSet::BucketSet(int bucket) const
{
    if (bucket < 0 || bucket >= kOverviewBuckets) return false;
    return ((m_summary.buckets[bucket >> 3] >> (bucket & 7)) & 1) != 0;
}

ImageLength FindNextSet(const std::uint8_t* bits, ImageLength n, ImageLength start)
{
    return FindNext<false>(bits, n, start);
}

ImageLength FindNextClear(const std::uint8_t* bits, ImageLength n, ImageLength start)
{
    return FindNext<true>(bits, n, start);
}

bool TestBit(const std::uint8_t* bits, ImageLength i)
{
    return ((bits[i >> 3] >> (i & 7)) & 1) != 0;
}

DiffCounts CountDifferences(const std::uint8_t* a, ImageLength lengthA, const std::uint8_t* b,
                            ImageLength lengthB)
{
    DiffSummary summary;
    DiffScanner scanner(summary, false);
    const ImageLength n = std::max(lengthA, lengthB);
    const ImageLength m = std::min(lengthA, lengthB);
    const bool lastBitSet = ComparePass(a, b, m, nullptr, scanner);
    scanner.Tail(m, n, lastBitSet);
    scanner.Finish();
    return {summary.rangeCount, summary.differing};
}

} // namespace dualvex
