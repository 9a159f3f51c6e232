#include "core/support/DecodeEscape.h"
#include "core/support/TextConv.h"

namespace dualvex {
namespace {

int SimpleEscape(char c)
{
    switch (c) {
    case '"':
    case '\'':
    case '?':
    case '\\': return static_cast<unsigned char>(c);
    case 'a': return 7;
    case 'b': return 8;
    case 'f': return 12;
    case 'n': return 10;
    case 'r': return 13;
    case 't': return 9;
    case 'v': return 11;
    default: return -1;
    }
}

// Up to three digits of the radix from text; returns how many were read.
int ReadDigits(const char* text, int radix, int* value)
{
    int n = 0;
    *value = 0;
    for (; n < 3; ++n) {
        const int digit =
            radix == 8 ? (text[n] >= '0' && text[n] <= '7' ? text[n] - '0' : -1) : HexDigitValue(text[n]);
        if (digit < 0) break;
        *value = *value * radix + digit;
    }
    return n;
}

} // namespace

int DecodeEscape(const char* text, int* consumed)
{
    if (text[0] == '\0') {
        *consumed = 0;
        return 0;
    }
    *consumed = 1;
    if (text[0] != '\\') return static_cast<unsigned char>(text[0]);
    const int simple = SimpleEscape(text[1]);
    if (simple >= 0) {
        *consumed = 2;
        return simple;
    }
    int value = 0;
    int digits = ReadDigits(text + 1, 8, &value);
    if (digits > 0) {
        *consumed = 1 + digits;
        return value & 0xFF;
    }
    if (text[1] == 'x' || text[1] == 'X') {
        digits = ReadDigits(text + 2, 16, &value);
        if (digits > 0) {
            *consumed = 2 + digits;
            return value & 0xFF;
        }
    }
    return '\\';
}

} // namespace dualvex
