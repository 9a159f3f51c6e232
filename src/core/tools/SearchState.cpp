#include "core/tools/SearchState.h"

namespace dualvex {

void SearchState::AdoptStoredLists(const TextList& storedHistory, const TextList& storedGroup)
{
    if (history.Count() == 0 && groupList.Count() == 0) {
        history = storedHistory;
        groupList = storedGroup;
    }
}

SearchState& ProcessSearchState()
{
    static SearchState state;
    return state;
}

} // namespace dualvex
