#include "core/hexview/HexViewCore.h"

#include "core/hexview/HexClipboard.h"
#include "core/support/TextConv.h"
#include "core/support/ValueText.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace dualvex {

namespace {

HexPos FloorDiv(HexPos a, HexPos b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
HexPos FloorMod(HexPos a, HexPos b)
{
    return a - FloorDiv(a, b) * b;
}
int RoundUp(int value, int step)
{
    return (value + step - 1) / step * step;
}

bool AreaShown(const HexLayout& layout, int area)
{
    switch (area) {
    case kAreaHex: return layout.ShowsHex();
    case kAreaChars: return layout.ShowsChars();
    default: return layout.ShowsAddress() && layout.Digits() > 0;
    }
}

// The area a cursor falls back to when its own is hidden.
int VisibleArea(const HexLayout& layout, int area)
{
    if (area == kAreaHex && !layout.ShowsHex()) area = kAreaChars;
    if (area == kAreaChars && !layout.ShowsChars()) area = kAreaAddress;
    if (area == kAreaAddress && !AreaShown(layout, kAreaAddress))
        area = layout.ShowsHex() ? kAreaHex : kAreaChars;
    return area;
}

} // namespace

HexViewCore::HexViewCore(std::uint32_t flags)
    : m_flags(((flags & ~kHexModified) | kHexDefaultFlags) & ~kHexOwned)
{
    m_ranges[0].attr = kAttrSelection;
    Relayout();
}

// --- data binding ---

HexPos HexViewCore::SetData(std::uint8_t* data, HexPos length, std::uint32_t base, unsigned flags)
{
    return Bind(data, data, length, base, flags, nullptr);
}

HexPos HexViewCore::SetData(const std::uint8_t* data, HexPos length, std::uint32_t base, unsigned flags)
{
    return Bind(data, nullptr, length, base, flags, nullptr);
}

HexPos HexViewCore::SetOwnedData(std::unique_ptr<std::uint8_t[]> data, HexPos length, std::uint32_t base,
                                 unsigned flags)
{
    std::uint8_t* raw = data.get();
    return Bind(raw, raw, length, base, flags, std::move(data));
}

HexPos HexViewCore::Bind(const std::uint8_t* data, std::uint8_t* writable, HexPos length, std::uint32_t base,
                         unsigned flags, std::unique_ptr<std::uint8_t[]> owned)
{
    const HexPos previous = Length();
    const bool editable = (flags & kDataEditable) != 0;
    if (data == nullptr || length < 0 || (editable && writable == nullptr)) length = 0;
    // Replacing the buffer frees an owned one, but never the one being bound.
    if (owned != nullptr || data != m_owned.get()) m_owned = std::move(owned);
    m_data = length > 0 ? data : nullptr;
    m_writable = editable && length > 0 ? writable : nullptr;
    m_base = base;
    m_flags &= ~(kHexReadOnly | kHexOwned | kHexModified);
    if (!editable) m_flags |= kHexReadOnly;
    if (m_owned != nullptr) m_flags |= kHexOwned;
    for (HexRange& range : m_ranges) range.active = false;
    m_undo.Clear();
    m_layout.SetLength(length);
    if ((flags & kDataKeepPosition) == 0) {
        m_layout.SetOffset(0);
        m_topLine = 0;
        m_cursor.index = 0;
        m_cursor.nibble = 1;
        if (m_cursor.area == kAreaAddress) m_cursor.area = kAreaHex;
    }
    if ((flags & kDataKeepLayout) == 0) {
        Relayout();
    } else {
        SetTopLine(m_topLine);
        RestoreCursor();
    }
    m_update.layoutChanged = true;
    m_update.statusChanged = true;
    if ((flags & kDataNoRepaint) == 0) m_update.repaintAll = true;
    return previous;
}

const std::uint8_t* HexViewCore::GetData(HexPos* length, std::uint32_t* base) const
{
    if (length != nullptr) *length = Length();
    if (base != nullptr) *base = m_base;
    return m_data;
}

std::uint32_t HexViewCore::SetBaseAddress(std::uint32_t base)
{
    const std::uint32_t previous = m_base;
    if (base == previous) return previous;
    // Positions are indices, so cursor, selection and top line stay on their
    // bytes; only what a new binding forgets is forgotten.
    m_base = base;
    for (int i = 1; i < kHexRangeCount; ++i) m_ranges[i].active = false;
    m_undo.Clear();
    m_update.repaintAll = true;
    m_update.statusChanged = true;
    return previous;
}

void HexViewCore::SetDifferenceBits(const std::uint8_t* bits, HexPos count)
{
    m_diffBits = bits;
    m_diffCount = bits == nullptr ? 0 : count < 0 ? Length() : count;
    m_update.repaintAll = true;
}

const std::uint8_t* HexViewCore::GetDifferenceBits(HexPos* count) const
{
    if (count != nullptr) *count = m_diffCount;
    return m_diffBits;
}

int HexViewCore::SetMark(int index, HexPos start, HexPos count)
{
    if (index == -2) {
        for (int i = 1; i < kHexRangeCount; ++i) {
            if (m_ranges[i].active) RepaintRange(m_ranges[i].Lower(), m_ranges[i].Upper());
            m_ranges[i].active = false;
        }
        return index;
    }
    if (index == -1) {
        index = 8;
        for (int i = 1; i < kHexRangeCount && index == 8; ++i) {
            if (!m_ranges[i].active) index = i - 1;
        }
    }
    if (index < 0 || index > 7) return 8;
    HexRange& mark = m_ranges[index + 1];
    const HexPos end = start + count - 1;
    if (count > 0 && mark.active && mark.start == start && mark.end == end) return index;
    if (mark.active) RepaintRange(mark.Lower(), mark.Upper());
    mark.active = count > 0;
    if (mark.active) {
        mark = HexRange{true, start, end, kAttrMark};
        RepaintRange(start, end);
    }
    return index;
}

// --- layout, lines and scrolling ---

int HexViewCore::PrintLine(HexPos line, unsigned flags, HexLineText& out) const
{
    const HexLineSource source{&m_layout, m_data, m_base, m_diffBits, m_diffCount, m_ranges.data()};
    return PrintHexLine(source, line, flags, out);
}

HexPos HexViewCore::GetTopPosition(bool absolute) const
{
    return TopIndex() + Offset(absolute);
}

HexPos HexViewCore::ScrollLineCount() const
{
    if (m_scrollLength <= Length()) return m_layout.LineCount();
    return m_layout.LineOf(m_scrollLength - 1) + 1;
}

void HexViewCore::SetScrollLength(HexPos length)
{
    length = std::max<HexPos>(length, 0);
    if (length == m_scrollLength) return;
    m_scrollLength = length;
    m_update.layoutChanged = true;
    SetTopLine(m_topLine);
}

// The window cannot scroll past the page that ends with the last line; a top line the
// window would refuse is never kept here either, or the two would disagree.
HexPos HexViewCore::LastTopLine() const
{
    const HexPos lines = ScrollLineCount();
    if (m_fullLines <= 0) return std::max<HexPos>(lines - 1, 0);
    return std::max<HexPos>(lines - m_fullLines, 0);
}

// Every cursor placement shows the cursor line with the fewest lines scrolled.
void HexViewCore::ScrollCursorIntoView()
{
    if (m_fullLines <= 0) return;
    const HexPos line = m_cursor.y;
    if (line < m_topLine)
        SetTopLine(line);
    else if (line >= m_topLine + m_fullLines)
        SetTopLine(line - m_fullLines + 1);
}

void HexViewCore::SetTopLine(HexPos line)
{
    line = std::clamp<HexPos>(line, 0, LastTopLine());
    if (line == m_topLine) return;
    m_topLine = line;
    m_update.scrolled = true;
}

HexPos HexViewCore::SetTopAddress(HexPos position, bool absolute)
{
    const HexPos previous = GetTopPosition(absolute);
    const HexPos width = m_layout.Width();
    const HexPos length = ScrollLength();
    HexPos target = length == 0 ? 0 : std::clamp(position - Offset(absolute), 1 - width, length - 1);
    if ((m_flags & kHexSnapAddress) != 0) {
        const HexPos lineBase = m_topLine * width;
        target = lineBase + FloorDiv(target - lineBase, m_snapRaster) * m_snapRaster;
        if (length > 0) target = std::max(target, 1 - width);
    }
    if (TopIndex() == target) return previous;
    ScrollToIndex(target);
    RestoreCursor();
    m_update.repaintAll = true;
    return previous;
}

// Makes target the start of the top line through the display offset.
void HexViewCore::ScrollToIndex(HexPos target)
{
    const HexPos width = m_layout.Width();
    HexPos offset = (width - FloorMod(target, width)) % width;
    // Snapping keeps the offset below the raster; the top line then starts
    // at or before the target, never behind it.
    if ((m_flags & kHexSnapAddress) != 0) offset %= m_snapRaster;
    if (offset != m_layout.Offset()) {
        m_layout.SetOffset(offset);
        m_update.repaintAll = true;
        m_update.layoutChanged = true;
    }
    m_topLine = -1;
    SetTopLine(FloorDiv(target + offset, width));
    m_update.scrolled = true;
}

void HexViewCore::OnResize(int columns, int lines, int fullLines)
{
    m_visibleLines = std::max(lines, 0);
    m_fullLines = fullLines < 0 ? m_visibleLines : std::min(fullLines, m_visibleLines);
    SetTopLine(m_topLine);
    if (columns == m_visibleColumns) return;
    m_visibleColumns = columns;
    if ((m_flags & kHexAutoFit) != 0) Relayout();
}

int HexViewCore::AutoFitWidth(const HexLayout& layout, int columns)
{
    const bool hex = layout.ShowsHex();
    const bool chars = layout.ShowsChars();
    const HexPos perByte = hex && chars ? 3 : hex ? 2 : 1;
    const HexPos room = static_cast<HexPos>(columns) - layout.HexStart() - 1 - (hex && chars ? 2 : 0);
    HexPos width = room / perByte;
    if (hex) {
        const HexPos raster = layout.ExtraSpace();
        const HexPos group = layout.Group();
        width = layout.InsertSpace()
                    ? ((room + 1) * raster * group) / ((group * perByte + 1) * raster + group)
                    : ((room + 1) * raster) / (raster * perByte + 1);
    }
    return static_cast<int>(std::clamp<HexPos>(width, 0, kHexMaxWidth));
}

// The layout step: applies the requested values, keeps the top line, the
// cursor and the selection on their bytes and repaints everything.
void HexViewCore::Relayout()
{
    m_snapRaster = std::max(m_snapRaster, 1);
    m_widthRaster = std::max(m_widthRaster, 1);
    HexLayoutParams params = m_params;
    params.widthRaster = (m_flags & kHexWidthRaster) != 0 ? m_widthRaster : 0;
    params.showAddress = (m_flags & kHexHideAddress) == 0;
    params.showHex = (m_flags & kHexHideHex) == 0;
    params.showChars = (m_flags & kHexHideChars) == 0;
    if ((m_flags & kHexAutoFit) != 0 && m_visibleColumns > 0) {
        params.width = AutoFitWidth(HexLayout(params), m_visibleColumns);
        m_params.width = params.width;
    }
    const HexPos top = TopIndex();
    HexLayout next(params);
    next.SetLength(Length());
    MoveOutOfHiddenArea(next);
    m_layout = next;
    m_flags &= ~kHexRelayout;
    m_snapRaster = RoundUp(m_snapRaster, m_layout.Group());
    m_widthRaster = RoundUp(m_widthRaster, m_layout.Group());
    m_topLine = 0;
    ScrollToIndex(ScrollLength() == 0 ? 0 : std::clamp<HexPos>(top, 0, ScrollLength() - 1));
    RestoreCursor();
    m_update.repaintAll = true;
    m_update.layoutChanged = true;
}

// A cursor whose area the next layout hides moves to the next shown area,
// keeping the cell as Tab does.
void HexViewCore::MoveOutOfHiddenArea(const HexLayout& next)
{
    const int area = VisibleArea(next, m_cursor.area);
    if (area == m_cursor.area) return;
    if (area == kAreaAddress) m_savedCell = m_layout.ByteInLine(m_cursor.index);
    if (m_cursor.area == kAreaAddress) {
        const HexPos index = m_layout.IndexAt(m_cursor.y, m_savedCell);
        m_cursor.index = std::clamp<HexPos>(index, 0, std::max<HexPos>(Length() - 1, 0));
    }
    m_cursor.area = area;
    m_cursor.nibble = area == kAreaHex ? 1 : 0;
}

// --- cursor and selection ---

void HexViewCore::RestoreCursor()
{
    const HexPos index = std::clamp<HexPos>(m_cursor.index, 0, std::max<HexPos>(Length() - 1, 0));
    const int area = m_cursor.area;
    const int nibble = m_cursor.nibble;
    HexCursor cursor = CursorAt(m_layout, index, area, area == kAreaHex && nibble == 0 ? 1 : 0);
    if (area == kAreaAddress) {
        cursor.nibble = std::clamp(nibble, 0, std::max(m_layout.Digits() - 1, 0));
        cursor.x = std::max(m_layout.Digits() - 1 - cursor.nibble, 0);
    }
    m_cursor = cursor;
    m_update.cursorMoved = true;
}

void HexViewCore::PlaceCursor(HexPos index, int area, int digit, unsigned flags)
{
    const HexPos last = std::max<HexPos>(Length() - 1, 0);
    m_cursor.area = VisibleArea(m_layout, area);
    const HexCursor target = CursorAt(m_layout, std::clamp<HexPos>(index, 0, last), m_cursor.area, digit);
    SetCursor(target.x, target.y, flags);
}

int HexViewCore::SetCursor(int x, HexPos y, unsigned flags)
{
    const HexCursor old = m_cursor;
    const HexRange before = m_ranges[0];
    const HexCursorResolution resolution = ResolveCursor(m_layout, m_cursor, before, x, y, flags, m_click);
    m_cursor = resolution.cursor;
    HexRange& selection = m_ranges[0];
    if ((resolution.flags & kCursorExtend) != 0 && Length() > 0) {
        if (!selection.active) {
            selection.active = true;
            selection.start = old.index;
        }
        selection.end = m_cursor.index;
    } else if ((resolution.flags & kCursorNibble) == 0) {
        selection.active = false;
    }
    FinishSelection(before, resolution.flags, true);
    ScrollCursorIntoView();
    m_update.cursorMoved = true;
    m_update.statusChanged = true;
    return 1;
}

void HexViewCore::FinishSelection(const HexRange& before, unsigned flags, bool raster)
{
    const HexRange& selection = m_ranges[0];
    const bool changed =
        selection.active != before.active ||
        (selection.active && (selection.start != before.start || selection.end != before.end));
    if (changed && (flags & kCursorSilent) == 0) {
        m_update.selectionNotify = true;
        m_update.selection =
            selection.active ? HexNotify{selection.Lower(), selection.Upper(), 1} : HexNotify{};
    }
    if (raster) ApplySelectionRaster();
    RepaintSelectionChange(before, m_ranges[0]);
}

// Widens an active selection to whole groups; the anchor keeps its side.
void HexViewCore::ApplySelectionRaster()
{
    HexRange& selection = m_ranges[0];
    const HexPos group = m_layout.Group();
    if (!m_selectionRaster || group == 1 || !selection.active) return;
    const HexPos lower = FloorDiv(selection.Lower(), group) * group;
    const HexPos upper = std::min((FloorDiv(selection.Upper(), group) + 1) * group - 1, Length() - 1);
    if (selection.start <= selection.end) {
        selection.start = lower;
        selection.end = upper;
    } else {
        selection.start = upper;
        selection.end = lower;
    }
}

void HexViewCore::RepaintRange(HexPos lower, HexPos upper)
{
    if (upper < lower || upper < 0) return;
    m_update.RepaintLines(m_layout.LineOf(std::max<HexPos>(lower, 0)), m_layout.LineOf(upper));
}

void HexViewCore::RepaintSelectionChange(const HexRange& before, const HexRange& after)
{
    if (!before.active && !after.active) return;
    if (before.active != after.active) {
        const HexRange& range = after.active ? after : before;
        RepaintRange(range.Lower(), range.Upper());
        return;
    }
    if (before.Lower() == after.Lower()) {
        RepaintRange(std::min(before.Upper(), after.Upper()), std::max(before.Upper(), after.Upper()));
    } else if (before.Upper() == after.Upper()) {
        RepaintRange(std::min(before.Lower(), after.Lower()), std::max(before.Lower(), after.Lower()));
    } else {
        RepaintRange(std::min(before.Lower(), after.Lower()), std::max(before.Upper(), after.Upper()));
    }
}

int HexViewCore::SetCursorPos(HexPos position, bool absolute, bool extend)
{
    const HexPos index = position - Offset(absolute);
    const int inside = index >= 0 && index < Length() ? 1 : 0;
    const int area = m_cursor.area == kAreaAddress ? kAreaHex : m_cursor.area;
    PlaceCursor(index, area, 0, kCursorSilent | (extend ? kCursorExtend : 0u));
    return inside;
}

int HexViewCore::SelectTo(HexPos position, bool absolute)
{
    const HexPos length = Length();
    if (length == 0) return 0;
    HexPos index = position - Offset(absolute);
    // The position is exclusive, so -1 and L still select up to the first
    // or last byte.
    const int result = index >= -1 && index <= length ? 1 : 0;
    index = std::clamp<HexPos>(index, -1, length);
    const HexRange before = m_ranges[0];
    HexRange& selection = m_ranges[0];
    const HexPos cursor = m_cursor.index;
    selection.active = index != cursor;
    if (selection.active) {
        selection.start = cursor;
        selection.end = index > cursor ? index - 1 : index + 1;
    }
    FinishSelection(before, kCursorSilent, false);
    return result;
}

int HexViewCore::ClearSelection()
{
    if (!m_ranges[0].active) return 0;
    SetCursor(m_cursor.x, m_cursor.y, 0);
    return 1;
}

HexPos HexViewCore::GetSelectionStart(bool absolute) const
{
    return (m_ranges[0].active ? m_ranges[0].start : m_cursor.index) + Offset(absolute);
}

HexPos HexViewCore::GetSelection(bool absolute, HexPos* count) const
{
    HexPos start = 0;
    HexPos length = 0;
    GetSelectionEx(&start, &length, absolute, kHexCopyCap);
    if (count != nullptr) *count = length;
    return start;
}

bool HexViewCore::GetSelectionEx(HexPos* start, HexPos* count, bool absolute, HexPos cap) const
{
    const HexRange& selection = m_ranges[0];
    const HexPos length =
        selection.active ? (cap > 0 ? std::min(selection.Length(), cap) : selection.Length()) : 0;
    if (start != nullptr) *start = (selection.active ? selection.Lower() : m_cursor.index) + Offset(absolute);
    if (count != nullptr) *count = length;
    return selection.active;
}

HexPos HexViewCore::CopySelectionBytes(std::uint8_t* dest, HexPos capacity) const
{
    const HexRange& selection = m_ranges[0];
    if (!selection.active || capacity <= 0) return 0;
    const HexPos count = std::min({selection.Length(), capacity, Length() - selection.Lower()});
    if (count <= 0) return 0;
    std::memcpy(dest, m_data + selection.Lower(), static_cast<std::size_t>(count));
    return count;
}

HexPos HexViewCore::CopyBytesAtCursor(std::uint8_t* dest, HexPos capacity) const
{
    const HexPos from = WriteTarget();
    const HexPos count = std::min(capacity, Length() - from);
    if (count <= 0) return 0;
    std::memcpy(dest, m_data + from, static_cast<std::size_t>(count));
    return count;
}

void HexViewCore::CycleArea(bool backward)
{
    int next = m_cursor.area;
    for (int i = 0; i < 3; ++i) {
        next = (next + (backward ? 2 : 1)) % 3;
        if (AreaShown(m_layout, next)) break;
    }
    if (next == m_cursor.area) return;
    const int k = m_cursor.area == kAreaAddress ? m_savedCell : m_layout.ByteInLine(m_cursor.index);
    if (next == kAreaAddress) m_savedCell = k;
    // Keep the selection: changing the area is no move.
    PlaceCursor(m_layout.IndexAt(m_cursor.y, k), next, 0, kCursorNibble);
}

// --- settings ---

void HexViewCore::SetHiddenAreas(std::uint32_t hidden)
{
    const std::uint32_t mask = kHexHideHex | kHexHideChars | kHexHideAddress;
    m_flags = (m_flags & ~mask) | (hidden & mask);
    Relayout();
}

int HexViewCore::SetLayout(const HexLayoutChange& change)
{
    const int previous = m_layout.Width();
    if (change.width >= 0) m_params.width = m_widthAsSet = change.width;
    if (change.extraSpace >= 0) m_params.extraSpace = m_extraSpaceAsSet = change.extraSpace;
    if (change.insertSpace >= 0) m_params.insertSpace = change.insertSpace != 0;
    if (change.digits >= 0) m_params.digits = std::min(change.digits, 8);
    if (change.format >= 0) m_params.format = std::min(change.format, 3);
    if (change.invert >= 0) m_params.invert = change.invert != 0;
    Relayout();
    return previous;
}

int HexViewCore::SetWidthMode(int width, int snap, int statusMode, int selectionRaster)
{
    if (width == 0) {
        m_widthRaster = 1;
        m_flags = (m_flags & ~kHexWidthRaster) | kHexAutoFit;
    } else if (width > 0) {
        m_widthRaster = std::min(width, kHexMaxWidth);
        m_flags |= kHexAutoFit | kHexWidthRaster;
    } else {
        m_params.width = static_cast<int>(std::min<HexPos>(-static_cast<HexPos>(width), kHexMaxWidth));
        m_flags &= ~(kHexAutoFit | kHexWidthRaster);
    }
    if (snap < 1) {
        m_flags &= ~kHexSnapAddress;
        m_snapRaster = 1;
    } else {
        m_flags |= kHexSnapAddress;
        m_snapRaster = std::min(snap, kHexMaxWidth);
    }
    if (statusMode >= 0 && statusMode != m_statusMode) {
        m_statusMode = statusMode;
        m_update.statusChanged = true;
    }
    m_widthAsSet = m_params.width;
    Relayout();
    if (selectionRaster >= 0) m_selectionRaster = selectionRaster != 0;
    return m_layout.Width();
}

int HexViewCore::GetSetting(int index) const
{
    switch (index) {
    case kSettingLineWidth: return m_widthAsSet;
    case kSettingExtraSpace: return m_extraSpaceAsSet;
    case kSettingInsertSpace: return m_layout.InsertSpace() ? 1 : 0;
    case kSettingRaster: return m_snapRaster;
    case kSettingWidthRaster: return m_widthRaster;
    case kSettingFlags: return static_cast<int>(m_flags);
    case kSettingStatusMode: return m_statusMode;
    case kSettingAddressLength: return m_layout.Digits();
    case kSettingFormat: return m_layout.Format();
    case kSettingInvert: return m_layout.Mask();
    case kSettingSelectionRaster: return m_selectionRaster ? 1 : 0;
    default: return 0;
    }
}

void HexViewCore::ApplySettings(HexSettings settings)
{
    settings.Clamp();
    m_params.width = m_widthAsSet = settings.lineWidth;
    m_params.extraSpace = m_extraSpaceAsSet = settings.extraSpace;
    m_params.insertSpace = settings.insertSpace != 0;
    m_params.digits = settings.addressLength;
    m_params.format = settings.outputFormat;
    m_params.invert = settings.invertBytes != 0;
    m_snapRaster = settings.raster;
    m_widthRaster = settings.widthRaster;
    m_selectionRaster = settings.selectionRaster != 0;
    m_statusMode = settings.statusbarMode;
    m_findFlags = settings.hexFindFlags;
    m_flags = (m_flags & ~kHexStoredBits) | (settings.hexFlags & kHexStoredBits) | kHexRelayout;
    Relayout();
}

HexSettings HexViewCore::Settings() const
{
    HexSettings settings;
    settings.lineWidth = m_widthAsSet;
    settings.extraSpace = m_extraSpaceAsSet;
    settings.insertSpace = m_layout.InsertSpace() ? 1 : 0;
    settings.raster = m_snapRaster;
    settings.widthRaster = m_widthRaster;
    settings.invertBytes = m_layout.Mask();
    settings.outputFormat = m_layout.Format();
    settings.selectionRaster = m_selectionRaster ? 1 : 0;
    settings.statusbarMode = m_statusMode;
    settings.addressLength = m_layout.Digits();
    settings.hexFlags = m_flags;
    settings.hexFindFlags = m_findFlags;
    return settings;
}

std::int64_t HexViewCore::Command(int op, std::int64_t value)
{
    HexPos count = 0;
    switch (op) {
    case kOpSetCursor: SetCursorPos(value, false); return 1;
    case kOpGetSelectionStart: return GetSelectionStart(false);
    case kOpSetTop: SetTopAddress(value, false); return 1;
    case kOpGetTop: return GetTopPosition(false);
    case kOpSelectTo: SelectTo(value, false); return 1;
    case kOpGetSelectionLower: return GetSelection(false, &count);
    case kOpSetBase: SetBaseAddress(static_cast<std::uint32_t>(value)); return 1;
    case kOpGetBase: return m_base;
    case kOpGetLength: return Length();
    default: return 0;
    }
}

HexViewUpdate HexViewCore::TakeUpdate()
{
    HexViewUpdate update = m_update;
    m_update = HexViewUpdate{};
    return update;
}

// --- editing ---

bool HexViewCore::Beep()
{
    m_update.beep = true;
    return false;
}

void HexViewCore::SetModified(bool modified)
{
    m_flags = modified ? m_flags | kHexModified : m_flags & ~kHexModified;
}

bool HexViewCore::TypeChar(unsigned char ch)
{
    if (ch == '\t') {
        CycleArea(false);
        return true;
    }
    if (ch == '\b') {
        SetCursor(-1, 0, kCursorRelative);
        return true;
    }
    if (ch < 0x20 || IsReadOnly() || m_writable == nullptr) return Beep();
    if (m_cursor.area == kAreaAddress || m_cursor.index >= Length()) return Beep();
    return m_cursor.area == kAreaChars ? TypeCharacter(ch) : TypeHexDigit(ch);
}

bool HexViewCore::TypeCharacter(unsigned char ch)
{
    const HexPos index = m_cursor.index;
    const std::uint8_t before = m_writable[index];
    m_writable[index] = ch;
    CommitEdit(index, before, kUndoOther, kCursorRelative);
    return true;
}

bool HexViewCore::TypeHexDigit(unsigned char ch)
{
    const int value = DigitValue(ch);
    if (value >= 16) return Beep();
    const HexPos index = m_cursor.index;
    const std::uint8_t before = m_writable[index];
    const bool high = m_cursor.nibble == 1;
    m_writable[index] = high ? static_cast<std::uint8_t>((before & 0x0F) | (value << 4))
                             : static_cast<std::uint8_t>((before & 0xF0) | value);
    // Without a selection the step keeps to digits, so typing runs on.
    const unsigned step = kCursorRelative | (HasSelection() ? 0u : kCursorNibble);
    CommitEdit(index, before, high ? kUndoHighNibble : kUndoLowNibble, step);
    return true;
}

void HexViewCore::CommitEdit(HexPos index, std::uint8_t before, UndoKind kind, unsigned stepFlags)
{
    UndoRecord& record = m_undo.Next();
    record.index = index;
    record.savedByte = before;
    record.kind = kind;
    record.modifiedBefore = IsModified();
    if (m_writable[index] != before) SetModified(true);
    RepaintRange(index, index);
    SetCursor(1, 0, stepFlags);
    m_undo.Commit();
}

bool HexViewCore::Undo()
{
    if (!CanUndo() || m_writable == nullptr) return false;
    bool modified = IsModified();
    const UndoRecord* record = m_undo.Undo(m_writable, Length(), &modified);
    SetModified(modified);
    AfterUndoStep(*record, false);
    return true;
}

bool HexViewCore::Redo()
{
    if (!CanRedo() || m_writable == nullptr) return false;
    bool modified = IsModified();
    const UndoRecord* record = m_undo.Redo(m_writable, Length(), &modified);
    SetModified(modified);
    AfterUndoStep(*record, true);
    return true;
}

// Puts the cursor on what an undo or redo changed: a typed digit again
// (undo) or behind it (redo).
void HexViewCore::AfterUndoStep(const UndoRecord& record, bool redo)
{
    const HexPos last = record.count == 0 ? record.index : record.index + record.count - 1;
    RepaintRange(record.index, last);
    const int area = m_cursor.area == kAreaAddress ? kAreaHex : m_cursor.area;
    const bool nibble = VisibleArea(m_layout, area) == kAreaHex && record.kind != kUndoOther;
    if (!nibble) {
        PlaceCursor(record.index, area, 0, 0);
    } else if (!redo) {
        PlaceCursor(record.index, area, record.kind == kUndoLowNibble ? 1 : 0, 0);
    } else if (record.kind == kUndoHighNibble) {
        PlaceCursor(record.index, area, 1, 0);
    } else {
        PlaceCursor(record.index, area, 1, 0);
        SetCursor(1, 0, kCursorRelative | kCursorNibble);
    }
}

HexPos HexViewCore::WriteTarget() const
{
    return m_ranges[0].active ? m_ranges[0].Lower() : m_cursor.index;
}

std::string HexViewCore::CopyText() const
{
    const HexRange& selection = m_ranges[0];
    if (!selection.active) return {};
    const HexPos count = std::min({selection.Length(), kHexCopyCap, Length() - selection.Lower()});
    return HexCopyText(m_data + selection.Lower(), count, m_cursor.area == kAreaChars);
}

bool HexViewCore::PasteBytes(const std::vector<std::uint8_t>& bytes)
{
    if (IsReadOnly() || m_writable == nullptr) return Beep();
    const HexPos target = WriteTarget();
    if (bytes.empty() || target >= Length()) return false;
    HexPos count = static_cast<HexPos>(bytes.size());
    if (m_ranges[0].active) count = std::min(count, m_ranges[0].Length());
    count = std::min(count, Length() - target);
    WriteWithUndo(target, bytes.data(), count);
    return true;
}

bool HexViewCore::PasteHex(std::string_view text)
{
    if (IsReadOnly() || m_writable == nullptr) return Beep();
    const HexPos target = WriteTarget();
    HexPos room = Length() - target;
    if (m_ranges[0].active) room = std::min(room, m_ranges[0].Length());
    if (room <= 0) return false;
    return PasteBytes(ConvertPasteHex(text, room));
}

bool HexViewCore::PasteValue(std::string_view text)
{
    if (IsReadOnly() || m_writable == nullptr) return Beep();
    // The text's length bounds every value form it can hold.
    const auto limit = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
    return PasteBytes(ParseValue(text, limit));
}

HexWriteResult HexViewCore::WriteBytes(const std::uint8_t* bytes, HexPos count)
{
    const HexPos target = WriteTarget();
    if (target >= Length() || count <= 0) return HexWriteResult::Outside;
    if (IsReadOnly() || m_writable == nullptr) return HexWriteResult::ReadOnly;
    WriteWithUndo(target, bytes, std::min(count, Length() - target));
    return HexWriteResult::Written;
}

void HexViewCore::WriteWithUndo(HexPos target, const std::uint8_t* bytes, HexPos count)
{
    UndoRecord& record = m_undo.Next();
    record.buffer.assign(bytes, bytes + count);
    record.index = target;
    record.count = count;
    record.modifiedBefore = IsModified();
    SetModified(true);
    std::swap_ranges(record.buffer.begin(), record.buffer.end(), m_writable + target);
    RepaintRange(target, target + count - 1);
    m_undo.Commit();
}

} // namespace dualvex
