// Geometry of a hex view: which byte sits in which cell of which line and on
// which text columns a cell is drawn. Widgets never compute columns
// themselves; they ask this class.
#pragma once

#include "core/hexview/HexTypes.h"

#include <cstdint>

namespace dualvex {

// The layout values as requested; HexLayout applies the rounding and
// clamping rules when it is built from them.
struct HexLayoutParams {
    int width = 16;          // W, bytes per line
    int format = 0;          // g: 0 Byte, 1 Word, 2 DWord, 3 QWord
    bool invert = false;     // bytes reversed within each group
    bool insertSpace = true; // S, one blank after every group
    int extraSpace = 4;      // R, one more blank after every R bytes; < 1 none
    int digits = 6;          // D, address digits
    int widthRaster = 0;     // W rounded down to a multiple of this when > 0
    bool showAddress = true;
    bool showHex = true;
    bool showChars = true;
};

// A change of the layout values, named so a call says what it sets. A value left at
// kKeep (any negative value) keeps what the view has.
struct HexLayoutChange {
    static constexpr int kKeep = -1;
    int width = kKeep;       // W, bytes per line
    int extraSpace = kKeep;  // R, one more blank after every R bytes; 0 none
    int insertSpace = kKeep; // S, 1 for one blank after every group, 0 none
    int digits = kKeep;      // D, address digits (at most 8)
    int format = kKeep;      // g: 0 Byte, 1 Word, 2 DWord, 3 QWord
    int invert = kKeep;      // 1 for bytes reversed within each group
};

// Where a text column falls in the hex area: the display cell and the
// column's distance from the cell's first digit (0 high digit, 1 second
// digit, 2 and more the blanks after the cell).
struct HexCellHit {
    int cell = 0;
    int offset = 0;
};

class HexLayout {
  public:
    HexLayout() : HexLayout(HexLayoutParams{}) {}
    explicit HexLayout(const HexLayoutParams& params);

    int Width() const { return m_width; }
    int Format() const { return m_format; }
    int Group() const { return 1 << m_format; }
    int Mask() const { return m_mask; }
    bool InsertSpace() const { return m_space; }
    // Effective raster; kHexNoRaster when there is none.
    int ExtraSpace() const { return m_raster; }
    int Digits() const { return m_digits; }
    bool ShowsAddress() const { return m_showAddress; }
    bool ShowsHex() const { return m_hexWidth > 0; }
    bool ShowsChars() const { return m_charWidth > 0; }

    int HexStart() const { return m_hexStart; }   // A
    int HexWidth() const { return m_hexWidth; }   // H
    int CharStart() const { return m_charStart; } // X
    int CharWidth() const { return m_charWidth; } // C
    int LineWidth() const { return m_lineWidth; } // T

    HexPos Offset() const { return m_offset; }   // O
    HexPos Length() const { return m_length; }   // L
    HexPos LineCount() const { return m_lines; } // N
    void SetOffset(HexPos offset);
    void SetLength(HexPos length);

    // First (high digit) column of display cell p.
    int HexColumn(int cell) const;
    // The cell under a column of the hex area; columns before the first cell
    // give cell 0, columns behind the last cell the last cell.
    HexCellHit CellAtColumn(int column) const;
    // Byte k of a line is shown in cell k ^ M and cell p shows byte p ^ M.
    int CellOfByte(int k) const { return k ^ m_mask; }
    int ByteOfCell(int cell) const { return cell ^ m_mask; }

    HexPos LineStart(HexPos line) const { return line * m_width - m_offset; }
    HexPos LineOf(HexPos index) const;
    int ByteInLine(HexPos index) const
    {
        return static_cast<int>(index + m_offset - LineOf(index) * m_width);
    }
    HexPos IndexAt(HexPos line, int k) const { return LineStart(line) + k; }

    // The FormatHexDump flag word that writes one full line of this layout.
    std::uint32_t DumpFlags() const;

  private:
    void ComputeDerived();

    int m_width = 16;
    int m_format = 0;
    int m_mask = 0;
    bool m_space = true;
    int m_raster = 4;
    int m_digits = 6;
    bool m_showAddress = true;
    bool m_showHex = true;
    bool m_showChars = true;
    int m_hexStart = 0;
    int m_hexWidth = 0;
    int m_charStart = 0;
    int m_charWidth = 0;
    int m_lineWidth = 0;
    HexPos m_offset = 0;
    HexPos m_length = 0;
    HexPos m_lines = 0;
};

} // namespace dualvex
