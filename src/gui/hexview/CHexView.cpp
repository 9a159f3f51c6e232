#include "gui/hexview/CHexView.h"

#include "core/hexview/HexSettingsStore.h"
#include "core/support/CSettingsKey.h"
#include "gui/hexview/HexConfigDialog.h"
#include "gui/hexview/HexPaneSearch.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace dualvex {

namespace {

const QString& StyleSetName()
{
    static const QString name = QStringLiteral("Hex");
    return name;
}

constexpr int kInitialColumns = 80;
constexpr int kMarginPixels = 2;
constexpr int kMaxResizeDepth = 3;

// The six formats of the hex panes after "Standard": background, text, name, stored id.
struct HexFormatDefault {
    std::uint32_t background;
    std::uint32_t text;
    const char* name;
    std::uint32_t id;
};
constexpr HexFormatDefault kHexFormats[] = {
    {kSystemColor, 0x0000FF, "Adressen", 2}, {kSystemColor, 0xFF0000, "HEX-Bereich", 3},
    {0xFF0000, 0xFFFFFF, "Markierung", 4},   {0xC86464, 0xFFFFFF, "Bereich", 5},
    {0xFFE6E6, 0xFF0000, "Bit-Marke", 6},    {0xFFE6E6, 0x000000, "Bit-Marke-Text", 7},
};

} // namespace

CHexView::CHexView(QWidget* parent, std::uint32_t flags)
    : CAnsiView(StyleSetName(), kInitialColumns, 0, parent), m_core(flags),
      m_search(std::make_unique<HexPaneSearch>(*this))
{
    SetScrollStyle(ScrollStyle() | kExactColumnRange | kExactLineRange);
    SetMarginWidth(kMarginPixels);
    RegisterFormats();
    m_core.SetLayout({.width = 16, .extraSpace = 4, .insertSpace = 1, .digits = 6, .format = 0, .invert = 0});
    if (m_core.Flags() & kHexPersist) LoadViewSettings();
    Apply(kQuiet | kNoPaint);
}

CHexView::~CHexView()
{
    if (m_core.Flags() & kHexPersist) SaveViewSettings();
}

// The formats are shared by every hex pane; the first pane adds them.
void CHexView::RegisterFormats()
{
    if (StyleSet().FormatCount() >= 2) return;
    for (const HexFormatDefault& format : kHexFormats)
        AddFormat(format.background, format.text, QString::fromLatin1(format.name), format.id, 0);
}

void CHexView::LoadViewSettings()
{
    HexSettings settings = m_core.Settings();
    if (LoadHexSettings(settings)) m_core.ApplySettings(settings);
    const QString path = QString::fromStdString(CSettingsKey::ApplicationKeyPath());
    (void)LoadSettings(path, true);
    (void)LoadSettings(path, false);
}

void CHexView::SaveViewSettings()
{
    (void)SaveHexSettings(m_core.Settings());
}

// ---- the core and the window ----------------------------------------------------------

void CHexView::ApplyRepaint(const HexViewUpdate& update)
{
    if (update.repaintAll) {
        MarkRedraw(kRedrawAll);
        return;
    }
    if (update.firstLine < 0) return;
    // Lines off the screen need no painting; the run is cut to what is visible.
    const AnsiLine top = GetScrollPosition().line;
    const AnsiLine first = std::max<AnsiLine>(update.firstLine, top);
    const AnsiLine last = std::min<AnsiLine>(update.lastLine, top + VisibleLines());
    if (last >= first) MarkRedrawRun(first, static_cast<int>(last - first + 1));
}

// Everything a core call changed: sizes, cursor cell, scroll position, repaints and
// notifications. The core owns the position; the window is told, never asked.
// recalcFlags < 0 leaves the layout pass to the caller (the base calls SetCursor and
// OnChar and runs its own pass after them).
void CHexView::Apply(int recalcFlags)
{
    // A scroll bar shown or hidden changes which rows are whole without a new line count.
    if (m_fitDepth == 0 && m_core.FullLines() != WholeRows())
        m_core.OnResize(VisibleColumns(), VisibleLines(), WholeRows());
    const HexViewUpdate update = m_core.TakeUpdate();
    const bool outer = m_applying;
    m_applying = true;
    SetLineCount(m_core.ScrollLineCount());
    SetColumnCount(m_core.Layout().LineWidth());
    const HexCursor& cursor = m_core.Cursor();
    CAnsiView::SetCursor(cursor.x, cursor.y, 0);
    ApplyRepaint(update);
    // The first pass takes the cursor cell, so that the window's own cursor following
    // has nothing left to do when the core's top line is handed over.
    Recalc(kQuiet | kNoPaint);
    SetScrollPosition(GetScrollPosition().column, m_core.TopLine(), false);
    if (recalcFlags >= 0) Recalc(recalcFlags);
    m_applying = outer;
    // The window may clamp a top line only when its size changed under the core.
    if (!outer && GetScrollPosition().line != m_core.TopLine()) {
        m_core.SetTopLine(GetScrollPosition().line);
        (void)m_core.TakeUpdate();
    }
    NotifyIfScrolled();
    if (update.beep) Beep();
    if (update.selectionNotify) emit HexNotification(this, kNotifySelection, update.selection);
    if (update.statusChanged || update.cursorMoved) emit StatusChanged(this);
}

// Rows shown whole; none before the window has a height, so that nothing scrolls to a
// cursor on a screen of no size.
int CHexView::WholeRows() const
{
    return TextHeight() > 0 ? FullLines() : 0;
}

// One scroll notification per change of the top address, whoever moved it.
void CHexView::NotifyIfScrolled()
{
    if (m_applying) return;
    const HexPos top = m_core.GetTopPosition(false);
    if (top == m_notifiedTop) return;
    m_notifiedTop = top;
    emit HexNotification(this, kNotifyScrolled, HexNotify{GetScrollPosition().column, m_core.TopLine(), 0});
}

void CHexView::Beep() const
{
    QApplication::beep();
}

bool CHexView::Refuse() const
{
    Beep();
    return false;
}

// ---- data -----------------------------------------------------------------------------

HexPos CHexView::SetData(std::uint8_t* bytes, HexPos length, std::uint32_t base, unsigned flags)
{
    const HexPos previous = m_core.SetData(bytes, length, base, flags);
    Apply((flags & kDataNoRepaint) ? kQuiet | kNoPaint : kQuiet);
    return previous;
}

HexPos CHexView::SetData(const std::uint8_t* bytes, HexPos length, std::uint32_t base, unsigned flags)
{
    const HexPos previous = m_core.SetData(bytes, length, base, flags);
    Apply((flags & kDataNoRepaint) ? kQuiet | kNoPaint : kQuiet);
    return previous;
}

HexPos CHexView::SetOwnedData(std::unique_ptr<std::uint8_t[]> bytes, HexPos length, std::uint32_t base,
                              unsigned flags)
{
    const HexPos previous = m_core.SetOwnedData(std::move(bytes), length, base, flags);
    Apply((flags & kDataNoRepaint) ? kQuiet | kNoPaint : kQuiet);
    return previous;
}

std::uint32_t CHexView::SetBaseAddress(std::uint32_t base)
{
    const std::uint32_t previous = m_core.SetBaseAddress(base);
    Apply();
    return previous;
}

void CHexView::SetDiffBits(const std::uint8_t* bits, HexPos count)
{
    m_core.SetDifferenceBits(bits, count);
    Apply();
}

int CHexView::SetMark(int index, HexPos start, HexPos count)
{
    const int result = m_core.SetMark(index, start, count);
    Apply();
    return result;
}

// ---- position -------------------------------------------------------------------------

HexPos CHexView::SetTopAddress(HexPos position, bool absolute)
{
    const HexPos previous = m_core.SetTopAddress(position, absolute);
    Apply();
    return previous;
}

HexPos CHexView::GetTopPosition(bool absolute) const
{
    return m_core.GetTopPosition(absolute);
}

void CHexView::SetScrollLength(HexPos length)
{
    m_core.SetScrollLength(length);
    Apply();
}

int CHexView::SetCursorPos(HexPos position, bool absolute, bool extend)
{
    const int result = m_core.SetCursorPos(position, absolute, extend);
    Apply();
    return result;
}

int CHexView::SelectTo(HexPos position, bool absolute)
{
    const int result = m_core.SelectTo(position, absolute);
    Apply();
    return result;
}

int CHexView::ClearSelection()
{
    const int result = m_core.ClearSelection();
    Apply();
    return result;
}

HexPos CHexView::VisibleByteCount() const
{
    return static_cast<HexPos>(m_core.Layout().Width()) * VisibleLines();
}

std::int64_t CHexView::HexCommand(int op, std::int64_t value)
{
    const std::int64_t result = m_core.Command(op, value);
    Apply();
    return result;
}

QRect CHexView::ColumnRect(HexPos index, int column) const
{
    return CellRect(column, m_core.Layout().LineOf(index));
}

QRect CHexView::HexCellRect(HexPos index) const
{
    const HexLayout& layout = m_core.Layout();
    const int column = layout.HexColumn(layout.CellOfByte(layout.ByteInLine(index)));
    return ColumnRect(index, column).united(ColumnRect(index, column + 1));
}

QRect CHexView::CharCellRect(HexPos index) const
{
    const HexLayout& layout = m_core.Layout();
    return ColumnRect(index, layout.CharStart() + layout.ByteInLine(index));
}

// ---- settings -------------------------------------------------------------------------

int CHexView::SetLayout(const HexLayoutChange& change)
{
    const int previous = m_core.SetLayout(change);
    Apply();
    return previous;
}

int CHexView::SetWidthMode(int width, int snap, int statusMode, int selectionRaster)
{
    const int result = m_core.SetWidthMode(width, snap, statusMode, selectionRaster);
    Apply();
    return result;
}

void CHexView::ConfigDialog()
{
    HexConfigDialog dialog(FillHexConfig(m_core), this);
    if (dialog.exec() != QDialog::Accepted) return;
    ApplyConfig(dialog.State());
}

void CHexView::ApplyConfig(const HexConfigState& state)
{
    ApplyHexConfig(state, m_core);
    Apply();
    emit HexNotification(this, kNotifySettings, HexNotify{});
}

// ---- text window hooks ----------------------------------------------------------------

void CHexView::paintEvent(QPaintEvent* event)
{
    m_painter.Prepare(StyleSet(), palette());
    CAnsiView::paintEvent(event);
}

int CHexView::PrintLine(QPainter& painter, const QRect& row, AnsiLine line, int firstColumn, int columnCount,
                        int x0)
{
    if (m_core.PrintLine(line, 0, m_line) == 0) return 0;
    const HexCellGeometry cells{x0, row.top(), CharWidth(), CharHeight(), StyleSet().Ascent()};
    return m_painter.Draw(painter, m_line, cells, firstColumn, columnCount);
}

// The margin is part of the text background, so it follows the theme like the text.
void CHexView::PrintMargin(QPainter& painter, const QRect& margin, AnsiLine)
{
    painter.fillRect(margin, StyleSet().BackgroundColor(0, palette()));
}

void CHexView::OnSettingsChanged(int what)
{
    if (what & 0x4) Redraw(false);
}

int CHexView::SetCursor(int column, AnsiLine line, int flags)
{
    m_core.SetCursor(column, line, static_cast<unsigned>(flags));
    Apply(-1);
    return 1;
}

// The scroll bars, the wheel, panning and the keys that only scroll move the window
// first; the core takes the new top line at once.
void CHexView::OnScrolled()
{
    if (m_applying) return;
    m_core.SetTopLine(GetScrollPosition().line);
    NotifyIfScrolled();
}

void CHexView::OnResize(int visibleColumns, int visibleLines, int, int)
{
    // Fitting the width may show or hide a scroll bar, which resizes again.
    if (m_fitDepth >= kMaxResizeDepth) return;
    ++m_fitDepth;
    m_core.OnResize(visibleColumns, visibleLines, WholeRows());
    Apply(kQuiet | kNoPaint);
    --m_fitDepth;
}

// ---- focus ----------------------------------------------------------------------------

void CHexView::focusInEvent(QFocusEvent* event)
{
    CAnsiView::focusInEvent(event);
    emit StatusChanged(this);
    emit HexNotification(this, kNotifyFocusGained, HexNotify{});
}

void CHexView::focusOutEvent(QFocusEvent* event)
{
    CAnsiView::focusOutEvent(event);
    emit HexNotification(this, kNotifyFocusLost, HexNotify{});
}

// Tab cycles the cursor areas instead of moving the focus.
bool CHexView::focusNextPrevChild(bool)
{
    return false;
}

} // namespace dualvex
