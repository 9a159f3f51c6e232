// The polynomial formula is typed freely by the user: any text must parse without a
// fault, and a formula that parses must write back and read again to the same value.
#include "core/tools/CrcEngine.h"
#include "core/tools/CrcFormula.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const dualvex::CrcFormula formula = dualvex::ParseCrcFormula(text.c_str());
    if (!formula.valid) {
        if (formula.errorPos < 0 || static_cast<std::size_t>(formula.errorPos) >= text.size()) std::abort();
        return 0;
    }
    if (formula.degree < 1 || formula.degree > 64) std::abort();
    const std::uint64_t reflected = dualvex::BitReverse(formula.bits, formula.degree);
    char written[dualvex::kCrcFormulaSize];
    dualvex::WriteCrcFormula(reflected, formula.degree, written, sizeof written);
    const dualvex::CrcFormula again = dualvex::ParseCrcFormula(written);
    if (!again.valid || again.degree != formula.degree ||
        dualvex::BitReverse(again.bits, again.degree) != reflected) {
        std::abort();
    }
    // A small destination must be cut, never overrun.
    char small[8];
    dualvex::WriteCrcFormula(reflected, formula.degree, small, size % sizeof small);
    return 0;
}
