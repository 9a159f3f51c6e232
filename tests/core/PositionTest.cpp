#include "core/support/Position.h"

#include <gtest/gtest.h>

#include <limits>

namespace dualvex {
namespace {

// A view position that lands outside the 32-bit image range must clamp, never wrap
// onto some other byte (a cast of -1 would give the last byte of a 4 GiB image).
TEST(PositionTest, ViewPositionsClampIntoTheImageRange)
{
    struct Case {
        HexPos view;
        ImageLength image;
    };
    const Case cases[] = {
        {0, 0},
        {1, 1},
        {-1, 0},
        {std::numeric_limits<HexPos>::min(), 0},
        {0xFFFFFFFEll, 0xFFFFFFFEu},
        {0xFFFFFFFFll, 0xFFFFFFFFu},
        {0x100000000ll, 0xFFFFFFFFu},
        {std::numeric_limits<HexPos>::max(), 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view);
        EXPECT_EQ(ToImagePosition(c.view), c.image);
    }
    EXPECT_EQ(ToHexPos(0xFFFFFFFFu), 0xFFFFFFFFll); // widening keeps the value, no sign
}

} // namespace
} // namespace dualvex
