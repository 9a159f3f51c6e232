// Throughput of the comparison on two 1 GiB buffers in memory, bit set
// allocation included, against memcmp over the same equal buffers.
#include <benchmark/benchmark.h>

#include <cstring>

#include "core/app/DiffSet.h"
#include "core/app/PageMemory.h"

namespace {

constexpr std::size_t kSize = std::size_t{1} << 30;

enum class Pattern { None, Sparse, Dense, Blocky };

// Two resident buffers, so the figures show the comparison and not the first
// touch of the inputs.
struct Buffers {
    dualvex::PageMemory a;
    dualvex::PageMemory b;
    Pattern pattern = Pattern::None;

    Buffers()
    {
        if (!a.Allocate(kSize, true) || !b.Allocate(kSize, true)) std::abort();
        std::uint64_t x = 0x9E3779B97F4A7C15u;
        for (std::size_t i = 0; i < kSize; i += 8) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            std::memcpy(a.Data() + i, &x, 8);
        }
        std::memcpy(b.Data(), a.Data(), kSize);
    }

    void Set(Pattern p)
    {
        if (p == pattern) return;
        std::memcpy(b.Data(), a.Data(), kSize);
        pattern = p;
        if (p == Pattern::Sparse) {
            for (std::size_t i = 12345; i < kSize; i += std::size_t{1} << 20) b.Data()[i] ^= 0x5A;
        } else if (p == Pattern::Dense) {
            // Independent random bytes: about one position in 256 is equal.
            std::uint64_t x = 0x2545F4914F6CDD1Du;
            for (std::size_t i = 0; i < kSize; i += 8) {
                x ^= x << 13;
                x ^= x >> 7;
                x ^= x << 17;
                std::memcpy(b.Data() + i, &x, 8);
            }
        } else if (p == Pattern::Blocky) {
            for (std::size_t i = 4096; i < kSize; i += 8192)
                for (std::size_t k = 0; k < 4096; ++k) b.Data()[i + k] ^= 0xFF;
        }
    }
};

Buffers& Shared()
{
    static Buffers buffers;
    return buffers;
}

void Report(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kSize));
    state.counters["GB/s"] =
        benchmark::Counter(static_cast<double>(kSize) / 1e9, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Memcmp(benchmark::State& state)
{
    Buffers& buf = Shared();
    buf.Set(Pattern::None);
    for (auto _ : state) benchmark::DoNotOptimize(std::memcmp(buf.a.Data(), buf.b.Data(), kSize));
    Report(state);
}

void BM_Compare(benchmark::State& state)
{
    Buffers& buf = Shared();
    buf.Set(static_cast<Pattern>(state.range(0)));
    for (auto _ : state) {
        dualvex::DiffSet set;
        if (!set.Compare(buf.a.Data(), kSize, buf.b.Data(), kSize)) state.SkipWithError("no memory");
        benchmark::DoNotOptimize(set.Summary().rangeCount);
    }
    Report(state);
}

void BM_CountDifferences(benchmark::State& state)
{
    Buffers& buf = Shared();
    buf.Set(static_cast<Pattern>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(dualvex::CountDifferences(buf.a.Data(), kSize, buf.b.Data(), kSize));
    Report(state);
}

void Patterns(benchmark::internal::Benchmark* b)
{
    b->ArgName("pattern")->Arg(0)->Arg(1)->Arg(2)->Arg(3);
    b->Unit(benchmark::kMillisecond)->MinTime(0.5);
}

} // namespace

// pattern: 0 no differences, 1 sparse (one byte per MiB), 2 dense (random),
// 3 blocky (alternating 4 KiB equal and different).
BENCHMARK(BM_Memcmp)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_Compare)->Apply(Patterns);
BENCHMARK(BM_Memcmp)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Name("BM_Memcmp_again");
BENCHMARK(BM_CountDifferences)->Apply(Patterns);

BENCHMARK_MAIN();
