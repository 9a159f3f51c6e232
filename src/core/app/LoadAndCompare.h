// One load of a comparison: both files into memory images and the difference set
// built from them. Runs on any thread as long as the Intel-HEX question is answered
// without a window (the caller asks beforehand and passes the answers).
#pragma once

#include "core/app/DiffSet.h"
#include "core/app/ImageLoad.h"

#include <atomic>
#include <string>

namespace dualvex {

struct LoadOutcome {
    LoadFailure failed = LoadFailure::None;
    LoadStatus status = LoadStatus::Ok;
    MemoryImage first;
    MemoryImage second;
    IntelHexDefects firstDefects;
    IntelHexDefects secondDefects;
    DiffSet diff;
};

// Loads and compares. `cancel` is looked at between the steps; a cancelled load
// reports LoadFailure::Cancelled and holds nothing.
LoadOutcome LoadAndCompare(const std::string& path1, const std::string& path2, LoadFlags flags,
                           const IntelHexQuestion& ask, const std::atomic<bool>* cancel = nullptr);

// Images from this size on are loaded away from the user-interface thread.
inline constexpr std::uint64_t kBackgroundLoadThreshold = 64ull << 20;

} // namespace dualvex
