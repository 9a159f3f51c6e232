// The tool bar's pictures, drawn in code so they stay sharp at every scale.
#pragma once

#include <QIcon>

namespace dualvex {

// The picture of a tool bar command (16 x 15 logical pixels); a null icon for ids
// without a button.
QIcon ToolbarIcon(int commandId);

} // namespace dualvex
