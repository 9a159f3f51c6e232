#include "core/tools/Calculator.h"

#include <gtest/gtest.h>

using namespace dualvex;

namespace {

TEST(Calculator, FiveOutputTexts)
{
    const struct {
        std::int32_t value;
        const char *decimal, *hex, *octal, *binary, *ansi;
    } cases[] = {
        {0x12345, "74565", "0x12345", "0o221505", "0b10001101000101", "E"}, // binary: low 16 bits only
        {-1, "-1", "0xFFFFFFFF", "0o37777777777", "0b1111111111111111", "\xFF"},
        {0, "0", "0x0", "0o0", "0b0", "\\x000"},
        {10, "10", "0xA", "0o12", "0b1010", "\\n"},
        {'"', "34", "0x22", "0o42", "0b100010", "\\\""},
        {'\\', "92", "0x5C", "0o134", "0b1011100", "\\\\"},
        {INT32_MIN, "-2147483648", "0x80000000", "0o20000000000", "0b0", "\\x000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.decimal);
        const CalculatorTexts t = FormatCalculatorTexts(c.value);
        EXPECT_EQ(t.decimal, c.decimal);
        EXPECT_EQ(t.hexadecimal, c.hex);
        EXPECT_EQ(t.octal, c.octal);
        EXPECT_EQ(t.binary, c.binary);
        EXPECT_EQ(t.ansi, c.ansi);
    }
}

TEST(Calculator, InputIsEvaluatedWithTheFunctions)
{
    const CalculatorResult ok = EvaluateCalculatorInput("RGB(1,2,3) + abs(-1)");
    EXPECT_TRUE(ok.valid);
    EXPECT_EQ(ok.value, 0x10204);
    EXPECT_EQ(ok.texts.hexadecimal, "0x10204");
}

TEST(Calculator, InvalidInputShowsTheValueUpToTheError)
{
    const CalculatorResult bad = EvaluateCalculatorInput("40+2/0");
    EXPECT_FALSE(bad.valid);
    EXPECT_EQ(bad.texts.decimal, "42");
    EXPECT_FALSE(EvaluateCalculatorInput("").valid);
}

TEST(Calculator, InitialTextReadsBackAsTheValue)
{
    EXPECT_EQ(CalculatorInitialText(0x44332211), "0x44332211");
    const CalculatorResult back = EvaluateCalculatorInput(CalculatorInitialText(0xFFFFFFFF));
    EXPECT_TRUE(back.valid);
    EXPECT_EQ(back.value, -1);
}

} // namespace
