#include "gui/textwnd/AnsiPaletteGrid.h"

#include "gui/textwnd/AnsiStyleSet.h"

#include <QMouseEvent>
#include <QPainter>

namespace dualvex {

const std::array<std::uint32_t, AnsiPaletteGrid::kCellCount>& AnsiPaletteGrid::Values()
{
    // Column by column, top to bottom; values are 0x00BBGGRR.
    static const std::array<std::uint32_t, kCellCount> values = {
        kSystemColor, 0x400020, 0x400040, 0x000040, 0x002040, 0x004040, 0x004000, 0x404000, 0x400000,
        0x000000,     0x800040, 0x800080, 0x000080, 0x004080, 0x008080, 0x008000, 0x808000, 0x800000,
        0x343434,     0xC00060, 0xC000C0, 0x0000C0, 0x0060C0, 0x00C0C0, 0x00C000, 0xC0C000, 0xC00000,
        0x676767,     0xFF0080, 0xFF00FF, 0x0000FF, 0x0080FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000,
        0x9A9A9A,     0xFF40A0, 0xFF40FF, 0x4040FF, 0x40A0FF, 0x40FFFF, 0x40FF40, 0xFFFF40, 0xFF4040,
        0xCDCDCD,     0xFF80C0, 0xFF80FF, 0x8080FF, 0x80C0FF, 0x80FFFF, 0x80FF80, 0xFFFF80, 0xFF8080,
        0xFFFFFF,     0xFFC0E0, 0xFFC0FF, 0xC0C0FF, 0xC0EFFF, 0xC0FFFF, 0xC0FFC0, 0xFFFFC0, 0xFFC0C0,
    };
    return values;
}

AnsiPaletteGrid::AnsiPaletteGrid(bool background, QWidget* parent) : QWidget(parent), m_background(background)
{
    // Cells follow the text size so the grid keeps its proportions on large fonts.
    m_cellSize = std::max(18, fontMetrics().height() + 4);
    setFixedSize(sizeHint());
    setFocusPolicy(Qt::StrongFocus);
}

QSize AnsiPaletteGrid::sizeHint() const
{
    return {kColumns * m_cellSize, kRows * m_cellSize};
}

QRect AnsiPaletteGrid::CellRect(int index) const
{
    return {(index / kRows) * m_cellSize, (index % kRows) * m_cellSize, m_cellSize, m_cellSize};
}

void AnsiPaletteGrid::SelectValue(std::uint32_t value)
{
    const auto& values = Values();
    int found = kCellCount - 1;
    for (int i = 0; i < kCellCount; ++i) {
        if (values[static_cast<size_t>(i)] == value) {
            found = i;
            break;
        }
    }
    m_selected = found;
    update();
}

void AnsiPaletteGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int column = p.x() / m_cellSize;
    const int row = p.y() / m_cellSize;
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return;
    m_selected = column * kRows + row;
    update();
    emit ValueChosen(Values()[static_cast<size_t>(m_selected)]);
}

void AnsiPaletteGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int i = 0; i < kCellCount; ++i) PaintCell(painter, i);
}

void AnsiPaletteGrid::PaintCell(QPainter& painter, int index) const
{
    const QRect cell = CellRect(index);
    const std::uint32_t value = Values()[static_cast<size_t>(index)];
    const QColor system = palette().color(m_background ? QPalette::Base : QPalette::Text);
    const QColor color = ColorFromValue(value, system);
    painter.fillRect(cell, color);
    const bool selected = index == m_selected;
    const QColor frame = !selected                                          ? QColor(0x40, 0x40, 0x40)
                         : color.red() + color.green() + color.blue() < 721 ? QColor(Qt::white)
                                                                            : QColor(0xC0, 0xC0, 0xC0);
    if (value == kSystemColor) {
        painter.setPen(frame);
        painter.drawLine(cell.topLeft(), cell.bottomRight());
        painter.drawLine(cell.topRight(), cell.bottomLeft());
    }
    painter.fillRect(QRect(cell.left(), cell.bottom(), cell.width(), 1), frame);
    painter.fillRect(QRect(cell.right(), cell.top(), 1, cell.height()), frame);
    if (!selected) return;
    painter.fillRect(QRect(cell.left(), cell.top(), cell.width(), 2), frame);
    painter.fillRect(QRect(cell.left(), cell.top(), 2, cell.height()), frame);
    // An inverted dotted ring inside the cell marks the selection on any colour.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen ring(Qt::white, 2, Qt::DotLine);
    painter.setPen(ring);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cell.adjusted(3, 3, -4, -4));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace dualvex
