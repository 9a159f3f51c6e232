// The decisions of "Cursor setzen" that need no window: the address it offers, how
// the typed text becomes an address, and the pane's history of typed addresses.
#pragma once

#include "core/hexview/HexTypes.h"
#include "core/tools/TextList.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace dualvex {

// The history keeps the newest text and at most 15 older ones, and no more than
// this many bytes in its block form.
inline constexpr std::size_t kGotoHistoryBytes = 2044;

// With a selection, the up to 8 bytes at its start read as a little-endian number,
// raised by the base address when it lies below it (a selected offset then becomes
// an address); otherwise the cursor's address. Shown as "0x" and hex digits.
[[nodiscard]] std::string GotoInitialText(std::optional<std::span<const std::uint8_t>> selectedBytes,
                                          std::uint64_t baseAddress, HexPos cursor);

// The typed text as a 32-bit expression. A text with an error still gives the value
// read up to the error; only a text that yields nothing at all gives no address.
[[nodiscard]] std::optional<std::uint32_t> EvaluateGotoText(std::string_view text);

// The offset an address moves the cursor to: clipped into the data, nothing for
// empty data.
[[nodiscard]] std::optional<HexPos> GotoOffset(std::uint64_t address, std::uint64_t baseAddress,
                                               HexPos length);

void AddGotoHistory(TextList& history, std::string_view text);

} // namespace dualvex
