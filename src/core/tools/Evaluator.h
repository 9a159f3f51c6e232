// Integer expression evaluator with C-like operators, the conditional, character
// literals and the number notations of ParseNumber64 radix mode 252, in a 32-bit and a
// 64-bit variant. All arithmetic wraps; nothing here traps on any input.
#pragma once

#include <cstdint>

namespace dualvex {

// A status cell holding this mark evaluates the branch of a conditional that is not
// taken: division by zero then divides by 1 instead of failing.
constexpr std::uint32_t kEvalSkipping = 0x7549B86A;

// Levels: -2 a whole expression, -1 inside parentheses (")" ends it), -3 the part
// between "?" and ":" (":" ends it), 0..5 the binding levels of the operators.
constexpr int kEvalWhole = -2;
constexpr int kEvalParenthesis = -1;
constexpr int kEvalThenPart = -3;

// A function hook sees the text at every operand that does not start with a digit.
// It returns the characters it read and stores the value, or returns 0 when it does
// not know the name.
using EvalHook32 = int (*)(const char* text, std::int32_t* value, void* context);
using EvalHook64 = int (*)(const char* text, std::int64_t* value, void* context);

// Evaluates text and returns the number of characters read. *value receives what was
// computed, also up to an error. A status cell of 0 is set to 1 first; an error sets it
// to 0 and ends the evaluation at the offending character.
int Evaluate(const char* text, std::int32_t* value, std::uint32_t* status, int level = kEvalWhole,
             EvalHook32 hook = nullptr, void* context = nullptr);
int Evaluate(const char* text, std::int64_t* value, std::uint32_t* status, int level = kEvalWhole,
             EvalHook64 hook = nullptr, void* context = nullptr);

} // namespace dualvex
