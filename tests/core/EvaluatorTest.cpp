#include "core/tools/Evaluator.h"
#include "core/support/DecodeEscape.h"
#include "core/tools/CalculatorFunctions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace dualvex;

namespace {

struct Result32 {
    std::int32_t value = 0;
    std::uint32_t status = 0;
    int consumed = 0;
};

Result32 Eval32(const char* text, EvalHook32 hook = CalculatorFunctions)
{
    Result32 r;
    r.consumed = Evaluate(text, &r.value, &r.status, kEvalWhole, hook, nullptr);
    return r;
}

struct Case {
    const char* text;
    std::int64_t value;
    bool ok;
};

TEST(Evaluate32, Table)
{
    const Case cases[] = {
        {"0x10+010", 26, true}, // a leading 0 is decimal
        {"17o+1", 16, true},
        {"16#FF", 255, true},
        {"'A'", 65, true},
        {"'\\n'", 10, true},
        {"'\\x41'", 0x41, true},
        {"'\\101'", 0x41, true},
        {"' '", 32, true},
        {"2+3*4", 14, true},
        {"2*3+4", 10, true},
        {"1|2&3", 3, true},   // one level for & | ^: left to right
        {"1 << 33", 2, true}, // shift count taken modulo 32
        {"1<<32", 1, true},
        {"-8>>1", -4, true}, // arithmetic shift
        {"-1>>40", -1, true},
        {"1<<2+3*4", 1 << 14, true}, // the right operand binds tighter, as in C
        {"1&2<<1+1", 0, true},
        {"10-3-2", 5, true},
        {"100/10/5", 2, true},
        {"7%3", 1, true},
        {"-7/2", -3, true},
        {"-7%2", -1, true},
        {"0x7FFFFFFF+1", INT32_MIN, true}, // arithmetic wraps
        {"0xFFFFFFFF", -1, true},
        {"0x123456789", 0x23456789, true},
        {"-2147483648/-1", INT32_MIN, true}, // the one overflowing division wraps
        {"-2147483648%-1", 0, true},
        {"-2147483648*-1", INT32_MIN, true},
        {"--5", 5, true},
        {"-(2+3)", -5, true},
        {"+7", 7, true},
        {"~0", -1, true},
        {"!0", 1, true},
        {"!7", 0, true},
        {"5 > 3 && 2", 1, true},
        {"0 || 0", 0, true},
        {"3 == 3", 1, true},
        {"3 != 3", 0, true},
        {"-1 < 1", 1, true}, // signed comparison
        {"2 <= 2", 1, true},
        {"2 >= 3", 0, true},
        {"2 > 3", 0, true},
        {"\t( 1 + 2 ) * 3 ", 9, true},
        {"1 ? 2 : 1/0", 2, true}, // the branch not taken may divide by zero
        {"0 ? 1/0 : 3", 3, true},
        {"0 ? 1%0 : 3", 3, true},
        {"1+0?5:6", 7, true}, // "?" takes only the operand directly before it
        {"1 ? 2+3 : 4", 5, true},
        {"0 ? 2 : 3+4", 7, true},
        {"1 ? 0 ? 5 : 6 : 7", 6, true},
        {"0 ? 0 ? 5 : 6 : 7", 7, true},
        {"0 ? 1 : 0 ? 2 : 3", 3, true},
        {"(0 ? 1 : 2) + 10", 12, true}, // the else part ends at the closing parenthesis
        {"(1 ? 1 : 2) + 10", 11, true},
        {"1 ? (1/0) : 2", 1, false}, // the branch taken counts
        {"RGB(1,2,3)", 0x10203, true},
        {"BGR(1,2,3)", 0x30201, true},
        {"rgb( 0x10 , -1 ,0b11 )", 0x10FF03, true},
        {"BTOL(0x11223344)", 0x44332211, true},
        {"abs(-5)", 5, true},
        {"ABS(2-7)*2", 10, true},
        {"ABS(ABS(-3)*-2)", 6, true},
        {"ABS(-2147483648)", INT32_MIN, true},
        {"ABS(1/0)", 1, true}, // errors inside the argument are not reported
        {"BTOL(1)+1", 0x01000001, true},
        {"1/0", 1, false},
        {"5%0", 5, false},
        {"", 0, false}, // no digits
        {"   ", 0, false},
        {"0x", 0, false},
        {"(1+2", 3, false},
        {"1+2)", 3, false},
        {"'A", 65, false},
        {"'", 0, false},
        {"1 ? 2", 2, false}, // missing ":"
        {"1 : 2", 1, false},
        {"(1 : 2)", 1, false},
        {"1 = 2", 1, false},
        {"1 ! 2", 1, false},
        {"2+3$", 5, false}, // the value up to the error is kept
        {"1+2+", 3, false},
        {"12abc", 12, false},
        {"ABS(1", 0, false}, // unrecognised call, then no number
        {"RGB(1,2)", 0, false},
        {"RGB(1,x,3)", 0, false},
        {"foo", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("expression \"") + c.text + "\"");
        const Result32 r = Eval32(c.text);
        EXPECT_EQ(r.value, static_cast<std::int32_t>(c.value));
        EXPECT_EQ(r.status != 0, c.ok);
    }
}

TEST(Evaluate32, ConsumesUpToTheError)
{
    EXPECT_EQ(Eval32("12 + 3").consumed, 6);
    EXPECT_EQ(Eval32("2+3$4").consumed, 3);
    EXPECT_EQ(Eval32("1/0").consumed, 3);
    EXPECT_EQ(Eval32("").consumed, 0);
}

TEST(Evaluate32, StatusCell)
{
    std::int32_t v = 0;
    std::uint32_t status = 77; // a nonzero cell is kept on success
    Evaluate("1+1", &v, &status);
    EXPECT_EQ(status, 77u);
    status = kEvalSkipping; // the skipping mark turns division by zero into division by 1
    Evaluate("6/0", &v, &status);
    EXPECT_EQ(v, 6);
    EXPECT_EQ(status, kEvalSkipping);
    status = kEvalSkipping; // other errors still count
    Evaluate("6+", &v, &status);
    EXPECT_EQ(status, 0u);
}

TEST(Evaluate32, NullTextIsAnError)
{
    std::int32_t v = 5;
    std::uint32_t status = 0;
    EXPECT_EQ(Evaluate(static_cast<const char*>(nullptr), &v, &status), 0);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(status, 0u);
}

TEST(Evaluate32, Levels)
{
    std::int32_t v = 0;
    std::uint32_t status = 0;
    EXPECT_EQ(Evaluate("1+2) * 4", &v, &status, kEvalParenthesis), 3);
    EXPECT_EQ(v, 3);
    EXPECT_NE(status, 0u);
    status = 0;
    EXPECT_EQ(Evaluate("1+2 : 4", &v, &status, kEvalThenPart), 4);
    EXPECT_EQ(v, 3);
    EXPECT_NE(status, 0u);
    status = 0;
    EXPECT_EQ(Evaluate("2*3+4", &v, &status, 5), 3); // level 5 stops before "+"
    EXPECT_EQ(v, 6);
    status = 0;
    EXPECT_EQ(Evaluate("2+3==5", &v, &status, 2), 3);
    EXPECT_EQ(v, 5);
}

TEST(Evaluate32, WithoutHookFunctionsAreNoNumbers)
{
    const Result32 r = Eval32("ABS(-1)", nullptr);
    EXPECT_EQ(r.status, 0u);
}

TEST(Evaluate32, HookSeesOnlyOperandsNotStartingWithADigit)
{
    const EvalHook32 hook = [](const char* text, std::int32_t* value, void* context) {
        ++*static_cast<int*>(context);
        if (text[0] != 'K') return 0;
        *value = 1000;
        return 1;
    };
    int calls = 0;
    std::int32_t v = 0;
    std::uint32_t status = 0;
    Evaluate("K+2*K", &v, &status, kEvalWhole, hook, &calls);
    EXPECT_EQ(v, 3000);
    EXPECT_EQ(calls, 2);
}

TEST(Evaluate32, DeepNestingIsAnErrorNotACrash)
{
    for (const char* unit : {"(", "-", "1?", "~!"}) {
        SCOPED_TRACE(unit);
        std::string text;
        for (int i = 0; i < 100000; ++i) text += unit;
        text += "1";
        const Result32 r = Eval32(text.c_str());
        EXPECT_EQ(r.status, 0u);
    }
    std::string moderate(100, '(');
    moderate += "7" + std::string(100, ')');
    EXPECT_EQ(Eval32(moderate.c_str()).value, 7);
    EXPECT_NE(Eval32(moderate.c_str()).status, 0u);
}

TEST(Evaluate32, OverlongFunctionArgumentLeavesTheCallUnrecognised)
{
    const std::string fits = "ABS(-" + std::string(252, '0') + ")";
    EXPECT_NE(Eval32(fits.c_str()).status, 0u);
    const std::string tooLong = "ABS(-" + std::string(254, '0') + ")";
    EXPECT_EQ(Eval32(tooLong.c_str()).status, 0u);
}

TEST(Evaluate64, Table)
{
    const Case cases[] = {
        {"0x123456789", 0x123456789, true},
        {"1 << 33", std::int64_t(1) << 33, true},
        {"1 << 64", 1, true}, // shift count taken modulo 64
        {"1 << 65", 2, true},
        {"-1 >> 70", -1, true},
        {"0x7FFFFFFFFFFFFFFF+1", INT64_MIN, true},
        {"-9223372036854775807-1", INT64_MIN, true},
        {"(-9223372036854775807-1)/-1", INT64_MIN, true},
        {"(-9223372036854775807-1)%-1", 0, true},
        {"0FFFFFFFFh*0FFFFFFFFh", std::int64_t(0xFFFFFFFE00000001), true},
        {"1010b + 2#11 + 10#5", 18, true},
        {"'\\xFF'", 255, true},
        {"1 ? 5 : 1/0", 5, true},
        {"1/0", 1, false},
        {"ABS(-1)", 0, false}, // no function hook here
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("expression \"") + c.text + "\"");
        std::int64_t v = 0;
        std::uint32_t status = 0;
        Evaluate(c.text, &v, &status);
        EXPECT_EQ(v, c.value);
        EXPECT_EQ(status != 0, c.ok);
    }
}

struct EscapeCase {
    const char* text;
    int value;
    int consumed;
};

TEST(DecodeEscape, Table)
{
    const EscapeCase cases[] = {
        {"A", 'A', 1},        {"\\\"", '"', 2},  {"\\'", '\'', 2},   {"\\?", '?', 2},    {"\\\\", '\\', 2},
        {"\\a", 7, 2},        {"\\b", 8, 2},     {"\\f", 12, 2},     {"\\n", 10, 2},     {"\\r", 13, 2},
        {"\\t", 9, 2},        {"\\v", 11, 2},    {"\\0", 0, 2},      {"\\101", 65, 4},   {"\\1012", 65, 4},
        {"\\777", 0xFF, 4},   {"\\400", 0, 4},   {"\\x41", 0x41, 4}, {"\\X4f", 0x4F, 4}, {"\\x141", 0x41, 5},
        {"\\x1234", 0x23, 5}, {"\\xg", '\\', 1}, {"\\q", '\\', 1},   {"\\", '\\', 1},    {"\xFF", 0xFF, 1},
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        int consumed = -1;
        EXPECT_EQ(DecodeEscape(c.text, &consumed), c.value);
        EXPECT_EQ(consumed, c.consumed);
    }
}

} // namespace
