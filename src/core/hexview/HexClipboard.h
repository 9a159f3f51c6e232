// Clipboard texts of the hex view: the copy text of a selection and the
// conversion of pasted hex text into bytes.
#pragma once

#include "core/hexview/HexTypes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dualvex {

// The copy text of count bytes: the bytes themselves when copied from the
// character column and none is a control character, else ":" and the bytes
// as upper-case hex pairs separated by single blanks. 8-bit text.
std::string HexCopyText(const std::uint8_t* bytes, HexPos count, bool fromCharColumn);

// Paste as hex: "0x" prefixes, commas, colons, non-breaking spaces and line
// ends count as blanks; the rest is read as hex byte pairs until the first
// other character. At most maxBytes bytes are produced.
std::vector<std::uint8_t> ConvertPasteHex(std::string_view text, HexPos maxBytes);

} // namespace dualvex
