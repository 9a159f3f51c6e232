#include <gtest/gtest.h>

#include "core/hexview/StatusDisplay.h"

#include <vector>

using namespace dualvex;

namespace {
StatusInput Input(const std::vector<std::uint8_t>& data, HexPos cursor,
                  std::uint32_t mode = kStatusDefaultMode)
{
    StatusInput in;
    in.data = data.data();
    in.length = static_cast<HexPos>(data.size());
    in.cursor = cursor;
    in.mode = mode;
    return in;
}
} // namespace

TEST(StatusAddressText, CursorWithoutSelection)
{
    std::vector<std::uint8_t> data(64);
    EXPECT_EQ(StatusAddressText(Input(data, 0x1F)), " Adr: 0x1F / 31");
    StatusInput in = Input(data, 0);
    in.base = 0x8000;
    EXPECT_EQ(StatusAddressText(in), " Adr: 0x8000 / 32768");
}

TEST(StatusAddressText, SelectionLengthAndDirection)
{
    std::vector<std::uint8_t> data(64);
    StatusInput in = Input(data, 10);
    in.selection = true;
    in.anchor = 12;
    in.end = 10; // dragged backwards over 3 bytes
    EXPECT_EQ(StatusAddressText(in), " Adr: 0xA / M: -3");
    in.anchor = 10;
    in.end = 41;
    in.cursor = 41;
    EXPECT_EQ(StatusAddressText(in), " Adr: 0x29 / M: +32");
    in.mode |= kStatusHexDistances;
    EXPECT_EQ(StatusAddressText(in), " Adr: 0x29 / M: +0x20");
}

TEST(StatusAddressText, AddressesBeyondTwoGigabytes)
{
    StatusInput in;
    in.cursor = 0xFFFFFFFEll;
    EXPECT_EQ(StatusAddressText(in), " Adr: 0xFFFFFFFE / 4294967294");
}

TEST(StatusValue, SizesOrderAndSign)
{
    const std::vector<std::uint8_t> data = {0xFF, 0xFE, 0x80, 0x01, 0x02, 0x03};
    const struct {
        HexPos cursor;
        std::uint32_t mode;
        std::string expected;
    } cases[] = {
        {0, 0x0001, " Wert: 0xFFFFFEFF / -257"}, // word, little endian, signed
        {0, 0x4001, " Wert: 0xFFFFFFFE / -2"},   // word, big endian
        {2, 0x0000, " Wert: 0xFFFFFF80 / -128"}, // byte
        {2, 0x8000, " Wert: 0x80 / 128"},        // byte, unsigned
        {5, 0x0002, " Wert: 0x3 / 3"},           // last byte as a double word, little endian
        {4, 0x4002, " Wert: 0x203 / 515"},       // big endian uses the bytes present
        {2, 0x8002, " Wert: 0x3020180 / 50463104"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(StatusValueText(StatusValue(Input(data, c.cursor, c.mode)), c.mode), c.expected);
    }
}

TEST(StatusValue, SelectionChoosesItsSize)
{
    const std::vector<std::uint8_t> data = {0x80, 0x01, 0x02, 0x03, 0x04, 0x05};
    StatusInput in = Input(data, 5, 0);
    in.selection = true;
    in.anchor = 0;
    in.end = 5; // six bytes: the first four count
    EXPECT_EQ(StatusValue(in), 0x03020180);
    in.end = 0; // one byte of 0x80
    EXPECT_EQ(StatusValueText(StatusValue(in), 0), " Wert: 0xFFFFFF80 / -128");
}

TEST(StatusValue, NoDataGivesZero)
{
    StatusInput in;
    EXPECT_EQ(StatusValue(in), 0);
    in.cursor = -1;
    EXPECT_EQ(StatusValue(in), 0);
}
