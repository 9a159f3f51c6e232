#include "core/tools/Calculator.h"

#include "core/support/TextConv.h"
#include "core/tools/CalculatorFunctions.h"
#include "core/tools/Evaluator.h"

namespace dualvex {
namespace {

std::string Formatted(std::uint32_t value, std::uint32_t style)
{
    char buffer[40]; // FormatNumber writes at most 36 characters
    const int length = FormatNumber(value, buffer, style);
    return std::string(buffer, static_cast<std::size_t>(length));
}

} // namespace

CalculatorTexts FormatCalculatorTexts(std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    CalculatorTexts texts;
    texts.decimal = Formatted(u, 0);
    texts.hexadecimal = Formatted(u, 1);
    texts.octal = Formatted(u, 3);
    texts.binary = Formatted(u & 0xFFFF, 2);
    char escaped[16]; // EscapeChar writes at most 7 characters
    const int length = EscapeChar(static_cast<unsigned char>(u & 0xFF), escaped, true);
    texts.ansi.assign(escaped, static_cast<std::size_t>(length));
    return texts;
}

CalculatorResult EvaluateCalculatorInput(const std::string& input)
{
    CalculatorResult result;
    std::uint32_t status = 0;
    Evaluate(input.c_str(), &result.value, &status, kEvalWhole, CalculatorFunctions, nullptr);
    result.valid = status != 0;
    result.texts = FormatCalculatorTexts(result.value);
    return result;
}

std::string CalculatorInitialText(std::uint32_t value)
{
    return Formatted(value, 1);
}

} // namespace dualvex
