#include "core/tools/FloatConverter.h"

#include "core/support/Number64.h"
#include "core/support/TextConv.h"
#include "core/support/ValueText.h"
#include "core/tools/Evaluator.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <utility>

namespace dualvex {
namespace {

constexpr std::uint64_t kDoubleMantissaMask = (std::uint64_t(1) << 52) - 1;
constexpr std::uint32_t kFloatMantissaMask = (1u << 23) - 1;

bool IsWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsLetterOrDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string Trimmed(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsWhite(text[begin])) ++begin;
    while (end > begin && IsWhite(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string Limited(const std::string& text)
{
    return text.substr(0, std::min<std::size_t>(text.size(), FloatConverter::kMaxFieldText));
}

bool IsIntegerText(const std::string& digits)
{
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), IsLetterOrDigit) &&
           !std::all_of(digits.begin(), digits.end(), IsDigit);
}

// The decimal conversion does not depend on the locale: the point is always ".".
double ReadDecimal(const std::string& text)
{
    const char* first = text.c_str();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    double value = 0;
    if (std::from_chars(first, last, value).ec != std::errc()) return 0;
    return value;
}

// Up to 8 bytes of a hex dump text; the missing ones are zero.
std::array<std::uint8_t, 8> DumpBytes(const std::string& text)
{
    const std::vector<std::uint8_t> dump = ParseHexDump(Limited(text), 8);
    std::array<std::uint8_t, 8> bytes{};
    std::copy(dump.begin(), dump.end(), bytes.begin());
    return bytes;
}

std::uint64_t DoubleOf(const std::array<std::uint8_t, 8>& bytes)
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = v << 8 | bytes[static_cast<std::size_t>(i)];
    return v;
}

std::string Printed(const char* format, long long a, long long b)
{
    char buffer[64];
    const int length = PrintText(buffer, sizeof buffer, format, a, b);
    return std::string(buffer, static_cast<std::size_t>(std::max(length, 0)));
}

std::string PrintedValue(double value)
{
    char buffer[64]; // at most 63 characters
    const int length = PrintText(buffer, sizeof buffer, "%g", value);
    return std::string(buffer, static_cast<std::size_t>(std::max(length, 0)));
}

} // namespace

double ReadFloatValueText(const std::string& input)
{
    std::string text = Limited(input);
    text = Trimmed(text.substr(0, text.find('>')));
    const bool negative = !text.empty() && text[0] == '-';
    const std::string unsignedPart = negative ? text.substr(1) : text;
    if (!IsIntegerText(unsignedPart)) return ReadDecimal(text);
    const auto magnitude = static_cast<double>(ParseNumber64(unsignedPart.c_str(), kParseRadixEvaluator));
    return negative ? -magnitude : magnitude;
}

FloatConverter::FloatConverter(const std::uint8_t* bytes, int count)
{
    std::copy_n(bytes, std::clamp(count, 0, 8), m_bytes.begin());
    SetBytes(m_bytes);
}

void FloatConverter::SetBytes(const std::array<std::uint8_t, 8>& bytes)
{
    m_bytes = bytes;
    m_double = DoubleOf(bytes);
    m_float = static_cast<std::uint32_t>(m_double);
    m_mode = FloatMode::BytesEntered;
}

void FloatConverter::SetDouble(std::uint64_t bits)
{
    m_double = bits;
    for (std::size_t i = 0; i < 8; ++i) m_bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    m_float = static_cast<std::uint32_t>(bits);
    m_mode = FloatMode::DoubleEntered;
}

void FloatConverter::SetFloat(std::uint32_t bits)
{
    m_float = bits;
    m_double = bits;
    for (std::size_t i = 0; i < 8; ++i) m_bytes[i] = static_cast<std::uint8_t>(m_double >> (8 * i));
    m_mode = FloatMode::FloatEntered;
}

std::string FloatConverter::DumpText(bool withColon, int count) const
{
    char buffer[3 * 8 + 2];
    const std::uint32_t flags = 0x80002000u | (withColon ? 0x20000000u : 0u);
    const int length = FormatHexDump(m_bytes.data(), buffer, count, flags);
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::string FloatConverter::FieldText(int field) const
{
    const auto dExponent = static_cast<long long>((m_double >> 52) & 0x7FF);
    const auto fExponent = static_cast<long long>((m_float >> 23) & 0xFF);
    const auto dMantissa = static_cast<long long>(m_double & kDoubleMantissaMask);
    const auto fMantissa = static_cast<long long>(m_float & kFloatMantissaMask);
    switch (field) {
    case kFloatFieldDoubleValue: return PrintedValue(std::bit_cast<double>(m_double));
    case kFloatFieldFloatValue: return PrintedValue(static_cast<double>(std::bit_cast<float>(m_float)));
    case kFloatFieldHexDump: return DumpText(true, ByteCount());
    case kFloatFieldDoubleMantissa: return Printed("%I64i  >%04I64Xh", dMantissa, dMantissa);
    case kFloatFieldFloatMantissa: return Printed("%i  >%04Xh", fMantissa, fMantissa);
    case kFloatFieldDoubleExponent: return Printed("%i  >%03Xh", dExponent - 1023, dExponent);
    case kFloatFieldFloatExponent: return Printed("%i  >%02Xh", fExponent - 127, fExponent);
    default: return {};
    }
}

FloatFieldTexts FloatConverter::Update(int except) const
{
    FloatFieldTexts out;
    for (int field = 0; field < kFloatFieldCount; ++field)
        if (field != except) out.texts[static_cast<std::size_t>(field)] = FieldText(field);
    out.valid = m_valid;
    return out;
}

FloatFieldTexts FloatConverter::AllTexts() const
{
    return Update(-1);
}

FloatFieldTexts FloatConverter::FieldChanged(int field, const std::string& text)
{
    switch (field) {
    case kFloatFieldDoubleValue:
    case kFloatFieldFloatValue: ValueChanged(field, text); break;
    case kFloatFieldHexDump: {
        SetBytes(DumpBytes(text));
        break;
    }
    case kFloatFieldDoubleMantissa:
    case kFloatFieldFloatMantissa:
    case kFloatFieldDoubleExponent:
    case kFloatFieldFloatExponent: PartChanged(field, text); break;
    default: return Update(-1);
    }
    return Update(field);
}

void FloatConverter::ValueChanged(int field, const std::string& text)
{
    const double value = ReadFloatValueText(text);
    if (field == kFloatFieldDoubleValue)
        SetDouble(std::bit_cast<std::uint64_t>(value));
    else
        SetFloat(std::bit_cast<std::uint32_t>(static_cast<float>(value)));
}

// Mantissa and exponent: the number after ">" is the stored field; an exponent typed
// without ">" is unbiased. Out-of-range numbers mark the field and keep their low bits.
void FloatConverter::PartChanged(int field, const std::string& input)
{
    const std::string text = Limited(input);
    const std::size_t mark = text.find('>');
    const std::string expression = mark == std::string::npos ? text : text.substr(mark + 1);
    const bool isDouble = field == kFloatFieldDoubleMantissa || field == kFloatFieldDoubleExponent;
    const bool isExponent = field == kFloatFieldDoubleExponent || field == kFloatFieldFloatExponent;
    std::uint32_t status = 0; // errors keep the value computed so far
    std::uint64_t value = 0;
    if (isDouble) {
        std::int64_t v = 0;
        Evaluate(expression.c_str(), &v, &status);
        value = static_cast<std::uint64_t>(v);
    } else {
        std::int32_t v = 0;
        Evaluate(expression.c_str(), &v, &status);
        value = static_cast<std::uint32_t>(v);
    }
    const std::uint64_t bias = isDouble ? 1023 : 127;
    if (isExponent && mark == std::string::npos)
        value = isDouble ? value + bias : std::uint32_t(value + bias);
    const int shift = isExponent ? (isDouble ? 52 : 23) : 0;
    const std::uint64_t mask =
        isExponent ? (isDouble ? 0x7FF : 0xFF) : (isDouble ? kDoubleMantissaMask : kFloatMantissaMask);
    m_valid[static_cast<std::size_t>(field - 3)] = value <= mask;
    if (isDouble)
        SetDouble((m_double & ~(mask << shift)) | (value & mask) << shift);
    else
        SetFloat(static_cast<std::uint32_t>((m_float & ~(mask << shift)) | (value & mask) << shift));
}

FloatFieldTexts FloatConverter::Swap(FloatSwap swap, const std::string& dumpText)
{
    const std::string text = Limited(dumpText);
    std::array<std::uint8_t, 8> b = DumpBytes(text);
    for (std::size_t i = 0; i < 8; i += 2) {
        if (swap == FloatSwap::Bytes) std::swap(b[i], b[i + 1]);
        if (swap == FloatSwap::Words && i % 4 == 0) std::swap_ranges(&b[i], &b[i + 2], &b[i + 2]);
    }
    if (swap == FloatSwap::QWords) std::swap_ranges(&b[0], &b[4], &b[4]);
    SetBytes(b);
    FloatFieldTexts out = Update(kFloatFieldHexDump);
    const std::size_t first = text.find_first_not_of(" \t");
    out.texts[kFloatFieldHexDump] = DumpText(first != std::string::npos && text[first] == ':', 8);
    return out;
}

std::string FloatConverter::FocusGainedText(const std::string& text)
{
    return Trimmed(text.substr(0, text.find('>')));
}

} // namespace dualvex
