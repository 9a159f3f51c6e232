#include "core/support/SettingsFormat.h"

#include "core/support/TextConv.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace dualvex {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr std::uint32_t kTypeBytes = 3;
constexpr std::uint32_t kTypeInt = 4;
constexpr std::uint32_t kTypeList = 7;

// A line of the settings file may end in "\r\n": the "\r" counts as a blank.
bool IsBlankOrCr(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlankOrCr(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlankOrCr(s.back())) s.remove_suffix(1);
    return s;
}

void AppendHexByte(std::string& out, unsigned char b)
{
    out.push_back(kHexDigits[b >> 4]);
    out.push_back(kHexDigits[b & 15]);
}

// ---- writing ---------------------------------------------------------------

void AppendName(std::string& out, std::string_view name)
{
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b >= 0x7F || std::strchr("%=[]\"#;@\\", c) != nullptr) {
            out.push_back('%');
            out.push_back("0123456789ABCDEF"[b >> 4]);
            out.push_back("0123456789ABCDEF"[b & 15]);
        } else {
            out.push_back(c);
        }
    }
}

bool InRange(std::string_view s, std::size_t pos, unsigned lo, unsigned hi)
{
    if (pos >= s.size()) return false;
    const auto b = static_cast<unsigned char>(s[pos]);
    return b >= lo && b <= hi;
}

// Length of the well-formed UTF-8 sequence of two or more bytes at pos, or 0.
std::size_t Utf8Length(std::string_view s, std::size_t pos)
{
    const auto b = static_cast<unsigned char>(s[pos]);
    if (b >= 0xC2 && b <= 0xDF) return InRange(s, pos + 1, 0x80, 0xBF) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        const unsigned lo = b == 0xE0 ? 0xA0 : 0x80;
        const unsigned hi = b == 0xED ? 0x9F : 0xBF;
        return InRange(s, pos + 1, lo, hi) && InRange(s, pos + 2, 0x80, 0xBF) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        const unsigned lo = b == 0xF0 ? 0x90 : 0x80;
        const unsigned hi = b == 0xF4 ? 0x8F : 0xBF;
        return InRange(s, pos + 1, lo, hi) && InRange(s, pos + 2, 0x80, 0xBF) &&
                       InRange(s, pos + 3, 0x80, 0xBF)
                   ? 4
                   : 0;
    }
    return 0;
}

void AppendQuoted(std::string& out, std::string_view data)
{
    out.push_back('"');
    for (std::size_t i = 0; i < data.size();) {
        const char c = data[i];
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80) {
            const std::size_t n = Utf8Length(data, i);
            if (n != 0) {
                out.append(data.substr(i, n));
                i += n;
                continue;
            }
        }
        ++i;
        switch (c) {
        case '\\': out += "\\\\"; continue;
        case '"': out += "\\\""; continue;
        case '\n': out += "\\n"; continue;
        case '\r': out += "\\r"; continue;
        case '\t': out += "\\t"; continue;
        default: break;
        }
        if (b < 0x20 || b >= 0x7F) {
            out += "\\x";
            AppendHexByte(out, b);
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

void AppendHexBytes(std::string& out, std::string_view data)
{
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i != 0) out.push_back(' ');
        AppendHexByte(out, static_cast<unsigned char>(data[i]));
    }
}

// A list has the short form when it is a run of non-empty texts closed by an
// empty one, or the single 0 byte of an empty list.
bool IsPlainList(std::string_view data)
{
    if (data.size() == 1) return data[0] == '\0';
    return data.size() >= 3 && data[0] != '\0' && data.find(std::string_view("\0\0", 2)) == data.size() - 2;
}

void AppendList(std::string& out, std::string_view data)
{
    out += "list:";
    if (data.size() == 1) return;
    data.remove_suffix(2);
    bool first = true;
    while (true) {
        const std::size_t cut = data.find('\0');
        if (!first) out.push_back(',');
        first = false;
        AppendQuoted(out, data.substr(0, cut));
        if (cut == std::string_view::npos) break;
        data.remove_prefix(cut + 1);
    }
}

void AppendValue(std::string& out, const SettingsValue& value)
{
    const std::string_view data = value.data;
    if (value.type == 1 || value.type == 2) {
        out += value.type == 1 ? "text:" : "expand:";
        AppendQuoted(out, data);
    } else if (value.type == kTypeInt && data.size() == 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(data[i]);
        out += "dword:0x";
        for (int shift = 28; shift >= 0; shift -= 4) out.push_back(kHexDigits[(n >> shift) & 15]);
    } else if (value.type == kTypeList && IsPlainList(data)) {
        AppendList(out, data);
    } else {
        out += value.type == kTypeBytes ? "hex:" : "hex(" + std::to_string(value.type) + "):";
        AppendHexBytes(out, data);
    }
}

// ---- reading ---------------------------------------------------------------

bool DecodeName(std::string_view raw, std::string& name)
{
    name.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '%') {
            if (i + 2 >= raw.size()) return false;
            const int hi = HexDigitValue(raw[i + 1]);
            const int lo = HexDigitValue(raw[i + 2]);
            if (hi < 0 || lo < 0) return false;
            c = static_cast<char>(hi * 16 + lo);
            i += 2;
        }
        if (c == '\0') return false;
        name.push_back(c);
    }
    return true;
}

// Reads the tokens of one value after the "=".
class ValueReader {
  public:
    explicit ValueReader(std::string_view text) : m_text(text) {}

    void SkipBlanks()
    {
        while (m_pos < m_text.size() && IsBlankOrCr(m_text[m_pos])) ++m_pos;
    }
    bool AtEnd()
    {
        SkipBlanks();
        return m_pos == m_text.size();
    }
    bool Take(char c)
    {
        SkipBlanks();
        if (m_pos >= m_text.size() || m_text[m_pos] != c) return false;
        ++m_pos;
        return true;
    }
    std::string_view Word()
    {
        SkipBlanks();
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != ':' && !IsBlankOrCr(m_text[m_pos])) ++m_pos;
        return m_text.substr(start, m_pos - start);
    }
    bool Quoted(std::string& out);
    bool HexBytes(std::string& out);
    bool Dword(std::string& out);

  private:
    bool Escape(std::string& out);
    bool HexByte(std::string& out); // two hex digits

    std::string_view m_text;
    std::size_t m_pos = 0;
};

bool ValueReader::Escape(std::string& out)
{
    if (m_pos >= m_text.size()) return false;
    const char c = m_text[m_pos++];
    switch (c) {
    case '\\':
    case '"': out.push_back(c); return true;
    case 'n': out.push_back('\n'); return true;
    case 'r': out.push_back('\r'); return true;
    case 't': out.push_back('\t'); return true;
    case 'x': break;
    default: return false;
    }
    return HexByte(out);
}

bool ValueReader::HexByte(std::string& out)
{
    if (m_pos + 2 > m_text.size()) return false;
    const int hi = HexDigitValue(m_text[m_pos]);
    const int lo = HexDigitValue(m_text[m_pos + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<char>(hi * 16 + lo));
    m_pos += 2;
    return true;
}

bool ValueReader::Quoted(std::string& out)
{
    if (!Take('"')) return false;
    while (m_pos < m_text.size()) {
        const char c = m_text[m_pos++];
        if (c == '"') return true;
        if (c != '\\') {
            out.push_back(c);
        } else if (!Escape(out)) {
            return false;
        }
    }
    return false;
}

bool ValueReader::HexBytes(std::string& out)
{
    while (!AtEnd())
        if (!HexByte(out)) return false;
    return true;
}

bool ValueReader::Dword(std::string& out)
{
    SkipBlanks();
    const bool hex = m_text.substr(m_pos, 2) == "0x" || m_text.substr(m_pos, 2) == "0X";
    if (hex) m_pos += 2;
    const unsigned base = hex ? 16 : 10;
    std::uint64_t n = 0;
    std::size_t digits = 0;
    for (; m_pos < m_text.size(); ++m_pos, ++digits) {
        const int d = HexDigitValue(m_text[m_pos]);
        if (d < 0 || static_cast<unsigned>(d) >= base) break;
        n = n * base + static_cast<unsigned>(d);
        if (n > 0xFFFFFFFFu) return false;
    }
    if (digits == 0) return false;
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    return true;
}

bool ParseType(std::string_view word, std::uint32_t& type)
{
    static constexpr struct {
        std::string_view word;
        std::uint32_t type;
    } kNamed[] = {{"text", 1}, {"expand", 2}, {"hex", kTypeBytes}, {"dword", kTypeInt}, {"list", kTypeList}};
    for (const auto& named : kNamed) {
        if (word == named.word) {
            type = named.type;
            return true;
        }
    }
    if (word.size() < 6 || word.substr(0, 4) != "hex(" || word.back() != ')') return false;
    std::uint64_t n = 0;
    for (char c : word.substr(4, word.size() - 5)) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + static_cast<unsigned>(c - '0');
        if (n > 0xFFFFFFFFu) return false;
    }
    type = static_cast<std::uint32_t>(n);
    return true;
}

bool ParseValue(std::string_view text, SettingsValue& value)
{
    ValueReader reader(text);
    const std::string_view word = reader.Word();
    if (!ParseType(word, value.type) || !reader.Take(':')) return false;
    if (word == "dword") {
        if (!reader.Dword(value.data)) return false;
    } else if (word == "text" || word == "expand") {
        if (!reader.Quoted(value.data)) return false;
    } else if (word == "list") {
        if (!reader.AtEnd()) {
            do {
                if (!reader.Quoted(value.data)) return false;
                value.data.push_back('\0');
            } while (reader.Take(','));
        }
        value.data.push_back('\0');
    } else if (!reader.HexBytes(value.data)) {
        return false;
    }
    return reader.AtEnd();
}

bool ParseSection(std::string_view inner, std::string& path)
{
    path.clear();
    std::string part;
    for (std::string_view raw : SplitKeyPath(inner)) {
        // A key name can hold neither the separator nor blanks at its ends.
        if (!DecodeName(Trim(raw), part) || part.find('\\') != std::string::npos) return false;
        if (part.empty()) continue;
        if (!path.empty()) path.push_back('\\');
        path += part;
    }
    return true;
}

bool ParseLine(std::string_view line, SettingsTree& tree, std::string& section, bool& inSection,
               std::string& message)
{
    if (line.empty() || line[0] == '#' || line[0] == ';') return true;
    if (line[0] == '[') {
        if (line.back() != ']' || line.size() < 2 ||
            !ParseSection(line.substr(1, line.size() - 2), section)) {
            message = "bad section header";
            return false;
        }
        if (!section.empty()) tree.EnsureKey(section);
        inSection = true;
        return true;
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || !inSection) {
        message = inSection ? "line without \"=\"" : "value outside a section";
        return false;
    }
    const std::string_view rawName = Trim(line.substr(0, eq));
    std::string name;
    if (rawName != "@" && (rawName.empty() || !DecodeName(rawName, name))) {
        message = "bad value name";
        return false;
    }
    SettingsValue value;
    if (!ParseValue(line.substr(eq + 1), value)) {
        message = "bad value";
        return false;
    }
    tree.SetValue(section, name, std::move(value));
    return true;
}

} // namespace

bool ParseSettingsText(std::string_view text, SettingsTree& tree, SettingsParseError* error)
{
    tree = SettingsTree();
    std::string section;
    bool inSection = false;
    std::string message;
    for (std::size_t lineNo = 1; !text.empty(); ++lineNo) {
        const std::size_t cut = text.find('\n');
        const std::string_view line = Trim(text.substr(0, cut));
        text.remove_prefix(cut == std::string_view::npos ? text.size() : cut + 1);
        if (!ParseLine(line, tree, section, inSection, message)) {
            if (error != nullptr) *error = {lineNo, message};
            return false;
        }
    }
    return true;
}

std::string FormatSettingsText(const SettingsTree& tree)
{
    std::string out = "# Dualvex settings: one [key] per section, one name=type:value per line.\n";
    for (const auto& [folded, key] : tree.Keys()) {
        // A key without values is implied by its sub-keys' sections.
        if (key.values.empty() && (folded.empty() || tree.HasSubKeys(key.path))) continue;
        out += "\n[";
        bool first = true;
        for (std::string_view part : SplitKeyPath(key.path)) {
            if (!first) out.push_back('\\');
            first = false;
            AppendName(out, part);
        }
        out += "]\n";
        for (const auto& [name, value] : key.values) {
            if (name.empty()) {
                out.push_back('@');
            } else {
                AppendName(out, name);
            }
            out.push_back('=');
            AppendValue(out, value);
            out.push_back('\n');
        }
    }
    return out;
}

} // namespace dualvex
