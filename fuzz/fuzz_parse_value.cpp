// Value texts as a user may type them: classify, parse in every kind (the bit-mask
// reader included), format back and build, load and read search entries.
#include "core/support/ValueText.h"
#include "core/tools/SearchEntry.h"

#include <cstdlib>
#include <string_view>

using namespace dualvex;

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const int max = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const int kind = Classify(text);
    Require(kind >= kKindNone && kind <= kKindMask);
    const auto bytes = ParseValue(text, max);
    if (IsNumberKind(kind))
        Require(bytes.size() == 4 || bytes.size() == 8);
    else
        Require(static_cast<int>(bytes.size()) <= max);

    const BitMask mask = ParseBitMask(text, max);
    Require(mask.value.size() == mask.mask.size() && static_cast<int>(mask.value.size()) <= max);
    Require(static_cast<int>(ParseHexDump(text, max).size()) <= max);

    for (int k = kKindDecimal; k <= kKindUnicodeText; ++k) {
        const std::string shown = FormatValue(bytes, k);
        if (k == kKindText || k == kKindUnicodeText) Require(shown.size() <= 256);
    }
    // A mask text reads back as the same pattern (one without free bits reads as a
    // plain dump, which searches the same bytes).
    const std::string maskText = FormatValue(ParseValue(text, 256), kKindMask);
    if (kind == kKindMask && Classify(maskText) == kKindMask)
        Require(ParseValue(maskText, 256) == ParseValue(text, 256));

    const EntryOptions options{max & 3, (max & 4) != 0, (max & 8) != 0, (max & 16) != 0};
    if (const auto entry = BuildSearchEntry(text, options)) {
        Require(LoadSearchEntry(*entry).has_value());
        const auto pattern = ReadSearchEntry(*entry);
        Require(pattern.has_value());
        const std::size_t expected = pattern->mode == MatchMode::Mask ? 2u * pattern->size : pattern->size;
        Require(pattern->bytes.size() == expected);
    }
    (void)LoadSearchEntry(text);
    if (const auto pattern = ReadSearchEntry(text)) Require(pattern->size >= 1 && pattern->size <= 256);
    return 0;
}
