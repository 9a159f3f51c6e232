// The comparison pass: 64 bytes of each image become one 64-bit word of
// difference bits (bit j set when byte j differs), exactly the layout that a
// byte compare plus movemask yields. Two builds of the pass exist, for the SSE2
// baseline and for AVX2, chosen at run time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dualvex {

class DiffScanner;

// Compares count * 64 bytes into count words; returns the OR of them.
std::uint64_t CompareWordsSse2(const std::uint8_t* a, const std::uint8_t* b, std::uint64_t* words,
                               std::size_t count);
std::uint64_t CompareWordsAvx2(const std::uint8_t* a, const std::uint8_t* b, std::uint64_t* words,
                               std::size_t count);
bool CpuHasAvx2();

// One pass over the common length m, feeding every difference word to scanner
// and, when bits is given, writing the words there (16-byte aligned, zeroed
// beforehand: blocks without a difference are skipped, so the pages of an equal
// stretch are never even touched). Returns whether position m - 1 differed.
bool ComparePass(const std::uint8_t* a, const std::uint8_t* b, std::uint64_t m, std::uint8_t* bits,
                 DiffScanner& scanner);

} // namespace dualvex
