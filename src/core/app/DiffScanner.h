// Gathers ranges, set bits and overview buckets from difference words in
// position order. Used only inside the comparison pass; everything is inline so
// that the pass compiled for a newer processor also gets its bit-count
// instructions here.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "core/app/DiffSet.h"

namespace dualvex {

class DiffScanner {
  public:
    static constexpr std::size_t kMaxWords = 64;

    DiffScanner(DiffSummary& summary, bool withBuckets) : m_summary(summary), m_withBuckets(withBuckets) {}

    // Words of positions [base, base + 64 * count), count <= kMaxWords.
    [[gnu::always_inline]] inline void Feed(const std::uint64_t* words, std::size_t count, std::uint64_t base)
    {
        std::uint64_t starts[kMaxWords];
        std::uint64_t carry = m_carry;
        std::uint64_t ranges = 0;
        std::uint64_t differing = 0;
        for (std::size_t k = 0; k < count; ++k) {
            const std::uint64_t w = words[k];
            starts[k] = w & ~((w << 1) | carry);
            carry = w >> 63;
            ranges += static_cast<std::uint64_t>(std::popcount(starts[k]));
            differing += static_cast<std::uint64_t>(std::popcount(w));
        }
        m_carry = carry;
        if (differing == 0) return;
        if (ranges != 0) NoteRangeStarts(starts, count, base, ranges);
        m_differing += differing;
        if (m_withBuckets) MarkBlockBuckets(words, count, base);
    }

    void NoDifferences() { m_carry = 0; }

    // Counts gathered elsewhere, for a pass split into parts.
    void Add(std::uint64_t ranges, std::uint64_t differing)
    {
        m_ranges += ranges;
        m_differing += differing;
    }

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
            for (std::uint64_t pos = from; pos < to; ++pos) SetBucket(BucketOf(pos));
            return;
        }
        const int lastBucket = BucketOf(to - 1);
        for (int b = BucketOf(from); b <= lastBucket; ++b) SetBucket(b);
    }

    void Finish()
    {
        m_summary.rangeCount = static_cast<ImageLength>(m_ranges);
        m_summary.differing = static_cast<ImageLength>(m_differing);
    }

  private:
    void NoteRangeStarts(const std::uint64_t* starts, std::size_t count, std::uint64_t base,
                         std::uint64_t ranges)
    {
        if (m_ranges == 0) {
            std::size_t k = 0;
            while (starts[k] == 0) ++k;
            m_summary.first = static_cast<ImageLength>(base + 64 * k + std::countr_zero(starts[k]));
        }
        std::size_t k = count - 1;
        while (starts[k] == 0) --k;
        m_summary.last = static_cast<ImageLength>(base + 64 * k + 63 - std::countl_zero(starts[k]));
        m_ranges += ranges;
    }

    int BucketOf(std::uint64_t pos) const
    {
        const std::uint64_t b = pos * m_summary.scaleNumerator / m_summary.scaleDenominator;
        return static_cast<int>(std::min<std::uint64_t>(b, kOverviewBuckets - 1));
    }

    void SetBucket(int b) { m_summary.buckets[b >> 3] |= static_cast<std::uint8_t>(1u << (b & 7)); }

    // A whole block usually lies inside the bucket of the previous difference,
    // so it costs one comparison; otherwise each word is placed on its own, with
    // one division per bucket touched, never one per differing byte.
    void MarkBlockBuckets(const std::uint64_t* words, std::size_t count, std::uint64_t base)
    {
        if (base >= m_low && base + 64 * count <= m_high) {
            SetBucket(static_cast<int>(m_bucket));
            return;
        }
        for (std::size_t k = 0; k < count; ++k)
            if (words[k] != 0) MarkBuckets(words[k], base + 64 * k);
    }

    void MarkBuckets(std::uint64_t w, std::uint64_t base)
    {
        while (w != 0) {
            const std::uint64_t pos = base + std::countr_zero(w);
            if (pos < m_low || pos >= m_high) Locate(pos);
            SetBucket(static_cast<int>(m_bucket));
            if (m_high - base >= 64) return;
            w &= ~std::uint64_t{0} << (m_high - base);
        }
    }

    // Caches the bucket of pos and the positions [m_low, m_high) that share it.
    void Locate(std::uint64_t pos)
    {
        const std::uint64_t num = m_summary.scaleNumerator;
        const std::uint64_t den = m_summary.scaleDenominator;
        m_bucket = static_cast<std::uint64_t>(BucketOf(pos));
        m_low = (m_bucket * den + num - 1) / num;
        m_high = m_bucket == kOverviewBuckets - 1 ? std::numeric_limits<std::uint64_t>::max()
                                                  : ((m_bucket + 1) * den + num - 1) / num;
    }

    DiffSummary& m_summary;
    bool m_withBuckets;
    std::uint64_t m_carry = 0;
    std::uint64_t m_ranges = 0;
    std::uint64_t m_differing = 0;
    std::uint64_t m_low = 1; // bounds of m_bucket; empty until the first difference
    std::uint64_t m_high = 0;
    std::uint64_t m_bucket = 0;
};

} // namespace dualvex
