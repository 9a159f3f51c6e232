#include "core/hexview/HexCursor.h"

#include <algorithm>

namespace dualvex {

namespace {

struct Move {
    int x;
    HexPos y;
    int dx; // horizontal step of a relative move, else 0
    bool relative;
    bool mouse;
};

int AreaOfColumn(const HexLayout& layout, int x)
{
    if (layout.ShowsAddress() && x < layout.HexStart() - 2) return kAreaAddress;
    if (layout.ShowsHex() && x < layout.CharStart()) return kAreaHex;
    if (layout.ShowsChars()) return kAreaChars;
    return layout.ShowsHex() ? kAreaHex : kAreaAddress;
}

void ResolveChars(const HexLayout& layout, Move& move, HexCursor& cursor)
{
    const int first = layout.CharStart();
    const int last = first + std::max(layout.CharWidth(), 1) - 1;
    if (move.relative) {
        if (move.dx < -1 && move.x < first) move.x = first;
        if (move.dx > 1 && move.x > last) move.x = last;
        if (move.dx == 1 && move.x > last) {
            move.x = first;
            ++move.y;
        }
        if (move.dx == -1 && move.x < first) {
            move.x = last;
            --move.y;
        }
    }
    cursor.x = std::clamp(move.x, first, last);
    cursor.nibble = 0;
}

// Hex cell and digit under a column, with the keyboard's wrapping and the
// mouse's blank rule.
void ResolveHex(const HexLayout& layout, Move& move, bool keepDigit, HexCursor& cursor)
{
    const int width = layout.Width();
    if (move.relative) {
        if (move.dx < -1 && move.x < layout.HexStart()) move.x = layout.HexStart();
        if (move.dx > 1 && move.x >= layout.CharStart()) move.x = layout.HexColumn(width - 1) + 1;
    }
    int cell = 0;
    int digit = 0;
    if (move.x < layout.HexStart()) {
        if (move.relative && move.dx < 0) {
            --move.y;
            cell = width - 1;
            digit = 1;
        }
    } else {
        const HexCellHit hit = layout.CellAtColumn(move.x);
        cell = hit.cell;
        digit = std::min(hit.offset, 1);
        const bool nextCell = move.mouse ? hit.offset > 2 : move.relative && move.dx > 0 && hit.offset >= 2;
        if (nextCell && cell + 1 < width) {
            ++cell;
            digit = 0;
        } else if (nextCell && !move.mouse) {
            ++move.y;
            cell = 0;
            digit = 0;
        }
    }
    if (!keepDigit) digit = 0;
    cursor.x = layout.HexColumn(cell) + digit;
    cursor.nibble = digit == 0 ? 1 : 0;
}

void ResolveAddress(const HexLayout& layout, Move& move, bool keepDigit, HexCursor& cursor)
{
    const int digits = layout.Digits();
    move.x = std::max(move.x, 0);
    if (move.x <= digits - 1) {
        cursor.x = move.x;
        cursor.nibble = digits - 1 - move.x;
        return;
    }
    // Stepping right out of the address enters the next area at its start.
    move.dx = 0;
    if (layout.ShowsHex()) {
        cursor.area = kAreaHex;
        move.x = layout.HexStart();
        ResolveHex(layout, move, keepDigit, cursor);
    } else if (layout.ShowsChars()) {
        cursor.area = kAreaChars;
        move.x = layout.CharStart();
        ResolveChars(layout, move, cursor);
    } else {
        cursor.x = digits - 1;
        cursor.nibble = 0;
    }
}

HexPos IndexUnderCursor(const HexLayout& layout, const HexCursor& cursor)
{
    switch (cursor.area) {
    case kAreaHex: return layout.IndexAt(cursor.y, layout.ByteOfCell(layout.CellAtColumn(cursor.x).cell));
    case kAreaChars: return layout.IndexAt(cursor.y, cursor.x - layout.CharStart());
    default: return layout.LineStart(cursor.y);
    }
}

// Moves a cursor that left the data onto its first or last byte.
void ClampToData(const HexLayout& layout, HexCursor& cursor)
{
    const HexPos length = layout.Length();
    HexPos index = IndexUnderCursor(layout, cursor);
    if (index >= 0 && index < length) {
        cursor.index = index;
        return;
    }
    const bool end = index >= length && length > 0;
    index = end ? length - 1 : 0;
    if (cursor.area == kAreaAddress) {
        cursor.y = layout.LineOf(index);
        cursor.index = index;
        return;
    }
    cursor = CursorAt(layout, index, cursor.area, end ? 1 : 0);
}

void MoveOntoAnchor(const HexLayout& layout, const HexCursor& current, const HexRange& selection, Move& move)
{
    const HexCursor anchor = CursorAt(layout, selection.start, current.area, 0);
    move.x = anchor.x;
    move.y = anchor.y;
    move.dx = 0;
    move.relative = false;
}

// Step 1 of the resolution: a relative step becomes a target point.
Move RelativeMove(const HexLayout& layout, const HexCursor& current, const HexRange& selection, int x,
                  HexPos y, unsigned flags)
{
    Move move{current.x + x, current.y + y, x, true, false};
    const bool single = (x == 1 || x == -1) && y == 0;
    if (selection.active && current.area == kAreaHex && single && (flags & kCursorNibble) == 0) {
        // With a selection the hex cursor moves by whole bytes.
        move.dx += x;
        move.x += x;
    }
    if (!selection.active || (flags & (kCursorExtend | kCursorFromColumn | kCursorNibble)) != 0) return move;
    const bool back = (x == -1 && y == 0) || (x == 0 && y == -1);
    const bool forward = (x == 1 && y == 0) || (x == 0 && y == 1);
    const bool anchorLower = selection.start <= selection.end;
    const bool anchorUpper = selection.start >= selection.end;
    if ((back && anchorLower) || (forward && anchorUpper)) MoveOntoAnchor(layout, current, selection, move);
    return move;
}

} // namespace

HexCursor CursorAt(const HexLayout& layout, HexPos index, int area, int digit)
{
    HexCursor cursor;
    cursor.area = area;
    cursor.index = index;
    cursor.y = layout.LineOf(index);
    const int k = layout.ByteInLine(index);
    if (area == kAreaChars) {
        cursor.x = layout.CharStart() + k;
        cursor.nibble = 0;
    } else if (area == kAreaHex) {
        cursor.x = layout.HexColumn(layout.CellOfByte(k)) + digit;
        cursor.nibble = digit == 0 ? 1 : 0;
    } else {
        cursor.x = std::max(layout.Digits() - 1, 0);
        cursor.nibble = 0;
        cursor.index = std::max<HexPos>(layout.LineStart(cursor.y), 0);
    }
    return cursor;
}

HexCursorResolution ResolveCursor(const HexLayout& layout, const HexCursor& current,
                                  const HexRange& selection, int x, HexPos y, unsigned flags,
                                  HexClickPoint& click)
{
    HexCursorResolution result{current, flags};
    HexCursor& cursor = result.cursor;
    Move move = (flags & kCursorRelative) != 0 ? RelativeMove(layout, current, selection, x, y, flags)
                                               : Move{x, y, 0, false, false};
    if ((flags & kCursorFromColumn) != 0) {
        if ((flags & kCursorRemember) != 0) click = {move.x, move.y};
        if ((flags & kCursorExtend) != 0 && click.x == move.x && click.y == move.y)
            result.flags &= ~kCursorExtend;
        move.x = std::max(move.x, 0);
        move.mouse = true;
        cursor.area = AreaOfColumn(layout, move.x);
    }
    const bool keepDigit = !selection.active || (flags & kCursorNibble) != 0;
    switch (cursor.area) {
    case kAreaChars: ResolveChars(layout, move, cursor); break;
    case kAreaAddress: ResolveAddress(layout, move, keepDigit, cursor); break;
    default: ResolveHex(layout, move, keepDigit, cursor); break;
    }
    cursor.y = move.y;
    ClampToData(layout, cursor);
    return result;
}

} // namespace dualvex
