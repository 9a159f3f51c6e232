// The number input dialog's computing side: the value with its byte count and byte
// order, the number field read as a 64-bit expression or a hex dump, the byte-count
// buttons and their captions, and the preview of the copy formats.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dualvex {

// Writes at most outSize characters of text for the bytes (the copy-as-source
// generator); formatWord is the format index plus 128 for big-endian order.
using NumberPreviewGenerator =
    std::function<int(const std::uint8_t* bytes, std::uint32_t count, int byteCount, int formatWord,
                      int lineSize, char* out, int outSize)>;

// The copy-as-source generator in the form the preview calls it.
NumberPreviewGenerator CppArrayPreview();

enum class NumberInputTemplate { Plain, Format, FormatWithPreview };

// Set by the caller before the dialog opens.
struct NumberInputParams {
    std::string title; // empty: the template's own caption
    std::string label;
    std::array<std::uint8_t, 8> value{}; // little-endian
    int byteCount = 4;
    bool hexDisplay = true;
    bool bigEndian = false;
    bool formatVariant = false;
    int format = 0; // 0 "C/C++", 1 "Assembler", 2 "Texttypen", 3 "Dump"
    NumberPreviewGenerator preview;
    std::vector<std::uint8_t> previewBytes;
};

class NumberInputModel {
  public:
    static constexpr int kPreviewSize = 256;

    explicit NumberInputModel(NumberInputParams params);

    NumberInputTemplate Template() const;
    const NumberInputParams& Params() const { return m_params; }
    // The number field's text on opening.
    const std::string& InitialText() const { return m_initialText; }
    // Index of the "Byte-Anzahl" button for the byte count.
    int ByteCountButton() const { return ButtonForByteCount(m_params.byteCount); }
    std::array<std::string, 4> ByteCountCaptions(int format) const;

    // OK: reads the field into the value and takes the controls' states.
    void Accept(const std::string& numberText, int button, bool bigEndian, int format);
    const std::array<std::uint8_t, 8>& Value() const { return m_params.value; }
    int ByteCount() const { return m_params.byteCount; }
    bool BigEndian() const { return m_params.bigEndian; }
    int Format() const { return m_params.format; }
    // The first byte-count bytes of the value in the order they go into the data.
    std::vector<std::uint8_t> OutputBytes() const;

    // Preview timing: every change restarts a countdown of three timer ticks.
    void NoteChange() { m_countdown = 3; }
    // One timer tick; true when the preview is due now.
    bool Tick();
    // The first line of the generator's output for the controls' current states; empty
    // without a generator.
    std::string PreviewText(const std::string& numberText, int button, bool bigEndian, int format) const;

    static int ButtonForByteCount(int byteCount);
    static int ByteCountForButton(int button);
    // A hex dump when the text starts with ":" (other bytes zero), else the value of a
    // 64-bit expression, up to an error.
    static std::array<std::uint8_t, 8> ReadNumber(const std::string& text);

  private:
    NumberInputParams m_params;
    std::string m_initialText;
    int m_countdown = 0;
};

} // namespace dualvex
