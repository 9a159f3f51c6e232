// The difference bit set of two images and its summary: one bit per byte
// position of the longer image, set where the images differ and over the
// surplus tail of the longer one. Bit i is bit (i mod 8) of byte (i div 8),
// which read as little-endian 32-bit words is bit (i mod 32) of word (i div 32).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/app/MemoryImage.h"
#include "core/app/PageMemory.h"

namespace dualvex {

constexpr int kOverviewBuckets = 2048;

struct DiffSummary {
    ImageLength bitCount = 0; // N, the longer length
    ImageLength first = 0;    // first range [first, firstEnd)
    ImageLength firstEnd = 0;
    ImageLength last = 0; // last range [last, lastEnd)
    ImageLength lastEnd = 0;
    ImageLength rangeCount = 0;                               // maximal runs of set bits; 0 when equal
    ImageLength differing = 0;                                // number of set bits
    std::array<std::uint8_t, kOverviewBuckets / 8> buckets{}; // bucket b is bit (b mod 8) of byte (b div 8)
    std::uint32_t scaleNumerator = 32;                        // bucket of i = (i * numerator) div denominator
    std::uint32_t scaleDenominator = 1;
};

class DiffSet {
  public:
    DiffSet() = default;
    DiffSet(DiffSet&&) noexcept = default;
    DiffSet& operator=(DiffSet&&) noexcept = default;
    DiffSet(const DiffSet&) = delete;
    DiffSet& operator=(const DiffSet&) = delete;

    // Compares two images in one pass and replaces the set and summary; false
    // (and an empty set) when the bit set memory cannot be had.
    [[nodiscard]] bool Compare(const std::uint8_t* a, ImageLength lengthA, const std::uint8_t* b,
                               ImageLength lengthB);
    [[nodiscard]] bool Compare(const MemoryImage& a, const MemoryImage& b);

    // Never null; valid for StorageBytes() = (N + 71) div 8 bytes.
    const std::uint8_t* Bits() const;
    std::size_t StorageBytes() const { return (std::size_t{m_summary.bitCount} + 71) / 8; }
    const DiffSummary& Summary() const { return m_summary; }
    ImageLength BitCount() const { return m_summary.bitCount; }

    int BucketOf(ImageLength position) const;
    bool BucketSet(int bucket) const;

  private:
    PageMemory m_bits;
    DiffSummary m_summary;
};

// Bit scale of the overview for N positions.
void OverviewScale(ImageLength n, std::uint32_t& numerator, std::uint32_t& denominator);

// Smallest i with start <= i < n whose bit is set (clear), or n when none.
ImageLength FindNextSet(const std::uint8_t* bits, ImageLength n, ImageLength start);
ImageLength FindNextClear(const std::uint8_t* bits, ImageLength n, ImageLength start);
bool TestBit(const std::uint8_t* bits, ImageLength i);

// What a summary prints, computed without building the bit set.
struct DiffCounts {
    ImageLength rangeCount = 0;
    ImageLength differing = 0;
};
DiffCounts CountDifferences(const std::uint8_t* a, ImageLength lengthA, const std::uint8_t* b,
                            ImageLength lengthB);

} // namespace dualvex
