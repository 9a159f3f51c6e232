// Reading a short hex dump (":01 02 03") into a fixed number of bytes, as the number
// input and the float converter accept it in their fields.
#pragma once

#include <cstdint>

namespace dualvex {

// After blanks, an optional ":", then bytes of one or two hexadecimal digits separated
// by blanks or tabs; a longer run of digits is read in pairs (123 gives 12 03). Stops at
// any other character or after max bytes; returns the number of bytes stored.
int ReadDumpBytes(const char* text, std::uint8_t* out, int max);

} // namespace dualvex
