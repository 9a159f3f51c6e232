// Layout, scroll bars and painting of the text window.
#include "gui/textwnd/CAnsiView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>
#include <climits>

namespace dualvex {

namespace {

// The square between the two bars: the button face a little darker, so it reads as a corner.
QColor CornerColor(const QPalette& palette)
{
    const QColor face = palette.color(QPalette::Button);
    return QColor(face.red() - (face.red() >> 3), face.green() - (face.green() >> 3),
                  face.blue() - (face.blue() >> 3));
}

const QString& NotDerivedText()
{
    static const QString text = QStringLiteral("CAnsiView::PrintLine() wurde nicht abgeleitet !");
    return text;
}

} // namespace

// ---- size ---------------------------------------------------------------------------

void CAnsiView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    SizePass(event->size().width(), event->size().height());
}

void CAnsiView::SizePass(int width, int height)
{
    ++m_resizeDepth;
    m_windowWidth = width;
    m_windowHeight = height;
    const int barHeight = m_barShown[0] ? m_bars[0]->sizeHint().height() : 0;
    const int barWidth = m_barShown[1] ? m_bars[1]->sizeHint().width() : 0;
    const int textWidth = std::max(0, width - barWidth);
    const int textHeight = std::max(0, height - barHeight);
    m_bars[0]->setGeometry(0, textHeight, textWidth, barHeight);
    m_bars[1]->setGeometry(textWidth, 0, barWidth, textHeight);
    m_bars[0]->setVisible(m_barShown[0]);
    m_bars[1]->setVisible(m_barShown[1]);
    if (textWidth != m_textWidth) {
        if (textWidth > m_textWidth) m_pending |= kRedrawAll;
        m_textWidth = textWidth;
        MeasureColumns();
    }
    if (textHeight != m_textHeight) {
        if (textHeight > m_textHeight) m_pending |= kRedrawAll;
        m_textHeight = textHeight;
        MeasureLines();
    }
    if (m_resizeDepth == 1 && width > 0 && height > 0) {
        const std::uint32_t outer = m_pending & kUpdating;
        m_pending |= kUpdating;
        Recalc(0);
        m_pending = (m_pending & ~kUpdating) | outer;
        Redraw(true);
    }
    --m_resizeDepth;
}

void CAnsiView::MeasureColumns()
{
    const int room = m_textWidth - m_marginWidth;
    m_visibleColumns = std::max(1, (room + m_charWidth - 1) / m_charWidth);
    m_partialColumn = m_visibleColumns * m_charWidth > room + 2 ? 1 : 0;
}

void CAnsiView::MeasureLines()
{
    m_visibleLines = std::max(1, (m_textHeight + m_charHeight - 1) / m_charHeight);
    m_partialLine = m_visibleLines * m_charHeight > m_textHeight + 2 ? 1 : 0;
}

// ---- layout pass --------------------------------------------------------------------

void CAnsiView::Recalc(int flags)
{
    const std::uint32_t outer = m_pending & kUpdating;
    m_pending |= kUpdating;
    m_cursorLine = std::clamp<AnsiLine>(m_cursorLine, 0, m_lineCount);
    m_cursorColumn = std::clamp(m_cursorColumn, 0, std::max(0, m_columnCount - 1));
    const bool styleChanged = m_scrollStyle != m_lastStyle;
    const int oldColumns = m_barColumns;
    const int oldLines = m_barLines;
    AnsiLine centre = 0;
    bool lineChanged = false;
    FollowCursor(flags, centre, lineChanged);
    ClampScrollPosition(centre, lineChanged);
    if (m_caretMode != m_lastCaretMode) {
        m_lastCaretMode = m_caretMode;
        m_pending |= kRedrawCaret;
    }
    UpdateHorizontalBar(styleChanged);
    UpdateVerticalBar(styleChanged);
    m_lastStyle = m_scrollStyle;
    WriteBarPositions(flags);
    if (oldColumns != m_visibleColumns || oldLines != m_visibleLines)
        OnResize(m_visibleColumns, m_visibleLines, m_visibleColumns - std::max(oldColumns, 0),
                 m_visibleLines - std::max(oldLines, 0));
    m_pending = (m_pending & ~kUpdating) | outer;
    if (!(flags & kNoPaint) && outer == 0 && m_pending != 0) Redraw(true);
}

void CAnsiView::FollowCursor(int flags, AnsiLine& centre, bool& lineChanged)
{
    AnsiLine delta = m_cursorLine - m_drawnLine;
    if (m_cursorColumn != m_drawnColumn) {
        m_pending |= kRedrawCaret;
        if (delta == 0) delta = 10; // a sideways jump may centre like a far one
        const int span = m_visibleColumns - m_partialColumn;
        if (m_textWidth > 0 && m_cursorColumn >= m_firstColumn + span)
            m_firstColumn = m_cursorColumn - span + 1;
        else if (m_textWidth > 0 && m_cursorColumn < m_firstColumn)
            m_firstColumn = m_cursorColumn;
    }
    if (delta != 0) {
        m_pending |= kRedrawCaret;
        lineChanged = true;
        const bool far = delta != 1 && delta != -1 && delta != m_visibleLines && delta != -m_visibleLines;
        centre = (flags & kCentreJump) && far ? m_visibleLines / 2 : 0;
        const int span = m_visibleLines - m_partialLine;
        if (m_textHeight > 0 && m_cursorLine >= m_firstLine + span)
            m_firstLine = m_cursorLine - span + centre + 1;
        else if (m_textHeight > 0 && m_cursorLine < m_firstLine)
            m_firstLine = m_cursorLine - centre;
    }
    m_drawnColumn = m_cursorColumn;
    m_drawnLine = m_cursorLine;
}

void CAnsiView::ClampScrollPosition(AnsiLine centre, bool lineChanged)
{
    const int lastColumn = m_columnCount - (m_visibleColumns / 2 - m_partialColumn);
    if (m_firstColumn > lastColumn) m_firstColumn = lastColumn, m_panX = 0;
    if (m_firstColumn < 0 || (m_scrollStyle & kKeepColumnZero)) m_firstColumn = 0, m_panX = 0;
    const AnsiLine keep = lineChanged ? centre : m_visibleLines / 2 - m_partialLine;
    if (m_firstLine > m_lineCount - keep) m_firstLine = m_lineCount - keep, m_panY = 0;
    if (m_firstLine < 0 || (m_scrollStyle & kKeepLineZero)) m_firstLine = 0, m_panY = 0;
    if (m_firstColumn > LastFirstColumn()) m_firstColumn = LastFirstColumn(), m_panX = 0;
    if (m_firstLine > LastFirstLine()) m_firstLine = LastFirstLine(), m_panY = 0;
}

// Scrollable extents: with the exact-range styles the last page ends at the last
// column or line; otherwise the view may scroll on until half a page is empty.
int CAnsiView::HorizontalExtent() const
{
    if (m_scrollStyle & kNoHorizontalRange) return 0;
    if (m_scrollStyle & kExactColumnRange) return m_columnCount;
    return m_columnCount + m_visibleColumns / 2;
}

AnsiLine CAnsiView::VerticalExtent() const
{
    if (m_scrollStyle & kNoVerticalRange) return 0;
    if (m_scrollStyle & kExactLineRange) return m_lineCount;
    return m_lineCount + m_visibleLines / 2 - 1;
}

int CAnsiView::LastFirstColumn() const
{
    return std::max(0, HorizontalExtent() - m_visibleColumns);
}

// A partly shown bottom row does not count: the last line must be reachable in full.
AnsiLine CAnsiView::LastFirstLine() const
{
    return std::max<AnsiLine>(0, VerticalExtent() - (m_visibleLines - m_partialLine));
}

void CAnsiView::UpdateHorizontalBar(bool force)
{
    if (!force && m_columnCount == m_lastColumnCount && m_visibleColumns == m_barColumns) return;
    m_lastColumnCount = m_columnCount;
    m_barColumns = m_visibleColumns;
    const int last = LastFirstColumn();
    m_firstColumn = std::min(m_firstColumn, last);
    const bool scrollable = HorizontalExtent() > m_visibleColumns;
    m_barUpdate = true;
    m_bars[0]->setRange(0, last);
    m_bars[0]->setPageStep(std::max(1, m_visibleColumns - 1));
    m_bars[0]->setEnabled(scrollable);
    m_barUpdate = false;
    const bool shown = scrollable || (m_scrollStyle & kHorizontalBarAlways);
    if (shown == m_barShown[0]) return;
    m_barShown[0] = shown;
    SizePass(m_windowWidth, m_windowHeight);
}

void CAnsiView::UpdateVerticalBar(bool force)
{
    if (!force && m_lineCount == m_lastLineCount && m_visibleLines == m_barLines) return;
    const AnsiLine previousCount = m_lastLineCount;
    const bool grew = m_barLines >= 0 && m_visibleLines > m_barLines;
    m_lastLineCount = m_lineCount;
    m_barLines = m_visibleLines;
    const AnsiLine last = LastFirstLine();
    m_firstLine = std::min(m_firstLine, last);
    // A bar counts in int; huge line counts are shown in steps of several lines.
    m_barScale = std::max<AnsiLine>(1, (last + INT_MAX / 2 - 1) / (INT_MAX / 2));
    const bool scrollable = VerticalExtent() > m_visibleLines;
    m_barUpdate = true;
    m_bars[1]->setRange(0, static_cast<int>(last / m_barScale));
    m_bars[1]->setPageStep(static_cast<int>(std::max<AnsiLine>(1, (m_visibleLines - 1) / m_barScale)));
    m_bars[1]->setEnabled(scrollable);
    m_barUpdate = false;
    if (grew && previousCount >= 0) MarkRedrawFrom(previousCount);
    const bool shown = scrollable || (m_scrollStyle & kVerticalBarAlways);
    if (shown == m_barShown[1]) return;
    m_barShown[1] = shown;
    SizePass(m_windowWidth, m_windowHeight);
}

void CAnsiView::WriteBarPositions(int flags)
{
    if (m_firstColumn == m_barColumn && m_firstLine == m_barLine) return;
    m_barColumn = m_firstColumn;
    m_barLine = m_firstLine;
    m_barUpdate = true;
    m_bars[0]->setValue(m_firstColumn);
    m_bars[1]->setValue(static_cast<int>(m_firstLine / m_barScale));
    m_barUpdate = false;
    m_pending |= kRedrawAll;
    // A derived view that keeps its own scroll state hears of every move; only the
    // owner's notification is left out of quiet passes.
    OnScrolled();
    if (flags & kQuiet) return;
    emit Notify(this, kScrolled, m_firstColumn, m_firstLine);
}

void CAnsiView::OnBarMoved(int index, int value)
{
    if (m_barUpdate) return;
    if (index == 0)
        m_firstColumn = value;
    else
        m_firstLine = static_cast<AnsiLine>(value) * m_barScale;
    Recalc(0);
}

AnsiCell CAnsiView::ScrollTo(int column, AnsiLine line)
{
    const AnsiCell previous = GetScrollPosition();
    m_firstColumn = column;
    m_firstLine = line;
    Recalc(kQuiet);
    return previous;
}

void CAnsiView::SetScrollPosition(int column, AnsiLine line, bool paint)
{
    m_firstColumn = column;
    m_firstLine = line;
    Recalc(paint ? kQuiet : kQuiet | kNoPaint);
}

// ---- pending redraw -----------------------------------------------------------------

void CAnsiView::MarkRedrawFrom(AnsiLine line)
{
    if (m_pending & kRedrawFromLine) {
        m_pendingLine = std::min(m_pendingLine, line);
    } else if (m_pending & (kRedrawAll | kRedrawRun | kRedrawOneLine)) {
        m_pending = (m_pending & ~(kRedrawRun | kRedrawOneLine)) | kRedrawAll;
    } else {
        m_pendingLine = line;
        m_pending |= kRedrawFromLine;
    }
}

void CAnsiView::MarkRedrawLine(AnsiLine line)
{
    MarkRedrawRun(line, 1);
}

void CAnsiView::MarkRedrawRun(AnsiLine first, int count)
{
    if (m_pending & (kRedrawAll | kRedrawRun | kRedrawFromLine | kRedrawOneLine)) {
        MarkRedrawFrom(first);
        return;
    }
    m_pendingLine = first;
    m_pendingCount = std::max(1, count);
    m_pending |= count <= 1 ? kRedrawOneLine : kRedrawRun;
}

void CAnsiView::Redraw(bool now)
{
    if (!now) m_pending |= kRedrawAll;
    if ((m_pending & ~kUpdating) != 0) Draw();
}

// Turns the pending word into invalidated rows; the paint event then redraws exactly them.
void CAnsiView::Draw()
{
    if (m_pending & kUpdating) return;
    const std::uint32_t word = m_pending;
    m_pending = 0;
    const AnsiLine bottom = m_firstLine + m_visibleLines;
    if (word & kRedrawAll) {
        update();
        m_caretRect = CaretRect();
        return;
    }
    if (word & kRedrawFromLine) InvalidateLines(m_pendingLine, bottom);
    if (word & kRedrawRun) InvalidateLines(m_pendingLine, m_pendingLine + m_pendingCount - 1);
    if (word & kRedrawOneLine) InvalidateLines(m_pendingLine, m_pendingLine);
    if (word & kRedrawBelowCursor) InvalidateLines(m_cursorLine + 1, bottom);
    if (word & (kRedrawCursorLine | kRedrawCursorTail)) InvalidateLines(m_cursorLine, m_cursorLine);
    if (word & kRedrawCaret) InvalidateCaret();
}

void CAnsiView::InvalidateLines(AnsiLine first, AnsiLine last)
{
    first = std::max(first, m_firstLine);
    last = std::min(last, m_firstLine + m_visibleLines);
    if (last < first) return;
    const int top = static_cast<int>(first - m_firstLine) * m_charHeight - m_panY;
    const int rows = static_cast<int>(last - first) + 1;
    update(QRect(0, top, m_textWidth, rows * m_charHeight));
}

void CAnsiView::InvalidateCaret()
{
    update(m_caretRect);
    m_caretRect = CaretRect();
    update(m_caretRect);
}

QRect CAnsiView::CellRect(int column, AnsiLine line) const
{
    const int x = (column - m_firstColumn) * m_charWidth - m_panX + m_marginWidth;
    const int y = static_cast<int>(line - m_firstLine) * m_charHeight - m_panY;
    return QRect(x, y, m_charWidth, m_charHeight);
}

AnsiCell CAnsiView::CellAt(int x, int y) const
{
    const int column = (x - m_marginWidth + m_charWidth / 2) / m_charWidth + m_firstColumn;
    return {column, y / m_charHeight + m_firstLine};
}

QRect CAnsiView::CaretRect() const
{
    if (!(m_caretMode & kCaretShown) || !m_hasFocus) return {};
    if (m_cursorLine < m_firstLine || m_cursorLine > m_firstLine + m_visibleLines) return {};
    QRect cell = CellRect(m_cursorColumn, m_cursorLine);
    cell.setWidth((m_caretMode & kThinCaret) ? 2 : m_charWidth + 1);
    return cell & QRect(m_marginWidth, 0, m_textWidth - m_marginWidth, m_textHeight);
}

// ---- painting -----------------------------------------------------------------------

void CAnsiView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRegion& region = event->region();
    const bool panned = m_panX != 0 || m_panY != 0;
    const int x0 = m_marginWidth - m_firstColumn * m_charWidth - m_panX;
    const int rows = m_visibleLines + (panned ? 1 : 0);
    const int columns = m_visibleColumns + (panned ? 1 : 0);
    for (int r = 0; r < rows; ++r) {
        const int top = r * m_charHeight - m_panY;
        if (region.intersects(QRect(0, top, m_textWidth, m_charHeight)))
            PaintRow(painter, m_firstLine + r, top, x0, columns);
    }
    painter.setClipping(false);
    if (m_caretRect.isValid() && region.intersects(m_caretRect)) PaintCaret(painter);
    if (m_barShown[0] && m_barShown[1])
        painter.fillRect(QRect(m_textWidth, m_textHeight, width() - m_textWidth, height() - m_textHeight),
                         CornerColor(palette()));
}

void CAnsiView::PaintRow(QPainter& painter, AnsiLine line, int top, int x0, int columns)
{
    const QRect text(m_marginWidth, top, std::max(0, m_textWidth - m_marginWidth), m_charHeight);
    painter.setClipRect(text & QRect(0, 0, m_textWidth, m_textHeight));
    m_rowBackground = m_styleSet->BackgroundColor(0, palette());
    const int drawn = PrintLine(painter, text, line, m_firstColumn, columns, x0);
    const int restX = x0 + (m_firstColumn + std::max(0, drawn)) * m_charWidth;
    if (restX < text.right() + 1)
        painter.fillRect(QRect(restX, top, text.right() + 1 - restX, m_charHeight), m_rowBackground);
    if (m_marginWidth <= 0) return;
    const QRect margin(0, top, m_marginWidth, m_charHeight);
    painter.setClipRect(margin & QRect(0, 0, m_textWidth, m_textHeight));
    PrintMargin(painter, margin, line);
}

void CAnsiView::PaintCaret(QPainter& painter)
{
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(m_caretRect, Qt::white);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

int CAnsiView::PrintLine(QPainter& painter, const QRect& row, AnsiLine line, int firstColumn, int columnCount,
                         int x0)
{
    if (line >= m_lineCount) return 0;
    AnsiLineText cells;
    if (!LineText(line, firstColumn, columnCount, cells)) {
        const QString& text = NotDerivedText();
        DrawCells(painter, x0 + firstColumn * m_charWidth, row.top(), text, 0);
        return static_cast<int>(text.size());
    }
    const int end = firstColumn + columnCount;
    int column = cells.firstColumn;
    qsizetype pos = 0;
    const auto drawPiece = [&](qsizetype length, std::uint16_t attribute) {
        const int from = std::max(column, firstColumn);
        const int to = std::min<int>(column + static_cast<int>(length), end);
        if (to > from)
            DrawCells(painter, x0 + from * m_charWidth, row.top(),
                      QStringView(cells.text).mid(pos + (from - column), to - from), attribute);
        column += static_cast<int>(length);
        pos += length;
    };
    for (const AnsiRun& run : cells.runs) {
        if (pos >= cells.text.size()) break;
        drawPiece(std::min<qsizetype>(run.length, cells.text.size() - pos), run.attribute);
    }
    if (pos < cells.text.size()) drawPiece(cells.text.size() - pos, 0);
    return std::clamp(column - firstColumn, 0, columnCount);
}

void CAnsiView::PrintMargin(QPainter& painter, const QRect& margin, AnsiLine)
{
    painter.fillRect(margin, QColor(0xC0, 0xC0, 0xC0));
}

void CAnsiView::DrawCells(QPainter& painter, int x, int top, QStringView text, std::uint16_t attribute) const
{
    const AnsiStyleSet& set = *m_styleSet;
    m_rowBackground = set.BackgroundColor(attribute, palette());
    painter.fillRect(QRect(x, top, static_cast<int>(text.size()) * m_charWidth, m_charHeight),
                     m_rowBackground);
    painter.setFont(set.FontFor(attribute));
    painter.setPen(set.TextColor(attribute, palette()));
    painter.drawText(QPoint(x, top + set.Ascent()), text.toString());
}

} // namespace dualvex
