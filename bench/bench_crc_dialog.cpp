// The CRC dialog's nine CRC-32 results over 1 GiB, as its worker computes them for a
// large selection (target: under 2.5 s per run).
#include "core/tools/CrcResults.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace dualvex;

namespace {

constexpr std::size_t kBytes = std::size_t{1} << 30;

const std::vector<std::uint8_t>& Data()
{
    static const std::vector<std::uint8_t> data = [] {
        std::vector<std::uint8_t> bytes(kBytes);
        std::mt19937_64 rng(42);
        for (std::size_t i = 0; i < bytes.size(); i += 8) {
            const std::uint64_t word = rng();
            for (std::size_t k = 0; k < 8; ++k) bytes[i + k] = static_cast<std::uint8_t>(word >> (8 * k));
        }
        return bytes;
    }();
    return data;
}

void BM_CrcDialogResults32(benchmark::State& state)
{
    CrcTables tables;
    tables.Build(0xEDB88320, 32);
    const auto& data = Data();
    // The observer the worker passes: progress and the stop flag, once per chunk.
    std::uint64_t reports = 0;
    const WorkObserver observer = [&reports](std::uint64_t, std::uint64_t) {
        ++reports;
        return true;
    };
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            ComputeCrcResults(tables, 0xFFFFFFFF, true, data.data(), data.size(), observer));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBytes));
    benchmark::DoNotOptimize(reports);
}

} // namespace

BENCHMARK(BM_CrcDialogResults32)->Unit(benchmark::kMillisecond)->MinTime(3.0);

BENCHMARK_MAIN();
