#include "core/hexview/HexConfigModel.h"

#include "core/hexview/HexViewCore.h"

#include <algorithm>

namespace dualvex {

namespace {

constexpr int kEditMax = kHexMaxWidth;
constexpr int kDigitsMax = 8;
// What an edit shows for a switched-off value that has no sensible number.
constexpr int kEditFallback = 4;

int StatusMode(const HexConfigState& state)
{
    return state.valueSize | (state.positive ? kStatusPositive : 0) |
           (state.bigEndian ? kStatusBigEndian : 0) | (state.hexDistances ? kStatusHexDistances : 0);
}

} // namespace

HexConfigState FillHexConfig(const HexViewCore& view)
{
    const auto flags = static_cast<unsigned>(view.GetSetting(kSettingFlags));
    HexConfigState state;
    state.insertSpace = view.GetSetting(kSettingInsertSpace) != 0;
    state.extraSpace = view.GetSetting(kSettingExtraSpace);
    state.width = view.GetSetting(kSettingLineWidth);
    state.snap = view.GetSetting(kSettingRaster);
    state.widthRaster = view.GetSetting(kSettingWidthRaster);
    state.digits = view.GetSetting(kSettingAddressLength);
    state.format = view.GetSetting(kSettingFormat) % 4;
    state.invert = view.GetSetting(kSettingInvert) != 0;
    state.selectionRaster = view.GetSetting(kSettingSelectionRaster) != 0;
    state.fixedWidth = (flags & kHexAutoFit) == 0;
    state.snapOn = (flags & kHexSnapAddress) != 0;
    state.widthRasterOn = (flags & kHexWidthRaster) != 0;
    state.extraSpaceOn = view.Layout().ExtraSpace() <= kEditMax;
    const int mode = view.GetSetting(kSettingStatusMode);
    state.valueSize = std::min(mode & kStatusSizeMask, 2);
    state.positive = (mode & kStatusPositive) != 0;
    state.bigEndian = (mode & kStatusBigEndian) != 0;
    state.hexDistances = (mode & kStatusHexDistances) != 0;
    if (!state.widthRasterOn && state.widthRaster < 2) state.widthRaster = kEditFallback;
    if (!state.extraSpaceOn && (state.extraSpace < 1 || state.extraSpace > kEditMax))
        state.extraSpace = kEditFallback;
    return state;
}

void ClampHexConfig(HexConfigState& state, HexConfigToggle toggled)
{
    state.extraSpace = std::clamp(state.extraSpace, 1, kEditMax);
    state.width = std::clamp(state.width, 1, kEditMax);
    state.snap = std::clamp(state.snap, 1, kEditMax);
    state.widthRaster = std::clamp(state.widthRaster, 1, kEditMax);
    state.digits = std::clamp(state.digits, 1, kDigitsMax);
    state.format = std::clamp(state.format, 0, 3);
    if (state.fixedWidth && state.widthRasterOn) {
        if (toggled == HexConfigToggle::WidthRaster)
            state.fixedWidth = false;
        else
            state.widthRasterOn = false;
    }
}

HexConfigEnabled EnabledHexConfig(const HexConfigState& state)
{
    HexConfigEnabled enabled;
    enabled.extraSpace = state.extraSpaceOn;
    enabled.width = state.fixedWidth;
    enabled.snap = state.snapOn;
    enabled.invert = state.format != 0;
    enabled.selectionRaster = state.format != 0;
    return enabled;
}

void ApplyHexConfig(const HexConfigState& state, HexViewCore& view)
{
    const int snap = state.snapOn ? state.snap : 0;
    const int extraSpace = state.extraSpaceOn ? state.extraSpace : 0;
    const int widthRaster = state.widthRasterOn ? state.widthRaster : 0;
    const int width = state.fixedWidth ? -state.width : widthRaster;
    view.SetLayout({.width = state.width,
                    .extraSpace = extraSpace,
                    .insertSpace = state.insertSpace ? 1 : 0,
                    .digits = state.digits,
                    .format = state.format,
                    .invert = state.invert ? 1 : 0});
    view.SetWidthMode(width, snap, StatusMode(state), state.selectionRaster ? 1 : 0);
}

} // namespace dualvex
