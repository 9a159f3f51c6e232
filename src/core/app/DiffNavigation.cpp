#include "core/app/DiffNavigation.h"

namespace dualvex {

namespace {

bool Inside(ImageLength p, ImageLength from, ImageLength to)
{
    return from <= p && p < to;
}

std::optional<ImageLength> Previous(const DiffSet& diff, ImageLength p)
{
    const std::uint8_t* bits = diff.Bits();
    if (p < diff.Summary().first) return std::nullopt;
    if (p > 0) {
        // Leave the range the cursor is in, cross the gap before it, then walk to the
        // start of the range found there.
        while (p >= 1 && TestBit(bits, p)) --p;
        while (p >= 1 && !TestBit(bits, p)) --p;
        while (p > 0 && TestBit(bits, p)) --p;
    }
    return FindNextSet(bits, diff.BitCount(), p);
}

} // namespace

std::optional<ImageLength> NavigateDiff(const DiffSet& diff, DiffMove move, ImageLength cursor)
{
    const DiffSummary& s = diff.Summary();
    if (s.rangeCount == 0) return std::nullopt;
    switch (move) {
    case DiffMove::First:
        if (Inside(cursor, s.first, s.firstEnd)) return std::nullopt;
        return s.first;
    case DiffMove::Last:
        if (Inside(cursor, s.last, s.lastEnd)) return std::nullopt;
        return s.last;
    case DiffMove::Next: {
        if (cursor >= s.last) return std::nullopt;
        ImageLength p = cursor;
        if (TestBit(diff.Bits(), p)) p = FindNextClear(diff.Bits(), diff.BitCount(), p);
        return FindNextSet(diff.Bits(), diff.BitCount(), p);
    }
    case DiffMove::Previous: return Previous(diff, cursor);
    }
    return std::nullopt;
}

bool DiffMoveEnabled(const DiffSummary& s, DiffMove move, ImageLength cursor)
{
    if (s.rangeCount == 0) return false;
    switch (move) {
    case DiffMove::First: return !Inside(cursor, s.first, s.firstEnd);
    case DiffMove::Previous: return cursor >= s.firstEnd;
    case DiffMove::Next: return cursor < s.last;
    case DiffMove::Last: return !Inside(cursor, s.last, s.lastEnd);
    }
    return false;
}

} // namespace dualvex
