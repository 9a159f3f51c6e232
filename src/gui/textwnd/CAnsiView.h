// The scrolling fixed-pitch text window on which the hex panes are built. It owns no
// text: a derived view produces each visible line on demand (LineText or PrintLine).
// The view keeps the cell grid, the scroll position, the cursor cell and caret, an
// optional margin strip, and turns keyboard, mouse and wheel input into calls of the
// virtual hooks below.
#pragma once

#include "core/support/Position.h"
#include "gui/textwnd/AnsiClock.h"
#include "gui/textwnd/AnsiStyleSet.h"

#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

class QMenu;
class QScrollBar;

namespace dualvex {

class AnsiAutoScroller;

using AnsiLine = HexPos; // line index; one line per byte of a 4 GiB image still fits

// Cells of one line as a derived view delivers them: the text from `firstColumn` on and
// the attribute runs over it (low byte: format of text colour and font style, high byte:
// format of the background, 0 = the low byte's). Text beyond the runs uses attribute 0.
struct AnsiRun {
    int length = 0;
    std::uint16_t attribute = 0;
};
struct AnsiLineText {
    int firstColumn = 0;
    QString text;
    std::vector<AnsiRun> runs;
};

// A cell position (column, line), as the 10227 operations return it.
struct AnsiCell {
    int column = 0;
    AnsiLine line = 0;
    bool operator==(const AnsiCell&) const = default;
};

class CAnsiView : public QWidget {
    Q_OBJECT
  public:
    // Notification codes to the owner and the owner's command message.
    enum Notification { kScrolled = 10228, kFocusGained = 10229, kFocusLost = 10230 };
    static constexpr int kViewCommand = 10227;
    static constexpr int kColorsCommand = 37424;
    static constexpr int kFontsCommand = 37425;
    static constexpr int kDragTimerMs = 165;
    static constexpr int kMaxMargin = 2000;

    // Pending-redraw word.
    enum Redraw : std::uint32_t {
        kRedrawAll = 1u << 31,
        kRedrawCaret = 1u << 30,
        kRedrawCursorLine = 1u << 29,
        kRedrawBelowCursor = 1u << 28,
        kRedrawCursorTail = 1u << 27,
        kRedrawRun = 1u << 26,
        kRedrawFromLine = 1u << 25,
        kRedrawOneLine = 1u << 24,
        kUpdating = 1u << 22,
    };
    // Scroll style bits.
    enum ScrollStyle : std::uint32_t {
        kKeepColumnZero = 1,
        kKeepLineZero = 2,
        kNoHorizontalRange = 4,
        kNoVerticalRange = 8,
        kExactColumnRange = 16,
        kExactLineRange = 32,
        kHorizontalBarAlways = 0x100,
        kVerticalBarAlways = 0x200,
    };
    // SetCursor flags.
    enum CursorFlag : int {
        kRelative = 1,
        kExtend = 2,
        kCtrl = 4,
        kByMouse = 8,
        kButtonPress = 16,
        kArrowStep = 128,
    };
    // Recalc flags.
    enum RecalcFlag : int { kCentreJump = 1, kQuiet = 2, kNoPaint = 4 };
    // Caret mode bits.
    enum CaretMode : int {
        kThinCaret = 1,
        kCaretShown = 2,
        // Not a mode: keeps the stored one and only makes the caret again (after the
        // cell size may have changed).
        kRecreateCaret = 4,
    };

    CAnsiView(const QString& styleSetName, int columnCount, AnsiLine lineCount, QWidget* parent = nullptr);
    ~CAnsiView() override;
    CAnsiView(const CAnsiView&) = delete;
    CAnsiView& operator=(const CAnsiView&) = delete;

    // ---- hooks a derived view overrides ---------------------------------------------
    // Delivers the cells of one line (line < LineCount()); false = the view has no text
    // source, and the base shows its "not derived" line instead. Only the columns from
    // `firstColumn` on, `columnCount` of them, are shown, so a view may leave the rest out.
    virtual bool LineText(AnsiLine line, int firstColumn, int columnCount, AnsiLineText& out);
    // Draws one row whose column 0 lies at x0 and returns the columns drawn; the base
    // draws LineText. Override only for drawing beyond text and colours.
    virtual int PrintLine(QPainter& painter, const QRect& row, AnsiLine line, int firstColumn,
                          int columnCount, int x0);
    virtual void PrintMargin(QPainter& painter, const QRect& margin, AnsiLine line);
    virtual int OnColorsDialog();
    virtual bool SetMarginWidth(int pixels);
    virtual void OnSettingsChanged(int what);
    virtual void ContextMenu(int x, int y, QMenu* menu);
    virtual int SetCursor(int column, AnsiLine line, int flags);
    virtual void OnScrolled();
    virtual void OnResize(int visibleColumns, int visibleLines, int deltaColumns, int deltaLines);
    virtual int OnKeyScroll(int key);
    virtual void OnChar(const QString& text, int flags);
    virtual int OnKeyUp(int key, int flags);
    virtual bool OnKeyDown(int key, int flags);
    virtual bool OnLButtonDblClk(int keys, int x, int y, int column, AnsiLine line);
    virtual bool OnRButtonDblClk(int keys, int x, int y, int column, AnsiLine line);
    virtual bool OnLButtonDown(int keys, int x, int y, int column, AnsiLine line);
    virtual bool OnRButtonDown(int keys, int x, int y, int column, AnsiLine line);
    virtual bool OnLButtonUp(int keys, int x, int y, int column, AnsiLine line);
    virtual bool OnRButtonUp(int keys, int x, int y, int column, AnsiLine line);
    virtual bool OnMouseMove(int keys, int x, int y, int column, AnsiLine line);
    virtual bool OnMarginMouse(int code, int x, int y, AnsiLine line);
    virtual bool OnMouseWheelHook(int keys, int delta);
    virtual QScrollBar* GetScrollBar(int index) const;

    // ---- formats and fonts --------------------------------------------------------------
    [[nodiscard]] AnsiStyleSet& StyleSet() const { return *m_styleSet; }
    [[nodiscard]] long StyleSetUseCount() const { return m_styleSet.use_count(); }
    int AddFormat(std::uint32_t background, std::uint32_t text, const QString& name, std::uint32_t id,
                  int fontStyle);
    bool UpdateFormat(std::uint32_t text, std::uint32_t background, const QString& name, std::uint32_t id,
                      int fontStyle);
    // Tries the face (or the recorded one when height is 0), then the usual fixed faces,
    // and ends with the system's fixed font; only fixed-pitch results count.
    void SetFont(int height, const QString& face);
    void FontDialog();
    // Settings of the style set below path + "\" + set name; machine layer first, then user.
    bool LoadSettings(const QString& path, bool machine);
    bool SaveSettings(const QString& path = QString());

    // ---- layout and scrolling -----------------------------------------------------------
    void Recalc(int flags);
    void Redraw(bool now);
    AnsiCell ScrollTo(int column, AnsiLine line);
    void SetScrollPosition(int column, AnsiLine line, bool paint);
    [[nodiscard]] AnsiCell GetScrollPosition() const { return {m_firstColumn, m_firstLine}; }
    // Stores modes 0-3; kRecreateCaret only makes the caret again. Returns the previous mode.
    int SetCaretMode(int mode);
    // The owner's command message 10227: op 0 set cursor, 1/5 query cursor, 2 scroll,
    // 3 query scroll position, 4 extend the selection to a cell.
    AnsiCell ViewCommand(int op, int x, AnsiLine y);

    // ---- pending redraw -----------------------------------------------------------------
    void MarkRedraw(std::uint32_t bits) { m_pending |= bits; }
    void MarkRedrawFrom(AnsiLine line);
    void MarkRedrawLine(AnsiLine line);
    void MarkRedrawRun(AnsiLine first, int count);
    [[nodiscard]] std::uint32_t PendingRedraw() const { return m_pending; }

    // ---- state --------------------------------------------------------------------------
    [[nodiscard]] AnsiCell CursorCell() const { return {m_cursorColumn, m_cursorLine}; }
    [[nodiscard]] int CharWidth() const { return m_charWidth; }
    [[nodiscard]] int CharHeight() const { return m_charHeight; }
    [[nodiscard]] int VisibleColumns() const { return m_visibleColumns; }
    [[nodiscard]] int VisibleLines() const { return m_visibleLines; }
    // The rows shown completely (a partly shown bottom row left out).
    [[nodiscard]] int FullLines() const { return std::max(1, m_visibleLines - m_partialLine); }
    [[nodiscard]] int TextWidth() const { return m_textWidth; }
    [[nodiscard]] int TextHeight() const { return m_textHeight; }
    [[nodiscard]] int MarginWidth() const { return m_marginWidth; }
    [[nodiscard]] AnsiLine LineCount() const { return m_lineCount; }
    [[nodiscard]] int ColumnCount() const { return m_columnCount; }
    void SetLineCount(AnsiLine count) { m_lineCount = std::max<AnsiLine>(0, count); }
    void SetColumnCount(int count) { m_columnCount = std::max(0, count); }
    [[nodiscard]] std::uint32_t ScrollStyle() const { return m_scrollStyle; }
    void SetScrollStyle(std::uint32_t style) { m_scrollStyle = style; }
    [[nodiscard]] int CaretMode() const { return m_caretMode; }
    // Modifier state sampled at the last key or focus event: bit 0 Shift, bit 1 Ctrl.
    [[nodiscard]] int Modifiers() const { return m_modifiers; }
    [[nodiscard]] QPoint PanOffset() const { return {m_panX, m_panY}; }
    [[nodiscard]] bool IsPanning() const { return m_rightMode == 3; }
    [[nodiscard]] bool IsAutoScrolling() const;
    [[nodiscard]] int TimerKind() const { return m_timerKind; }
    // Rectangle of a cell in widget coordinates (for painting checks and the caret).
    [[nodiscard]] QRect CellRect(int column, AnsiLine line) const;
    // The cell under a widget position, rounded to the nearer cell boundary horizontally.
    [[nodiscard]] AnsiCell CellAt(int x, int y) const;
    void SetPointer(const QCursor* cursor);
    // Replaces the clock behind the drag, long-press and automatic-scrolling timers and the
    // double-click guard; running timers stop and automatic scrolling ends first.
    void SetClock(std::unique_ptr<AnsiClock> clock);

    // Draws attributed text at a cell origin (x of the cell, top of the row).
    void DrawCells(QPainter& painter, int x, int top, QStringView text, std::uint16_t attribute) const;

  signals:
    // Codes 10228 (scrolled: first column, first line), 10229 and 10230 (focus: 0, 0).
    void Notify(dualvex::CAnsiView* view, int code, qint64 value1, qint64 value2);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    friend class AnsiAutoScroller;

    // layout
    void SizePass(int width, int height);
    void MeasureColumns();
    void MeasureLines();
    void FollowCursor(int flags, AnsiLine& centreMargin, bool& lineChanged);
    void ClampScrollPosition(AnsiLine centreMargin, bool lineChanged);
    [[nodiscard]] int HorizontalExtent() const;
    [[nodiscard]] AnsiLine VerticalExtent() const;
    [[nodiscard]] int LastFirstColumn() const;
    [[nodiscard]] AnsiLine LastFirstLine() const;
    void UpdateHorizontalBar(bool force);
    void UpdateVerticalBar(bool force);
    void WriteBarPositions(int flags);
    void OnBarMoved(int index, int value);
    void ApplyCellSize();
    void RelayoutPartners();
    [[nodiscard]] std::vector<CAnsiView*> Partners() const;
    // painting
    void Draw();
    void InvalidateLines(AnsiLine first, AnsiLine last);
    void InvalidateCaret();
    [[nodiscard]] QRect CaretRect() const;
    void PaintRow(QPainter& painter, AnsiLine line, int top, int x0, int columns);
    void PaintCaret(QPainter& painter);
    // keyboard
    bool HandleKeyDown(int key, int repeat, Qt::KeyboardModifiers modifiers);
    bool KeyStep(int key);
    void KeyScroll(int key);
    void SampleModifiers(Qt::KeyboardModifiers modifiers);
    // mouse
    [[nodiscard]] int KeysOf(const QMouseEvent* event) const;
    void LeftDown(int keys, int x, int y);
    void LeftDoubleClick(int keys, int x, int y);
    void LeftUp(int keys, int x, int y);
    void RightDown(int keys, int x, int y);
    void RightUp(int keys, int x, int y);
    void RightDoubleClick(int keys, int x, int y);
    void MouseMove(int keys, int x, int y, Qt::MouseButtons buttons);
    void DragMove(int x, int y);
    void PanMove(int x, int y);
    void StartPanning();
    void EndPanning();
    void TimerTick();
    void StartTimer(int kind);
    void StopTimer();
    void Wheel(int keys, int delta, Qt::KeyboardModifiers modifiers);
    void StartAutoScroll(QPoint origin);
    [[nodiscard]] qint64 Now() const { return m_clock->Now(); }

    std::shared_ptr<AnsiStyleSet> m_styleSet;
    QScrollBar* m_bars[2] = {nullptr, nullptr};
    bool m_barShown[2] = {false, false};
    AnsiLine m_barScale = 1; // lines per vertical bar unit, above 1 only for huge line counts

    int m_charWidth = 1;
    int m_charHeight = 1;
    int m_visibleColumns = 1;
    int m_visibleLines = 1;
    int m_windowWidth = 0;
    int m_windowHeight = 0;
    int m_textWidth = 0;
    int m_textHeight = 0;
    int m_firstColumn = 0;
    AnsiLine m_firstLine = 0;
    int m_cursorColumn = 0;
    AnsiLine m_cursorLine = 0;
    int m_caretMode = kCaretShown;
    int m_lastCaretMode = -1;
    AnsiLine m_lineCount = 0;
    int m_columnCount = 0;
    std::uint32_t m_pending = kRedrawAll;
    AnsiLine m_pendingLine = 0; // line of bits 24-26 (kept apart so no line number is cut)
    int m_pendingCount = 0;     // count of bit 26
    int m_modifiers = 0;        // bit 0 Shift, bit 1 Ctrl
    int m_marginWidth = 0;
    std::uint32_t m_scrollStyle = 0;
    std::uint32_t m_lastStyle = 0xFFFFFFFFu;
    bool m_hasFocus = false;
    int m_drawnColumn = 0;
    AnsiLine m_drawnLine = 0;
    int m_barColumns = -1; // visible columns at the last scroll-bar update
    int m_barLines = -1;
    int m_barColumn = 0; // positions last written into the bars
    AnsiLine m_barLine = 0;
    int m_partialColumn = 0;
    int m_partialLine = 0;
    int m_lastColumnCount = -1;
    AnsiLine m_lastLineCount = -1;
    QRect m_caretRect;              // where the caret was last drawn
    mutable QColor m_rowBackground; // background of the last cells drawn, for the rest of a row
    int m_resizeDepth = 0;
    bool m_barUpdate = false; // bars are being written by the layout, not the user

    // input state
    int m_lastMouseX = 0;
    int m_lastMouseY = 0;
    int m_pressX = 0;
    int m_pressY = 0;
    int m_leftDrag = 0;  // 0 none, 1 selecting, 2 dragging in the margin
    int m_rightMode = 0; // 0 none, 1 text area, 2 margin, 3 panning
    int m_timerKind = 0; // 0 none, 1 drag auto-scroll, 2 long-press detection
    int m_timerTicks = 0;
    int m_stepX = 0;
    int m_stepY = 0;
    qint64 m_dragGuard = 0;
    int m_panStartColumn = 0;
    AnsiLine m_panStartLine = 0;
    int m_panX = 0;
    int m_panY = 0;
    // Declared before everything that holds a ticker of it, so it goes last.
    std::unique_ptr<AnsiClock> m_clock;
    std::unique_ptr<AnsiClock::Ticker> m_timer;
    std::unique_ptr<AnsiAutoScroller> m_autoScroller;
};

} // namespace dualvex
