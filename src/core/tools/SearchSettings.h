// The search state's stored part: the value history "HexFind", the group list
// "HexGroup" and the flags "HexFindFlags" under the application key.
#pragma once

#include "core/tools/SearchState.h"

namespace dualvex {

// The stored lists and flags are taken only while the process has no lists of its
// own yet, so the first reader fills them and later ones leave them alone.
void LoadSearchSettings(SearchState& state);
// Returns false when the store refused a value.
bool SaveSearchSettings(const SearchState& state);

} // namespace dualvex
