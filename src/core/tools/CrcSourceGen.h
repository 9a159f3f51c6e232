// C source text that reproduces one algorithm of the CRC calculator: a type, the
// lookup table with the calculator's own values, CrcCalc() running the algorithm from
// the start value, and CrcGenerateTable() that rebuilds the table from the polynomial.
#pragma once

#include "core/tools/CrcEngine.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace dualvex {

// Entries of the "Source :" list.
enum class CrcAlgorithm { None = 0, A = 1, B = 2, C = 3 };

struct CrcSourceInput {
    CrcAlgorithm algorithm = CrcAlgorithm::None;
    unsigned width = kCrcDefaultWidth; // 1..64
    const CrcTable* table = nullptr;   // the table of that algorithm
    std::uint64_t start = 0;
    std::uint64_t normal = 0;
    std::uint64_t reflected = 0;
};

// The source field holds at most this many characters.
constexpr std::size_t kCrcSourceLimit = 65536;

// Lines end in CR LF, the last one without. Empty for CrcAlgorithm::None or without a
// table; never longer than kCrcSourceLimit.
std::string GenerateCrcSource(const CrcSourceInput& input);

} // namespace dualvex
