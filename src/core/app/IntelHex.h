// Intel-HEX reader: decodes record types 0 (data), 2 (extended segment address)
// and 4 (extended linear address) into a memory image that starts at address 0
// with 0xFF in every gap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/app/MemoryImage.h"

namespace dualvex {

// Lines that were not sound records: a wrong checksum, fewer or more bytes than
// the byte count, junk or binary garbage, data beyond the last address of an image.
// They are used as far as they can be (existing files rely on that), but counted.
struct IntelHexDefects {
    std::uint64_t count = 0;
    std::uint64_t firstLine = 0; // 1-based; 0 when count is 0
};

// Decodes hex text held in memory. CR, LF and CR LF each end a line. Data lying at
// or beyond limit (at most kMaxImageLength) is dropped and counted as a defect.
// False only when the image memory cannot be had.
[[nodiscard]] bool DecodeIntelHex(const char* text, std::size_t size, MemoryImage& out,
                                  std::uint64_t limit = kMaxImageLength, IntelHexDefects* defects = nullptr);

// Reads and decodes a hex file. Special files are refused unopened.
[[nodiscard]] LoadStatus ReadIntelHex(const std::string& path, MemoryImage& out,
                                      IntelHexDefects* defects = nullptr);

// The German warning about a file's bad lines, naming the count and the first;
// empty when there were none.
std::string IntelHexWarning(const std::string& path, const IntelHexDefects& defects);

} // namespace dualvex
