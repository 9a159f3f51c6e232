#include "TextConv.h"

namespace dualvex {

std::uint32_t CharClass(unsigned char ch)
{
    if (ch >= '0' && ch <= '9') {
        std::uint32_t c = kClassDigit;
        if (ch <= '1') c |= kClassBinary;
        if (ch <= '7') c |= kClassOctal;
        return c;
    }
    if (ch >= 'A' && ch <= 'Z') return ch <= 'F' ? kClassUpper | kClassHexLetter : kClassUpper;
    if (ch >= 'a' && ch <= 'z') return ch <= 'f' ? kClassLower | kClassHexLetter : kClassLower;
    switch (ch) {
    case '_': return kClassUnderscore;
    case '\t': return kClassTab;
    case '\n':
    case '\r': return kClassLineEnd;
    case ' ': return kClassSpace;
    default: return 0;
    }
}

int DigitValue(unsigned char ch)
{
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'A' && ch <= 'Z') return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'z') return ch - 'a' + 10;
    return 127;
}

}  // namespace dualvex
