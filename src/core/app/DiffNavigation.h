// Walking the difference ranges: where each navigation command puts the cursor and
// when it is enabled. "cursor" is the active pane's current position.
#pragma once

#include "core/app/DiffSet.h"

#include <optional>

namespace dualvex {

enum class DiffMove { First, Previous, Next, Last };

// The new cursor, or nothing when the command does nothing from here.
std::optional<ImageLength> NavigateDiff(const DiffSet& diff, DiffMove move, ImageLength cursor);

// Enable rules of the navigation commands (the current-difference command is enabled
// whenever ranges exist).
bool DiffMoveEnabled(const DiffSummary& summary, DiffMove move, ImageLength cursor);

} // namespace dualvex
