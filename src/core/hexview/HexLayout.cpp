#include "core/hexview/HexLayout.h"

#include <algorithm>

namespace dualvex {

namespace {

int RoundUp(int value, int step)
{
    return (value + step - 1) / step * step;
}

} // namespace

HexLayout::HexLayout(const HexLayoutParams& params)
{
    m_digits = std::clamp(params.digits, 0, 8);
    m_format = std::clamp(params.format, 0, 3);
    const int group = Group();
    int width = params.width;
    if (params.widthRaster > 0) width = width / params.widthRaster * params.widthRaster;
    int raster = params.extraSpace < 1 || params.extraSpace > kHexMaxWidth ? kHexNoRaster : params.extraSpace;
    if (group > 1) {
        width = width / group * group;
        if (width <= 0) width = group;
        if (raster != kHexNoRaster) raster = RoundUp(raster, group);
    }
    m_width = std::clamp(width, 1, kHexMaxWidth);
    m_raster = raster;
    m_mask = params.invert && group > 1 ? group - 1 : 0;
    m_space = params.insertSpace;
    m_showAddress = params.showAddress;
    m_showHex = params.showHex;
    m_showChars = params.showChars;
    ComputeDerived();
}

void HexLayout::ComputeDerived()
{
    m_hexStart = m_showAddress ? m_digits + 2 : 0;
    m_hexWidth = 0;
    if (m_showHex) {
        m_hexWidth = 2 * m_width + 2 + (m_space ? m_width / Group() - 1 : 0) + m_width / m_raster -
                     (m_width % m_raster == 0 ? 1 : 0);
    }
    m_charStart = m_hexStart + m_hexWidth;
    m_charWidth = m_showChars ? m_width : 0;
    m_lineWidth = m_hexStart + m_hexWidth + m_charWidth;
    m_lines = (m_offset + m_length + m_width - 1) / m_width;
}

void HexLayout::SetOffset(HexPos offset)
{
    m_offset = offset;
    ComputeDerived();
}

void HexLayout::SetLength(HexPos length)
{
    m_length = std::max<HexPos>(length, 0);
    ComputeDerived();
}

int HexLayout::HexColumn(int cell) const
{
    return m_hexStart + 2 * cell + (m_space ? cell >> m_format : 0) + cell / m_raster;
}

HexCellHit HexLayout::CellAtColumn(int column) const
{
    if (column < m_hexStart) return {};
    // Columns grow with the cell, so the cell is the last one starting at or
    // before the column.
    int low = 0;
    int high = m_width - 1;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (HexColumn(mid) <= column)
            low = mid;
        else
            high = mid - 1;
    }
    return {low, column - HexColumn(low)};
}

HexPos HexLayout::LineOf(HexPos index) const
{
    const HexPos cell = index + m_offset;
    return cell >= 0 ? cell / m_width : -((-cell + m_width - 1) / m_width);
}

std::uint32_t HexLayout::DumpFlags() const
{
    std::uint32_t flags = m_raster == kHexNoRaster ? 0 : static_cast<std::uint32_t>(m_raster) & 0xFF;
    flags |= static_cast<std::uint32_t>(m_format) << 25;
    if (m_space) flags |= 0x2000;
    if (m_mask != 0) flags |= 0x40000000;
    return flags;
}

} // namespace dualvex
