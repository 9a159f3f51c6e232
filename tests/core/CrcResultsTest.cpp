// The nine CRC results computed chunk by chunk with the start values added over zero
// bytes must equal the nine direct passes, for every algorithm, width and length class.
#include "core/tools/CrcResults.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace dualvex {
namespace {

CrcResultValues Direct(const CrcTables& tables, std::uint64_t start, bool invert,
                       const std::vector<std::uint8_t>& data)
{
    const std::uint64_t mask = CrcMask(tables.width);
    const std::uint64_t starts[3] = {start, 0, mask};
    const std::uint64_t inverted = invert ? mask : 0;
    CrcResultValues values{};
    for (std::size_t k = 0; k < 3; ++k) {
        values[k] = ComputeA(starts[k], data.data(), data.size(), tables) ^ inverted;
        values[3 + k] = ComputeB(starts[k], data.data(), data.size(), tables) ^ inverted;
        values[6 + k] = ComputeC(starts[k], data.data(), data.size(), tables) ^ inverted;
    }
    return values;
}

std::vector<std::uint8_t> RandomBytes(std::size_t count, std::mt19937_64& rng)
{
    std::vector<std::uint8_t> bytes(count);
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(rng());
    return bytes;
}

TEST(CrcResults, EqualTheDirectPassesForEveryWidthAndLength)
{
    std::mt19937_64 rng(0xC0FFEE);
    // Lengths around the switch to the zero-byte maps and across chunk ends.
    const std::size_t lengths[] = {0, 1, 4095, 4096, 4097, 65543};
    for (unsigned width = 1; width <= 64; ++width) {
        CrcTables tables;
        tables.Build(rng() & CrcMask(width), width);
        const std::uint64_t start = rng() & CrcMask(width);
        for (std::size_t length : lengths) {
            const std::vector<std::uint8_t> data = RandomBytes(length, rng);
            const bool invert = (length & 1) != 0;
            SCOPED_TRACE("width " + std::to_string(width) + ", length " + std::to_string(length));
            const auto values = ComputeCrcResults(tables, start, invert, data.data(), data.size());
            ASSERT_TRUE(values.has_value());
            EXPECT_EQ(*values, Direct(tables, start, invert, data));
        }
    }
}

TEST(CrcResults, SeveralChunksReportProgressAndGiveTheDirectValues)
{
    std::mt19937_64 rng(7);
    const std::vector<std::uint8_t> data = RandomBytes(2 * kWorkChunkBytes + 13, rng);
    for (unsigned width : {8u, 32u, 33u, 64u}) {
        CrcTables tables;
        tables.Build(CrcMask(width) & 0xC96C5795D7870F42, width);
        std::vector<std::uint64_t> done;
        const auto values = ComputeCrcResults(tables, 0x1234567 & CrcMask(width), false, data.data(),
                                              data.size(), [&](std::uint64_t d, std::uint64_t total) {
                                                  EXPECT_EQ(total, data.size());
                                                  done.push_back(d);
                                                  return true;
                                              });
        ASSERT_TRUE(values.has_value());
        EXPECT_EQ(*values, Direct(tables, 0x1234567 & CrcMask(width), false, data)) << width;
        EXPECT_EQ(done, (std::vector<std::uint64_t>{kWorkChunkBytes, 2 * kWorkChunkBytes, data.size()}));
    }
}

TEST(CrcResults, AStopGivesNoResult)
{
    const std::vector<std::uint8_t> data(3 * kWorkChunkBytes);
    CrcTables tables;
    tables.Build(0xEDB88320, 32);
    int calls = 0;
    const auto values = ComputeCrcResults(tables, 0xFFFFFFFF, false, data.data(), data.size(),
                                          [&](std::uint64_t, std::uint64_t) { return ++calls < 2; });
    EXPECT_FALSE(values.has_value());
    EXPECT_EQ(calls, 2);
}

// Published check value of CRC-32/ISO-HDLC over "123456789": 0xCBF43926.
TEST(CrcResults, NineDigitCheckValue)
{
    const std::string text = "123456789";
    CrcTables tables;
    tables.Build(0xEDB88320, 32);
    const auto values = ComputeCrcResults(tables, 0xFFFFFFFF, true,
                                          reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ((*values)[0], 0xCBF43926u);
    EXPECT_EQ((*values)[2], 0xCBF43926u);
}

} // namespace
} // namespace dualvex
