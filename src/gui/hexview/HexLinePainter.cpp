#include "gui/hexview/HexLinePainter.h"

#include "gui/textwnd/AnsiStyleSet.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace dualvex {

namespace {

// A colour below the first ratio is moved until it reaches the second, so a
// corrected colour reads comfortably while chosen colours that work stay as they are.
constexpr double kMinContrast = 3.0;
constexpr double kTargetContrast = 4.5;

double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& color)
{
    return 0.2126 * Linear(color.red()) + 0.7152 * Linear(color.green()) + 0.0722 * Linear(color.blue());
}

QColor Mix(const QColor& from, const QColor& to, double t)
{
    const auto channel = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Colours chosen for a light window (pure blue hex digits, say) vanish on a dark
// theme; rather than keep two colour sets, a colour that does not stand out from
// its background is moved towards white or black just far enough.
QColor LegibleTextColor(const QColor& text, const QColor& background)
{
    if (ContrastRatio(text, background) >= kMinContrast) return text;
    const QColor target = Luminance(background) < 0.5 ? QColor(Qt::white) : QColor(Qt::black);
    for (int step = 1; step <= 10; ++step) {
        const QColor mixed = Mix(text, target, step / 10.0);
        if (ContrastRatio(mixed, background) >= kTargetContrast) return mixed;
    }
    return target;
}

HexLinePainter::Glyphs& HexLinePainter::GlyphsFor(const QFont& font)
{
    for (auto& entry : m_glyphCache)
        if (entry.first == font) return *entry.second;
    auto glyphs = std::make_unique<Glyphs>();
    glyphs->font = font;
    glyphs->raw = QRawFont::fromFont(font);
    if (glyphs->raw.isValid()) {
        QString all(256, QChar());
        for (int i = 0; i < 256; ++i) all[i] = QChar(i);
        const QList<quint32> indexes = glyphs->raw.glyphIndexesForString(all);
        if (indexes.size() == 256) {
            std::copy(indexes.begin(), indexes.end(), glyphs->index.begin());
            glyphs->valid = true;
        }
    }
    // Without glyph indexes the cells are drawn as text; the table then holds the codes.
    if (!glyphs->valid)
        for (int i = 0; i < 256; ++i) glyphs->index[i] = static_cast<quint32>(i);
    m_glyphCache.emplace_back(font, std::move(glyphs));
    return *m_glyphCache.back().second;
}

void HexLinePainter::Prepare(const AnsiStyleSet& set, const QPalette& palette)
{
    for (int attr = 0; attr < kAttributes; ++attr) {
        const auto word = static_cast<std::uint16_t>(attr);
        m_background[attr] = set.BackgroundColor(word, palette);
        m_text[attr] = LegibleTextColor(set.TextColor(word, palette), m_background[attr]);
        m_glyphs[attr] = &GlyphsFor(set.FontFor(word));
    }
}

int HexLinePainter::Draw(QPainter& painter, const HexLineText& line, const HexCellGeometry& cells,
                         int firstColumn, int columnCount)
{
    const int to = std::min(line.length, firstColumn + columnCount);
    if (to <= firstColumn || m_glyphs[0] == nullptr) return 0;
    FillBackgrounds(painter, line, cells, firstColumn, to);
    DrawText(painter, line, cells, firstColumn, to);
    return to - firstColumn;
}

void HexLinePainter::FillBackgrounds(QPainter& painter, const HexLineText& line, const HexCellGeometry& cells,
                                     int from, int to)
{
    int start = from;
    QColor colour = m_background[Slot(line.attr[from])];
    for (int column = from; column < to;) {
        const int end = line.RunEnd(column, to);
        const QColor& next = m_background[Slot(line.attr[column])];
        if (next != colour) {
            painter.fillRect(cells.x0 + start * cells.charWidth, cells.top,
                             (column - start) * cells.charWidth, cells.charHeight, colour);
            start = column;
            colour = next;
        }
        column = end;
    }
    painter.fillRect(cells.x0 + start * cells.charWidth, cells.top, (to - start) * cells.charWidth,
                     cells.charHeight, colour);
}

void HexLinePainter::DrawText(QPainter& painter, const HexLineText& line, const HexCellGeometry& cells,
                              int from, int to)
{
    for (int slot = 0; slot < kAttributes; ++slot) {
        m_runGlyphs[slot].clear();
        m_runPositions[slot].clear();
    }
    const double baseline = cells.top + cells.ascent;
    for (int column = from; column < to; ++column) {
        const auto ch = static_cast<unsigned char>(line.text[column]);
        if (ch == ' ') continue;
        const int slot = Slot(line.attr[column]);
        m_runGlyphs[slot].push_back(m_glyphs[slot]->index[ch]);
        m_runPositions[slot].emplace_back(cells.x0 + column * cells.charWidth, baseline);
    }
    for (int slot = 0; slot < kAttributes; ++slot) {
        if (m_runGlyphs[slot].empty()) continue;
        painter.setPen(m_text[slot]);
        const Glyphs& glyphs = *m_glyphs[slot];
        if (!glyphs.valid) {
            painter.setFont(glyphs.font);
            for (std::size_t i = 0; i < m_runGlyphs[slot].size(); ++i)
                painter.drawText(m_runPositions[slot][i],
                                 QString(QChar(static_cast<char16_t>(m_runGlyphs[slot][i]))));
            continue;
        }
        QGlyphRun run;
        run.setRawFont(glyphs.raw);
        run.setRawData(m_runGlyphs[slot].data(), m_runPositions[slot].data(),
                       static_cast<int>(m_runGlyphs[slot].size()));
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
}

} // namespace dualvex
