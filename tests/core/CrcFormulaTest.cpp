#include "core/tools/CrcFormula.h"
#include "core/tools/CrcEngine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

using namespace dualvex;

TEST(CrcFormula, ReadsTheNotationsOfTheField)
{
    struct Case {
        const char* text;
        std::uint64_t bits;
        unsigned degree;
    } cases[] = {
        {"x^3+x+1", 0xB, 3},
        {"x'3+x+1", 0xB, 3},
        {"x3+x+1", 0xB, 3},
        {"X^{3} + X + 1", 0xB, 3},
        {"x ^ 16 + x^12 + x^5 + 1", 0x11021, 16},
        {"x 3", 0x8, 3},             // blanks after x before the exponent
        {"x^3 + x + 1 = 0", 0xB, 3}, // "=" ends the formula
        {"x", 0x2, 2},
        {"1", 0x1, 1},
        {"", 0x0, 1},
        {"x^64 + x^4 + x^3 + x + 1", 0x1B, 64},
        {"x^65 + 1", 0x1, 1}, // beyond 64: neither bit nor degree
        {"x^99999999999999999999 + 1", 0x1, 1},
        {"x^0", 0x1, 1},
        {"x^", 0x1, 1}, // no digits read as exponent 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CrcFormula formula = ParseCrcFormula(c.text);
        EXPECT_TRUE(formula.valid);
        EXPECT_EQ(formula.bits, c.bits);
        EXPECT_EQ(formula.degree, c.degree);
    }
}

TEST(CrcFormula, RejectsOtherCharacters)
{
    struct Case {
        const char* text;
        int errorPos;
    } cases[] = {
        {"x^3 + y", 6}, {"xy", 0}, {"12", 0}, {"1x", 0}, {"x^3 - 1", 4}, {"x^3 + 2", 6}, {"x^3\n", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CrcFormula formula = ParseCrcFormula(c.text);
        EXPECT_FALSE(formula.valid);
        EXPECT_EQ(formula.errorPos, c.errorPos);
    }
}

TEST(CrcFormula, WritesCrc32HighestPowerFirst)
{
    char text[kCrcFormulaSize];
    WriteCrcFormula(0xEDB88320, 32, text, sizeof text);
    EXPECT_STREQ(
        text, "x^32 + x^26 + x^23 + x^22 + x^16 + x^12 + x^11 + x^10 + x^8 + x^7 + x^5 + x^4 + x^2 + x + 1");
    WriteCrcFormula(0x6, 3, text, sizeof text);
    EXPECT_STREQ(text, "x^3 + x + 1");
    WriteCrcFormula(0x1, 1, text, sizeof text); // x^1 + x^0: the bare x belongs to widths above 1
    EXPECT_STREQ(text, "x^1 + 1");
    WriteCrcFormula(0x0, 8, text, sizeof text);
    EXPECT_STREQ(text, "x^8");
}

TEST(CrcFormula, WrittenFormulaReadsBackAtEveryWidth)
{
    std::mt19937_64 rng(0xF0F);
    for (unsigned width = 1; width <= 64; ++width) {
        SCOPED_TRACE("width " + std::to_string(width));
        const std::uint64_t reflected = rng() & CrcMask(width);
        char text[kCrcFormulaSize];
        WriteCrcFormula(reflected, width, text, sizeof text);
        const CrcFormula formula = ParseCrcFormula(text);
        ASSERT_TRUE(formula.valid);
        EXPECT_EQ(formula.degree, width);
        EXPECT_EQ(BitReverse(formula.bits, width), reflected);
    }
}

TEST(CrcFormula, LongestFormulaFitsAndSmallDestinationsAreCut)
{
    char text[kCrcFormulaSize];
    const int length = WriteCrcFormula(~std::uint64_t{0}, 64, text, sizeof text);
    EXPECT_EQ(length, static_cast<int>(std::strlen(text)));
    EXPECT_LT(static_cast<std::size_t>(length), kCrcFormulaSize);
    EXPECT_EQ(std::string(text).substr(length - 12), " x^2 + x + 1");
    for (std::size_t size : {1u, 2u, 7u, 40u}) {
        char small[48];
        std::memset(small, '#', sizeof small);
        const int n = WriteCrcFormula(0xEDB88320, 32, small, size);
        EXPECT_EQ(static_cast<std::size_t>(n), size - 1);
        EXPECT_EQ(small[size - 1], '\0');
        EXPECT_EQ(small[size], '#');
    }
    EXPECT_EQ(WriteCrcFormula(0xEDB88320, 32, text, 0), 0);
}
