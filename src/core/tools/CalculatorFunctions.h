// The number calculator's functions, offered to the 32-bit evaluator as its hook.
#pragma once

#include <cstdint>

namespace dualvex {

// ABS(x) absolute value, BTOL(x) the four bytes reversed, RGB(r,g,b) and BGR(r,g,b)
// colour words. Names in any case with "(" directly behind. ABS and BTOL evaluate their
// argument (at most 254 characters up to the matching ")") as a whole expression with
// these functions, ignoring its errors; RGB and BGR take three plain C-notation numbers.
// Returns the characters read, or 0 for any other text.
int CalculatorFunctions(const char* text, std::int32_t* value, void* context);

} // namespace dualvex
