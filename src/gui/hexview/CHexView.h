// The hex pane: a text window that shows one borrowed byte image as address,
// hex and character columns, with cursor, selection, marks, difference marks,
// typing with undo, and the clipboard. All decisions live in HexViewCore; this
// widget forwards input to it, draws the lines it builds and turns what changed
// into repaints and notifications.
#pragma once

#include "core/hexview/HexConfigModel.h"
#include "core/hexview/HexViewCore.h"
#include "gui/hexview/HexLinePainter.h"
#include "gui/support/CommandTarget.h"
#include "gui/textwnd/CAnsiView.h"

#include <QMetaType>

#include <cstdint>
#include <memory>
#include <span>

namespace dualvex {

class BackgroundJob;
class HexPaneSearch;
class PaneSearch;

class CHexView : public CAnsiView {
    Q_OBJECT
  public:
    explicit CHexView(QWidget* parent = nullptr, std::uint32_t flags = 0);
    ~CHexView() override;

    // ---- data ---------------------------------------------------------------------------
    // Borrows the buffer (no copy); kDataEditable binds it for typing, otherwise the
    // pane is read-only. Returns the previous length.
    HexPos SetData(std::uint8_t* bytes, HexPos length, std::uint32_t base, unsigned flags);
    HexPos SetData(const std::uint8_t* bytes, HexPos length, std::uint32_t base, unsigned flags);
    HexPos SetOwnedData(std::unique_ptr<std::uint8_t[]> bytes, HexPos length, std::uint32_t base,
                        unsigned flags);
    const std::uint8_t* GetData(HexPos* length, std::uint32_t* base) const
    {
        return m_core.GetData(length, base);
    }
    // The whole image; empty without data.
    std::span<const std::uint8_t> Bytes() const;
    std::uint32_t SetBaseAddress(std::uint32_t base);
    // One bit per byte, least significant first, borrowed; a negative count means
    // the data length. Marks are shown wherever the bit set reaches.
    void SetDiffBits(const std::uint8_t* bits, HexPos count);
    const std::uint8_t* GetDiffBits(HexPos* count) const { return m_core.GetDifferenceBits(count); }
    int SetMark(int index, HexPos start, HexPos count);

    // ---- position -----------------------------------------------------------------------
    HexPos SetTopAddress(HexPos position, bool absolute);
    HexPos GetTopPosition(bool absolute) const;
    // The length the pane scrolls over when it is shorter than its partner.
    void SetScrollLength(HexPos length);
    // Silent moves: the owner's own operations send no selection notification.
    int SetCursorPos(HexPos position, bool absolute, bool extend = false);
    int SelectTo(HexPos position, bool absolute);
    int ClearSelection();
    HexPos GetCursorPos(bool absolute) const { return m_core.GetCursor(absolute); }
    HexPos GetSelectionStart(bool absolute) const { return m_core.GetSelectionStart(absolute); }
    // Lower end and length of the selection (0 without one: then the cursor).
    HexPos GetSelection(bool absolute, HexPos* count) const { return m_core.GetSelection(absolute, count); }
    bool GetSelectionEx(HexPos* start, HexPos* count, bool absolute, HexPos cap) const
    {
        return m_core.GetSelectionEx(start, count, absolute, cap);
    }
    // First byte index shown at the top left and the bytes one page holds.
    HexPos FirstVisiblePosition(bool absolute) const { return GetTopPosition(absolute); }
    HexPos VisibleByteCount() const;
    // The command message 10228 with its operation numbers.
    std::int64_t HexCommand(int op, std::int64_t value);

    // ---- settings -----------------------------------------------------------------------
    int GetSetting(int index) const { return m_core.GetSetting(index); }
    int SetLayout(const HexLayoutChange& change);
    int SetWidthMode(int width, int snap, int statusMode, int selectionRaster);
    // The "Konfiguration" dialog; on OK the values apply and 11254 is sent.
    void ConfigDialog();
    // What OK in the dialog does: apply the values and send 11254.
    void ApplyConfig(const HexConfigState& state);

    // ---- commands -----------------------------------------------------------------------
    bool OnCommand(int id);
    bool OnUpdateCommand(int id, CommandState& state) const;
    bool Copy();
    bool PasteValue();
    bool PasteHex();
    bool Undo();
    bool Redo();
    // Insert number and the tools: bytes written at the selection's lower end or the
    // cursor, clipped at the data end, with one undo record.
    [[nodiscard]] HexWriteResult WriteBytes(const std::uint8_t* bytes, HexPos count);
    bool IsReadOnly() const { return m_core.IsReadOnly(); }
    bool IsModified() const { return m_core.IsModified(); }
    bool HasSelection() const { return m_core.HasSelection(); }

    const HexViewCore& Core() const { return m_core; }
    // The widget rectangle of one byte's hex digits or character cell (for tests and tools).
    QRect HexCellRect(HexPos index) const;
    QRect CharCellRect(HexPos index) const;

    // The pane's search commands (find, find next, range search, go to).
    PaneSearch& Search();

    // ---- text window hooks --------------------------------------------------------------
    int PrintLine(QPainter& painter, const QRect& row, AnsiLine line, int firstColumn, int columnCount,
                  int x0) override;
    void PrintMargin(QPainter& painter, const QRect& margin, AnsiLine line) override;
    void OnSettingsChanged(int what) override;
    void ContextMenu(int x, int y, QMenu* menu) override;
    int SetCursor(int column, AnsiLine line, int flags) override;
    void OnScrolled() override;
    void OnResize(int visibleColumns, int visibleLines, int deltaColumns, int deltaLines) override;
    void OnChar(const QString& text, int flags) override;
    bool OnKeyDown(int key, int flags) override;
    // The line width in columns (what the base's query slot answers).
    int QueryLineWidth() const { return m_core.Layout().LineWidth(); }

  signals:
    // A tool or search started work on a worker thread (large data); the owner may
    // show its progress and offer to cancel it.
    void BackgroundWork(dualvex::BackgroundJob* job);
    // 10228 scrolled (first column, top line), 11253 selection (lower, upper, 1 or
    // 0, 0, 0), 11254 settings confirmed, 11255 focus lost, 11256 focus gained.
    void HexNotification(dualvex::CHexView* view, int code, dualvex::HexNotify body);
    // The cursor, selection or status mode changed: the status display refreshes.
    void StatusChanged(dualvex::CHexView* view);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    void RegisterFormats();
    void LoadViewSettings();
    void SaveViewSettings();
    // Acts on everything a core call changed.
    void Apply(int recalcFlags = kQuiet);
    void NotifyIfScrolled();
    int WholeRows() const;
    void ApplyRepaint(const HexViewUpdate& update);
    void Beep() const;
    bool Refuse() const;
    QRect ColumnRect(HexPos index, int column) const;
    // tools
    std::span<const std::uint8_t> ToolInput(HexPos fallback) const;
    std::span<const std::uint8_t> BytesAtCursor(HexPos count) const;
    bool HasData() const;
    bool RunTool(int id);
    bool UpdateTool(int id, CommandState& state) const;
    void OpenChecksum();
    void OpenCrc();
    void OpenCalculator();
    void OpenFloatConverter();
    void OpenInsertNumber();
    void OpenCppCopy();
    void CopyEscaped();
    bool PasteText(bool asHex);

    HexViewCore m_core;
    std::unique_ptr<HexPaneSearch> m_search;
    HexLinePainter m_painter;
    HexLineText m_line;
    int m_fitDepth = 0;
    bool m_applying = false;   // the core's scroll position is being handed to the window
    bool m_keyHandled = false; // the last key went to a hook: its character is not typed
    HexPos m_notifiedTop = 0;  // the top address the last scroll notification named
};

} // namespace dualvex

Q_DECLARE_METATYPE(dualvex::HexNotify)
