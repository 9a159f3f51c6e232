// Throughput of the tool engines over buffers of the size the dialogs hand them.
#include "core/tools/CrcEngine.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace dualvex;

namespace {

// The calculator works on at most 1 MiB when nothing is selected.
constexpr std::size_t kCrcBytes = 1 << 20;

const std::vector<std::uint8_t>& CrcData()
{
    static const std::vector<std::uint8_t> data = [] {
        std::vector<std::uint8_t> bytes(kCrcBytes);
        std::mt19937 rng(42);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
        return bytes;
    }();
    return data;
}

const CrcTables& Tables(std::uint64_t reflected, unsigned width)
{
    static CrcTables tables;
    tables.Build(reflected, width);
    return tables;
}

void BM_ComputeA(benchmark::State& state)
{
    const unsigned width = static_cast<unsigned>(state.range(0));
    const CrcTables& tables = Tables(CrcMask(width) & 0xC96C5795D7870F42, width);
    const auto& data = CrcData();
    for (auto _ : state) benchmark::DoNotOptimize(ComputeA(CrcMask(width), data.data(), data.size(), tables));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

void BM_ComputeB(benchmark::State& state)
{
    const unsigned width = static_cast<unsigned>(state.range(0));
    const CrcTables& tables = Tables(CrcMask(width) & 0xC96C5795D7870F42, width);
    const auto& data = CrcData();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeB(CrcMask(width), data.data(), data.size(), tables));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

void BM_ComputeC(benchmark::State& state)
{
    const unsigned width = static_cast<unsigned>(state.range(0));
    const CrcTables& tables = Tables(CrcMask(width) & 0xC96C5795D7870F42, width);
    const auto& data = CrcData();
    for (auto _ : state) benchmark::DoNotOptimize(ComputeC(0, data.data(), data.size(), tables));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

} // namespace

BENCHMARK(BM_ComputeA)->Arg(8)->Arg(16)->Arg(32)->Arg(64);
BENCHMARK(BM_ComputeB)->Arg(8)->Arg(12)->Arg(32)->Arg(64);
BENCHMARK(BM_ComputeC)->Arg(7)->Arg(32);

BENCHMARK_MAIN();
