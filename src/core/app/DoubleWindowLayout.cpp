#include "core/app/DoubleWindowLayout.h"

#include <algorithm>

namespace dualvex {

namespace {
constexpr int kStripWidth = 16;
constexpr int kMinTitleHeight = 19;
constexpr int kSeparatorRows = 7;
} // namespace

int OverviewStripLeft(int viewWidth)
{
    return viewWidth - ((viewWidth - 1) % 2) - kStripWidth;
}

int TitleHeight(int scrollBarHeight, bool anyTitle)
{
    return anyTitle ? std::max(scrollBarHeight + 3, kMinTitleHeight) : 0;
}

DoubleWindowLayout LayOutDoubleWindow(int width, int height, bool horizontal, int titleHeight)
{
    DoubleWindowLayout layout;
    const int h = titleHeight;
    layout.titlesShown = h > 0;
    if (!horizontal) {
        const int half = width / 2;
        layout.pane[0] = {0, h, half, height - h};
        layout.pane[1] = {half, h, half, height - h};
        layout.title[0] = {0, 0, half, h};
        layout.title[1] = {half - 1 + width % 2, 0, half, h};
        return layout;
    }
    const int s = std::max(0, height / 2 - 3);
    layout.pane[0] = {0, h, width, s - h};
    layout.title[1] = {0, s + kSeparatorRows, width, h};
    layout.pane[1] = {0, s + kSeparatorRows + h, width, std::max(0, height - s - kSeparatorRows) - h};
    layout.title[0] = {0, 0, width, h};
    layout.separatorTop = s;
    return layout;
}

} // namespace dualvex
