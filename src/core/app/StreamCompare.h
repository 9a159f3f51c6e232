// Compares two sources of any length in parts of kPortionBytes, on several
// threads, in constant memory: each part is read in chunks and compared with
// the vectorised kernel, and the results are handed on strictly in position
// order, so a caller can count or print as if one thread had walked the files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "core/app/CompareSource.h"

namespace dualvex {

// What one part of the common length holds.
struct PortionResult {
    std::uint64_t base = 0; // position of the part's first byte
    std::uint64_t length = 0;
    std::uint64_t ranges = 0; // maximal runs of differing bytes inside the part
    std::uint64_t differing = 0;
    bool firstSet = false; // position base differs
    bool lastSet = false;  // position base + length - 1 differs
    // With difference bits asked for and differing > 0: bit i (bit i mod 8 of
    // byte i div 8) stands for position base + i; valid during the hand-over only.
    const std::uint8_t* bits = nullptr;
};

struct StreamFailure {
    int side = 0; // 0 none, 1 or 2 for the source that failed
    ReadStatus status = ReadStatus::Ok;
    int error = 0;
    bool noMemory = false;

    bool Failed() const { return side != 0 || noMemory; }
};

class StreamCompare {
  public:
    static constexpr std::uint64_t kPortionBytes = std::uint64_t{2} << 20;
    static constexpr std::size_t kChunkBytes = std::size_t{128} << 10;

    // threads is clamped to 1 … kMaxThreads; withBits hands out difference bits.
    // Tests choose small parts to cross many borders: chunkBytes must be a
    // multiple of 128 and portionBytes a multiple of chunkBytes.
    StreamCompare(const CompareSource& a, const CompareSource& b, unsigned threads, bool withBits,
                  std::uint64_t portionBytes = kPortionBytes, std::size_t chunkBytes = kChunkBytes);

    // Called on the calling thread for each part in position order; false stops.
    using Consumer = std::function<bool(const PortionResult&)>;

    // Compares the common length from position from (a multiple of the part
    // length) to its end.
    [[nodiscard]] StreamFailure Run(std::uint64_t from, const Consumer& consume) const;

    std::uint64_t CommonLength() const { return m_common; }

    // Calls f(start, end) for every run of set bits in the part, in order.
    static void ForEachRange(const PortionResult& part,
                             const std::function<void(std::uint64_t, std::uint64_t)>& f);

  private:
    const CompareSource& m_a;
    const CompareSource& m_b;
    unsigned m_threads;
    bool m_withBits;
    std::uint64_t m_portion;
    std::size_t m_chunk;
    std::uint64_t m_common;
};

} // namespace dualvex
