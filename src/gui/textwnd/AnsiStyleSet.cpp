#include "gui/textwnd/AnsiStyleSet.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace dualvex {

namespace {

// Every style set in use, found by name; the sets themselves are owned by their views.
std::vector<std::weak_ptr<AnsiStyleSet>>& Registry()
{
    static std::vector<std::weak_ptr<AnsiStyleSet>> sets;
    return sets;
}

int g_nextSetNumber = 1;

} // namespace

QByteArray AnsiFontRecord::ToBytes() const
{
    QByteArray bytes(kStoredSize, '\0');
    qToLittleEndian<std::int32_t>(width, bytes.data());
    qToLittleEndian<std::int32_t>(height, bytes.data() + 4);
    qToLittleEndian<std::uint32_t>(style, bytes.data() + 8);
    const QByteArray name = face.toLatin1().left(kFaceBytes - 1);
    std::memcpy(bytes.data() + 12, name.constData(), static_cast<size_t>(name.size()));
    return bytes;
}

bool AnsiFontRecord::FromBytes(const QByteArray& bytes)
{
    if (bytes.size() != kStoredSize) return false;
    std::array<char, kStoredSize> raw{};
    std::memcpy(raw.data(), bytes.constData(), raw.size());
    width = qFromLittleEndian<std::int32_t>(raw.data());
    height = qFromLittleEndian<std::int32_t>(raw.data() + 4);
    style = qFromLittleEndian<std::uint32_t>(raw.data() + 8);
    const char* name = raw.data() + 12;
    face = QString::fromLatin1(name, static_cast<qsizetype>(strnlen(name, kFaceBytes)));
    return true;
}

QColor ColorFromValue(std::uint32_t value, const QColor& systemColor)
{
    if (value == kSystemColor) return systemColor;
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

std::uint32_t ValueFromColor(const QColor& color)
{
    return static_cast<std::uint32_t>(color.red()) | (static_cast<std::uint32_t>(color.green()) << 8) |
           (static_cast<std::uint32_t>(color.blue()) << 16);
}

QFont FontFromRecord(const AnsiFontRecord& record)
{
    QFont font(record.face);
    font.setPixelSize(std::max(1, record.height));
    font.setWeight((record.style & AnsiFontRecord::Bold) ? QFont::Bold : QFont::Normal);
    font.setItalic(record.style & AnsiFontRecord::Italic);
    font.setUnderline(record.style & AnsiFontRecord::Underline);
    if (record.style & AnsiFontRecord::FixedPitch) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter);
    }
    return font;
}

AnsiStyleSet::AnsiStyleSet(QString name, int setNumber) : m_name(std::move(name)), m_setNumber(setNumber)
{
    m_formats.push_back(AnsiFormat{kSystemColor, kSystemColor, 1, 0, QStringLiteral("Standard")});
    m_styleIsBase.fill(true);
}

std::shared_ptr<AnsiStyleSet> AnsiStyleSet::Acquire(const QString& name)
{
    auto& sets = Registry();
    std::erase_if(sets, [](const std::weak_ptr<AnsiStyleSet>& w) { return w.expired(); });
    for (const auto& weak : sets) {
        auto set = weak.lock();
        if (set && set->Name().compare(name, Qt::CaseInsensitive) == 0) return set;
    }
    auto set = std::make_shared<AnsiStyleSet>(name, g_nextSetNumber++);
    sets.push_back(set);
    return set;
}

int AnsiStyleSet::AddFormat(std::uint32_t background, std::uint32_t text, const QString& name,
                            std::uint32_t id, int fontStyle)
{
    const std::uint32_t plainId = id & 0x7FFFFFFFu;
    const auto taken = [&](std::uint32_t wanted) {
        return std::find_if(m_formats.begin(), m_formats.end(),
                            [&](const AnsiFormat& f) { return wanted != 0 && f.id == wanted; });
    };
    const auto existing = taken(plainId);
    if ((id & 0x80000000u) && existing != m_formats.end())
        return static_cast<int>(existing - m_formats.begin());
    const std::uint32_t storedId = existing == m_formats.end() ? plainId : 0;
    m_formats.push_back(AnsiFormat{background, text, storedId, fontStyle, name});
    return FormatCount() - 1;
}

bool AnsiStyleSet::UpdateFormat(std::uint32_t text, std::uint32_t background, const QString& name,
                                std::uint32_t id, int fontStyle)
{
    const auto it = std::find_if(m_formats.begin(), m_formats.end(), [&](const AnsiFormat& f) {
        return id != 0 ? f.id == id : f.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (it == m_formats.end()) return false;
    it->text = text;
    it->background = background;
    it->id = id;
    it->fontStyle = fontStyle;
    return true;
}

const AnsiFormat& AnsiStyleSet::Format(int index) const
{
    return (index >= 0 && index < FormatCount()) ? m_formats[static_cast<size_t>(index)] : m_formats.front();
}

QColor AnsiStyleSet::TextColor(std::uint16_t attribute, const QPalette& palette) const
{
    return ColorFromValue(Format(attribute & 0xFF).text, palette.color(QPalette::Text));
}

QColor AnsiStyleSet::BackgroundColor(std::uint16_t attribute, const QPalette& palette) const
{
    const int index = (attribute >> 8) != 0 ? (attribute >> 8) : (attribute & 0xFF);
    return ColorFromValue(Format(index).background, palette.color(QPalette::Base));
}

const QFont& AnsiStyleSet::FontFor(std::uint16_t attribute) const
{
    return StyleFont(Format(attribute & 0xFF).fontStyle);
}

const QFont& AnsiStyleSet::StyleFont(int style) const
{
    if (style <= 0) return m_baseFont;
    return m_styleFonts[static_cast<size_t>(style & 7)];
}

void AnsiStyleSet::ApplyFont(const QFont& base, const QString& face)
{
    m_fontRecord.face = face;
    m_hasFont = true;
    m_baseFont = base;
    const QFontMetrics metrics(base);
    const qreal exact = QFontMetricsF(base).horizontalAdvance(QLatin1Char('0'));
    m_charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('0')));
    // Some faces report a line spacing below their own height (ascent + descent): the
    // cell takes the larger, or rows would clip each other's glyphs.
    m_charHeight = std::max({1, metrics.lineSpacing(), metrics.height()});
    m_ascent = metrics.ascent();
    // Pin every glyph to the whole-pixel cell so that runs drawn as one string stay on the grid.
    m_baseFont.setLetterSpacing(QFont::AbsoluteSpacing, m_charWidth - exact);
    BuildStyleFonts();
}

void AnsiStyleSet::BuildStyleFonts()
{
    for (int style = 0; style < 8; ++style) {
        AnsiFontRecord record = m_fontRecord;
        record.style = AnsiFontRecord::FixedPitch | static_cast<std::uint32_t>(style);
        QFont font = FontFromRecord(record);
        font.setPixelSize(m_baseFont.pixelSize());
        const QFontMetrics metrics(font);
        const bool fits = metrics.horizontalAdvance(QLatin1Char('0')) == m_charWidth &&
                          std::max(metrics.lineSpacing(), metrics.height()) <= m_charHeight;
        const size_t i = static_cast<size_t>(style);
        m_styleIsBase[i] = style == 0 || !fits;
        if (m_styleIsBase[i]) {
            m_styleFonts[i] = m_baseFont;
            continue;
        }
        font.setLetterSpacing(QFont::AbsoluteSpacing,
                              m_charWidth - QFontMetricsF(font).horizontalAdvance(QLatin1Char('0')));
        m_styleFonts[i] = font;
    }
}

} // namespace dualvex
