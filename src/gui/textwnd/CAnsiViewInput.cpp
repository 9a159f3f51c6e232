// Keyboard, mouse and wheel input of the text window: each event handler only
// dispatches; the small functions below turn one event into one call.
#include "gui/textwnd/CAnsiView.h"

#include "gui/textwnd/AnsiAutoScroller.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace dualvex {

namespace {

// Mouse key bits handed to the hooks.
enum MouseKeys : int { kKeyLeft = 1, kKeyRight = 2, kKeyShift = 4, kKeyCtrl = 8, kKeyMiddle = 0x10 };
// Margin event codes.
enum MarginCode : int {
    kMarginLeft = 0x0800,
    kMarginRight = 0x0400,
    kMarginDown = 0x4000,
    kMarginUp = 0x8000,
    kMarginDouble = 0x2000,
    kMarginDragMove = 0x1000,
};
constexpr int kMaxRepeat = 30;
constexpr int kBatchRepeat = 4;
constexpr int kDoubleClickGuardMs = 300;
constexpr int kLongPressTicks = 5;
constexpr int kPanThreshold = 4;

bool IsNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: return true;
    default: return false;
    }
}

bool IsArrowKey(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

} // namespace

// ---- keyboard -----------------------------------------------------------------------

void CAnsiView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Menu ||
        (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        contextMenuEvent(&request);
        return;
    }
    const bool used = HandleKeyDown(event->key(), event->count(), event->modifiers());
    if (!used && event->text().isEmpty()) event->ignore();
    if (!event->text().isEmpty() && !IsNavigationKey(event->key())) {
        for (int i = 0; i < std::clamp(event->count(), 1, kMaxRepeat); ++i)
            OnChar(event->text(), m_modifiers);
        Recalc(0);
    }
}

void CAnsiView::keyReleaseEvent(QKeyEvent* event)
{
    SampleModifiers(event->modifiers());
    for (int i = 0; i < std::clamp(event->count(), 1, kMaxRepeat); ++i) OnKeyUp(event->key(), m_modifiers);
}

void CAnsiView::SampleModifiers(Qt::KeyboardModifiers modifiers)
{
    m_modifiers =
        (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) | (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0);
}

// Auto-repeat may deliver many steps at once; at most 30 are taken, and with four or
// more a full repaint waits for the last step.
bool CAnsiView::HandleKeyDown(int key, int repeat, Qt::KeyboardModifiers modifiers)
{
    SampleModifiers(modifiers);
    const int steps = std::clamp(repeat, 1, kMaxRepeat);
    const int paint = steps >= kBatchRepeat ? kNoPaint : 0;
    for (int i = 0; i < steps; ++i) {
        if (!OnKeyDown(key, m_modifiers) && !KeyStep(key)) return false;
        Recalc(paint);
    }
    Redraw(true);
    return true;
}

bool CAnsiView::KeyStep(int key)
{
    const bool shift = m_modifiers & 1;
    const bool ctrl = m_modifiers & 2;
    if (key == Qt::Key_Clear && m_modifiers == 0)
        return OnLButtonDblClk(0, 0, 0, m_cursorColumn, m_cursorLine), true;
    if (ctrl && key == Qt::Key_End) return SetCursor(0, m_lineCount, shift ? kExtend : 0), true;
    if (ctrl && key == Qt::Key_Home) return SetCursor(0, 0, shift ? kExtend : 0), true;
    if (!IsNavigationKey(key)) return false;
    if ((ctrl && !shift) || !(m_caretMode & kCaretShown)) {
        KeyScroll(key);
        return true;
    }
    const int flags =
        kRelative | (shift ? kExtend : 0) | (ctrl ? kCtrl : 0) | (IsArrowKey(key) ? kArrowStep : 0);
    const int page = m_visibleLines - 1;
    switch (key) {
    case Qt::Key_PageUp:
        m_firstLine -= page;
        SetCursor(0, -page, flags);
        break;
    case Qt::Key_PageDown:
        m_firstLine += page;
        SetCursor(0, page, flags);
        break;
    case Qt::Key_End: SetCursor(m_columnCount - m_cursorColumn, 0, flags); break;
    case Qt::Key_Home: SetCursor(-m_cursorColumn, 0, flags); break;
    case Qt::Key_Left: SetCursor(-1, 0, flags); break;
    case Qt::Key_Right: SetCursor(1, 0, flags); break;
    case Qt::Key_Up: SetCursor(0, -1, flags); break;
    default: SetCursor(0, 1, flags); break;
    }
    return true;
}

void CAnsiView::KeyScroll(int key)
{
    switch (key) {
    case Qt::Key_PageUp: m_firstLine -= m_visibleLines - 1; break;
    case Qt::Key_PageDown: m_firstLine += m_visibleLines - 1; break;
    case Qt::Key_Left: --m_firstColumn; break;
    case Qt::Key_Right: ++m_firstColumn; break;
    case Qt::Key_Up: --m_firstLine; break;
    case Qt::Key_Down: ++m_firstLine; break;
    default: return;
    }
    Recalc(kNoPaint);
    OnKeyScroll(key);
}

// ---- mouse: dispatch ----------------------------------------------------------------

int CAnsiView::KeysOf(const QMouseEvent* event) const
{
    const Qt::MouseButtons buttons = event->buttons();
    return (buttons.testFlag(Qt::LeftButton) ? kKeyLeft : 0) |
           (buttons.testFlag(Qt::RightButton) ? kKeyRight : 0) |
           (buttons.testFlag(Qt::MiddleButton) ? kKeyMiddle : 0) |
           (event->modifiers().testFlag(Qt::ShiftModifier) ? kKeyShift : 0) |
           (event->modifiers().testFlag(Qt::ControlModifier) ? kKeyCtrl : 0);
}

void CAnsiView::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int keys = KeysOf(event);
    if (event->button() != Qt::RightButton) setFocus(Qt::MouseFocusReason);
    switch (event->button()) {
    case Qt::LeftButton: LeftDown(keys, p.x(), p.y()); break;
    case Qt::RightButton: RightDown(keys, p.x(), p.y()); break;
    case Qt::MiddleButton: StartAutoScroll(p); break;
    case Qt::BackButton: HandleKeyDown(Qt::Key_PageDown, 1, Qt::NoModifier); break;
    case Qt::ForwardButton: HandleKeyDown(Qt::Key_PageUp, 1, Qt::NoModifier); break;
    default: break;
    }
}

void CAnsiView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) LeftUp(KeysOf(event), p.x(), p.y());
    if (event->button() == Qt::RightButton) RightUp(KeysOf(event), p.x(), p.y());
}

void CAnsiView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        LeftDoubleClick(KeysOf(event), p.x(), p.y());
    }
    if (event->button() == Qt::RightButton) RightDoubleClick(KeysOf(event), p.x(), p.y());
}

void CAnsiView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    MouseMove(KeysOf(event), p.x(), p.y(), event->buttons());
}

void CAnsiView::wheelEvent(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    const int keys = (event->buttons().testFlag(Qt::LeftButton) ? kKeyLeft : 0) |
                     (event->modifiers().testFlag(Qt::ShiftModifier) ? kKeyShift : 0) |
                     (event->modifiers().testFlag(Qt::ControlModifier) ? kKeyCtrl : 0);
    if (delta != 0) Wheel(keys, delta, event->modifiers());
    event->accept();
}

// ---- left button ----------------------------------------------------------------------

void CAnsiView::LeftDown(int keys, int x, int y)
{
    m_lastMouseX = x;
    m_lastMouseY = y;
    const AnsiCell cell = CellAt(x, y);
    const bool inMargin = x >= 0 && x < m_marginWidth;
    if (inMargin ? OnMarginMouse((keys & 0xFF) | kMarginLeft | kMarginDown, x, y, cell.line)
                 : OnLButtonDown(keys, x, y, cell.column, cell.line))
        return;
    StopTimer();
    if (cell.column < m_firstColumn) {
        m_leftDrag = 2;
        return;
    }
    if ((keys & kKeyCtrl) && OnLButtonDblClk(keys, x, y, cell.column, cell.line)) return;
    if (m_leftDrag != 1) SetCursor(cell.column, cell.line, kByMouse | kButtonPress);
    m_leftDrag = 1;
    Recalc(0);
}

void CAnsiView::LeftDoubleClick(int keys, int x, int y)
{
    const AnsiCell cell = CellAt(x, y);
    const bool inMargin = x >= 0 && x < m_marginWidth;
    if (inMargin ? OnMarginMouse((keys & 0xFF) | kMarginLeft | kMarginDouble, x, y, cell.line)
                 : OnLButtonDblClk(keys, x, y, cell.column, cell.line))
        return;
    if (cell.column < m_firstColumn) return;
    SetCursor(cell.column, cell.line, kByMouse);
    m_dragGuard = Now() + kDoubleClickGuardMs;
    Recalc(0);
}

void CAnsiView::LeftUp(int keys, int x, int y)
{
    const AnsiCell cell = CellAt(x, y);
    const bool inMargin = x >= 0 && x < m_marginWidth;
    if (inMargin ? OnMarginMouse((keys & 0xFF) | kMarginLeft | kMarginUp, x, y, cell.line)
                 : OnLButtonUp(keys, x, y, cell.column, cell.line))
        return;
    m_leftDrag = 0;
    if (m_timerKind == 1) StopTimer();
}

// Dragging outside the text area scrolls by a step that grows with the distance
// (one cell per 8 pixels); the timer repeats the step every 165 ms.
void CAnsiView::DragMove(int x, int y)
{
    int stepX = 0;
    int stepY = 0;
    if (x < m_marginWidth)
        stepX = (x - m_marginWidth) >> 3;
    else if (x > m_textWidth - m_charWidth)
        stepX = ((x - m_textWidth + m_charWidth) | 8) >> 3;
    if (y < 0)
        stepY = y >> 3;
    else if (y > m_textHeight - m_charHeight)
        stepY = ((y - m_textHeight + m_charHeight) | 8) >> 3;
    m_stepX = stepX;
    m_stepY = stepY;
    const AnsiCell cell = CellAt(x, y);
    const bool guardPassed = Now() >= m_dragGuard;
    if (stepX != 0 || stepY != 0) {
        if (stepY == 0 && guardPassed) SetCursor(m_cursorColumn, cell.line, kExtend | kByMouse);
        if (m_timerKind != 1) StartTimer(1);
    } else {
        if (guardPassed) SetCursor(cell.column, cell.line, kExtend | kByMouse);
        if (m_timerKind == 1) StopTimer();
    }
    Recalc(0);
}

void CAnsiView::MouseMove(int keys, int x, int y, Qt::MouseButtons buttons)
{
    m_lastMouseX = x;
    m_lastMouseY = y;
    if (m_rightMode == 3) {
        if (!buttons.testFlag(Qt::RightButton))
            RightUp(keys, x, y);
        else
            PanMove(x, y);
        return;
    }
    if ((m_rightMode == 1 || m_rightMode == 2) &&
        (std::abs(x - m_pressX) >= kPanThreshold || std::abs(y - m_pressY) >= kPanThreshold)) {
        StartPanning();
        PanMove(x, y);
        return;
    }
    const AnsiCell cell = CellAt(x, y);
    if (m_leftDrag == 1 && buttons.testFlag(Qt::LeftButton)) return DragMove(x, y);
    if (m_leftDrag == 2 && buttons.testFlag(Qt::LeftButton)) {
        OnMarginMouse((keys & 0xFF) | kMarginDragMove, x, y, cell.line);
        return;
    }
    OnMouseMove(keys, x, y, cell.column, cell.line);
}

// The platform's menu request comes on the right button's press: the text window's menu
// opens on a short click's release instead (a long press pans), so the request is only
// taken here, where it would otherwise reach the parent. The Menu key opens the menu
// at the cursor cell.
void CAnsiView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse) return;
    const QRect cell = CellRect(m_cursorColumn, m_cursorLine);
    const QRect inside = cell.intersected(QRect(0, 0, m_textWidth, m_textHeight));
    const QPoint at = inside.isEmpty() ? QPoint(m_textWidth / 2, m_textHeight / 2) : inside.bottomLeft();
    ContextMenu(at.x(), at.y(), nullptr);
}

// ---- right button -------------------------------------------------------------------

void CAnsiView::RightDown(int keys, int x, int y)
{
    m_pressX = m_lastMouseX = x;
    m_pressY = m_lastMouseY = y;
    const AnsiCell cell = CellAt(x, y);
    const bool inMargin = x >= 0 && x < m_marginWidth;
    if (inMargin ? OnMarginMouse((keys & 0xFF) | kMarginRight | kMarginDown, x, y, cell.line)
                 : OnRButtonDown(keys, x, y, cell.column, cell.line))
        return;
    if (m_leftDrag != 0) {
        m_rightMode = 0;
        return;
    }
    m_rightMode = inMargin ? 2 : 1;
    StartTimer(2);
}

void CAnsiView::RightUp(int keys, int x, int y)
{
    if (m_timerKind == 2) StopTimer();
    const int mode = m_rightMode;
    m_rightMode = 0;
    const AnsiCell cell = CellAt(x, y);
    const bool inMargin = x >= 0 && x < m_marginWidth;
    const bool handled = inMargin ? OnMarginMouse((keys & 0xFF) | kMarginRight | kMarginUp, x, y, cell.line)
                                  : OnRButtonUp(keys, x, y, cell.column, cell.line);
    if (mode == 3) return EndPanning();
    if (!handled && (mode == 1 || mode == 2)) ContextMenu(x, y, nullptr);
}

void CAnsiView::RightDoubleClick(int keys, int x, int y)
{
    const AnsiCell cell = CellAt(x, y);
    if (x >= 0 && x < m_marginWidth)
        OnMarginMouse((keys & 0xFF) | kMarginRight | kMarginDouble, x, y, cell.line);
    else
        OnRButtonDblClk(keys, x, y, cell.column, cell.line);
}

// ---- panning ------------------------------------------------------------------------

void CAnsiView::StartPanning()
{
    StopTimer();
    setCursor(Qt::ClosedHandCursor);
    m_panStartColumn = m_firstColumn;
    m_panStartLine = m_firstLine;
    m_rightMode = 3;
}

// The view follows the pointer pixel by pixel: whole cells scroll, the rest is an offset.
void CAnsiView::PanMove(int x, int y)
{
    const auto split = [](int distance, int cell, int& offset) {
        int cells = distance / cell;
        offset = distance % cell;
        if (offset < 0) offset += cell, --cells;
        return cells;
    };
    int offsetX = 0;
    int offsetY = 0;
    int column = m_panStartColumn + split(m_pressX - x, m_charWidth, offsetX);
    AnsiLine line = m_panStartLine + split(m_pressY - y, m_charHeight, offsetY);
    if (column < 0) column = 0, offsetX = 0;
    if (line < 0) line = 0, offsetY = 0;
    m_panX = offsetX;
    m_panY = offsetY;
    if (column == m_firstColumn && line == m_firstLine) return Redraw(false);
    m_firstColumn = column;
    m_firstLine = line;
    m_pending |= kRedrawAll;
    Recalc(0);
}

// Releasing snaps to the nearer cell: half a cell or more moves on by one.
void CAnsiView::EndPanning()
{
    unsetCursor();
    setCursor(Qt::IBeamCursor);
    const int column = m_firstColumn + (2 * m_panX >= m_charWidth ? 1 : 0);
    const AnsiLine line = m_firstLine + (2 * m_panY >= m_charHeight ? 1 : 0);
    m_panX = 0;
    m_panY = 0;
    m_firstColumn = column;
    m_firstLine = line;
    m_pending |= kRedrawAll;
    Recalc(0);
}

// ---- timer --------------------------------------------------------------------------

void CAnsiView::SetClock(std::unique_ptr<AnsiClock> clock)
{
    m_autoScroller.reset();
    if (m_timer) StopTimer();
    m_timer.reset();
    m_clock = std::move(clock);
    m_timer = m_clock->MakeTicker(kDragTimerMs, [this] { TimerTick(); });
    m_dragGuard = 0; // a guard of the old clock means nothing on the new one
}

void CAnsiView::StartTimer(int kind)
{
    m_timerKind = kind;
    m_timerTicks = 0;
    m_timer->Start();
}

void CAnsiView::StopTimer()
{
    m_timer->Stop();
    m_timerKind = 0;
}

void CAnsiView::TimerTick()
{
    ++m_timerTicks;
    if (m_timerKind == 1) {
        if (Now() < m_dragGuard) return;
        SetCursor(m_stepX, m_stepY, kRelative | kExtend | kByMouse);
        Recalc(0);
        return;
    }
    if (m_timerKind != 2 || m_timerTicks < kLongPressTicks) return;
    if (std::abs(m_lastMouseX - m_pressX) < kPanThreshold ||
        std::abs(m_lastMouseY - m_pressY) < kPanThreshold)
        StartPanning();
    else
        StopTimer();
}

// ---- wheel and automatic scrolling --------------------------------------------------

void CAnsiView::Wheel(int keys, int delta, Qt::KeyboardModifiers modifiers)
{
    if (OnMouseWheelHook(keys, delta)) return;
    const AnsiLine before = m_firstLine;
    const int lines = modifiers.testFlag(Qt::ControlModifier) ? std::max(1, m_visibleLines - 1)
                      : modifiers.testFlag(Qt::ShiftModifier) ? 9
                                                              : 3;
    m_firstLine += delta > 0 ? -lines : lines;
    Recalc(0);
    if (m_firstLine == before) return;
    OnKeyScroll(0);
    if (keys & kKeyLeft) MouseMove(keys, m_lastMouseX, m_lastMouseY, Qt::LeftButton);
}

void CAnsiView::StartAutoScroll(QPoint origin)
{
    m_autoScroller = std::make_unique<AnsiAutoScroller>(*this, origin, AnsiAutoScroller::kBoth);
}

bool CAnsiView::IsAutoScrolling() const
{
    return m_autoScroller && m_autoScroller->IsActive();
}

} // namespace dualvex
