// Decoding speed of the Intel-HEX reader in MB of hex text per second, on the
// shape linkers write: 16- and 32-byte data records behind extended linear
// address records.
#include <benchmark/benchmark.h>

#include <string>

#include "core/app/IntelHex.h"

namespace {

std::string MakeHexText(std::uint32_t imageBytes, unsigned recordBytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    text.reserve(static_cast<std::size_t>(imageBytes) / recordBytes * (recordBytes * 2 + 12));
    auto put = [&](unsigned byte, unsigned& sum) {
        text += digits[(byte >> 4) & 15];
        text += digits[byte & 15];
        sum += byte;
    };
    std::uint32_t x = 12345;
    for (std::uint32_t addr = 0; addr < imageBytes; addr += recordBytes) {
        unsigned sum = 0;
        if ((addr & 0xFFFF) == 0) {
            text += ':';
            for (unsigned v : {2u, 0u, 0u, 4u, addr >> 24, (addr >> 16) & 0xFF}) put(v, sum);
            put((0x100 - (sum & 0xFF)) & 0xFF, sum);
            text += "\r\n";
            sum = 0;
        }
        text += ':';
        for (unsigned v : {recordBytes, (addr >> 8) & 0xFF, addr & 0xFF, 0u}) put(v, sum);
        for (unsigned i = 0; i < recordBytes; ++i) {
            x = x * 1103515245u + 12345u;
            put(x >> 24, sum);
        }
        put((0x100 - (sum & 0xFF)) & 0xFF, sum);
        text += "\r\n";
    }
    text += ":00000001FF\r\n";
    return text;
}

void BM_DecodeIntelHex(benchmark::State& state)
{
    const std::string text = MakeHexText(16u << 20, static_cast<unsigned>(state.range(0)));
    for (auto _ : state) {
        dualvex::MemoryImage image;
        if (!dualvex::DecodeIntelHex(text.data(), text.size(), image)) state.SkipWithError("no memory");
        benchmark::DoNotOptimize(image.Data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(text.size()) / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

// Argument: data bytes per record. 16 MiB of image, about 45 MB of text.
BENCHMARK(BM_DecodeIntelHex)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond)->MinTime(0.5);

BENCHMARK_MAIN();
