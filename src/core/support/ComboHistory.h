// History lists of combo boxes, kept as text lists in the settings store: the most
// recent entry first, no empty entry, no repeat of the first, at most 16 entries.
// The window side fills and reads the combo box; these functions decide the list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dualvex {

constexpr std::size_t kHistoryMaxEntries = 16;
constexpr std::size_t kHistoryMaxEntryLength = 255;

// A key path beginning with "#" names a sub-key of the application key ("#" alone
// the application key itself); any other path is used as it is, below the
// current-user root.
std::string HistoryKeyPath(std::string_view keyPath);

// The text a save puts first: the edit text, or the selected item's text when the
// edit text is empty (selected < 0: no item selected).
std::string CurrentHistoryText(std::string_view editText, const std::vector<std::string>& items,
                               int selected);

// The list a save writes: current, then every non-empty item that differs from it,
// in order, up to 16 entries. Empty when current is empty.
std::vector<std::string> BuildHistory(std::string_view current, const std::vector<std::string>& items);

// The stored entries for the drop-down, each cut to 255 characters; empty when the
// key or value is missing.
std::vector<std::string> LoadHistory(const char* valueName, std::string_view keyPath);

// Stores history (as built by BuildHistory) and returns the number of entries
// written; 0 when the list is empty or the store refused it.
std::size_t SaveHistory(const std::vector<std::string>& history, const char* valueName,
                        std::string_view keyPath);

} // namespace dualvex
