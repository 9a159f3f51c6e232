// The values of the "Konfiguration" dialog of a hex view and its rules:
// filling from the view, clamping the edits, keeping fixed width and width
// raster exclusive, which controls are enabled, and what OK applies.
#pragma once

namespace dualvex {

class HexViewCore;

struct HexConfigState {
    bool insertSpace = true;
    bool extraSpaceOn = true;
    int extraSpace = 4;
    bool fixedWidth = true;
    int width = 16;
    bool snapOn = true;
    int snap = 4;
    bool widthRasterOn = true;
    int widthRaster = 4;
    int digits = 6;
    int format = 0;     // 0 Byte, 1 Word, 2 DWord, 3 QWord
    int valueSize = 2;  // status value: 0 Byte, 1 Word, 2 DWord
    bool positive = false;
    bool bigEndian = false;
    bool hexDistances = true;
    bool invert = false;
    bool selectionRaster = false;

    bool operator==(const HexConfigState&) const = default;
};

// Which of the two exclusive boxes the user just checked.
enum class HexConfigToggle { None, FixedWidth, WidthRaster };

struct HexConfigEnabled {
    bool extraSpace = true;   // edit 1055
    bool width = true;        // edit 1075
    bool snap = true;         // edit 1077
    bool invert = false;      // box 1129
    bool selectionRaster = false;  // box 1131
};

// Status mode bits shown in the dialog.
enum : int {
    kStatusSizeMask = 0x0003,
    kStatusHexDistances = 0x2000,
    kStatusBigEndian = 0x4000,
    kStatusPositive = 0x8000,
};

HexConfigState FillHexConfig(const HexViewCore& view);
// Edits to 1..256 (digits 1..8); the box just checked wins over the other.
void ClampHexConfig(HexConfigState& state, HexConfigToggle toggled = HexConfigToggle::None);
HexConfigEnabled EnabledHexConfig(const HexConfigState& state);
// OK: SetLayout and SetWidthMode with the dialog's values.
void ApplyHexConfig(const HexConfigState& state, HexViewCore& view);

}  // namespace dualvex
