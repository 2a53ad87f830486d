// Stepping on the whole system: one step forward through the console's step
// handler and its DispData (24 fare cells, a standing stop name), and the
// time from a click on "データ送り" to the first sample of its chime reaching
// the audio output.
#include "app/K40Application.h"
#include "model/FareData.h"
#include "model/Hy3File.h"
#include "console/ConsoleWindow.h"
#include "model/AppInfo.h"
#include "model/SystemClock.h"
#include "widgets/QtMessageBoxService.h"
#include "options/OptionsDialog.h"
#include "audio/SdlMediaCommands.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

class StillClock : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 5), QTime(9, 5, 7)); }
    qint64 monotonicMs() const override { return 0; }
    void wait(int) override {}
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
        app = std::make_unique<K40Application>(services);
        app->onEnd = [] {};
        app->start();
        ConsoleWindow& ctl = app->console();
        ctl.routeState.startSection = 1;
        FareData::loadRouteFares(FareData::withTrailingSeparator(dir.path()), QStringLiteral("12"),
                              ctl.routeState, ctl.routeTable, messages);
        ctl.routeState.currentRow = 1;
    }
    ~Board() { AppInfo::setExecutablePath(QString()); }

    void stepForward() {
        ConsoleWindow& ctl = app->console();
        if (ctl.routeState.currentRow >= FareData::MaxRows) ctl.routeState.currentRow = 1;
        ctl.Command2_Click(1);
    }
};

void BM_StepForward(benchmark::State& state) {
    StillClock clock;
    Services services;
    services.clock = &clock;
    Board board(services);
    for (auto _ : state) board.stepForward();
}
BENCHMARK(BM_StepForward)->Unit(benchmark::kMicrosecond);

void BM_StepClickToChime(benchmark::State& state) {
    SystemClock clock;
    SdlMediaCommands sound;
    Services services;
    services.clock = &clock;
    services.sound = &sound;
    Board board(services);
    const QString chime = QFileInfo(QStringLiteral(__FILE__)).dir().filePath(
        QStringLiteral("../data/sample/step1.wav"));
    board.app->options().txtSelectSound[7]->setText(QDir::cleanPath(chime));
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        board.stepForward();
        while (sound.positionMs(QStringLiteral("K40S2")) == 0 && t.elapsed() < 1000)
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
