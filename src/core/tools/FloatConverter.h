// The float converter's model: eight bytes seen as an IEEE 754 double and, from their
// first four, as a float, with the mantissa and exponent fields of both and a hex dump.
// A dialog hands in "field k now reads t" and writes back the texts that come out.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace dualvex {

enum FloatField : int {
    kFloatFieldDoubleValue = 0,
    kFloatFieldFloatValue = 1,
    kFloatFieldHexDump = 2,
    kFloatFieldDoubleMantissa = 3,
    kFloatFieldFloatMantissa = 4,
    kFloatFieldDoubleExponent = 5,
    kFloatFieldFloatExponent = 6,
};
constexpr int kFloatFieldCount = 7;

enum class FloatMode { DoubleEntered = 0, FloatEntered = 1, BytesEntered = 2 };
enum class FloatSwap { Bytes, Words, QWords };

struct FloatFieldTexts {
    // New texts of the fields to rewrite; nullopt leaves a field as the user typed it.
    std::array<std::optional<std::string>, kFloatFieldCount> texts;
    // Validity of the mantissa and exponent fields, indexed by field - 3: false shows the
    // error colour.
    std::array<bool, 4> valid{};
};

class FloatConverter {
  public:
    static constexpr int kMaxFieldText = 128;

    // Up to 8 bytes from the data; the missing ones are zero. Starts with the bytes.
    FloatConverter(const std::uint8_t* bytes, int count);

    // All seven texts, as on opening.
    FloatFieldTexts AllTexts() const;
    // The user changed field k to text: recomputes and returns the other fields' texts.
    FloatFieldTexts FieldChanged(int field, const std::string& text);
    // A swap button: rearranges the eight bytes read from the dump field's text and
    // returns every field, the dump included.
    FloatFieldTexts Swap(FloatSwap swap, const std::string& dumpText);
    // Mantissa and exponent fields: on gaining the focus the text is cut at ">" and
    // trimmed, so the number alone can be selected; on losing it the field is shown in
    // its display format again.
    static std::string FocusGainedText(const std::string& text);
    std::string FieldText(int field) const;

    const std::array<std::uint8_t, 8>& Bytes() const { return m_bytes; }
    std::uint64_t DoubleBits() const { return m_double; }
    std::uint32_t FloatBits() const { return m_float; }
    FloatMode Mode() const { return m_mode; }
    int ByteCount() const { return m_mode == FloatMode::FloatEntered ? 4 : 8; }
    bool Valid(int field) const { return m_valid[static_cast<std::size_t>(field - 3)]; }

  private:
    FloatFieldTexts Update(int except) const;
    void SetDouble(std::uint64_t bits);
    void SetFloat(std::uint32_t bits);
    void SetBytes(const std::array<std::uint8_t, 8>& bytes);
    void ValueChanged(int field, const std::string& text);
    void PartChanged(int field, const std::string& text);
    std::string DumpText(bool withColon, int count) const;

    std::array<std::uint8_t, 8> m_bytes{};
    std::uint64_t m_double = 0;
    std::uint32_t m_float = 0;
    FloatMode m_mode = FloatMode::BytesEntered;
    std::array<bool, 4> m_valid{true, true, true, true};
};

// The number a value field stands for: an integer text (letters and digits after an
// optional "-", at least one non-digit, e.g. 0x40490FDB or 1Ah) by its numeric value,
// anything else as a decimal floating-point text; unreadable text gives 0.
double ReadFloatValueText(const std::string& text);

} // namespace dualvex
