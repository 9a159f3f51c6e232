// The state and operations of one hex view without any window: the borrowed
// data, layout and scrolling, cursor and selection, marks, the difference
// overlay, editing with undo, the clipboard texts and the settings. The Qt
// widget forwards input here, draws the lines PrintLine builds and acts on
// the HexViewUpdate each call leaves behind.
#pragma once

#include "core/hexview/HexCursor.h"
#include "core/hexview/HexLayout.h"
#include "core/hexview/HexLineText.h"
#include "core/hexview/HexSettings.h"
#include "core/hexview/HexTypes.h"
#include "core/hexview/HexViewUpdate.h"
#include "core/hexview/UndoRing.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dualvex {

// SetData flags. Ownership is not a flag: SetOwnedData takes it, and the
// view never frees the buffer it is being bound to.
enum : unsigned {
    kDataEditable = 0x01,
    kDataKeepPosition = 0x04,
    kDataNoRepaint = 0x08,
    kDataKeepLayout = 0x10,
};

// Indexes of GetSetting.
enum : int {
    kSettingLineWidth = 0,
    kSettingExtraSpace = 1,
    kSettingInsertSpace = 2,
    kSettingRaster = 3,
    kSettingWidthRaster = 4,
    kSettingFlags = 5,
    kSettingStatusMode = 6,
    kSettingAddressLength = 7,
    kSettingFormat = 8,
    kSettingInvert = 9,
    kSettingSelectionRaster = 10,
};

// Operation numbers of the command message 10228.
enum : int {
    kCommandMessage = 10228,
    kOpSetCursor = 0,
    kOpGetSelectionStart = 1,
    kOpSetTop = 2,
    kOpGetTop = 3,
    kOpSelectTo = 4,
    kOpGetSelectionLower = 5,
    kOpSetBase = 6,
    kOpGetBase = 7,
    kOpGetLength = 8,
};

enum class HexWriteResult { Written, ReadOnly, Outside };

class HexViewCore {
  public:
    // flags: initial view flags; the modified bit is dropped and 0x018E added.
    explicit HexViewCore(std::uint32_t flags = 0);
    HexViewCore(const HexViewCore&) = delete;
    HexViewCore& operator=(const HexViewCore&) = delete;

    // --- data binding; each returns the previous length ---
    // Borrowed data that may be edited when kDataEditable is given.
    HexPos SetData(std::uint8_t* data, HexPos length, std::uint32_t base, unsigned flags);
    // Borrowed read-only data; an editable request binds length 0.
    HexPos SetData(const std::uint8_t* data, HexPos length, std::uint32_t base, unsigned flags);
    // Data the view owns and frees when it is replaced or destroyed.
    HexPos SetOwnedData(std::unique_ptr<std::uint8_t[]> data, HexPos length, std::uint32_t base,
                        unsigned flags);
    const std::uint8_t* GetData(HexPos* length, std::uint32_t* base) const;
    HexPos Length() const { return m_layout.Length(); }
    std::uint32_t Base() const { return m_base; }
    std::uint32_t SetBaseAddress(std::uint32_t base);

    // Difference bits (one per byte index, least significant bit first);
    // a negative count means the data length.
    void SetDifferenceBits(const std::uint8_t* bits, HexPos count);
    const std::uint8_t* GetDifferenceBits(HexPos* count) const;

    // index 0..7 (marks 1..8), -1 the first free mark, -2 clears all.
    // Returns the mark's index, or 8 when nothing could be set.
    int SetMark(int index, HexPos start, HexPos count);
    // 0 the selection, 1..8 the marks.
    const HexRange& Range(int index) const { return m_ranges[index]; }

    // --- layout, lines and scrolling ---
    const HexLayout& Layout() const { return m_layout; }
    int PrintLine(HexPos line, unsigned flags, HexLineText& out) const;
    HexPos SetTopAddress(HexPos position, bool absolute);
    HexPos GetTopPosition(bool absolute) const;
    HexPos TopLine() const { return m_topLine; }
    // Scrolling by the widget's scroll bars and keys; clamped so that the last page
    // ends with the last line once the window size is known.
    void SetTopLine(HexPos line);
    // The window's visible text size (fullLines: the rows shown completely, -1 all of
    // them); runs the auto-fit width when on.
    void OnResize(int columns, int lines, int fullLines = -1);
    int VisibleLines() const { return m_visibleLines; }
    int FullLines() const { return m_fullLines; }
    // Two panes compared side by side scroll over the longer image: the shorter one
    // shows blank lines past its end instead of stopping early. 0 = own length.
    void SetScrollLength(HexPos length);
    HexPos ScrollLength() const { return std::max(Length(), m_scrollLength); }
    // Lines the view scrolls over: the own lines or those of the scroll length.
    HexPos ScrollLineCount() const;
    HexPos PageBytes() const { return static_cast<HexPos>(m_layout.Width()) * m_visibleLines; }

    // --- cursor and selection ---
    int SetCursor(int x, HexPos y, unsigned flags);
    int SetCursorPos(HexPos position, bool absolute, bool extend = false);
    int SelectTo(HexPos position, bool absolute);
    int ClearSelection();
    const HexCursor& Cursor() const { return m_cursor; }
    bool HasSelection() const { return m_ranges[0].active; }
    HexPos GetCursor(bool absolute) const { return m_cursor.index + Offset(absolute); }
    HexPos GetSelectionStart(bool absolute) const;
    HexPos GetSelection(bool absolute, HexPos* count) const;
    bool GetSelectionEx(HexPos* start, HexPos* count, bool absolute, HexPos cap) const;
    HexPos CopySelectionBytes(std::uint8_t* dest, HexPos capacity) const;
    HexPos CopyBytesAtCursor(std::uint8_t* dest, HexPos capacity) const;
    // Tab and Shift+Tab: hex, characters, address; hidden areas skipped.
    void CycleArea(bool backward);

    // --- editing ---
    bool IsReadOnly() const { return (m_flags & kHexReadOnly) != 0; }
    bool IsModified() const { return (m_flags & kHexModified) != 0; }
    // A typed character: hex digit, character, Tab, Backspace.
    bool TypeChar(unsigned char ch);
    bool CanUndo() const { return !IsReadOnly() && m_undo.CanUndo(); }
    bool CanRedo() const { return !IsReadOnly() && m_undo.CanRedo(); }
    bool Undo();
    bool Redo();
    bool CanPaste() const { return Length() > 0 && !IsReadOnly(); }
    // The copy text of the selection (8-bit); empty without a selection.
    std::string CopyText() const;
    // Writes converted clipboard bytes over the selection or at the cursor.
    bool PasteBytes(const std::vector<std::uint8_t>& bytes);
    bool PasteHex(std::string_view text);
    // Paste as value: quoted text, hex dump, bit mask or number.
    bool PasteValue(std::string_view text);
    // Insert number: the bytes at the selection's lower end or the cursor.
    [[nodiscard]] HexWriteResult WriteBytes(const std::uint8_t* bytes, HexPos count);

    // --- settings ---
    std::uint32_t Flags() const { return m_flags; }
    // Shows or hides the three areas (kHexHideHex, kHexHideChars, kHexHideAddress).
    void SetHiddenAreas(std::uint32_t hidden);
    int SetLayout(const HexLayoutChange& change);
    int SetWidthMode(int width, int snap, int statusMode, int selectionRaster);
    int GetSetting(int index) const;
    void ApplySettings(HexSettings settings);
    HexSettings Settings() const;
    int StatusMode() const { return m_statusMode; }

    // The command message 10228.
    std::int64_t Command(int op, std::int64_t value);

    // What changed since the last call; the widget takes it after each call.
    HexViewUpdate TakeUpdate();

  private:
    HexPos Bind(const std::uint8_t* data, std::uint8_t* writable, HexPos length, std::uint32_t base,
                unsigned flags, std::unique_ptr<std::uint8_t[]> owned);
    HexPos Offset(bool absolute) const { return absolute ? static_cast<HexPos>(m_base) : 0; }
    HexPos TopIndex() const { return m_layout.LineStart(m_topLine); }
    void ScrollToIndex(HexPos target);
    HexPos LastTopLine() const;
    void ScrollCursorIntoView();
    void Relayout();
    void MoveOutOfHiddenArea(const HexLayout& next);
    static int AutoFitWidth(const HexLayout& layout, int columns);
    void PlaceCursor(HexPos index, int area, int digit, unsigned flags);
    void RestoreCursor();
    void FinishSelection(const HexRange& before, unsigned flags, bool raster);
    void ApplySelectionRaster();
    void RepaintRange(HexPos lower, HexPos upper);
    void RepaintSelectionChange(const HexRange& before, const HexRange& after);
    bool TypeHexDigit(unsigned char ch);
    bool TypeCharacter(unsigned char ch);
    void CommitEdit(HexPos index, std::uint8_t before, UndoKind kind, unsigned stepFlags);
    void AfterUndoStep(const UndoRecord& record, bool redo);
    HexPos WriteTarget() const;
    void WriteWithUndo(HexPos target, const std::uint8_t* bytes, HexPos count);
    bool Beep();
    void SetModified(bool modified);

    std::uint32_t m_flags;
    const std::uint8_t* m_data = nullptr;
    std::uint8_t* m_writable = nullptr;
    std::unique_ptr<std::uint8_t[]> m_owned;
    std::uint32_t m_base = 0;
    const std::uint8_t* m_diffBits = nullptr;
    HexPos m_diffCount = 0;

    HexLayoutParams m_params;
    HexLayout m_layout;
    int m_widthAsSet = 16;
    int m_extraSpaceAsSet = 4;
    int m_snapRaster = 4;
    int m_widthRaster = 4;
    int m_statusMode = 0x1002;
    std::uint32_t m_findFlags = 0;
    bool m_selectionRaster = false;
    HexPos m_topLine = 0;
    HexPos m_scrollLength = 0;
    int m_visibleColumns = 0;
    int m_visibleLines = 0;
    int m_fullLines = 0;

    HexCursor m_cursor;
    HexClickPoint m_click;
    int m_savedCell = 0;
    std::array<HexRange, kHexRangeCount> m_ranges;
    UndoRing m_undo;
    HexViewUpdate m_update;
};

} // namespace dualvex
