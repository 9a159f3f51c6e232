// The two status-bar texts of a focused hex view: cursor address with the selection
// length, and the value of the bytes at the cursor or selection.
#pragma once

#include "core/hexview/HexConfigModel.h"
#include "core/hexview/HexTypes.h"

#include <cstdint>
#include <string>

namespace dualvex {

// Status mode ("StatusbarMode") beyond the bits the settings dialog shows: bits 0-1
// give the value size without a selection (byte, word, double word, double word).
inline constexpr std::uint32_t kStatusDefaultMode = 0x1002;

struct StatusInput {
    const std::uint8_t* data = nullptr;
    HexPos length = 0;
    HexPos base = 0;   // address of byte 0
    HexPos cursor = 0; // cursor index
    bool selection = false;
    HexPos anchor = 0; // selection anchor and moving end (indexes)
    HexPos end = 0;
    std::uint32_t mode = kStatusDefaultMode;
};

// " Adr: 0x1F / 31", or with a selection " Adr: 0x1F / M: +3".
std::string StatusAddressText(const StatusInput& in);

// The value at the cursor (or selection start), cut to its size and sign-extended
// unless the mode says unsigned.
std::int64_t StatusValue(const StatusInput& in);

// " Wert: 0xFFFFFEFF / -257".
std::string StatusValueText(std::int64_t value, std::uint32_t mode);

} // namespace dualvex
