// One step forward on the whole system: the console's step handler with its
// DispData (24 fare cells, information digits, a standing stop name).
#include "app/K40App.h"
#include "console/DataIo.h"
#include "console/frmCtl.h"
#include "platform/AppInfo.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

class StillClock : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 5), QTime(9, 5, 7)); }
    qint64 monotonicMs() const override { return 0; }
    void wait(int) override {}
};

class QuietMessages : public MessageBoxService {
public:
    MsgAnswer show(QWidget*, const QString&, const QString&, MsgIcon, MsgButtons) override {
        return MsgAnswer::Ok;
    }
};

void BM_StepForward(benchmark::State& state) {
    QTemporaryDir dir;
    AppInfo::setExecutablePath(dir.filePath(QStringLiteral("K40")));
    std::vector<DataIo::RouteRow> rows(DataIo::MaxRows);
    for (size_t r = 0; r < rows.size(); ++r) {
        rows[r].name = r % 2 ? QStringLiteral("市民病院前") : QStringLiteral("港");
        for (size_t k = 0; k < 24; ++k) rows[r].v[k] = static_cast<qint16>(170 + 10 * (r + k));
    }
    QFile f(dir.filePath(QStringLiteral("12.hy3")));
    f.open(QIODevice::WriteOnly);
    f.write(DataIo::serializeHy3(rows));
    f.close();

    StillClock clock;
    QuietMessages messages;
    Services services;
    services.clock = &clock;
    services.messages = &messages;
    K40App app(services);
    app.onEnd = [] {};
    app.start();
    frmCtl& ctl = app.console();
    app.options();
    ctl.routeState.startSection = 1;
    DataIo::ReadRouteFare(DataIo::withTrailingSeparator(dir.path()), QStringLiteral("12"),
                          ctl.routeState, ctl.routeTable, messages);
    ctl.routeState.currentRow = 1;
    for (auto _ : state) {
        if (ctl.routeState.currentRow >= DataIo::MaxRows) ctl.routeState.currentRow = 1;
        ctl.Command2_Click(1);
    }
    AppInfo::setExecutablePath(QString());
}
BENCHMARK(BM_StepForward)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
