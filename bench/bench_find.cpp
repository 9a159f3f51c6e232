// An 8-byte value searched through a 1 GiB image the way a pane's find does it: the
// entry built from the typed value, the list run in worker slices with an observer.
// The value sits at the very end, so every run scans the whole image.
#include "core/tools/FindList.h"
#include "core/tools/SearchEntry.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr std::size_t kImageSize = std::size_t{1} << 30;

const std::vector<std::uint8_t>& Image()
{
    static const std::vector<std::uint8_t> image = [] {
        std::vector<std::uint8_t> b(kImageSize);
        std::mt19937_64 rng(42);
        for (std::size_t i = 0; i + 8 <= b.size(); i += 8) {
            const std::uint64_t v = rng();
            std::memcpy(&b[i], &v, 8);
        }
        const std::uint8_t value[8] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
        std::memcpy(&b[b.size() - 8], value, 8);
        return b;
    }();
    return image;
}

void BM_FindEightByteValue(benchmark::State& state)
{
    const auto& image = Image();
    const dualvex::TextList list({"0", *dualvex::BuildSearchEntry(":11 22 33 44 55 66 77 88", {})});
    const dualvex::WorkObserver observer = [](std::uint64_t, std::uint64_t) { return true; };
    for (auto _ : state) {
        const auto result = dualvex::FindListObserved(
            image, list, 1, static_cast<dualvex::HexPos>(image.size()), false, observer);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(image.size()));
}
BENCHMARK(BM_FindEightByteValue)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
