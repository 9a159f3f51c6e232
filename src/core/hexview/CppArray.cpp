#include "core/hexview/CppArray.h"

#include "core/support/TextConv.h"

#include <algorithm>
#include <cstring>

namespace dualvex {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::uint32_t kEscapeCompact = 0x24000000; // no quotes, short hex escapes

// A bounded text under construction; the room for the terminator is always kept.
class TextSink {
  public:
    TextSink(char* dest, int capacity) : m_dest(dest), m_capacity(capacity) {}
    bool Fits(std::size_t n) const { return m_len + static_cast<int>(n) + 1 <= m_capacity; }
    // Appends the piece when it fits, together with `reserve` more characters.
    bool Put(const std::string& piece, std::size_t reserve = 0)
    {
        if (!Fits(piece.size() + reserve)) return false;
        std::memcpy(m_dest + m_len, piece.data(), piece.size());
        m_len += static_cast<int>(piece.size());
        return true;
    }
    int Finish()
    {
        m_dest[m_len] = '\0';
        return m_len;
    }

  private:
    char* m_dest;
    int m_capacity;
    int m_len = 0;
};

struct Input {
    const std::uint8_t* bytes;
    int count;
    std::uint8_t At(int i) const { return i < count ? bytes[i] : 0; }
};

void AppendHex(std::string& out, std::uint8_t b)
{
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 0xF];
}

// The 2v digits of value i: little endian shows the number, big endian the bytes
// in memory order.
void AppendValueDigits(std::string& out, const Input& in, int i, int v, bool bigEndian)
{
    for (int j = 0; j < v; ++j) AppendHex(out, in.At(i * v + (bigEndian ? j : v - 1 - j)));
}

void GenerateC(const Input& in, int v, bool big, int n, TextSink& out)
{
    const int values = (in.count + v - 1) / v;
    for (int i = 0; i < values; ++i) {
        std::string piece = "0x";
        AppendValueDigits(piece, in, i, v, big);
        piece += ',';
        if ((i + 1) % n == 0 || i == values - 1) piece += '\n';
        if (!out.Put(piece)) return;
    }
}

void GenerateAssembler(const Input& in, int v, bool big, int n, TextSink& out)
{
    static constexpr char kLetters[] = "BBWDDQQQQ";
    const int values = (in.count + v - 1) / v;
    for (int i = 0; i < values; ++i) {
        std::string piece;
        if (i % n == 0) piece = std::string("D") + kLetters[v] + '\t';
        piece += '0';
        AppendValueDigits(piece, in, i, v, big);
        piece += 'h';
        piece += ((i + 1) % n == 0 || i == values - 1) ? '\n' : ',';
        if (!out.Put(piece)) return;
    }
}

int Base64Length(int count)
{
    const int chars = (count + 2) / 3 * 4;
    return chars + (chars + 63) / 64;
}

void GenerateBase64(const Input& in, TextSink& out, int capacity)
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    int count = in.count;
    while (count > 0 && Base64Length(count) + 1 > capacity) count = (count - 1) / 3 * 3;
    std::string text;
    for (int i = 0; i < count; i += 3) {
        const std::uint32_t w = (in.At(i) << 16) | (in.At(i + 1) << 8) | in.At(i + 2);
        text += kAlphabet[(w >> 18) & 63];
        text += kAlphabet[(w >> 12) & 63];
        text += i + 1 < count ? kAlphabet[(w >> 6) & 63] : '=';
        text += i + 2 < count ? kAlphabet[w & 63] : '=';
        if (text.size() % 65 == 64) text += '\n';
    }
    if (!text.empty() && text.back() != '\n') text += '\n';
    out.Put(text);
}

void GenerateHexLiterals(const Input& in, int n, TextSink& out)
{
    for (int start = 0; start < in.count; start += n) {
        const int end = std::min(in.count, start + n);
        std::string line = "\"";
        for (int i = start; i < end; ++i) {
            line += "\\x";
            AppendHex(line, in.bytes[i]);
        }
        line += "\"\n";
        if (!out.Put(line)) return;
    }
}

void GenerateEscapedLiterals(const Input& in, int n, TextSink& out)
{
    std::string line(static_cast<std::size_t>(6 * n + 16), '\0');
    for (int start = 0; start < in.count; start += n) {
        const int k = std::min(in.count - start, n);
        const int len =
            EscapeString(line.data(), static_cast<int>(line.size()), in.bytes + start, k, kEscapeCompact);
        std::string quoted = "\"";
        quoted.append(line.data(), static_cast<std::size_t>(len));
        quoted += "\"\n";
        if (!out.Put(quoted)) return;
    }
}

void GenerateDecimals(const Input& in, int n, TextSink& out)
{
    for (int i = 0; i < in.count; ++i) {
        std::string piece = std::to_string(in.bytes[i]);
        piece += ',';
        if ((i + 1) % n == 0 || i == in.count - 1) piece += '\n';
        if (!out.Put(piece)) return;
    }
}

void GenerateDump(const Input& in, int v, int n, TextSink& out)
{
    for (int i = 0; i < in.count; ++i) {
        const int column = i % n;
        std::string piece;
        AppendHex(piece, in.bytes[i]);
        if (v < 5 && (column + 1) % v == 0) piece += ' ';
        if (column == n - 1 || i == in.count - 1) piece += '\n';
        if (!out.Put(piece)) return;
    }
}

} // namespace

int CppLineSize(int stored)
{
    const int n = stored < 1 ? 16 : stored & 0xFF;
    return n == 0 ? 16 : n;
}

int CppValueSize(int stored)
{
    return (stored == 2 || stored == 4 || stored == 8) ? stored : 1;
}

int CppArrayBufferSize(int count, int valueSize)
{
    return (count / CppValueSize(valueSize) + 2 * count) * 4 + 20;
}

int GenerateCppArray(const std::uint8_t* bytes, int count, int valueSize, std::uint32_t format, int lineSize,
                     char* dest, int capacity)
{
    if (dest == nullptr || capacity < 1) return 0;
    TextSink out(dest, capacity);
    if (capacity < 4 || bytes == nullptr || count < 1) return out.Finish();
    const Input in{bytes, count};
    const int v = CppValueSize(valueSize);
    const int n = CppLineSize(lineSize);
    const bool big = (format & kCppBigEndian) != 0;
    switch (format & kCppFormatMask) {
    case kCppFormatC: GenerateC(in, v, big, n, out); break;
    case kCppFormatAssembler: GenerateAssembler(in, v, big, n, out); break;
    case kCppFormatText:
        if (v == 1)
            GenerateBase64(in, out, capacity);
        else if (v == 2)
            GenerateHexLiterals(in, n, out);
        else if (v == 4)
            GenerateEscapedLiterals(in, n, out);
        else
            GenerateDecimals(in, n, out);
        break;
    default: GenerateDump(in, v, n, out); break;
    }
    return out.Finish();
}

std::string CppArrayText(std::span<const std::uint8_t> selection, int valueSize, std::uint32_t format,
                         int lineSize)
{
    const int count = static_cast<int>(std::min<std::size_t>(selection.size(), kCppCopyMaxBytes));
    std::string text(static_cast<std::size_t>(CppArrayBufferSize(count, valueSize)), '\0');
    const int len = GenerateCppArray(selection.data(), count, valueSize, format, lineSize, text.data(),
                                     static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(len));
    return text;
}

std::string EscapedSelectionText(std::span<const std::uint8_t> selection)
{
    const int count = static_cast<int>(std::min<std::size_t>(selection.size(), kCppCopyMaxBytes));
    // Room for the longest form of every byte (a hex escape with the two quotes that
    // end it), so that no byte of the selection is dropped.
    std::string text(static_cast<std::size_t>(6 * count + 16), '\0');
    const int len =
        EscapeString(text.data(), static_cast<int>(text.size()), selection.data(), count, kEscapeCompact);
    text.resize(static_cast<std::size_t>(len));
    return text;
}

} // namespace dualvex
