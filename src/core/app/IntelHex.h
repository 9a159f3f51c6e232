// Intel-HEX reader: decodes record types 0 (data), 2 (extended segment address)
// and 4 (extended linear address) into a memory image that starts at address 0
// with 0xFF in every gap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/app/MemoryImage.h"

namespace dualvex {

// Decodes hex text held in memory. Data lying at or beyond limit (at most
// kMaxImageLength) is dropped. False only when the image memory cannot be had;
// malformed lines are skipped or cut, never reported.
[[nodiscard]] bool DecodeIntelHex(const char* text, std::size_t size, MemoryImage& out,
                                  std::uint64_t limit = kMaxImageLength);

// Reads and decodes a hex file. Special files are refused unopened.
[[nodiscard]] LoadStatus ReadIntelHex(const std::string& path, MemoryImage& out);

} // namespace dualvex
