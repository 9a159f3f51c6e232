#include "core/app/DiffSet.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <stop_token>
#include <thread>

#include "core/app/CompareKernel.h"
#include "core/app/DiffScanner.h"

namespace dualvex {
namespace {

constexpr std::uint8_t kZeroByte = 0;

// Bit sets from this size on get their pages mapped by a helper thread while
// the comparison runs: the kernel clears every fresh page, and for a 1 GiB
// image that costs about a sixth of the comparison itself.
constexpr std::size_t kBackgroundPopulateBytes = std::size_t{16} << 20;
constexpr std::size_t kPopulateChunk = std::size_t{2} << 20;
constexpr std::uint64_t kParallelCountBytes = std::uint64_t{64} << 20;

// Maps the bit set front to back, a chunk at a time, until done or stopped.
class BackgroundPopulate {
  public:
    explicit BackgroundPopulate(const PageMemory& memory)
    {
        if (memory.Size() < kBackgroundPopulateBytes) return;
        m_thread = std::jthread([&memory](std::stop_token stop) {
            for (std::size_t at = 0; at < memory.Size() && !stop.stop_requested(); at += kPopulateChunk)
                if (!memory.Populate(at, kPopulateChunk)) return;
        });
    }

  private:
    std::jthread m_thread; // stopped and joined when the comparison ends
};

std::uint64_t CeilDiv(std::uint64_t a, std::uint64_t b)
{
    return (a + b - 1) / b;
}

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
    for (; from < to; ++from) bits[from >> 3] |= static_cast<std::uint8_t>(1u << (from & 7));
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
    bool lastBitSet = false;
    {
        const BackgroundPopulate populate(m_bits);
        lastBitSet = ComparePass(a, b, m, m_bits.Data(), scanner);
    }
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
    const ImageLength n = std::max(lengthA, lengthB);
    const ImageLength m = std::min(lengthA, lengthB);
    // Large images are counted in two halves at once: mapping the file pages in
    // costs more than comparing them, and both halves fault in their own pages.
    const std::uint64_t half = m >= kParallelCountBytes ? (m / 2) & ~std::uint64_t{63} : 0;
    DiffSummary upper;
    bool lastBitSet = false;
    std::jthread helper;
    if (half != 0) {
        helper = std::jthread([&] {
            DiffScanner scanner(upper, false);
            lastBitSet = ComparePass(a + half, b + half, m - half, nullptr, scanner);
            scanner.Finish();
        });
    }
    DiffSummary lower;
    DiffScanner scanner(lower, false);
    const bool lowerLastBit = ComparePass(a, b, half != 0 ? half : m, nullptr, scanner);
    if (half == 0) {
        lastBitSet = lowerLastBit;
    } else {
        helper.join();
        // A range running across the split was counted once in each half.
        const bool joined = lowerLastBit && a[half] != b[half];
        scanner.Add(upper.rangeCount - (joined ? 1 : 0), upper.differing);
    }
    scanner.Tail(m, n, lastBitSet);
    scanner.Finish();
    return {lower.rangeCount, lower.differing};
}

} // namespace dualvex
