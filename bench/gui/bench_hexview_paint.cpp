// Painting a hex pane on Qt's offscreen raster platform: a full repaint of a
// 1600 x 1000 pane with differences, a selection and marks on screen, the
// repaint after one cursor step, and Page Down steps through a 1 GiB image.
#include "gui/hexview/CHexView.h"

#include "GuiBenchMain.h"
#include "SparseImage.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <random>
#include <vector>

namespace {

using dualvex::AnsiLine;
using dualvex::CHexView;
using dualvex::HexPos;

// A pane that counts the rows it draws, to show that a cursor step paints little.
class CountingHexView : public CHexView {
  public:
    int PrintLine(QPainter& painter, const QRect& row, AnsiLine line, int firstColumn, int columnCount,
                  int x0) override
    {
        ++rows;
        return CHexView::PrintLine(painter, row, line, firstColumn, columnCount, x0);
    }
    long rows = 0;
};

// Per-step times, so the report can give medians: wall clock and this thread's CPU
// time (the machine is shared, and waiting for a core is not the pane's cost).
class StepTimes {
  public:
    void Start()
    {
        m_wall = std::chrono::steady_clock::now();
        m_cpu = CpuNow();
    }
    void Stop()
    {
        m_walls.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_wall).count());
        m_cpus.push_back(CpuNow() - m_cpu);
    }
    void Report(benchmark::State& state)
    {
        state.counters["median_ms"] = Median(m_walls);
        state.counters["median_cpu_ms"] = Median(m_cpus);
    }

  private:
    static double CpuNow()
    {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
    }
    static double Median(std::vector<double> values)
    {
        if (values.empty()) return 0;
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    }
    std::chrono::steady_clock::time_point m_wall;
    double m_cpu = 0;
    std::vector<double> m_walls;
    std::vector<double> m_cpus;
};

struct PaneData {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> bits;
};

// 1 MiB of varied bytes with about one byte in eight differing.
PaneData MakePaneData()
{
    PaneData pane;
    std::mt19937 random(42);
    pane.bytes.resize(1 << 20);
    for (auto& b : pane.bytes) b = static_cast<std::uint8_t>(random());
    pane.bits.resize(pane.bytes.size() / 8);
    for (auto& b : pane.bits) b = static_cast<std::uint8_t>(1u << (random() % 8));
    return pane;
}

void PressKey(QWidget& widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

void ShowPane(CHexView& view)
{
    view.resize(1600, 1000);
    view.show();
    view.setFocus();
    QApplication::processEvents();
}

void DecoratePane(CHexView& view)
{
    view.SetCursorPos(0x120, false);
    view.SelectTo(0x1A0, false);
    view.SetMark(0, 0x300, 0x40);
    view.SetMark(1, 0x480, 0x90);
}

void BM_HexView_FullRepaint(benchmark::State& state)
{
    PaneData pane = MakePaneData();
    CountingHexView view;
    view.SetData(pane.bytes.data(), static_cast<HexPos>(pane.bytes.size()), 0x08000000, 0);
    view.SetDiffBits(pane.bits.data(), -1);
    DecoratePane(view);
    ShowPane(view);
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    view.rows = 0;
    StepTimes times;
    for (auto _ : state) {
        times.Start();
        // As the window system repaints it: the pane is opaque, so no background first.
        view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        times.Stop();
        benchmark::DoNotOptimize(image.constBits());
    }
    times.Report(state);
    state.counters["rows"] =
        benchmark::Counter(static_cast<double>(view.rows), benchmark::Counter::kAvgIterations);
    state.counters["bytes/line"] = view.Core().Layout().Width();
}
BENCHMARK(BM_HexView_FullRepaint)->Unit(benchmark::kMillisecond)->Iterations(1000);

void BM_HexView_CursorStepRepaint(benchmark::State& state)
{
    PaneData pane = MakePaneData();
    CountingHexView view;
    view.SetData(pane.bytes.data(), static_cast<HexPos>(pane.bytes.size()), 0, 0);
    view.SetDiffBits(pane.bits.data(), -1);
    ShowPane(view);
    view.rows = 0;
    int step = 0;
    StepTimes times;
    for (auto _ : state) {
        times.Start();
        PressKey(view, (step++ / 40) % 2 == 0 ? Qt::Key_Right : Qt::Key_Left);
        QApplication::processEvents();
        times.Stop();
    }
    times.Report(state);
    state.counters["rows"] =
        benchmark::Counter(static_cast<double>(view.rows), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HexView_CursorStepRepaint)->Unit(benchmark::kMicrosecond)->Iterations(1000);

void BM_HexView_PageDown1GiB(benchmark::State& state)
{
    constexpr std::size_t kSize = std::size_t{1} << 30;
    SparseImage image(kSize);
    SparseImage bits(kSize / 8);
    if (image.data() == nullptr || bits.data() == nullptr) {
        state.SkipWithError("cannot reserve 1 GiB");
        return;
    }
    // A few differences near the start and in the middle; the rest stays unbacked.
    for (std::size_t at : {std::size_t{5}, kSize / 16, kSize / 2}) bits.data()[at] = 0x5A;
    CountingHexView view;
    view.SetData(image.data(), static_cast<HexPos>(kSize), 0, 0);
    view.SetDiffBits(bits.data(), -1);
    ShowPane(view);
    // Start deep inside the image, a little before the differences in its middle.
    view.SetCursorPos(static_cast<HexPos>(kSize / 2 - 4096), false);
    view.SetTopAddress(static_cast<HexPos>(kSize / 2 - 4096), false);
    QApplication::processEvents();
    view.rows = 0;
    StepTimes times;
    for (auto _ : state) {
        times.Start();
        PressKey(view, Qt::Key_PageDown);
        QApplication::processEvents();
        times.Stop();
    }
    times.Report(state);
    state.counters["rows"] =
        benchmark::Counter(static_cast<double>(view.rows), benchmark::Counter::kAvgIterations);
    state.counters["top MiB"] = static_cast<double>(view.GetTopPosition(false)) / (1 << 20);
}
BENCHMARK(BM_HexView_PageDown1GiB)->Unit(benchmark::kMillisecond)->Iterations(500);

} // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv);
}
