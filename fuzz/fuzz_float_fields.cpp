// Feeds arbitrary text into each field of the float converter and each swap, and checks
// that the texts coming out stay within their display sizes.
#include "core/tools/FloatConverter.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 9) return 0;
    dualvex::FloatConverter converter(data, data[0] % 10);
    const int action = data[8] % (dualvex::kFloatFieldCount + 3);
    const std::string text(reinterpret_cast<const char*>(data + 9), size - 9);
    const std::string first(text.c_str()); // a field never holds a zero byte
    dualvex::FloatFieldTexts out;
    if (action < dualvex::kFloatFieldCount)
        out = converter.FieldChanged(action, first);
    else
        out = converter.Swap(static_cast<dualvex::FloatSwap>(action - dualvex::kFloatFieldCount), first);
    for (const auto& t : out.texts)
        if (t && t->size() > 63) __builtin_trap();
    (void)dualvex::FloatConverter::FocusGainedText(first);
    (void)dualvex::ReadFloatValueText(first);
    return 0;
}
