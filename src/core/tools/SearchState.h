// The search state that every hex view of the process shares, so that find next in
// either pane repeats the last search.
#pragma once

#include "core/tools/TextList.h"

#include <cstdint>

namespace dualvex {

// Bits of the search flags ("HexFindFlags").
enum : std::uint32_t {
    kFindBackward = 0x1,
    kFindInSelection = 0x2,
    kFindWrap = 0x4,
    kFindIgnoreCase = 0x8,
    kFindGroup = 0x10,
    kFindOrdered = 0x20,
    kFindFromStart = 0x40,
    kFindUnicode = 0x80,
    kFindBigEndian = 0x100,
    kFindHasSelection = 0x8000, // input to the dialog only
    kFindStoredBits = 0x1FF,
};

struct SearchState {
    std::uint32_t flags = kFindWrap;
    TextList history;    // typed value texts, most recent first
    TextList groupList;  // string 0: range width; then the group entries
    TextList activeList; // string 0: range width; then the entries; empty until the first search
    int lastByteCount = 2;
    int lastDialogX = 0;
    int lastDialogY = 0;
    bool lastDialogValid = false;

    bool HasActiveList() const { return activeList.Count() > 0; }

    // Settings of the first hex view fill the lists; later views leave them alone.
    void AdoptStoredLists(const TextList& storedHistory, const TextList& storedGroup);
};

// The one instance of the process.
SearchState& ProcessSearchState();

} // namespace dualvex
