// From a click on "データ送り" to the first sample of its chime reaching the
// audio output: the step handler opens and starts the chime on "S2", and the
// output's callback must then take its first samples.
#include "app/K40App.h"
#include "console/DataIo.h"
#include "console/frmCtl.h"
#include "platform/AppInfo.h"
#include "platform/QtServices.h"
#include "settings/frmOption.h"
#include "sound/SoundDevice.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

namespace {

class QuietMessages : public MessageBoxService {
public:
    MsgAnswer show(QWidget*, const QString&, const QString&, MsgIcon, MsgButtons) override {
        return MsgAnswer::Ok;
    }
};

void BM_StepClickToChime(benchmark::State& state) {
    QTemporaryDir dir;
    AppInfo::setExecutablePath(dir.filePath(QStringLiteral("K40")));
    std::vector<DataIo::RouteRow> rows(DataIo::MaxRows);
    QFile f(dir.filePath(QStringLiteral("12.hy3")));
    f.open(QIODevice::WriteOnly);
    f.write(DataIo::serializeHy3(rows));
    f.close();

    SystemClock clock;
    QuietMessages messages;
    SdlMediaCommands sound;
    Services services;
    services.clock = &clock;
    services.messages = &messages;
    services.sound = &sound;
    K40App app(services);
    app.onEnd = [] {};
    app.start();
    frmCtl& ctl = app.console();
    const QString chime = QFileInfo(QStringLiteral(__FILE__)).dir().filePath(
        QStringLiteral("../data/sample/step1.wav"));
    app.options().txtSelectSound[7]->setText(QDir::cleanPath(chime));
    ctl.routeState.startSection = 1;
    DataIo::ReadRouteFare(DataIo::withTrailingSeparator(dir.path()), QStringLiteral("12"),
                          ctl.routeState, ctl.routeTable, messages);
    for (auto _ : state) {
        if (ctl.routeState.currentRow >= DataIo::MaxRows) ctl.routeState.currentRow = 1;
        QElapsedTimer t;
        t.start();
        ctl.Command2_Click(1);
        while (sound.positionMs(QStringLiteral("K40S2")) == 0 && t.elapsed() < 1000)
            QThread::usleep(100);
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
    }
    state.SetLabel(sound.driverName().toStdString());
    AppInfo::setExecutablePath(QString());
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
