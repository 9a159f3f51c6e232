// What a hex view core call changed, for the widget to act on: lines to
// repaint, scrolling, the cursor, a beep and the selection notification.
#pragma once

#include "core/hexview/HexTypes.h"

#include <algorithm>

namespace dualvex {

struct HexViewUpdate {
    bool repaintAll = false;
    // Inclusive range of lines to repaint; firstLine < 0 when none.
    HexPos firstLine = -1;
    HexPos lastLine = -1;
    bool scrolled = false;      // top line or display offset changed
    bool layoutChanged = false; // line width or line count changed
    bool cursorMoved = false;
    bool statusChanged = false;
    bool beep = false;
    // Notification 11253 to send: lower end, upper end, active; or 0, 0, 0.
    bool selectionNotify = false;
    HexNotify selection;

    void RepaintLines(HexPos first, HexPos last)
    {
        if (first > last) std::swap(first, last);
        if (firstLine < 0) {
            firstLine = first;
            lastLine = last;
            return;
        }
        firstLine = std::min(firstLine, first);
        lastLine = std::max(lastLine, last);
    }
};

} // namespace dualvex
