#include "gui/hexview/CHexView.h"

#include "core/hexview/HexSettingsStore.h"
#include "core/support/CSettingsKey.h"
#include "gui/hexview/HexConfigDialog.h"

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
    : CAnsiView(StyleSetName(), kInitialColumns, 0, parent), m_core(flags)
{
    SetScrollStyle(ScrollStyle() | kExactColumnRange | kExactLineRange);
    SetMarginWidth(kMarginPixels);
    RegisterFormats();
    m_core.SetLayout({.width = 16, .extraSpace = 4, .insertSpace = 1, .digits = 6, .format = 0, .invert = 0});
    if (m_core.Flags() & kHexPersist) LoadViewSettings();
    connect(this, &CAnsiView::Notify, this, [this](CAnsiView*, int code, qint64 column, qint64 line) {
        if (code != kScrolled) return;
        m_scrollNotified = true;
        emit HexNotification(this, kNotifyScrolled, HexNotify{column, line, 0});
    });
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

HexViewCore& CHexView::Change()
{
    // While a change is being applied the core's top line is the newer one.
    if (!m_applying) m_core.SetTopLine(GetScrollPosition().line);
    return m_core;
}

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
// notifications. recalcFlags < 0 leaves the layout pass to the caller (the base calls
// SetCursor and OnChar and runs its own pass after them).
void CHexView::Apply(int recalcFlags)
{
    const HexViewUpdate update = m_core.TakeUpdate();
    const HexLayout& layout = m_core.Layout();
    SetLineCount(layout.LineCount());
    SetColumnCount(layout.LineWidth());
    const HexCursor& cursor = m_core.Cursor();
    CAnsiView::SetCursor(cursor.x, cursor.y, 0);
    ApplyRepaint(update);
    if (recalcFlags >= 0) {
        const bool outer = m_applying;
        m_applying = true;
        if (update.scrolled || update.layoutChanged) {
            // The cursor cell is taken first, so the pass below does not scroll to it
            // and undo the position the core chose.
            Recalc(kQuiet | kNoPaint);
            SetScrollPosition(GetScrollPosition().column, m_core.TopLine(), false);
        }
        Recalc(recalcFlags);
        m_applying = outer;
    }
    if (update.beep) Beep();
    if (update.selectionNotify) emit HexNotification(this, kNotifySelection, update.selection);
    if (update.statusChanged || update.cursorMoved) emit StatusChanged(this);
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
    const HexPos previous = Change().SetData(bytes, length, base, flags);
    Apply((flags & kDataNoRepaint) ? kQuiet | kNoPaint : kQuiet);
    return previous;
}

HexPos CHexView::SetData(const std::uint8_t* bytes, HexPos length, std::uint32_t base, unsigned flags)
{
    const HexPos previous = Change().SetData(bytes, length, base, flags);
    Apply((flags & kDataNoRepaint) ? kQuiet | kNoPaint : kQuiet);
    return previous;
}

HexPos CHexView::SetOwnedData(std::unique_ptr<std::uint8_t[]> bytes, HexPos length, std::uint32_t base,
                              unsigned flags)
{
    const HexPos previous = Change().SetOwnedData(std::move(bytes), length, base, flags);
    Apply((flags & kDataNoRepaint) ? kQuiet | kNoPaint : kQuiet);
    return previous;
}

std::uint32_t CHexView::SetBaseAddress(std::uint32_t base)
{
    const std::uint32_t previous = Change().SetBaseAddress(base);
    Apply();
    return previous;
}

void CHexView::SetDiffBits(const std::uint8_t* bits, HexPos count)
{
    Change().SetDifferenceBits(bits, count);
    Apply();
}

int CHexView::SetMark(int index, HexPos start, HexPos count)
{
    const int result = Change().SetMark(index, start, count);
    Apply();
    return result;
}

// ---- position -------------------------------------------------------------------------

HexPos CHexView::SetTopAddress(HexPos position, bool absolute)
{
    const HexPos previous = Change().SetTopAddress(position, absolute);
    Apply();
    return previous;
}

HexPos CHexView::GetTopPosition(bool absolute) const
{
    const HexLayout& layout = m_core.Layout();
    return layout.LineStart(GetScrollPosition().line) + (absolute ? m_core.Base() : 0);
}

int CHexView::SetCursorPos(HexPos position, bool absolute, bool extend)
{
    const int result = Change().SetCursorPos(position, absolute, extend);
    Apply();
    return result;
}

int CHexView::SelectTo(HexPos position, bool absolute)
{
    const int result = Change().SelectTo(position, absolute);
    Apply();
    return result;
}

int CHexView::ClearSelection()
{
    const int result = Change().ClearSelection();
    Apply();
    return result;
}

HexPos CHexView::VisibleByteCount() const
{
    return static_cast<HexPos>(m_core.Layout().Width()) * VisibleLines();
}

std::int64_t CHexView::HexCommand(int op, std::int64_t value)
{
    const std::int64_t result = Change().Command(op, value);
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
    const int previous = Change().SetLayout(change);
    Apply();
    return previous;
}

int CHexView::SetWidthMode(int width, int snap, int statusMode, int selectionRaster)
{
    const int result = Change().SetWidthMode(width, snap, statusMode, selectionRaster);
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
    ApplyHexConfig(state, Change());
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
    Change().SetCursor(column, line, static_cast<unsigned>(flags));
    Apply(-1);
    return 1;
}

void CHexView::OnScrolled()
{
    m_core.SetTopLine(GetScrollPosition().line);
}

void CHexView::OnResize(int visibleColumns, int visibleLines, int, int)
{
    // Fitting the width may show or hide a scroll bar, which resizes again.
    if (m_fitDepth >= kMaxResizeDepth) return;
    ++m_fitDepth;
    Change().OnResize(visibleColumns, visibleLines);
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
