// The line building a hex pane does for one full repaint: 64 visible lines
// of 16 bytes with differences, marks and a selection on screen, and the
// page step through a 1 GiB image (layout of the new top plus its lines).
#include "core/hexview/HexViewCore.h"

#include <benchmark/benchmark.h>

#include <sys/mman.h>

#include <cstdint>
#include <vector>

namespace {

using namespace dualvex;

constexpr int kVisibleLines = 64;

void BM_PrintLinesFullRepaint(benchmark::State& state)
{
    std::vector<std::uint8_t> bytes(1 << 20);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 31);
    std::vector<std::uint8_t> bits(bytes.size() / 8, 0x5A);
    HexViewCore view;
    view.SetWidthMode(-16, 0, -1, -1);
    view.SetData(bytes.data(), static_cast<HexPos>(bytes.size()), 0, 0);
    view.SetDifferenceBits(bits.data(), -1);
    view.SetMark(0, 100, 300);
    view.SetCursorPos(200, false);
    view.SelectTo(700, false);
    HexLineText line;
    for (auto _ : state) {
        for (int n = 0; n < kVisibleLines; ++n) benchmark::DoNotOptimize(view.PrintLine(n, 0, line));
    }
}
BENCHMARK(BM_PrintLinesFullRepaint);

void BM_PageDownThroughOneGiB(benchmark::State& state)
{
    // A sparse mapping: only the pages shown are ever backed by memory.
    constexpr std::size_t kLength = std::size_t{1} << 30;
    void* image = mmap(nullptr, kLength, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (image == MAP_FAILED) {
        state.SkipWithError("no address space for 1 GiB");
        return;
    }
    HexViewCore view;
    view.SetWidthMode(-16, 0, -1, -1);
    view.SetData(static_cast<const std::uint8_t*>(image), static_cast<HexPos>(kLength), 0, 0);
    view.OnResize(80, kVisibleLines);
    HexLineText line;
    for (auto _ : state) {
        view.SetCursor(0, kVisibleLines, kCursorRelative);
        view.SetTopLine(view.TopLine() + kVisibleLines);
        if (view.TopLine() + kVisibleLines >= view.Layout().LineCount()) view.SetTopLine(0);
        for (int n = 0; n < kVisibleLines; ++n)
            benchmark::DoNotOptimize(view.PrintLine(view.TopLine() + n, 0, line));
        benchmark::DoNotOptimize(view.TakeUpdate());
    }
    munmap(image, kLength);
}
BENCHMARK(BM_PageDownThroughOneGiB);

} // namespace

BENCHMARK_MAIN();
