#include "core/app/LoadAndCompare.h"

namespace dualvex {

namespace {
bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}
} // namespace

LoadOutcome LoadAndCompare(const std::string& path1, const std::string& path2, LoadFlags flags,
                           const IntelHexQuestion& ask, const std::atomic<bool>* cancel)
{
    LoadOutcome outcome;
    LoadResult loaded = LoadImages(path1, path2, flags, ask);
    if (Cancelled(cancel)) {
        outcome.failed = LoadFailure::Cancelled;
        return outcome;
    }
    outcome.failed = loaded.failed;
    outcome.status = loaded.status;
    outcome.first = std::move(loaded.first);
    outcome.second = std::move(loaded.second);
    outcome.firstDefects = loaded.firstDefects;
    outcome.secondDefects = loaded.secondDefects;
    if (outcome.failed != LoadFailure::None) return outcome;
    if (!outcome.diff.Compare(outcome.first, outcome.second)) {
        outcome.failed = LoadFailure::NoMemory;
        outcome.status = LoadStatus::CannotOpen;
    }
    if (Cancelled(cancel)) {
        outcome = LoadOutcome();
        outcome.failed = LoadFailure::Cancelled;
    }
    return outcome;
}

} // namespace dualvex
