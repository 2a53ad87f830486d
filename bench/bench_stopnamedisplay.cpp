// The stop-name display: drawing a name whose characters are already known
// and one that is new, sampling a character for the first time, one frame of
// a scroll, and the processor time that a second of real scrolling costs.
#include "widgets/StopNameDisplay.h"
#include "widgets/DotGlyph.h"
#include "model/StopNameLayout.h"
#include "model/SystemClock.h"
#include "widgets/Typefaces.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <ctime>
#include <memory>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

const QString nine = QStringLiteral("停留所前通り町一丁");
const QString twelve = QStringLiteral("みなと総合運動公園東入口");

class SteppedClock : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 5), QTime(9, 5, 7)); }
    qint64 monotonicMs() const override { return ms; }
    void after(int, QObject*, std::function<void()>) override {}
    qint64 ms = 0;
};

void BM_SetStopNameNineWarm(benchmark::State& state) {
    SteppedClock clock;
    StopNameDisplay c(nullptr, &clock);
    c.setPrefixMode(static_cast<qint16>(state.range(0)));
    c.setStopName(nine); // every character is sampled once here
    for (auto _ : state) {
        c.setStopName(nine);
        benchmark::DoNotOptimize(c.stripImage().constBits());
    }
}
BENCHMARK(BM_SetStopNameNineWarm)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A twelve-character name on a fresh control (nothing drawn yet) and on one
// that has drawn it before, in the designed Gothic (font mode 0) and in the
// sampled Mincho (font mode 1).
void BM_SetStopNameTwelve(benchmark::State& state) {
    SteppedClock clock;
    const bool warm = state.range(0) != 0;
    const auto fontMode = static_cast<qint16>(state.range(1));
    const auto fresh = [&] {
        auto c = std::make_unique<StopNameDisplay>(nullptr, &clock);
        c->setFontMode(fontMode);
        return c;
    };
    auto c = fresh();
    if (warm) c->setStopName(twelve);
    for (auto _ : state) {
        if (!warm) {
            state.PauseTiming();
            c = fresh();
            state.ResumeTiming();
        }
        c->setStopName(twelve);
        benchmark::DoNotOptimize(c->stripImage().constBits());
    }
    state.SetLabel(QStringLiteral("%1, %2")
                       .arg(fontMode ? u"sampled Mincho"_qs : u"designed Gothic"_qs,
                            warm ? u"warm cache"_qs : u"cold cache"_qs)
                       .toStdString());
}
BENCHMARK(BM_SetStopNameTwelve)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);

// Two seconds of a prefixed long name scrolling at Speed 100 in a shown
// window, driven by the control's own frame timer and the system clock;
// reports the share of one core that the process used meanwhile, at a size
// in percent.
void BM_ScrollCpuShare(benchmark::State& state) {
    SystemClock clock;
    StopNameDisplay c(nullptr, &clock);
    c.setScale(state.range(0) / 100.0);
    c.setSpeed(100);
    c.setScrollStartWait(1500);
    c.setPrefixMode(1);
    c.show();
    for (auto _ : state) {
        c.setStopName(twelve);
        timespec cpu0{}, cpu1{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu0);
        QElapsedTimer wall;
        wall.start();
        QEventLoop loop;
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        loop.exec();
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu1);
        const double cpuMs = (cpu1.tv_sec - cpu0.tv_sec) * 1e3 + (cpu1.tv_nsec - cpu0.tv_nsec) / 1e6;
        state.counters["cpu_percent_of_one_core"] = 100.0 * cpuMs / double(wall.elapsed());
        state.counters["strip_left_after_2s"] = c.stripLeft();
    }
}
BENCHMARK(BM_ScrollCpuShare)->Arg(100)->Arg(400)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SampleCharacterCold(benchmark::State& state) {
    DotGlyph::Surface s;
    for (auto _ : state) {
        s.forget();
        benchmark::DoNotOptimize(s.dots(QStringLiteral("停")));
    }
}
BENCHMARK(BM_SampleCharacterCold)->Unit(benchmark::kMicrosecond);

void BM_ScrollFrameSteps(benchmark::State& state) {
    SteppedClock clock;
    StopNameDisplay c(nullptr, &clock);
    c.setSpeed(200);
    c.setScrollStartWait(0);
    c.setStopName(nine);
    for (auto _ : state) {
        clock.ms += StopNameDisplay::FrameIntervalMs;
        c.advanceScroll();
        benchmark::DoNotOptimize(c.stripLeft());
    }
}
BENCHMARK(BM_ScrollFrameSteps);

// A whole frame: the 16 steps of 16 ms and painting the control, at a size
// in percent.
void BM_ScrollFramePainted(benchmark::State& state) {
    SteppedClock clock;
    StopNameDisplay c(nullptr, &clock);
    c.setScale(state.range(0) / 100.0);
    c.setSpeed(200);
    c.setScrollStartWait(0);
    c.setStopName(nine);
    QImage target(c.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        clock.ms += StopNameDisplay::FrameIntervalMs;
        c.advanceScroll();
        c.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ScrollFramePainted)->Arg(100)->Arg(400)->Unit(benchmark::kMicrosecond);

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
