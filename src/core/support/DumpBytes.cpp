#include "core/support/DumpBytes.h"
#include "core/support/TextConv.h"

namespace dualvex {

int ReadDumpBytes(const char* text, std::uint8_t* out, int max)
{
    int pos = 0;
    while (IsBlank(text[pos])) ++pos;
    if (text[pos] == ':') ++pos;
    int count = 0;
    while (count < max) {
        while (IsBlank(text[pos])) ++pos;
        const int high = HexDigitValue(text[pos]);
        if (high < 0) break;
        ++pos;
        const int low = HexDigitValue(text[pos]);
        if (low < 0) {
            out[count++] = static_cast<std::uint8_t>(high);
            continue;
        }
        ++pos;
        out[count++] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return count;
}

} // namespace dualvex
