// Reading a full route and computing a row's display.
#include "console/DataIo.h"
#include "console/FareRow.h"
#include "platform/Services.h"

#include <benchmark/benchmark.h>

namespace {

class StillClock : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 5), QTime(9, 5, 7)); }
    qint64 monotonicMs() const override { return 0; }
    void wait(int) override {}
};

std::vector<DataIo::RouteRow> fullRoute() {
    std::vector<DataIo::RouteRow> rows(DataIo::MaxRows);
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].name = QStringLiteral("停留所%1番").arg(i + 1);
        rows[i].ticket = static_cast<qint16>(i + 1);
        for (size_t k = 0; k < rows[i].v.size(); ++k) rows[i].v[k] = static_cast<qint16>(170 + 10 * k);
    }
    return rows;
}

void BM_ParseFullRoute(benchmark::State& state) {
    const QByteArray bytes = DataIo::serializeHy3(fullRoute());
    for (auto _ : state) benchmark::DoNotOptimize(DataIo::parseHy3(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ParseFullRoute);

void BM_ComputeRow(benchmark::State& state) {
    DataIo::RouteTable table;
    int k = 1;
    for (const auto& r : fullRoute()) table.row(k++) = r;
    DataIo::RouteState st;
    st.startSection = 1;
    st.routeText = QStringLiteral("012");
    FareRow::Options opt;
    opt.lateNight = true;
    opt.infoSectionOn = opt.infoRouteOn = true;
    StillClock clock;
    for (auto _ : state) benchmark::DoNotOptimize(FareRow::Compute(150, table, st, opt, clock));
}
BENCHMARK(BM_ComputeRow);

} // namespace

BENCHMARK_MAIN();
