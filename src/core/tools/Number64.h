// 64-bit number reading and writing, the wide counterparts of ParseNumber and
// FormatNumber. The flags and radix notations are those of ParseNumber (radix mode 0:
// C-like prefixes; mode 252: the evaluator's suffixes and based prefixes).
#pragma once

#include <cstdint>

namespace dualvex {

std::uint64_t ParseNumber64(const char* text, std::uint32_t flags, int* end = nullptr);
// Styles: 0 signed decimal, 1 "0x" hexadecimal, 2 "0b" binary, 3 "0o" octal; writes
// at most 66 characters plus the terminator.
int FormatNumber64(std::uint64_t value, char* dest, std::uint32_t style);

}  // namespace dualvex
