#include "core/tools/NumberInputModel.h"

#include "core/hexview/CppArray.h"
#include "core/support/Number64.h"
#include "core/support/TextConv.h"
#include "core/support/ValueText.h"
#include "core/tools/Evaluator.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace dualvex {
namespace {

std::uint64_t LoadLittleEndian(const std::array<std::uint8_t, 8>& bytes)
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = v << 8 | bytes[static_cast<std::size_t>(i)];
    return v;
}

std::array<std::uint8_t, 8> StoreLittleEndian(std::uint64_t v)
{
    std::array<std::uint8_t, 8> bytes{};
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(v);
        v >>= 8;
    }
    return bytes;
}

// Clamps the byte count and extends the sign of the highest used byte over the rest.
void SignFill(NumberInputParams& p)
{
    p.byteCount = std::clamp(p.byteCount, 0, 8);
    if (p.byteCount == 0) p.value[0] = 0;
    const std::size_t used = static_cast<std::size_t>(std::max(p.byteCount, 1));
    const std::uint8_t fill = (p.value[used - 1] & 0x80) ? 0xFF : 0x00;
    std::fill(p.value.begin() + static_cast<std::ptrdiff_t>(used), p.value.end(), fill);
}

std::string InitialNumberText(const NumberInputParams& p)
{
    const std::uint32_t style = p.hexDisplay ? 1 : 0;
    char buffer[80]; // FormatNumber64 writes at most 66 characters, FormatNumber 36
    const std::uint64_t v = LoadLittleEndian(p.value);
    const int length = p.byteCount >= 5 ? FormatNumber64(v, buffer, style)
                                        : FormatNumber(static_cast<std::uint32_t>(v), buffer, style);
    return std::string(buffer, static_cast<std::size_t>(length));
}

} // namespace

NumberInputModel::NumberInputModel(NumberInputParams params) : m_params(std::move(params))
{
    SignFill(m_params);
    m_params.format = std::clamp(m_params.format, 0, 3);
    m_initialText = InitialNumberText(m_params);
    if (Template() == NumberInputTemplate::FormatWithPreview) m_countdown = 1;
}

NumberInputTemplate NumberInputModel::Template() const
{
    if (!m_params.formatVariant) return NumberInputTemplate::Plain;
    return m_params.preview ? NumberInputTemplate::FormatWithPreview : NumberInputTemplate::Format;
}

std::array<std::string, 4> NumberInputModel::ByteCountCaptions(int format) const
{
    if (!m_params.formatVariant) return {"B&yte", "&Word", "&DWord", "&QWort"};
    if (format == 2) return {"Base 64", "HEX-Text", "MIN-Text", "Chars"};
    return {"&Byte", "&Word", "&Dword", format == 3 ? "---" : "&QWord"};
}

int NumberInputModel::ButtonForByteCount(int byteCount)
{
    switch (byteCount) {
    case 1: return 0;
    case 2: return 1;
    case 8: return 3;
    default: return 2;
    }
}

int NumberInputModel::ByteCountForButton(int button)
{
    static constexpr int kCounts[] = {1, 2, 4, 8};
    return kCounts[std::clamp(button, 0, 3)];
}

std::array<std::uint8_t, 8> NumberInputModel::ReadNumber(const std::string& text)
{
    const char* p = text.c_str();
    p += SpanClass(p, kClassWhite);
    std::array<std::uint8_t, 8> bytes{};
    if (*p == ':') {
        const std::vector<std::uint8_t> dump = ParseHexDump(p, 8);
        std::copy(dump.begin(), dump.end(), bytes.begin());
        return bytes;
    }
    std::int64_t value = 0;
    std::uint32_t status = 0; // an error keeps the value computed so far
    Evaluate(p, &value, &status);
    return StoreLittleEndian(static_cast<std::uint64_t>(value));
}

void NumberInputModel::Accept(const std::string& numberText, int button, bool bigEndian, int format)
{
    m_params.value = ReadNumber(numberText);
    m_params.byteCount = ByteCountForButton(button);
    m_params.bigEndian = bigEndian;
    m_params.format = std::clamp(format, 0, 3);
}

std::vector<std::uint8_t> NumberInputModel::OutputBytes() const
{
    std::vector<std::uint8_t> bytes(m_params.value.begin(), m_params.value.begin() + m_params.byteCount);
    if (m_params.bigEndian) std::reverse(bytes.begin(), bytes.end());
    return bytes;
}

bool NumberInputModel::Tick()
{
    if (m_countdown <= 0) return false;
    return --m_countdown == 0;
}

std::string NumberInputModel::PreviewText(const std::string& numberText, int button, bool bigEndian,
                                          int format) const
{
    if (!m_params.preview) return {};
    const std::array<std::uint8_t, 8> value = ReadNumber(numberText);
    const int formatWord = std::clamp(format, 0, 3) + (bigEndian ? 128 : 0);
    char out[kPreviewSize + 1] = {};
    m_params.preview(m_params.previewBytes.data(), static_cast<std::uint32_t>(m_params.previewBytes.size()),
                     ByteCountForButton(button), formatWord, value[0], out, kPreviewSize);
    out[kPreviewSize] = '\0'; // whatever the generator did, the text ends inside the buffer
    std::string line(out);
    line = line.substr(0, line.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

NumberPreviewGenerator CppArrayPreview()
{
    return [](const std::uint8_t* bytes, std::uint32_t count, int byteCount, int formatWord, int lineSize,
              char* out, int outSize) {
        const int n = static_cast<int>(std::min<std::uint32_t>(count, kCppCopyMaxBytes));
        return GenerateCppArray(bytes, n, byteCount, static_cast<std::uint32_t>(formatWord),
                                CppLineSize(lineSize), out, outSize);
    };
}

} // namespace dualvex
