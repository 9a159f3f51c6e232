// The simple checksums of the checksum dialog: sum, negated sum and exclusive or
// over bytes, 16-bit words and 32-bit double words, words in both byte orders.
#pragma once

#include "core/support/WorkObserver.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace dualvex {

struct ChecksumTriple {
    std::uint32_t sum = 0;
    std::uint32_t negated = 0; // 0 - sum
    std::uint32_t xorValue = 0;
};

struct Checksums {
    ChecksumTriple bytes;
    ChecksumTriple wordsLittle;
    ChecksumTriple wordsBig;
    ChecksumTriple dwordsLittle;
    ChecksumTriple dwordsBig;
};

// Without a selection only the first 1 MiB of the data is summed.
inline constexpr std::size_t kChecksumDefaultLimit = 0x100000;

// The input of the dialog: the selection between its two ends (both included,
// clipped to the data), or the start of the data without one.
struct SelectionEnds {
    std::int64_t anchor = 0;
    std::int64_t end = 0;
};
[[nodiscard]] std::span<const std::uint8_t> ChecksumInput(std::span<const std::uint8_t> data,
                                                          std::optional<SelectionEnds> selection);

// A trailing partial word or double word is completed with zero bytes.
[[nodiscard]] Checksums ComputeChecksums(std::span<const std::uint8_t> input);
// The same, chunk by chunk for a worker thread; nullopt when the observer stopped it.
[[nodiscard]] std::optional<Checksums> ComputeChecksums(std::span<const std::uint8_t> input,
                                                        const WorkObserver& observer);

// The nine field texts, row by row (byte, word, double word), each row as sum,
// negated sum, xor; the word rows in the chosen byte order.
[[nodiscard]] std::array<std::string, 9> ChecksumTexts(const Checksums& sums, bool bigEndian);

} // namespace dualvex
