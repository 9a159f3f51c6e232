// Table-driven CRC arithmetic of the CRC calculator: bit reversal, the three lookup
// tables, the three byte-wise algorithms, the preset rows and the hex format that
// every CRC value is shown in.
//
// A CRC is described by its width (1..64) and its polynomial, held twice: the normal
// form (x^0 in bit 0, without the x^width term) and the reflected form (the same bits
// mirrored over the width). Algorithm A runs the reflected register (LSB first),
// algorithm B the normal register (MSB first) and algorithm C a register shifted left
// by one per byte, which fits 7-bit CRCs such as the one of SD/MMC cards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace dualvex {

using CrcTable = std::uint64_t[256];

constexpr unsigned kCrcDefaultWidth = 32;
constexpr unsigned kCrcMaxWidth = 64;

// Mirrors the low n bits of value; n = 0 or n > 64 gives 0.
std::uint64_t BitReverse(std::uint64_t value, unsigned n);
// The low width bits set (all 64 for width 64); width must be 1..64.
std::uint64_t CrcMask(unsigned width);
// Width rounded up to a multiple of 8, minus 8: how far algorithm B moves the
// register right to reach its top byte.
unsigned CrcShift(unsigned width);
// 0 becomes the default width, anything above 64 becomes 64.
unsigned ClampCrcWidth(std::uint64_t width);

void BuildTableA(std::uint64_t reflected, CrcTable& table);
void BuildTableB(std::uint64_t normal, unsigned width, CrcTable& table);
void BuildTableC(std::uint64_t normal, unsigned width, CrcTable& table);

// Eight bytes of input folded into the register in one step: register terms for each
// byte of the register and data terms for each of the eight input bytes.
struct CrcSlices {
    std::uint64_t reg[8][256];
    std::uint64_t data[8][256];
    // The upper four register bytes need no look-up when their terms are all zero, or
    // when every term and table entry stays below 2^32 and so does the start: a
    // 32-bit CRC then takes twelve look-ups per eight bytes instead of sixteen.
    bool highTermsZero = false;
    bool staysNarrow = false;
    // When the first four data terms equal the four low register terms in some order
    // (a data byte enters the register by XOR, as in the usual CRCs of 8 to 32 bits),
    // that byte and its register byte share one look-up: foldShift[j] is the position
    // of data byte j's partner in the register, or -1 without folding.
    int foldShift[4] = {-1, -1, -1, -1};
};

// The three tables with the key they were built for, plus the slices that let the
// algorithms take eight bytes per step.
struct CrcTables {
    std::uint64_t reflected = 0;
    unsigned width = 0; // 0: never built
    CrcTable a{};
    CrcTable b{};
    CrcTable c{};
    std::unique_ptr<CrcSlices[]> slices; // for A, B and C

    // Rebuilds everything unless it already belongs to this polynomial and width;
    // returns whether it rebuilt.
    bool Build(std::uint64_t reflectedPolynomial, unsigned crcWidth);
};

// Reflected algorithm over table A; no final mask.
std::uint64_t ComputeA(std::uint64_t start, const std::uint8_t* data, std::size_t length,
                       const CrcTables& tables);
// Normal algorithm over table B; the result is cut to the mask of the width.
std::uint64_t ComputeB(std::uint64_t start, const std::uint8_t* data, std::size_t length,
                       const CrcTables& tables);
// Register shifted left by one per byte, over table C; no final mask.
std::uint64_t ComputeC(std::uint64_t start, const std::uint8_t* data, std::size_t length,
                       const CrcTables& tables);

// One row of the preset list; row 0 ("Frei definiert") carries width 0 and selects
// nothing. Names are UTF-8.
struct CrcPreset {
    const char* name;
    unsigned width;
    std::uint64_t reflected;
};

constexpr int kCrcPresetCount = 19;
const CrcPreset& GetCrcPreset(int index);
// The row that matches width and reflected polynomial (rows searched from the last
// down to 1), or 0 when none does.
int FindCrcPreset(unsigned width, std::uint64_t reflected);

// Number of hex digits of the hex format: (width + 3) / 4.
unsigned CrcHexDigits(unsigned width);
// Writes value as "0x" and at least CrcHexDigits(width) upper-case hex digits into
// dest (destSize bytes, always terminated when destSize >= 1); returns the length.
int FormatCrcHex(std::uint64_t value, unsigned width, char* dest, std::size_t destSize);
// Longest text FormatCrcHex can produce, with its terminator.
constexpr std::size_t kCrcHexSize = 19;

} // namespace dualvex
