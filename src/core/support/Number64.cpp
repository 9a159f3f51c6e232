#include "core/support/Number64.h"

#include "core/support/NumberScan.h"

#include <cstring>

namespace dualvex {
namespace {

constexpr std::uint32_t kFormatRadixIsStyle = 0x8000;
constexpr std::uint32_t kFormatWidthIsMaximum = 0x4000;
constexpr std::uint32_t kFormatPadWithSpaces = 0x10000;
constexpr int kMaxDigits = 64;

struct Style {
    unsigned radix = 10;
    bool isSigned = false;
    const char* prefix = "";
    const char* suffix = "";
};

Style StyleOf(std::uint32_t flags)
{
    const unsigned style = flags & 0xFF;
    if (flags & kFormatRadixIsStyle) return {style >= 2 && style <= 36 ? style : 10u, false, "", ""};
    switch (style) {
    case 1: return {16, false, "0x", ""};
    case 2: return {2, false, "0b", ""};
    case 3: return {8, false, "0o", ""};
    case 4: return {16, false, "", "h"};
    case 5: return {2, false, "", "b"};
    case 6: return {8, false, "", "o"};
    case 7: return {16, false, "16#", ""};
    case 8: return {2, false, "2#", ""};
    case 9: return {8, false, "8#", ""};
    case 10: return {10, false, "10#", ""};
    default: return {10, true, "", ""};
    }
}

// Writes the digits of value, most significant first, and returns their count.
int Digits(std::uint64_t value, unsigned radix, char* out)
{
    char reversed[kMaxDigits];
    int n = 0;
    do {
        const auto digit = static_cast<int>(value % radix);
        reversed[n++] = static_cast<char>(digit < 10 ? '0' + digit : 'A' + digit - 10);
        value /= radix;
    } while (value != 0 && n < kMaxDigits);
    for (int i = 0; i < n; ++i) out[i] = reversed[n - 1 - i];
    return n;
}

int Append(char* dest, int length, const char* text)
{
    const auto n = static_cast<int>(std::strlen(text));
    std::memcpy(dest + length, text, static_cast<std::size_t>(n));
    return length + n;
}

} // namespace

std::uint64_t ParseNumber64(const char* text, std::uint32_t flags, int* end)
{
    const NumberScan scan = ScanNumber(text, flags);
    if (end) *end = scan.end;
    return scan.value;
}

int FormatNumber64(std::uint64_t value, char* dest, std::uint32_t flags)
{
    const Style style = StyleOf(flags);
    const bool negative = style.isSigned && static_cast<std::int64_t>(value) < 0;
    int width = static_cast<int>((flags >> 8) & 0x3F);
    if (negative && width >= 3) --width; // the sign takes one digit's place

    char digits[kMaxDigits + 1];
    int count = Digits(negative ? 0 - value : value, style.radix, digits);
    const char* first = digits;
    if ((flags & kFormatWidthIsMaximum) && width > 0 && count > width) {
        first += count - width;
        count = width;
    }
    const bool spaces = (flags & kFormatPadWithSpaces) != 0;
    // A suffixed hexadecimal number must not start with a letter, or it reads as a name.
    const bool leadingZero =
        style.suffix[0] != '\0' && style.radix == 16 && first[0] > '9' && (spaces || width <= count);
    const int padding = width - count - (leadingZero ? 1 : 0);

    int length = 0;
    if (spaces)
        for (int i = 0; i < padding; ++i) dest[length++] = ' ';
    if (negative) dest[length++] = '-';
    length = Append(dest, length, style.prefix);
    if (!spaces)
        for (int i = 0; i < padding; ++i) dest[length++] = '0';
    if (leadingZero) dest[length++] = '0';
    std::memcpy(dest + length, first, static_cast<std::size_t>(count));
    length += count;
    length = Append(dest, length, style.suffix);
    dest[length] = '\0';
    return length;
}

} // namespace dualvex
