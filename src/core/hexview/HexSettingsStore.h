// Reading and writing the hex view values ("LineWidth" ... "SelectionRaster")
// directly in the application key of the current user.
#pragma once

#include "core/hexview/HexSettings.h"

namespace dualvex {

// Reads every value present over the fields of settings; a missing key or
// value leaves the field as it was. "HexFlags" replaces only the auto-fit,
// snapping and width-raster bits. Returns false when the key cannot be
// opened. The values are clamped afterwards.
bool LoadHexSettings(HexSettings& settings);

// Writes all values, creating the key; false when it cannot be created.
bool SaveHexSettings(const HexSettings& settings);

} // namespace dualvex
