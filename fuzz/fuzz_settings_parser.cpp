// Feeds arbitrary bytes to the settings file parser. Whatever it accepts must write
// back to text that reads as the same tree and writes as the same text again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/support/SettingsFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace dualvex;
    SettingsTree tree;
    if (!ParseSettingsText(std::string_view(reinterpret_cast<const char*>(data), size), tree)) return 0;
    const std::string text = FormatSettingsText(tree);
    SettingsTree again;
    if (!ParseSettingsText(text, again) || !(again == tree) || FormatSettingsText(again) != text)
        std::abort();
    return 0;
}
