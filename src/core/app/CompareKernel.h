// The inner loop of the comparison: 64 bytes of each image become one 64-bit
// word of difference bits (bit j set when byte j differs), exactly the layout
// that a byte compare plus movemask yields.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dualvex {

// Compares count * 64 bytes and writes count words; returns the OR of them.
using CompareWordsFn = std::uint64_t (*)(const std::uint8_t* a, const std::uint8_t* b, std::uint64_t* words,
                                         std::size_t count);

std::uint64_t CompareWordsSse2(const std::uint8_t* a, const std::uint8_t* b, std::uint64_t* words,
                               std::size_t count);
std::uint64_t CompareWordsAvx2(const std::uint8_t* a, const std::uint8_t* b, std::uint64_t* words,
                               std::size_t count);

bool CpuHasAvx2();
// The fastest variant this processor runs.
CompareWordsFn SelectCompareWords();

// Copies count words to dest (16-byte aligned) past the caches: the bit set is
// written once and read much later, so it should not evict the images.
void StreamWords(std::uint8_t* dest, const std::uint64_t* words, std::size_t count);
void StreamFence();

} // namespace dualvex
