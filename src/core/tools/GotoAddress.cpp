#include "core/tools/GotoAddress.h"

#include "core/tools/Evaluator.h"

#include <algorithm>
#include <charconv>

namespace dualvex {

std::string GotoInitialText(std::optional<std::span<const std::uint8_t>> selectedBytes,
                            std::uint64_t baseAddress, HexPos cursor)
{
    std::uint64_t value = baseAddress + static_cast<std::uint64_t>(std::max<HexPos>(cursor, 0));
    if (selectedBytes) {
        const std::size_t n = std::min<std::size_t>(selectedBytes->size(), 8);
        value = 0;
        for (std::size_t i = n; i-- > 0;) value = (value << 8) | (*selectedBytes)[i];
        if (value < baseAddress) value += baseAddress;
    }
    char digits[17] = {};
    const auto end = std::to_chars(digits, digits + 16, value, 16).ptr;
    std::string text = "0x" + std::string(digits, end);
    std::transform(text.begin() + 2, text.end(), text.begin() + 2,
                   [](char c) { return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c; });
    return text;
}

std::optional<std::uint32_t> EvaluateGotoText(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return std::nullopt;
    const std::string copy(text.substr(start));
    std::int32_t value = 0;
    std::uint32_t status = 0;
    const int read = Evaluate(copy.c_str(), &value, &status);
    // A text that fails at its first character names no address at all; moving the
    // cursor to 0 for it would pass a typing mistake off as a jump.
    if (status == 0 && read == 0) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<HexPos> GotoOffset(std::uint64_t address, std::uint64_t baseAddress, HexPos length)
{
    if (length <= 0) return std::nullopt;
    if (address <= baseAddress) return 0;
    const std::uint64_t offset = address - baseAddress;
    const auto last = static_cast<std::uint64_t>(length - 1);
    return static_cast<HexPos>(std::min(offset, last));
}

void AddGotoHistory(TextList& history, std::string_view text)
{
    history.AddToHistory(text, TextList::kHistoryLimit);
    while (history.Count() > 1 && history.BlockSize() > kGotoHistoryBytes)
        history.Remove(history.Count() - 1);
}

} // namespace dualvex
