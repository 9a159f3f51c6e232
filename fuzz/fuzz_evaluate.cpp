// Feeds arbitrary text to both evaluator variants, with and without the calculator's
// functions, at every entry level.
#include "core/tools/CalculatorFunctions.h"
#include "core/tools/Evaluator.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const int level = static_cast<int>(data[0] % 9) - 3;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::int32_t v32 = 0;
    std::uint32_t status = 0;
    int used = dualvex::Evaluate(text.c_str(), &v32, &status, level, dualvex::CalculatorFunctions, nullptr);
    if (used < 0 || static_cast<std::size_t>(used) > text.size()) __builtin_trap();
    status = (data[0] & 0x80) ? dualvex::kEvalSkipping : 0;
    used = dualvex::Evaluate(text.c_str(), &v32, &status, level);
    if (used < 0 || static_cast<std::size_t>(used) > text.size()) __builtin_trap();
    std::int64_t v64 = 0;
    status = 0;
    used = dualvex::Evaluate(text.c_str(), &v64, &status, level);
    if (used < 0 || static_cast<std::size_t>(used) > text.size()) __builtin_trap();
    return 0;
}
