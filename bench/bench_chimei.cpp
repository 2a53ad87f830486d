// The stop-name display: drawing a name whose characters are already known,
// sampling a character for the first time, and one frame of a scroll.
#include "controls/ChimeiCtl_DX.h"
#include "controls/ChimeiGlyph.h"
#include "controls/ChimeiLayout.h"
#include "platform/Services.h"
#include "platform/Typefaces.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

const QString nine = QStringLiteral("停留所前通り町一丁");

class SteppedClock : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 5), QTime(9, 5, 7)); }
    qint64 monotonicMs() const override { return ms; }
    void wait(int w) override { ms += w; }
    qint64 ms = 0;
};

void BM_SetChimeiNineWarm(benchmark::State& state) {
    SteppedClock clock;
    ChimeiCtl_DX c(nullptr, nullptr, &clock);
    c.setTsugiwaMode(static_cast<qint16>(state.range(0)));
    c.SetChimei(nine); // every character is sampled once here
    for (auto _ : state) {
        c.SetChimei(nine);
        benchmark::DoNotOptimize(c.stripImage().constBits());
    }
}
BENCHMARK(BM_SetChimeiNineWarm)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_SampleCharacterCold(benchmark::State& state) {
    ChimeiGlyphSurface s;
    for (auto _ : state) {
        s.forget();
        benchmark::DoNotOptimize(s.dots(QStringLiteral("停")));
    }
}
BENCHMARK(BM_SampleCharacterCold)->Unit(benchmark::kMicrosecond);

void BM_ScrollFrameSteps(benchmark::State& state) {
    SteppedClock clock;
    ChimeiCtl_DX c(nullptr, nullptr, &clock);
    c.setSpeed(200);
    c.setScrollStartWait(0);
    c.SetChimei(nine);
    for (auto _ : state) {
        clock.ms += ChimeiCtl_DX::FrameIntervalMs;
        c.advanceScroll();
        benchmark::DoNotOptimize(c.stripLeft());
    }
}
BENCHMARK(BM_ScrollFrameSteps);

// A whole frame: the 16 steps of 16 ms and painting the control.
void BM_ScrollFramePainted(benchmark::State& state) {
    SteppedClock clock;
    ChimeiCtl_DX c(nullptr, nullptr, &clock);
    c.setSpeed(200);
    c.setScrollStartWait(0);
    c.SetChimei(nine);
    QImage target(c.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        clock.ms += ChimeiCtl_DX::FrameIntervalMs;
        c.advanceScroll();
        c.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ScrollFramePainted)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Typefaces::registerSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
