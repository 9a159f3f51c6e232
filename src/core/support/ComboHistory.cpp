#include "core/support/ComboHistory.h"

#include <algorithm>

#include "core/support/CSettingsKey.h"

namespace dualvex {

std::string HistoryKeyPath(std::string_view keyPath)
{
    if (keyPath.empty() || keyPath[0] != '#') return std::string(keyPath);
    return CSettingsKey::ApplicationKeyPath(keyPath.substr(1));
}

std::string CurrentHistoryText(std::string_view editText, const std::vector<std::string>& items, int selected)
{
    if (!editText.empty() || selected < 0 || static_cast<std::size_t>(selected) >= items.size())
        return std::string(editText);
    return items[static_cast<std::size_t>(selected)];
}

std::vector<std::string> BuildHistory(std::string_view current, const std::vector<std::string>& items)
{
    std::vector<std::string> history;
    if (current.empty()) return history;
    history.emplace_back(current);
    for (const std::string& item : items) {
        if (history.size() == kHistoryMaxEntries) break;
        if (!item.empty() && item != current) history.push_back(item);
    }
    return history;
}

std::vector<std::string> LoadHistory(const char* valueName, std::string_view keyPath)
{
    std::vector<std::string> entries;
    CSettingsKey key;
    const std::string path = HistoryKeyPath(keyPath);
    if (!key.Open(SettingsRoot::CurrentUser, path.c_str(), CSettingsKey::kModeRead) ||
        !key.ReadList(entries, valueName))
        return {};
    for (std::string& entry : entries)
        if (entry.size() > kHistoryMaxEntryLength) entry.resize(kHistoryMaxEntryLength);
    return entries;
}

std::size_t SaveHistory(const std::vector<std::string>& history, const char* valueName,
                        std::string_view keyPath)
{
    if (history.empty() || history.front().empty()) return 0;
    CSettingsKey key;
    const std::string path = HistoryKeyPath(keyPath);
    if (!key.Open(SettingsRoot::CurrentUser, path.c_str(), CSettingsKey::kModeCreate) ||
        !key.WriteList(history, valueName))
        return 0;
    return static_cast<std::size_t>(std::count_if(history.begin(), history.end(),
                                                  [](const std::string& entry) { return !entry.empty(); }));
}

} // namespace dualvex
