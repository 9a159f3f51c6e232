#include "core/hexview/HexLineText.h"

#include "core/support/TextConv.h"

#include <algorithm>
#include <cstring>

namespace dualvex {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

struct LineSpan {
    HexPos start; // index of the line's first cell
    int first;    // first k holding a byte
    int last;     // one behind the last k holding a byte
};

void PrintAddress(const HexLayout& layout, std::uint32_t base, HexPos start, HexLineText& out)
{
    const int digits = layout.Digits();
    auto address = static_cast<std::uint64_t>(static_cast<HexPos>(base) + start);
    for (int i = digits - 1; i >= 0; --i) {
        out.text[i] = kHexDigits[address & 0xF];
        address >>= 4;
    }
    std::memset(out.attr.data(), kAttrAddress, layout.HexStart());
}

void PutByte(char* dest, std::uint8_t byte)
{
    dest[0] = kHexDigits[byte >> 4];
    dest[1] = kHexDigits[byte & 0xF];
}

void PrintHexArea(const HexLayout& layout, const std::uint8_t* data, const LineSpan& span, HexLineText& out)
{
    const int start = layout.HexStart();
    std::memset(out.attr.data() + start, kAttrHex, layout.HexWidth());
    const bool full = span.first == 0 && span.last == layout.Width();
    // Without group blanks the formatter has no units to reverse, so an
    // inverted line is placed cell by cell like a partial one.
    if (full && (layout.InsertSpace() || layout.Mask() == 0)) {
        char* dest = out.text.data() + start;
        const int written = FormatHexDump(data + span.start, dest, layout.Width(), layout.DumpFlags());
        const int kept = std::clamp(written, 0, layout.HexWidth());
        std::memset(dest + kept, ' ', layout.HexWidth() - kept);
        return;
    }
    for (int k = span.first; k < span.last; ++k)
        PutByte(out.text.data() + layout.HexColumn(layout.CellOfByte(k)), data[span.start + k]);
}

void PrintChars(const HexLayout& layout, const std::uint8_t* data, const LineSpan& span, HexLineText& out)
{
    char* dest = out.text.data() + layout.CharStart();
    for (int k = span.first; k < span.last; ++k) {
        const std::uint8_t ch = data[span.start + k];
        dest[k] = ch < 0x20 || (ch >= 0x7F && ch <= 0x9F) ? '.' : static_cast<char>(ch);
    }
    std::memset(out.attr.data() + layout.CharStart(), kAttrStandard, layout.CharWidth());
}

void PaintByte(const HexLayout& layout, int k, std::uint8_t hexAttr, std::uint8_t charAttr, HexLineText& out)
{
    if (layout.ShowsHex()) {
        const int column = layout.HexColumn(layout.CellOfByte(k));
        out.attr[column] = hexAttr;
        out.attr[column + 1] = hexAttr;
    }
    if (layout.ShowsChars()) out.attr[layout.CharStart() + k] = charAttr;
}

bool TestBit(const std::uint8_t* bits, HexPos i)
{
    return (bits[i >> 3] >> (i & 7)) & 1;
}

void PaintDifferences(const HexLineSource& source, const LineSpan& span, HexLineText& out)
{
    if (source.diffBits == nullptr) return;
    const HexPos end = std::min<HexPos>(span.start + span.last, source.diffCount);
    for (HexPos i = span.start + span.first; i < end; ++i) {
        // Most of an image is equal: skip eight clear bits at once.
        if ((i & 7) == 0 && source.diffBits[i >> 3] == 0) {
            i += 7;
            continue;
        }
        if (TestBit(source.diffBits, i))
            PaintByte(*source.layout, static_cast<int>(i - span.start), kAttrDiffHex, kAttrDiffText, out);
    }
}

void PaintRange(const HexLineSource& source, const HexRange& range, const LineSpan& span, HexLineText& out)
{
    if (!range.active) return;
    const HexPos from = std::max(range.Lower(), span.start + span.first);
    const HexPos to = std::min(range.Upper(), span.start + span.last - 1);
    for (HexPos i = from; i <= to; ++i)
        PaintByte(*source.layout, static_cast<int>(i - span.start), range.attr, range.attr, out);
}

} // namespace

int HexLineText::RunEnd(int column, int limit) const
{
    limit = std::min(limit, length);
    int end = column;
    while (end < limit && attr[end] == attr[column]) ++end;
    return end;
}

int PrintHexLine(const HexLineSource& source, HexPos line, unsigned flags, HexLineText& out)
{
    const HexLayout& layout = *source.layout;
    out.length = 0;
    if (line < 0 || line >= layout.LineCount()) return 0;
    const HexPos start = layout.LineStart(line);
    const HexPos length = layout.Length();
    const LineSpan span{start, static_cast<int>(std::max<HexPos>(-start, 0)),
                        static_cast<int>(std::min<HexPos>(length - start, layout.Width()))};
    const int width = layout.LineWidth();
    std::memset(out.text.data(), ' ', width);
    if (layout.ShowsAddress()) PrintAddress(layout, source.base, start, out);
    if (layout.ShowsHex()) PrintHexArea(layout, source.data, span, out);
    if (layout.ShowsChars()) PrintChars(layout, source.data, span, out);
    out.length = width;
    if ((flags & kPrintPlain) != 0) return width;
    PaintDifferences(source, span, out);
    if (source.ranges != nullptr) {
        for (int r = kHexRangeCount - 1; r >= 0; --r) PaintRange(source, source.ranges[r], span, out);
    }
    return width;
}

} // namespace dualvex
