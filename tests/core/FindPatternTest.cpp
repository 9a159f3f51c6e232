#include "core/tools/FindPattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace dualvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(std::string_view s)
{
    return Bytes(s.begin(), s.end());
}

std::uint8_t Fold(std::uint8_t c)
{
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

bool NaiveAccept(const Bytes& d, HexPos i, const Bytes& p, int size, MatchMode mode)
{
    for (int k = 0; k < size; ++k) {
        const std::uint8_t a = d[static_cast<std::size_t>(i + k)];
        const std::uint8_t b = p[static_cast<std::size_t>(k)];
        if (mode == MatchMode::Exact && a != b) return false;
        if (mode == MatchMode::IgnoreCase && Fold(a) != Fold(b)) return false;
        if (mode == MatchMode::Mask && ((a ^ b) & p[static_cast<std::size_t>(size + k)]) != 0) return false;
    }
    return true;
}

// The candidate positions written out plainly: forward from..from+count-1, backward
// from down to from-count+1; starting behind the last possible position keeps the
// low end one lower, so that from = length reaches down to length - count.
HexPos NaiveFind(const Bytes& d, const Bytes& p, int size, HexPos from, HexPos count, MatchMode mode)
{
    const HexPos positions = static_cast<HexPos>(d.size()) - size + 1;
    if (count > 0) {
        for (HexPos i = std::max<HexPos>(from, 0); i < std::min(from + count, positions); ++i)
            if (NaiveAccept(d, i, p, size, mode)) return i;
        return -1;
    }
    if (from < 0) return -1;
    const HexPos n = -count;
    const HexPos lo = std::max<HexPos>(0, from >= positions ? from - n : from - n + 1);
    for (HexPos i = std::min(from, positions - 1); i >= lo; --i)
        if (NaiveAccept(d, i, p, size, mode)) return i;
    return -1;
}

TEST(FindPatternTest, SizeBelowOneReturnsFromAndEmptyDataFindsNothing)
{
    const Bytes d = Of("abc");
    EXPECT_EQ(FindPattern(d, d.data(), 0, 7, 3, MatchMode::Exact), 7);
    EXPECT_EQ(FindPattern({}, d.data(), 1, 0, 3, MatchMode::Exact), -1);
}

TEST(FindPatternTest, ClippingOfTheScannedPositions)
{
    //                 0123456789
    const Bytes d = Of("ab..ab..ab");
    const Bytes ab = Of("ab");
    struct Case {
        const char* name;
        HexPos from, count, expected;
    } cases[] = {
        {"forward from start", 0, 10, 0},
        {"forward past first", 1, 100, 4},
        {"forward negative from is raised", -3, 5, 0},
        {"forward negative from eats the count", -3, 3, -1},
        {"forward from last possible", 8, 5, 8},
        {"forward from beyond positions", 9, 5, -1},
        {"forward count zero scans nothing backward", 0, 0, -1},
        {"backward from the middle", 7, -7, 4},
        {"backward stops before the range", 7, -3, -1},
        {"backward from the length reaches down to length - count", 10, -2, 8},
        {"backward from the length with count beyond the start", 10, -50, 8},
        {"backward negative from", -1, -5, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindPattern(d, ab.data(), 2, c.from, c.count, MatchMode::Exact), c.expected);
    }
}

TEST(FindPatternTest, BackwardNeverReadsBeforeTheData)
{
    // A pattern longer than the data, scanned backward from behind its end, once
    // reached position -1.
    const Bytes d = Of("xyz");
    const Bytes p = Of("xyzw");
    EXPECT_EQ(FindPattern(d, p.data(), 4, 2, -3, MatchMode::Exact), -1);
    EXPECT_EQ(FindPattern(d, p.data(), 4, 3, -10, MatchMode::Exact), -1);
    const Bytes one = Of("z");
    EXPECT_EQ(FindPattern(d, one.data(), 1, 10, -11, MatchMode::Exact), 2);
}

TEST(FindPatternTest, IgnoreCaseFoldsOnlyAsciiLetters)
{
    const Bytes d = {'x', 'A', 'b', 'C', 0xC4, 0xE4, '[', '{'};
    const Bytes abc = Of("abc");
    EXPECT_EQ(FindPattern(d, abc.data(), 3, 0, 8, MatchMode::IgnoreCase), 1);
    EXPECT_EQ(FindPattern(d, abc.data(), 3, 0, 8, MatchMode::Exact), -1);
    const Bytes umlaut = {0xC4}; // a-umlaut is not the lower case of A-umlaut here
    EXPECT_EQ(FindPattern(d, umlaut.data(), 1, 5, 3, MatchMode::IgnoreCase), -1);
    const Bytes bracket = {'['}; // '[' and '{' are 32 apart but no letters
    EXPECT_EQ(FindPattern(d, bracket.data(), 1, 0, 8, MatchMode::IgnoreCase), 6);
    EXPECT_EQ(FindPattern(d, bracket.data(), 1, 7, -8, MatchMode::IgnoreCase), 6);
}

TEST(FindPatternTest, MaskAcceptsFreeBits)
{
    Bytes d;
    for (int i = 0; i < 256; ++i) d.push_back(static_cast<std::uint8_t>(i));
    const Bytes upperNibble1 = {0x10, 0xF0}; // :1?
    EXPECT_EQ(FindPattern(d, upperNibble1.data(), 1, 0, 256, MatchMode::Mask), 0x10);
    EXPECT_EQ(FindPattern(d, upperNibble1.data(), 1, 255, -256, MatchMode::Mask), 0x1F);
    const Bytes highBitLowZero = {0x80, 0x8F}; // :#1???0000
    EXPECT_EQ(FindPattern(d, highBitLowZero.data(), 1, 0x81, 256, MatchMode::Mask), 0x90);
    const Bytes wide = {0x04, 0x05, 0x06, 0x07, 0x08, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F};
    EXPECT_EQ(FindPattern(d, wide.data(), 5, 0, 256, MatchMode::Mask), 4);
}

class FindPatternRandom : public ::testing::TestWithParam<MatchMode> {};

TEST_P(FindPatternRandom, AgreesWithPlainScanUnderFixedSeed)
{
    const MatchMode mode = GetParam();
    std::mt19937 rng(20240611);
    for (int round = 0; round < 400; ++round) {
        // A small alphabet makes partial and full matches common.
        const int alphabet = 2 + static_cast<int>(rng() % 4);
        Bytes d(rng() % 200);
        for (auto& b : d) b = static_cast<std::uint8_t>("aAbB\x01"[rng() % static_cast<unsigned>(alphabet)]);
        const int size = 1 + static_cast<int>(rng() % 20);
        Bytes p(static_cast<std::size_t>(2 * size));
        for (auto& b : p) b = static_cast<std::uint8_t>("aAbB\x01"[rng() % static_cast<unsigned>(alphabet)]);
        if (!d.empty() && rng() % 2 && static_cast<int>(d.size()) >= size)
            std::copy_n(d.begin() + static_cast<long>(rng() % (d.size() - static_cast<unsigned>(size) + 1)),
                        size, p.begin());
        const auto len = static_cast<HexPos>(d.size());
        const HexPos from = static_cast<HexPos>(rng() % 260) - 30;
        const HexPos count = static_cast<HexPos>(rng() % 460) - 230;
        SCOPED_TRACE(testing::Message() << "round " << round << " len " << len << " size " << size << " from "
                                        << from << " count " << count);
        if (d.empty()) continue;
        EXPECT_EQ(FindPattern(d, p.data(), size, from, count, mode),
                  NaiveFind(d, p, size, from, count, mode));
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, FindPatternRandom,
                         ::testing::Values(MatchMode::Exact, MatchMode::IgnoreCase, MatchMode::Mask),
                         [](const auto& info) { return std::to_string(static_cast<int>(info.param)); });

TEST(FindPatternTest, ExactAgreesWithMemmemOnRandomBuffers)
{
    std::mt19937 rng(77);
    for (int round = 0; round < 60; ++round) {
        Bytes d(1000 + rng() % 5000);
        // Few distinct values, so that first and last bytes match often.
        for (auto& b : d) b = static_cast<std::uint8_t>(rng() % 3);
        const std::size_t size = 1 + rng() % 12;
        Bytes p(size);
        for (auto& b : p) b = static_cast<std::uint8_t>(rng() % 3);
        SCOPED_TRACE(testing::Message() << "round " << round << " size " << size);
        HexPos from = 0;
        for (;;) {
            const void* hit =
                memmem(d.data() + from, d.size() - static_cast<std::size_t>(from), p.data(), size);
            const HexPos expected = hit ? static_cast<const std::uint8_t*>(hit) - d.data() : -1;
            const HexPos got = FindPattern(d, p.data(), static_cast<int>(size), from,
                                           static_cast<HexPos>(d.size()), MatchMode::Exact);
            ASSERT_EQ(got, expected);
            if (got < 0 || got + 1 >= static_cast<HexPos>(d.size())) break;
            from = got + 1;
        }
    }
}

} // namespace
} // namespace dualvex
