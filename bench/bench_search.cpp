// Exact pattern search over a 256 MiB buffer beside the C library's memmem. The
// pattern sits at the very end, so every run scans the whole buffer.
#include "core/tools/FindPattern.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr std::size_t kBufferSize = 256u << 20;

const std::vector<std::uint8_t>& Buffer()
{
    static const std::vector<std::uint8_t> buffer = [] {
        std::vector<std::uint8_t> b(kBufferSize);
        std::mt19937_64 rng(42);
        for (std::size_t i = 0; i + 8 <= b.size(); i += 8) {
            const std::uint64_t v = rng();
            std::memcpy(&b[i], &v, 8);
        }
        return b;
    }();
    return buffer;
}

std::vector<std::uint8_t> TailPattern(std::size_t size)
{
    const auto& b = Buffer();
    return std::vector<std::uint8_t>(b.end() - static_cast<long>(size), b.end());
}

void BM_FindPatternExact(benchmark::State& state)
{
    const auto& b = Buffer();
    const auto p = TailPattern(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const auto pos =
            dualvex::FindPattern(b, p.data(), static_cast<int>(p.size()), 0,
                                 static_cast<dualvex::HexPos>(b.size()), dualvex::MatchMode::Exact);
        benchmark::DoNotOptimize(pos);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(b.size()));
}

void BM_FindPatternExactBackward(benchmark::State& state)
{
    const auto& b = Buffer();
    const std::vector<std::uint8_t> p(b.begin(), b.begin() + state.range(0));
    for (auto _ : state) {
        const auto pos = dualvex::FindPattern(
            b, p.data(), static_cast<int>(p.size()), static_cast<dualvex::HexPos>(b.size()) - 1,
            -static_cast<dualvex::HexPos>(b.size()), dualvex::MatchMode::Exact);
        benchmark::DoNotOptimize(pos);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(b.size()));
}

void BM_Memmem(benchmark::State& state)
{
    const auto& b = Buffer();
    const auto p = TailPattern(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const void* pos = memmem(b.data(), b.size(), p.data(), p.size());
        benchmark::DoNotOptimize(pos);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(b.size()));
}

} // namespace

BENCHMARK(BM_FindPatternExact)->Arg(4)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindPatternExactBackward)->Arg(4)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memmem)->Arg(4)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
