#include "core/tools/SearchSettings.h"

#include "core/support/CSettingsKey.h"

namespace dualvex {

void LoadSearchSettings(SearchState& state)
{
    if (state.history.Count() > 0 || state.groupList.Count() > 0) return;
    CSettingsKey key;
    if (!key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeRead)) return;
    std::vector<std::string> history;
    std::vector<std::string> group;
    (void)key.ReadList(history, "HexFind");
    (void)key.ReadList(group, "HexGroup");
    std::uint32_t flags = state.flags;
    if (key.ReadInt(flags, "HexFindFlags")) state.flags = flags & kFindStoredBits;
    state.AdoptStoredLists(TextList(std::move(history)), TextList(std::move(group)));
}

bool SaveSearchSettings(const SearchState& state)
{
    CSettingsKey key;
    if (!key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeCreate)) return false;
    bool ok = key.WriteList(state.history.Items(), "HexFind");
    ok = key.WriteList(state.groupList.Items(), "HexGroup") && ok;
    return key.WriteInt(state.flags & kFindStoredBits, "HexFindFlags") && ok;
}

} // namespace dualvex
