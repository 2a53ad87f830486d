// Reading a full route and its announcements, as a route setting does, and
// computing a row's display.
#include "model/TapeFile.h"
#include "model/Cp932.h"
#include "model/FareData.h"
#include "model/Hy3File.h"
#include "model/FareRow.h"
#include "model/Clock.h"

#include <benchmark/benchmark.h>

namespace {

class StillClock : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 5), QTime(9, 5, 7)); }
    qint64 monotonicMs() const override { return 0; }
    void after(int, QObject*, std::function<void()>) override {}
};

std::vector<FareData::RouteRow> fullRoute() {
    std::vector<FareData::RouteRow> rows(FareData::MaxRows);
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].name = QStringLiteral("停留所%1番").arg(i + 1);
        rows[i].ticket = static_cast<qint16>(i + 1);
        for (size_t k = 0; k < rows[i].v.size(); ++k) rows[i].v[k] = static_cast<qint16>(170 + 10 * k);
    }
    return rows;
}

void BM_ParseFullRoute(benchmark::State& state) {
    const QByteArray bytes = FareData::serializeHy3(fullRoute());
    for (auto _ : state) benchmark::DoNotOptimize(FareData::parseHy3(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ParseFullRoute);

// The announcements of a route of 301 stops: a greeting, then a stop each.
void BM_ReadTape(benchmark::State& state) {
    QString text = QStringLiteral("ご乗車ありがとうございます。このバスは、12系統です。,0,1\r\n");
    for (int i = 1; i <= 300; ++i)
        text += QStringLiteral("次は、停留所%1番です。お降りの方はお知らせください。,1,%2\r\n")
                    .arg(i)
                    .arg(i % 4);
    const QByteArray bytes = Cp932::encode(text);
    for (auto _ : state) benchmark::DoNotOptimize(TapeFile::parse(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadTape);

void BM_ComputeRow(benchmark::State& state) {
    FareData::RouteTable table;
    int k = 1;
    for (const auto& r : fullRoute()) table.row(k++) = r;
    FareData::RouteState st;
    st.startSection = 1;
    st.routeText = QStringLiteral("012");
    FareRow::Options opt;
    opt.lateNight = true;
    opt.infoSectionOn = opt.infoRouteOn = true;
    StillClock clock;
    for (auto _ : state) benchmark::DoNotOptimize(FareRow::compute(150, table, st, opt, clock));
}
BENCHMARK(BM_ComputeRow);

} // namespace

BENCHMARK_MAIN();
