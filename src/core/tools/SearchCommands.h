// The decisions of the search commands and the search dialog that need no window:
// which positions a search scans, how the dialog's texts become the shared state,
// and how a value text changes when its kind is chosen.
#pragma once

#include "core/tools/FindPattern.h"
#include "core/tools/SearchEntry.h"
#include "core/tools/SearchState.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dualvex {

struct Scan {
    HexPos from = 0;
    HexPos count = 0;
    friend bool operator==(const Scan&, const Scan&) = default;
};

// The scan of the search dialog and, when the flags ask to wrap around, the scan of
// the rest of the data that follows when the first one finds nothing.
struct FindScans {
    Scan first;
    std::optional<Scan> rest;
};

// Selection as its lowest and highest index (both included).
struct SelectionRange {
    HexPos first = 0;
    HexPos last = 0;
};

[[nodiscard]] FindScans ScanForFind(std::uint32_t flags, HexPos cursor, HexPos length,
                                    std::optional<SelectionRange> selection);

// The range field of the dialog: string 0 of the group list, 1000 when it is
// missing or below 1.
[[nodiscard]] int GroupRangeWidth(const TextList& groupList);

// Choosing an input kind shows the current value in that kind; an empty text
// becomes the kind's prefix.
[[nodiscard]] std::string RenderInKind(std::string_view text, int byteCount, int newKind);

// What the dialog hands over when it is closed with OK or "Weiter&suchen".
struct SearchDialogResult {
    std::string text;
    std::uint32_t flags = 0;
    int rangeWidth = 1000;
    std::vector<std::string> groupEntries;
    int byteCount = kCountDWord;
};
void CommitSearchDialog(SearchState& state, const SearchDialogResult& result);

// Range search: the selection's first bytes go to the front of the history and
// become the only entry of the active list.
void PrepareRangeSearch(SearchState& state, std::span<const std::uint8_t> selection);

} // namespace dualvex
