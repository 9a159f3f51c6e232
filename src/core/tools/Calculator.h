// The number calculator's computing side: one input text in, the validity and the
// five output texts out, so its dialog only moves texts.
#pragma once

#include <cstdint>
#include <string>

namespace dualvex {

struct CalculatorTexts {
    std::string decimal;     // signed decimal
    std::string hexadecimal; // "0x" and hexadecimal digits
    std::string octal;       // "0o" and octal digits
    std::string binary;      // "0b" and the base-2 digits of the low 16 bits
    std::string ansi;        // the low byte as written inside a C string literal
};

struct CalculatorResult {
    std::int32_t value = 0; // computed up to an error
    bool valid = false;     // false: the input field shows its error colour
    CalculatorTexts texts;
};

CalculatorTexts FormatCalculatorTexts(std::int32_t value);
// Evaluates with the 32-bit evaluator and the calculator's functions.
CalculatorResult EvaluateCalculatorInput(const std::string& input);
// The input text the calculator opens with: the initial value in "0x" hexadecimal.
std::string CalculatorInitialText(std::uint32_t value);

} // namespace dualvex
