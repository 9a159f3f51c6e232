#include "core/support/DumpBytes.h"

namespace dualvex {
namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

int ReadDumpBytes(const char* text, std::uint8_t* out, int max)
{
    int pos = 0;
    while (IsBlank(text[pos])) ++pos;
    if (text[pos] == ':') ++pos;
    int count = 0;
    while (count < max) {
        while (IsBlank(text[pos])) ++pos;
        const int high = HexValue(text[pos]);
        if (high < 0) break;
        ++pos;
        const int low = HexValue(text[pos]);
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
