#include "core/tools/CrcResults.h"

#include <algorithm>

namespace dualvex {

namespace {

using Compute = std::uint64_t (*)(std::uint64_t, const std::uint8_t*, std::size_t, const CrcTables&);
constexpr Compute kAlgorithms[3] = {ComputeA, ComputeB, ComputeC};

// Below this many bytes nine direct passes cost less than building the zero-byte maps.
constexpr std::size_t kDirectLimit = 4096;

// A linear map of the 64-bit register: entry i is the image of bit i.
using RegisterMap = std::array<std::uint64_t, 64>;

std::uint64_t Apply(const RegisterMap& map, std::uint64_t value)
{
    std::uint64_t image = 0;
    for (; value != 0; value &= value - 1) image ^= map[static_cast<std::size_t>(__builtin_ctzll(value))];
    return image;
}

RegisterMap Square(const RegisterMap& map)
{
    RegisterMap square{};
    for (std::size_t i = 0; i < square.size(); ++i) square[i] = Apply(map, map[i]);
    return square;
}

// The register after `count` zero bytes from `start`, by squaring the one-byte map.
std::uint64_t OverZeros(Compute compute, const CrcTables& tables, std::uint64_t start, std::uint64_t count)
{
    static constexpr std::uint8_t kZero = 0;
    RegisterMap power{};
    for (std::size_t i = 0; i < power.size(); ++i)
        power[i] = compute(std::uint64_t{1} << i, &kZero, 1, tables);
    std::uint64_t value = start;
    while (count != 0) {
        if ((count & 1) != 0) value = Apply(power, value);
        count >>= 1;
        if (count != 0) power = Square(power);
    }
    return value;
}

} // namespace

std::optional<CrcResultValues> ComputeCrcResults(const CrcTables& tables, std::uint64_t start, bool invert,
                                                 const std::uint8_t* data, std::size_t length,
                                                 const WorkObserver& observer)
{
    if (data == nullptr) length = 0;
    const std::uint64_t mask = CrcMask(ClampCrcWidth(tables.width));
    const std::uint64_t starts[3] = {start, 0, mask};
    const std::uint64_t inverted = invert ? mask : 0;
    CrcResultValues values{};
    if (length < kDirectLimit) {
        for (std::size_t a = 0; a < 3; ++a)
            for (std::size_t k = 0; k < 3; ++k)
                values[3 * a + k] = kAlgorithms[a](starts[k], data, length, tables) ^ inverted;
        return values;
    }
    std::uint64_t fromZero[3] = {};
    for (std::size_t done = 0; done < length;) {
        const std::size_t n = std::min(kWorkChunkBytes, length - done);
        for (std::size_t a = 0; a < 3; ++a) fromZero[a] = kAlgorithms[a](fromZero[a], data + done, n, tables);
        done += n;
        if (observer && !observer(done, length)) return std::nullopt;
    }
    for (std::size_t a = 0; a < 3; ++a) {
        for (std::size_t k = 0; k < 3; ++k)
            values[3 * a + k] = fromZero[a] ^ OverZeros(kAlgorithms[a], tables, starts[k], length) ^ inverted;
    }
    return values;
}

} // namespace dualvex
