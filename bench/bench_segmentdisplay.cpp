// The digit display: what the board pays at every step, when the control
// panel writes the 24 fares into their cells.
#include "widgets/SegmentDisplay.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<SegmentDisplay>> fareCells() {
    std::vector<std::unique_ptr<SegmentDisplay>> cells;
    for (int i = 0; i < 24; ++i) {
        auto d = std::make_unique<SegmentDisplay>();
        d->setDigitCount(3);
        d->setDigitSize(2);
        d->setDigitStyle(1);
        cells.push_back(std::move(d));
    }
    return cells;
}

// Setting Value on the 24 fare cells of the board, with fares that change
// from step to step.
void BM_SetValue24Cells(benchmark::State& state) {
    auto cells = fareCells();
    int step = 0;
    for (auto _ : state) {
        for (int i = 0; i < 24; ++i)
            cells[i]->setValue(170 + 10 * i + (step % 7) * 10);
        ++step;
        benchmark::DoNotOptimize(cells[23]->image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * 24);
}
BENCHMARK(BM_SetValue24Cells)->Unit(benchmark::kMicrosecond);

// The lamp test of the 24 cells.
void BM_ResetDigits24Cells(benchmark::State& state) {
    auto cells = fareCells();
    bool on = true;
    for (auto _ : state) {
        for (auto& d : cells)
            d->resetDigits(on);
        on = !on;
    }
    state.SetItemsProcessed(state.iterations() * 24);
}
BENCHMARK(BM_ResetDigits24Cells)->Unit(benchmark::kMicrosecond);

// A cell whose colour changes, so that its glyphs are made anew.
void BM_FirstDrawInNewColour(benchmark::State& state) {
    SegmentDisplay d;
    d.setDigitCount(3);
    d.setDigitSize(2);
    d.setValue(888);
    BgrColor c = 0x010101;
    for (auto _ : state) {
        c = (c + 0x030507) & 0xFFFFFF;
        d.setLitColor(c);
    }
}
BENCHMARK(BM_FirstDrawInNewColour)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
