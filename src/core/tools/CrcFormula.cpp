#include "core/tools/CrcFormula.h"

#include "core/support/TextConv.h"
#include "core/tools/CrcEngine.h"

namespace dualvex {

namespace {

bool IsLetter(char ch)
{
    return (CharClass(static_cast<unsigned char>(ch)) & (kClassUpper | kClassLower)) != 0;
}

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

const char* SkipBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

// Reads a decimal exponent; very long digit runs saturate instead of wrapping, so
// they can never land on a valid power by accident.
const char* ReadExponent(const char* p, unsigned& exponent)
{
    exponent = 0;
    for (; IsDigit(*p); ++p) exponent = exponent > 1000 ? exponent : exponent * 10 + unsigned(*p - '0');
    return p;
}

// One "x" term behind the letter: an exponent, or a bare x (x^1).
const char* ReadPower(const char* p, CrcFormula& formula)
{
    if (!IsDigit(*p)) p = SkipBlanks(p);
    if (*p != '^' && *p != '\'' && !IsDigit(*p)) {
        formula.bits |= 2;
        if (formula.degree < 2) formula.degree = 2;
        return p;
    }
    if (*p == '^' || *p == '\'') p = SkipBlanks(p + 1);
    if (*p == '{') ++p;
    unsigned exponent = 0;
    p = ReadExponent(p, exponent);
    if (*p == '}') ++p;
    if (exponent < 64) formula.bits |= std::uint64_t{1} << exponent;
    if (exponent > formula.degree && exponent <= 64) formula.degree = exponent;
    return p;
}

} // namespace

CrcFormula ParseCrcFormula(const char* text)
{
    CrcFormula formula;
    const char* p = text;
    while (true) {
        p = SkipBlanks(p);
        if (*p == '\0' || *p == '=') break;
        if (*p == '+') {
            ++p;
        } else if ((*p == 'x' || *p == 'X') && !IsLetter(p[1])) {
            p = ReadPower(p + 1, formula);
        } else if (*p == '1' && !IsLetter(p[1]) && !IsDigit(p[1])) {
            formula.bits |= 1;
            ++p;
        } else {
            formula.errorPos = static_cast<int>(p - text);
            return formula;
        }
    }
    formula.valid = true;
    return formula;
}

int WriteCrcFormula(std::uint64_t reflected, unsigned width, char* dest, std::size_t destSize)
{
    if (destSize == 0) return 0;
    width = ClampCrcWidth(width);
    auto coefficient = [&](unsigned power) { return (reflected >> (width - 1 - power)) & 1; };
    int length = PrintText(dest, destSize, "x^%u", width);
    for (unsigned power = width - 1; power >= 2; --power) {
        if (coefficient(power)) length += PrintText(dest + length, destSize - length, " + x^%u", power);
    }
    if (width > 1 && coefficient(1)) length += PrintText(dest + length, destSize - length, " + x");
    if (coefficient(0)) length += PrintText(dest + length, destSize - length, " + 1");
    return length;
}

} // namespace dualvex
