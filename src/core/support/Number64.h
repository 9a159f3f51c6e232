// 64-bit number reading and writing, the wide counterparts of ParseNumber and
// FormatNumber. The flags and radix notations are those of ParseNumber (radix mode 0:
// C-like prefixes; mode 252: the evaluator's suffixes and based prefixes).
#pragma once

#include <cstdint>

namespace dualvex {

// Arithmetic wraps at 64 bits; a text without digits gives 0 with *end behind the
// skipped blanks and minus sign only, so a caller can tell it from a number.
std::uint64_t ParseNumber64(const char* text, std::uint32_t flags, int* end = nullptr);
// Takes FormatNumber's flags: styles 0 signed decimal, 1 "0x" hexadecimal, 2 "0b" binary,
// 3 "0o" octal, 4-6 suffixes "h", "b", "o", 7-10 "16#", "2#", "8#", "10#"; 0x8000 radix in
// bits 0-7; width in bits 8-13; 0x4000 width is the maximum; 0x10000 pad with spaces.
// Writes at most 66 characters plus the terminator.
int FormatNumber64(std::uint64_t value, char* dest, std::uint32_t style);

} // namespace dualvex
