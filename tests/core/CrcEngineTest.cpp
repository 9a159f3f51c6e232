#include "core/tools/CrcEngine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace dualvex;

namespace {

const std::uint8_t kCheckBytes[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};

std::vector<std::uint8_t> RandomBytes(std::mt19937_64& rng, std::size_t count)
{
    std::vector<std::uint8_t> bytes(count);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    return bytes;
}

// Bit-at-a-time references, written from the definition of a CRC rather than from the
// table algorithms they check.
std::uint64_t BitwiseReflected(std::uint64_t reflected, std::uint64_t crc,
                               const std::vector<std::uint8_t>& data)
{
    for (std::uint8_t b : data) {
        crc ^= b;
        for (int i = 0; i < 8; ++i) crc = (crc & 1) ? (crc >> 1) ^ reflected : crc >> 1;
    }
    return crc;
}

std::uint64_t BitwiseNormal(unsigned width, std::uint64_t normal, std::uint64_t crc,
                            const std::vector<std::uint8_t>& data)
{
    const std::uint64_t top = std::uint64_t{1} << (width - 1);
    for (std::uint8_t b : data) {
        for (int i = 7; i >= 0; --i) {
            const bool feed = ((crc & top) != 0) != (((b >> i) & 1) != 0);
            crc = (crc << 1) & CrcMask(width);
            if (feed) crc ^= normal;
        }
    }
    return crc;
}

struct Tables {
    CrcTables t;
    Tables(std::uint64_t reflected, unsigned width) { t.Build(reflected, width); }
};

} // namespace

TEST(CrcEngine, BitReverseMirrorsTheLowBits)
{
    struct Case {
        std::uint64_t value;
        unsigned n;
        std::uint64_t expected;
    } cases[] = {
        {0x1, 1, 0x1},
        {0x1, 32, 0x80000000},
        {0x04C11DB7, 32, 0xEDB88320},
        {0xF0000001, 4, 0x8}, // bits above n are ignored
        {0x1, 64, 0x8000000000000000},
        {0x42F0E1EBA9EA3693, 64, 0xC96C5795D7870F42},
        {0x3, 0, 0},
        {0x3, 65, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.value) + " over " + std::to_string(c.n));
        EXPECT_EQ(BitReverse(c.value, c.n), c.expected);
    }
}

TEST(CrcEngine, WidthHelpers)
{
    EXPECT_EQ(CrcMask(1), 1u);
    EXPECT_EQ(CrcMask(12), 0xFFFu);
    EXPECT_EQ(CrcMask(64), ~std::uint64_t{0});
    EXPECT_EQ(CrcShift(1), 0u);
    EXPECT_EQ(CrcShift(8), 0u);
    EXPECT_EQ(CrcShift(9), 8u);
    EXPECT_EQ(CrcShift(32), 24u);
    EXPECT_EQ(CrcShift(64), 56u);
    EXPECT_EQ(ClampCrcWidth(0), 32u);
    EXPECT_EQ(ClampCrcWidth(1), 1u);
    EXPECT_EQ(ClampCrcWidth(65), 64u);
    EXPECT_EQ(ClampCrcWidth(0x100000020), 64u);
}

// Entries of the widely published CRC-32 and CRC-16/XMODEM tables.
TEST(CrcEngine, TablesHoldThePublishedEntries)
{
    Tables crc32(0xEDB88320, 32);
    EXPECT_EQ(crc32.t.a[1], 0x77073096u);
    EXPECT_EQ(crc32.t.a[255], 0x2D02EF8Du);
    EXPECT_EQ(crc32.t.b[1], 0x04C11DB7u);
    EXPECT_EQ(crc32.t.b[255], 0xB1F740B4u);
    Tables xmodem(0x8408, 16);
    EXPECT_EQ(xmodem.t.b[1], 0x1021u);
    EXPECT_EQ(xmodem.t.b[255], 0x1EF0u);
}

TEST(CrcEngine, TablesAreRebuiltOnlyForANewKey)
{
    CrcTables tables;
    EXPECT_TRUE(tables.Build(0xEDB88320, 32));
    EXPECT_FALSE(tables.Build(0xEDB88320, 32));
    EXPECT_TRUE(tables.Build(0xEDB88320, 33));
    EXPECT_TRUE(tables.Build(0x8408, 33));
    EXPECT_TRUE(tables.Build(0x8408, 0)); // an unset width counts as the default
    EXPECT_EQ(tables.width, 32u);
}

TEST(CrcEngine, AlgorithmAMatchesBitwiseReflectedCrcAtEveryWidth)
{
    std::mt19937_64 rng(0xC4C);
    const auto data = RandomBytes(rng, 97);
    for (unsigned width = 1; width <= 64; ++width) {
        SCOPED_TRACE("width " + std::to_string(width));
        const std::uint64_t reflected = rng() & CrcMask(width);
        const std::uint64_t start = rng() & CrcMask(width);
        Tables tables(reflected, width);
        EXPECT_EQ(ComputeA(start, data.data(), data.size(), tables.t),
                  BitwiseReflected(reflected, start, data));
    }
}

// Algorithm B moves the register one byte per step, the standard MSB-first CRC for
// every width that fills whole bytes.
TEST(CrcEngine, AlgorithmBMatchesBitwiseNormalCrcAtByteWidths)
{
    std::mt19937_64 rng(0xB0B);
    const auto data = RandomBytes(rng, 97);
    for (unsigned width = 8; width <= 64; width += 8) {
        SCOPED_TRACE("width " + std::to_string(width));
        const std::uint64_t normal = rng() & CrcMask(width);
        const std::uint64_t start = rng() & CrcMask(width);
        Tables tables(BitReverse(normal, width), width);
        EXPECT_EQ(ComputeB(start, data.data(), data.size(), tables.t),
                  BitwiseNormal(width, normal, start, data));
    }
}

TEST(CrcEngine, AlgorithmCMatchesBitwiseCrc7)
{
    std::mt19937_64 rng(0xC7);
    const auto data = RandomBytes(rng, 61);
    for (int round = 0; round < 16; ++round) {
        const std::uint64_t normal = rng() & 0x7F;
        const std::uint64_t start = rng() & 0x7F;
        Tables tables(BitReverse(normal, 7), 7);
        EXPECT_EQ(ComputeC(start, data.data(), data.size(), tables.t), BitwiseNormal(7, normal, start, data));
    }
}

// The byte-at-a-time forms of the three algorithms, applied to the tables one byte
// after the other: the eight-byte steps must agree with them for every width, length
// and block boundary.
TEST(CrcEngine, EightByteStepsAgreeWithSingleBytesAtEveryWidthAndLength)
{
    std::mt19937_64 rng(0x5EC);
    const auto data = RandomBytes(rng, 40);
    for (unsigned width = 1; width <= 64; ++width) {
        const std::uint64_t mask = CrcMask(width);
        const unsigned s = CrcShift(width);
        Tables tables(rng() & mask, width);
        const std::uint64_t start = rng();
        for (std::size_t length = 0; length <= data.size(); ++length) {
            SCOPED_TRACE("width " + std::to_string(width) + ", length " + std::to_string(length));
            std::uint64_t a = start, b = start, c = start;
            for (std::size_t i = 0; i < length; ++i) {
                a = tables.t.a[(a ^ data[i]) & 0xFF] ^ (a >> 8);
                const std::uint64_t reg = b & mask;
                b = tables.t.b[((reg >> s) & 0xFF) ^ data[i]] ^ (reg << 8);
                c = tables.t.c[((c & 127) * 2) ^ data[i]];
            }
            ASSERT_EQ(ComputeA(start, data.data(), length, tables.t), a);
            ASSERT_EQ(ComputeB(start, data.data(), length, tables.t), b & mask);
            ASSERT_EQ(ComputeC(start, data.data(), length, tables.t), c);
        }
    }
}

TEST(CrcEngine, UnbuiltTablesGiveTheStartValue)
{
    const CrcTables tables;
    EXPECT_EQ(ComputeA(7, kCheckBytes, 9, tables), 7u);
    EXPECT_EQ(ComputeB(7, kCheckBytes, 9, tables), 7u);
    EXPECT_EQ(ComputeC(7, kCheckBytes, 9, tables), 7u);
}

// Bits of the start value above the width never reach the result of algorithm B.
TEST(CrcEngine, AlgorithmBIgnoresStartBitsAboveTheWidth)
{
    for (unsigned width : {5u, 12u, 16u, 31u}) {
        SCOPED_TRACE("width " + std::to_string(width));
        Tables tables(BitReverse(0x5, width), width);
        EXPECT_EQ(ComputeB(0x3 | ~CrcMask(width), kCheckBytes, 9, tables.t),
                  ComputeB(0x3, kCheckBytes, 9, tables.t));
    }
}

// Narrow widths would otherwise leave index bits unreduced in table C.
TEST(CrcEngine, TableCStaysWithinTheMask)
{
    for (unsigned width = 1; width <= 64; ++width) {
        Tables tables(CrcMask(width), width);
        for (std::uint64_t entry : tables.t.c) ASSERT_EQ(entry & ~CrcMask(width), 0u) << "width " << width;
    }
}

TEST(CrcEngine, NoDataGivesTheStartValue)
{
    Tables tables(0xEDB88320, 32);
    EXPECT_EQ(ComputeA(0x1234, nullptr, 0, tables.t), 0x1234u);
    EXPECT_EQ(ComputeB(0x1234, nullptr, 0, tables.t), 0x1234u);
    EXPECT_EQ(ComputeC(0x1234, nullptr, 0, tables.t), 0x1234u);
}

TEST(CrcEngine, EveryPresetFindsItself)
{
    for (int row = 1; row < kCrcPresetCount; ++row) {
        const CrcPreset& preset = GetCrcPreset(row);
        EXPECT_EQ(FindCrcPreset(preset.width, preset.reflected), row) << preset.name;
    }
    EXPECT_EQ(FindCrcPreset(32, 0x82F63B78), 0);
    EXPECT_EQ(FindCrcPreset(17, 0xEDB88320), 0);
    EXPECT_STREQ(GetCrcPreset(0).name, "Frei definiert");
    EXPECT_STREQ(GetCrcPreset(14).name, "CRC-16 V\xC3\x96V 04.05.1");
    EXPECT_STREQ(GetCrcPreset(-1).name, "Frei definiert");
    EXPECT_STREQ(GetCrcPreset(kCrcPresetCount).name, "Frei definiert");
}

TEST(CrcEngine, HexFormatHasOneDigitPerFourBits)
{
    struct Case {
        std::uint64_t value;
        unsigned width;
        const char* text;
    } cases[] = {
        {0xCBF43926, 32, "0xCBF43926"},
        {0x6, 3, "0x6"},
        {0x12345, 24, "0x012345"},
        {0x0, 64, "0x0000000000000000"},
        {~std::uint64_t{0}, 64, "0xFFFFFFFFFFFFFFFF"},
        {0x1FF, 8, "0x1FF"}, // a value that needs more digits gets them
        {0x7, 0, "0x00000007"},
    };
    for (const Case& c : cases) {
        char text[kCrcHexSize];
        EXPECT_EQ(FormatCrcHex(c.value, c.width, text, sizeof text), static_cast<int>(std::strlen(c.text)));
        EXPECT_STREQ(text, c.text);
    }
}

TEST(CrcEngine, HexFormatRespectsTheDestination)
{
    char text[8];
    std::memset(text, '#', sizeof text);
    EXPECT_EQ(FormatCrcHex(0xCBF43926, 32, text, 5), 4);
    EXPECT_STREQ(text, "0xCB");
    EXPECT_EQ(text[5], '#');
    EXPECT_EQ(FormatCrcHex(0xCBF43926, 32, text, 0), 0);
    EXPECT_EQ(text[0], '0');
}
