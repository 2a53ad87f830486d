// The boarding ticket that the console draws at every step: the shipped
// plug-ins read from their files and drawn into the preview's picture, and
// the worst a plug-in can ask for: a file of 1 MiB whose texts repeat the
// stop's name, in one element or in a thousand, with a name of ordinary
// length or of 32768 characters.
#include "widgets/PluginTicketEngine.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
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

// A plug-in of nearly TicketPlugin::MaxBytes: elements texts of "{stop}"
// repeated, in large type condensed into a wide box.
QByteArray worstPlugin(int elements) {
    const qsizetype each = (TicketPlugin::MaxBytes - 1024) / elements - 128;
    const QByteArray text = QByteArray("{stop}").repeated(each / 6);
    QByteArray list;
    for (int i = 0; i < elements; ++i)
        list += (i ? "," : "") +
                QByteArray(R"({"type": "text", "x": 0, "y": 0, "width": 5000, "height": 400, )"
                           R"("size": 400, "text": ")") +
                text + "\"}";
    return R"({"format": "K40 ticket plug-in", "version": 1, "name": "w", )"
           R"("size": {"width": 3300, "height": 1395}, "elements": [)" +
           list + "]}";
}

void BM_DrawWorstTicket(benchmark::State& state) {
    QTemporaryDir dir;
    PluginTicketEngine engine;
    QImage preview(220, 93, QImage::Format_RGB32);
    FareRow::TicketDrawing t;
    t.pluginPath = dir.filePath(QStringLiteral("worst.4SP"));
    QFile file(t.pluginPath);
    TicketPluginInfo info{};
    if (!file.open(QIODevice::WriteOnly) || !file.write(worstPlugin(int(state.range(0)))) ||
        !file.flush() || !engine.pluginInfo(t.pluginPath, info)) {
        state.SkipWithError("the plug-in cannot be written or read");
        return;
    }
    const QString name = QStringLiteral("みなと総合運動公園東入口");
    t.stopName = name.repeated(state.range(1) / name.size() + 1).left(state.range(1));
    for (auto _ : state) {
        preview.fill(Qt::white);
        engine.drawTicket(&preview, t);
        benchmark::DoNotOptimize(preview.constBits());
    }
}

} // namespace

BENCHMARK(BM_DrawWorstTicket)
    ->ArgNames({"elements", "name"})
    ->ArgsProduct({{1, 1000}, {12, 32768}})
    ->Unit(benchmark::kMillisecond);
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
