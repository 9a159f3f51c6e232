// Feeds arbitrary text to the Intel-HEX reader. The image limit keeps a record
// at a high address from asking for gigabytes, while the address arithmetic
// runs through the same paths as with the full 4 GiB space.
#include <cstddef>
#include <cstdint>

#include "core/app/IntelHex.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    dualvex::MemoryImage image;
    if (dualvex::DecodeIntelHex(reinterpret_cast<const char*>(data), size, image, std::uint64_t{1} << 24)) {
        // Touch both ends so a wrong length shows up under the address sanitizer.
        if (image.Length() != 0) {
            volatile std::uint8_t first = image.Data()[0];
            volatile std::uint8_t last = image.Data()[image.Length() - 1];
            (void)first;
            (void)last;
        }
    }
    return 0;
}
