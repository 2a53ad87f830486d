// The boarding ticket that the console draws at every step: the shipped
// plug-ins read from their files and drawn into the preview's picture.
#include "widgets/PluginTicketEngine.h"

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

void drawSample(benchmark::State& state, const char* name) {
    PluginTicketEngine engine;
    QImage preview(220, 93, QImage::Format_RGB32);
    FareRow::TicketDrawing t;
    t.pluginPath = QStringLiteral(K40_SOURCE_DIR "/data/plugins/") + QString::fromLatin1(name);
    t.dateText = QStringLiteral("03-07-2024");
    t.timeText = QStringLiteral("14:05:09");
    t.routeNumber = 12;
    t.companyIndex = 0;
    TicketPluginInfo info{};
    if (!engine.pluginInfo(t.pluginPath, info)) {
        state.SkipWithError("the sample plug-in cannot be read");
        return;
    }
    int row = 0;
    for (auto _ : state) {
        ++row;
        t.section = static_cast<qint16>(row % 18 + 1);
        t.ticketNumber = t.section;
        t.stopName = row % 2 ? QStringLiteral("みなと総合運動公園東入口") : QStringLiteral("港");
        preview.fill(Qt::white);
        engine.drawTicket(&preview, t);
        benchmark::DoNotOptimize(preview.constBits());
    }
}

void BM_DrawStandardTicket(benchmark::State& state) {
    drawSample(state, "standard.4SP");
}
void BM_DrawBarcodeTicket(benchmark::State& state) {
    drawSample(state, "barcode.4SP");
}

} // namespace

BENCHMARK(BM_DrawStandardTicket)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawBarcodeTicket)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
