// Draws hex view lines as the core builds them: backgrounds per attribute run,
// then the text of each attribute as one glyph run. The glyphs of the 256 byte
// values are looked up once per font, so a repaint shapes no text at all.
#pragma once

#include "core/hexview/HexLineText.h"

#include <QColor>
#include <QFont>
#include <QRawFont>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QPainter;
class QPalette;

namespace dualvex {

class AnsiStyleSet;

// Where the cells of a line go: column 0 at x0, each cell one char width.
struct HexCellGeometry {
    int x0 = 0;
    int top = 0;
    int charWidth = 1;
    int charHeight = 1;
    int ascent = 0;
};

[[nodiscard]] double ContrastRatio(const QColor& a, const QColor& b);
// The colour itself when it reads well on the background, else the same hue made
// lighter (dark background) or darker (light background) until it does.
[[nodiscard]] QColor LegibleTextColor(const QColor& text, const QColor& background);

class HexLinePainter {
  public:
    static constexpr int kAttributes = 7;

    // Takes the colours of the formats for this paint; cheap when nothing changed.
    void Prepare(const AnsiStyleSet& set, const QPalette& palette);
    // Draws columns [firstColumn, firstColumn + columnCount) of the line and returns
    // how many of them the line has.
    int Draw(QPainter& painter, const HexLineText& line, const HexCellGeometry& cells, int firstColumn,
             int columnCount);

    [[nodiscard]] QColor TextColor(int attribute) const { return m_text[Slot(attribute)]; }
    [[nodiscard]] QColor BackgroundColor(int attribute) const { return m_background[Slot(attribute)]; }

  private:
    struct Glyphs {
        QFont font;
        QRawFont raw;
        std::array<quint32, 256> index{};
        bool valid = false;
    };
    static int Slot(int attribute) { return attribute < kAttributes ? attribute : 0; }
    Glyphs& GlyphsFor(const QFont& font);
    void FillBackgrounds(QPainter& painter, const HexLineText& line, const HexCellGeometry& cells, int from,
                         int to);
    void DrawText(QPainter& painter, const HexLineText& line, const HexCellGeometry& cells, int from, int to);

    std::array<QColor, kAttributes> m_text;
    std::array<QColor, kAttributes> m_background;
    std::array<QFont, kAttributes> m_fonts;
    std::array<Glyphs*, kAttributes> m_glyphs{};
    std::vector<std::pair<QFont, std::unique_ptr<Glyphs>>> m_glyphCache;
    std::array<std::vector<quint32>, kAttributes> m_runGlyphs;
    std::array<std::vector<QPointF>, kAttributes> m_runPositions;
};

} // namespace dualvex
