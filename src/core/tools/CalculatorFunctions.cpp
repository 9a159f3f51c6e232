#include "core/tools/CalculatorFunctions.h"

#include "core/support/NumberScan.h"
#include "core/support/TextConv.h"
#include "core/tools/Evaluator.h"

#include <cstring>

namespace dualvex {
namespace {

constexpr int kMaxArgument = 254;

// Length of name when text starts with it, compared without regard to case; else 0.
int MatchName(const char* text, const char* name)
{
    int n = 0;
    for (; name[n] != '\0'; ++n) {
        char c = text[n];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != name[n]) return 0;
    }
    return n;
}

// Length of the argument up to the ")" that closes the call, or -1 when it is missing
// or the argument is too long.
int ArgumentLength(const char* text)
{
    int depth = 1;
    for (int n = 0; n <= kMaxArgument; ++n) {
        if (text[n] == '\0') return -1;
        if (text[n] == '(') ++depth;
        if (text[n] == ')' && --depth == 0) return n;
    }
    return -1;
}

std::uint32_t SwapBytes(std::uint32_t v)
{
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}

int UnaryFunction(const char* text, int nameLength, bool isAbs, std::int32_t* value, void* context)
{
    const int length = ArgumentLength(text + nameLength);
    if (length < 0) return 0;
    char argument[kMaxArgument + 1];
    std::memcpy(argument, text + nameLength, static_cast<std::size_t>(length));
    argument[length] = '\0';
    std::int32_t v = 0;
    std::uint32_t status = 1; // errors inside the argument are not reported
    Evaluate(argument, &v, &status, kEvalWhole, CalculatorFunctions, context);
    const auto u = static_cast<std::uint32_t>(v);
    *value = static_cast<std::int32_t>(isAbs ? (v < 0 ? 0u - u : u) : SwapBytes(u));
    return nameLength + length + 1;
}

// Three C-notation numbers separated by "," and closed by ")"; returns the characters
// read or 0.
int ReadTriple(const char* text, std::uint32_t parts[3])
{
    int pos = 0;
    for (int i = 0; i < 3; ++i) {
        const NumberScan scan = ScanNumber(text + pos, 0);
        if (!scan.hasDigits) return 0;
        pos += scan.end;
        while (IsBlank(text[pos])) ++pos;
        if (text[pos] != (i < 2 ? ',' : ')')) return 0;
        ++pos;
        parts[i] = static_cast<std::uint32_t>(scan.value) & 0xFF;
    }
    return pos;
}

int ColourFunction(const char* text, int nameLength, bool isRgb, std::int32_t* value)
{
    std::uint32_t parts[3] = {};
    const int used = ReadTriple(text + nameLength, parts);
    if (used == 0) return 0;
    const std::uint32_t high = isRgb ? parts[0] : parts[2];
    const std::uint32_t low = isRgb ? parts[2] : parts[0];
    *value = static_cast<std::int32_t>(high << 16 | parts[1] << 8 | low);
    return nameLength + used;
}

} // namespace

int CalculatorFunctions(const char* text, std::int32_t* value, void* context)
{
    if (int n = MatchName(text, "ABS(")) return UnaryFunction(text, n, true, value, context);
    if (int n = MatchName(text, "BTOL(")) return UnaryFunction(text, n, false, value, context);
    if (int n = MatchName(text, "RGB(")) return ColourFunction(text, n, true, value);
    if (int n = MatchName(text, "BGR(")) return ColourFunction(text, n, false, value);
    return 0;
}

} // namespace dualvex
