// The persisted layout and display values of a hex view ("LineWidth" ...
// "SelectionRaster") as plain fields, with the rules that bring stored
// values into range.
#pragma once

#include <cstdint>

namespace dualvex {

struct HexSettings {
    int lineWidth = 16;              // "LineWidth", W as set
    int extraSpace = 4;              // "ExtraSpace", R as set, 0 = none
    int insertSpace = 1;             // "InsertSpace"
    int raster = 4;                  // "Raster", address snapping raster
    int widthRaster = 4;             // "WidthRaster"
    int invertBytes = 0;             // "InvertBytes", stored as the mask G-1
    int outputFormat = 0;            // "OutputFormat", g
    int selectionRaster = 0;         // "SelectionRaster"
    int statusbarMode = 0x1002;      // "StatusbarMode"
    int addressLength = 6;           // "AddressLength", D
    std::uint32_t hexFlags = 0x018E; // "HexFlags"
    std::uint32_t hexFindFlags = 0;  // "HexFindFlags"

    // Brings values read from a settings store into the ranges the view
    // works with: widths and rasters 1..256 (a line width below 1 is the
    // default 16, an extra space outside 1..256 is none), D 0..8, g 0..3,
    // the switches 0 or 1 (the invert mask G-1).
    void Clamp();
};

} // namespace dualvex
