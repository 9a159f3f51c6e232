#include "core/hexview/HexSettings.h"

#include "core/hexview/HexTypes.h"

#include <algorithm>

namespace dualvex {

void HexSettings::Clamp()
{
    lineWidth = lineWidth < 1 ? 16 : std::min(lineWidth, kHexMaxWidth);
    if (extraSpace < 0 || extraSpace > kHexMaxWidth) extraSpace = 0;
    insertSpace = insertSpace != 0 ? 1 : 0;
    raster = std::clamp(raster, 1, kHexMaxWidth);
    widthRaster = std::clamp(widthRaster, 1, kHexMaxWidth);
    outputFormat = std::clamp(outputFormat, 0, 3);
    invertBytes = invertBytes != 0 && outputFormat > 0 ? (1 << outputFormat) - 1 : 0;
    selectionRaster = selectionRaster != 0 ? 1 : 0;
    addressLength = std::clamp(addressLength, 0, 8);
}

} // namespace dualvex
