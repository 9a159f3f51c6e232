// Fonts and colour formats shared by every text window created with the same
// style-set name ("Hex" for the hex panes). Changing a colour or the font in one
// pane changes it in all of them, and the set lives as long as one view uses it.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace dualvex {

// Colour values are 32-bit with red in the low byte; this value means "the theme's colour".
inline constexpr std::uint32_t kSystemColor = 0xFFFFFFFFu;

// Font description as it is stored: 44 raw bytes, little-endian.
struct AnsiFontRecord {
    static constexpr int kFaceBytes = 32;
    static constexpr int kStoredSize = 44;
    enum Style : std::uint32_t { Bold = 1, Italic = 2, Underline = 4, FixedPitch = 8, ClipPrecision = 16 };

    std::int32_t width = 0;  // 0 = the face's own width
    std::int32_t height = 0; // pixels
    std::uint32_t style = FixedPitch;
    QString face;

    [[nodiscard]] QByteArray ToBytes() const;
    // Reads a stored record; anything but 44 bytes leaves the record unchanged and returns false.
    [[nodiscard]] bool FromBytes(const QByteArray& bytes);
};

// One named colour format.
struct AnsiFormat {
    std::uint32_t background = kSystemColor;
    std::uint32_t text = kSystemColor;
    std::uint32_t id = 0; // 0 = not persisted
    int fontStyle = 0;    // 1 bold, 2 italic, 4 underline; 0 or less = the base font
    QString name;

    bool operator==(const AnsiFormat&) const = default;
};

// Converts between stored colour values and Qt colours; kSystemColor yields the fallback.
[[nodiscard]] QColor ColorFromValue(std::uint32_t value, const QColor& systemColor);
[[nodiscard]] std::uint32_t ValueFromColor(const QColor& color);

class AnsiStyleSet {
  public:
    AnsiStyleSet(QString name, int setNumber);
    AnsiStyleSet(const AnsiStyleSet&) = delete;
    AnsiStyleSet& operator=(const AnsiStyleSet&) = delete;

    // The set registered under this name (compared without regard to case), or a new one
    // with the format "Standard". The returned pointer is one more reference.
    [[nodiscard]] static std::shared_ptr<AnsiStyleSet> Acquire(const QString& name);

    [[nodiscard]] const QString& Name() const { return m_name; }
    [[nodiscard]] int SetNumber() const { return m_setNumber; }

    // Formats. AddFormat with bit 31 in the id returns an existing entry with that id
    // instead of adding; an id already taken is stored as 0.
    int AddFormat(std::uint32_t background, std::uint32_t text, const QString& name, std::uint32_t id,
                  int fontStyle);
    bool UpdateFormat(std::uint32_t text, std::uint32_t background, const QString& name, std::uint32_t id,
                      int fontStyle);
    [[nodiscard]] int FormatCount() const { return static_cast<int>(m_formats.size()); }
    [[nodiscard]] const AnsiFormat& Format(int index) const; // out of range = format 0
    [[nodiscard]] std::vector<AnsiFormat>& Formats() { return m_formats; }
    [[nodiscard]] const std::vector<AnsiFormat>& Formats() const { return m_formats; }

    // Colours of an attribute word: low byte gives text colour and font style,
    // high byte (0 = the low byte) gives the background.
    [[nodiscard]] QColor TextColor(std::uint16_t attribute, const QPalette& palette) const;
    [[nodiscard]] QColor BackgroundColor(std::uint16_t attribute, const QPalette& palette) const;
    [[nodiscard]] const QFont& FontFor(std::uint16_t attribute) const;

    // Fonts: the record, the base font and the eight style fonts agreed for one cell size.
    AnsiFontRecord& FontRecord() { return m_fontRecord; }
    [[nodiscard]] const AnsiFontRecord& FontRecord() const { return m_fontRecord; }
    [[nodiscard]] bool HasFont() const { return m_hasFont; }
    [[nodiscard]] const QFont& BaseFont() const { return m_baseFont; }
    [[nodiscard]] const QFont& StyleFont(int style) const;
    [[nodiscard]] bool StyleFontIsBase(int style) const { return m_styleIsBase[style & 7]; }
    // Makes the font from the candidates and rebuilds the style fonts; see CAnsiView::SetFont.
    void ApplyFont(const QFont& base, const QString& face);
    [[nodiscard]] int CharWidth() const { return m_charWidth; }
    [[nodiscard]] int CharHeight() const { return m_charHeight; }
    [[nodiscard]] int Ascent() const { return m_ascent; }

    QString& KeyPath() { return m_keyPath; }

  private:
    void BuildStyleFonts();

    QString m_name;
    int m_setNumber;
    std::vector<AnsiFormat> m_formats;
    AnsiFontRecord m_fontRecord;
    bool m_hasFont = false;
    QFont m_baseFont;
    std::array<QFont, 8> m_styleFonts;
    std::array<bool, 8> m_styleIsBase{};
    int m_charWidth = 1;
    int m_charHeight = 1;
    int m_ascent = 0;
    QString m_keyPath;
};

// Font made from a stored record: pixel height, weight, italic, underline, fixed pitch.
[[nodiscard]] QFont FontFromRecord(const AnsiFontRecord& record);

} // namespace dualvex
