// Geometry of the double hex window: two panes side by side or one above the other,
// a title line over each, the separator band, and the overview strip beside them.
#pragma once

namespace dualvex {

struct LayoutRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const LayoutRect&) const = default;
};

struct DoubleWindowLayout {
    LayoutRect pane[2];
    LayoutRect title[2];
    bool titlesShown = false;
    // Horizontal split only: first row of the seven-row separator band, -1 otherwise.
    int separatorTop = -1;
};

// Left edge of the overview strip in a view of the given width.
int OverviewStripLeft(int viewWidth);

// Title height: scroll bar height + 3, at least 19; 0 when no pane has a title.
int TitleHeight(int scrollBarHeight, bool anyTitle);

DoubleWindowLayout LayOutDoubleWindow(int width, int height, bool horizontal, int titleHeight);

} // namespace dualvex
