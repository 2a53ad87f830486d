// Stepping on the whole system: one step through the console's step button,
// the route session and the board (24 fare cells, a standing stop name), and
// the time from a click on "データ送り" to the first sample of its chime
// reaching the audio output.
#include "app/K40Application.h"
#include "audio/SdlSoundOutput.h"
#include "board/BoardWindow.h"
#include "console/ConsoleWindow.h"
#include "model/AppInfo.h"
#include "model/FareData.h"
#include "model/Hy3File.h"
#include "model/MessageBoxService.h"
#include "model/RouteSession.h"
#include "model/Settings.h"
#include "model/SystemClock.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// The real clock, but the lamp test takes no time.
class QuickClock : public SystemClock {
public:
    void after(int, QObject* context, std::function<void()> done) override {
        QTimer::singleShot(0, context, std::move(done));
    }
};

class QuietMessages : public MessageBoxService {
public:
    MsgAnswer show(const QString&, const QString&, MsgIcon, MsgButtons) override {
        return MsgAnswer::Ok;
    }
};

// K40 started in a temporary folder with a route of 301 stops set at row 1.
struct Board {
    QTemporaryDir dir;
    QuietMessages messages;
    QuickClock clock;
    std::unique_ptr<K40Application> app;

    explicit Board(Services services) {
        AppInfo::setExecutablePath(dir.filePath(QStringLiteral("K40")));
        std::vector<FareData::RouteRow> rows(FareData::MaxRows);
        for (size_t r = 0; r < rows.size(); ++r) {
            rows[r].name = r % 2 ? QStringLiteral("市民病院前") : QStringLiteral("港");
            for (size_t k = 0; k < 24; ++k) rows[r].v[k] = static_cast<qint16>(170 + 10 * (r + k));
        }
        QFile f(dir.filePath(QStringLiteral("12.hy3")));
        f.open(QIODevice::WriteOnly);
        f.write(FareData::serializeHy3(rows));
        f.close();

        services.messages = &messages;
        services.clock = &clock;
        app = std::make_unique<K40Application>(services);
        app->onEnd = [] {};
        app->start();
        SettingsRecord r = app->settings().record();
        r.fareFolder = dir.path();
        app->settings().commitOptions(r);
        app->session().setRoute(QStringLiteral("12"), QStringLiteral("1"));
        while (app->session().isWaiting()) QApplication::processEvents();
    }
    ~Board() { AppInfo::setExecutablePath(QString()); }

    // One step, forward until the last stop, then back to the first.
    void step() {
        const int row = app->session().state().currentRow;
        if (row >= FareData::MaxRows) forward = false;
        if (row <= 1) forward = true;
        (forward ? app->console().stepForwardButton : app->console().stepBackButton)->click();
    }
    bool forward = true;
};

void BM_Step(benchmark::State& state) {
    Services services;
    Board board(services);
    for (auto _ : state) board.step();
}
BENCHMARK(BM_Step)->Unit(benchmark::kMicrosecond);

// A step and the whole board drawn afresh, at a size in percent.
void BM_StepDrawn(benchmark::State& state) {
    Services services;
    Board board(services);
    board.app->settings().setBoardScale(int(state.range(0)));
    BoardWindow& window = board.app->board();
    QImage target(window.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        board.step();
        window.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["width"] = window.width();
}
BENCHMARK(BM_StepDrawn)->Arg(100)->Arg(400)->Unit(benchmark::kMicrosecond);

void BM_StepClickToChime(benchmark::State& state) {
    SdlSoundOutput sound;
    Services services;
    services.sound = &sound;
    Board board(services);
    const QString chime = QFileInfo(QStringLiteral(__FILE__)).dir().filePath(
        QStringLiteral("../data/sample/step1.wav"));
    SettingsRecord r = board.app->settings().record();
    r.stepSound = QDir::cleanPath(chime);
    board.app->settings().commitOptions(r);
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        board.step();
        while (sound.positionMs(SoundOutput::Channel::S2) == 0 && t.elapsed() < 1000)
            QThread::usleep(100);
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
    }
    state.SetLabel(sound.driverName().toStdString());
}
BENCHMARK(BM_StepClickToChime)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
