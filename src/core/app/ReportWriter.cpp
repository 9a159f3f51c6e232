#include "core/app/ReportWriter.h"

#include <charconv>

namespace dualvex {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

char* PutHex(char* at, std::uint64_t value, int digits)
{
    for (int i = digits - 1; i >= 0; --i) {
        at[i] = kHexDigits[value & 15];
        value >>= 4;
    }
    return at + digits;
}

char* PutDecimal(char* at, std::uint64_t value)
{
    return std::to_chars(at, at + 20, value).ptr;
}

char* PutText(char* at, std::string_view text)
{
    for (const char c : text) *at++ = c;
    return at;
}

// Length of the UTF-8 sequence that starts text[i], or 0 when it is not one.
std::size_t Utf8Length(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    unsigned code = lead & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        code = code << 6 | (c & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < min || code > 0x10FFFF || surrogate ? 0 : length;
}

char ShortEscape(unsigned char c)
{
    switch (c) {
    case '\a': return 'a';
    case '\b': return 'b';
    case '\t': return 't';
    case '\n': return 'n';
    case '\v': return 'v';
    case '\f': return 'f';
    case '\r': return 'r';
    default: return 0;
    }
}

} // namespace

std::string EscapeName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (const char letter = ShortEscape(c)) {
            out += '\\';
            out += letter;
        } else if (c < 0x20 || c == 0x7F) {
            // Three octal digits: unlike \x, the escape cannot swallow a digit after it.
            const char octal[] = {'\\', static_cast<char>('0' + (c >> 6)),
                                  static_cast<char>('0' + ((c >> 3) & 7)), static_cast<char>('0' + (c & 7))};
            out.append(octal, sizeof octal);
        } else {
            out += ch;
        }
    }
    return out;
}

std::string JsonString(std::string_view name)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < name.size();) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80) {
            const std::size_t length = Utf8Length(name, i);
            out += length == 0 ? std::string_view("\\ufffd") : name.substr(i, length);
            i += length == 0 ? 1 : length;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char escape[6] = {'\\', 'u', '0', '0', 0, 0};
            PutHex(escape + 4, c, 2);
            out.append(escape, sizeof escape);
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    out += '"';
    return out;
}

ReportWriter::ReportWriter(TextSink& sink, ReportFormat format, std::uint64_t longerLength,
                           std::uint64_t limit)
    : m_sink(sink), m_format(format), m_hexDigits(longerLength > 0xFFFFFFFFu ? 16 : 8), m_limit(limit)
{
}

void ReportWriter::Header(const ReportHeader& h)
{
    const std::string n1 = std::to_string(h.length1);
    const std::string n2 = std::to_string(h.length2);
    const std::string ranges = std::to_string(h.ranges);
    const std::string differing = std::to_string(h.differing);
    if (m_format == ReportFormat::Json) {
        m_sink.Write("{\"file1\":" + JsonString(h.name1) + ",\"size1\":" + n1 +
                     ",\"file2\":" + JsonString(h.name2) + ",\"size2\":" + n2 + ",\"ranges\":" + ranges +
                     ",\"differing\":" + differing + "}\n");
        return;
    }
    m_sink.Write("file1: " + EscapeName(h.name1) + ' ' + n1 + " bytes\n");
    m_sink.Write("file2: " + EscapeName(h.name2) + ' ' + n2 + " bytes\n");
    m_sink.Write("ranges: " + ranges + " differing: " + differing + '\n');
}

void ReportWriter::Add(std::uint64_t start, std::uint64_t end)
{
    if (start >= end) return;
    if (m_end > m_start && start == m_end) {
        m_end = end;
        return;
    }
    if (m_end > m_start) WriteLine(m_start, m_end);
    m_start = start;
    m_end = end;
}

void ReportWriter::Finish()
{
    if (m_end > m_start) WriteLine(m_start, m_end);
    m_start = m_end = 0;
}

// Hand-made digits: a report of millions of ranges spends its time here.
void ReportWriter::WriteLine(std::uint64_t start, std::uint64_t end)
{
    if (LimitReached()) return;
    ++m_lines;
    char line[96];
    char* at = line;
    if (m_format == ReportFormat::Json) {
        at = PutDecimal(PutText(at, "{\"start\":"), start);
        at = PutDecimal(PutText(at, ",\"end\":"), end);
        at = PutDecimal(PutText(at, ",\"length\":"), end - start);
        at = PutText(at, "}\n");
    } else {
        at = PutHex(PutText(at, "0x"), start, m_hexDigits);
        at = PutHex(PutText(at, " 0x"), end, m_hexDigits);
        at = PutDecimal(PutText(at, " "), end - start);
        *at++ = '\n';
    }
    m_sink.Write(std::string_view(line, static_cast<std::size_t>(at - line)));
}

} // namespace dualvex
