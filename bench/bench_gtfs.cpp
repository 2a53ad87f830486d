// Importing the largest route of a large GTFS-JP feed: a made-up feed of 300
// routes, one of them of 300 stops each in a zone of its own, and 60,000 fare
// rules (every pair of that route's zones, the rest for other routes and for
// every route). Reading the feed and importing the route are timed apart.
// Then the same route with fares only from rules that need a zone passed on
// the way (contains_id), 1,000 to 100,000 of them, which every pair of stops
// could match.
#include "model/Gtfs.h"

#include <benchmark/benchmark.h>

namespace {

Gtfs::Files largeFeed() {
    Gtfs::Files f;
    QByteArray routes = "route_id,route_short_name,route_long_name\n";
    QByteArray trips = "route_id,trip_id,direction_id\n";
    QByteArray stops = "stop_id,stop_name,zone_id\n";
    QByteArray times = "trip_id,stop_id,stop_sequence\n";
    for (int s = 1; s <= 300; ++s)
        stops += "S" + QByteArray::number(s) + ",停留所" + QByteArray::number(s) + ",Z" +
                 QByteArray::number(s) + '\n';
    for (int r = 1; r <= 300; ++r) {
        const QByteArray id = "R" + QByteArray::number(r);
        routes += id + ',' + QByteArray::number(r) + ",系統" + QByteArray::number(r) + '\n';
        const int length = r == 1 ? 300 : 20 + r % 30;
        for (int t = 0; t < 3; ++t) {
            const QByteArray trip = id + "-" + QByteArray::number(t);
            trips += id + ',' + trip + ",0\n";
            for (int k = 1; k <= length; ++k)
                times += trip + ",S" + QByteArray::number((k + r) % 300 + 1) + ',' +
                         QByteArray::number(k) + '\n';
        }
    }
    QByteArray attributes = "fare_id,price\n";
    for (int p = 100; p <= 1000; p += 10)
        attributes += "F" + QByteArray::number(p) + ',' + QByteArray::number(p) + '\n';
    QByteArray rules = "fare_id,route_id,origin_id,destination_id\n";
    int count = 0;
    // Route 1's own: every pair of its zones.
    for (int a = 1; a <= 300 && count < 44850; ++a)
        for (int b = a + 1; b <= 300; ++b, ++count)
            rules += "F" + QByteArray::number(100 + (b - a) % 90 * 10) + ",R1,Z" +
                     QByteArray::number(a) + ",Z" + QByteArray::number(b) + '\n';
    // Others' and every route's, to 60,000.
    for (int k = 0; count < 60000; ++k, ++count)
        rules += "F500," + (k % 2 ? "R" + QByteArray::number(k % 299 + 2) : QByteArray()) + ",Z" +
                 QByteArray::number(k % 300 + 1) + ",Z" + QByteArray::number(k * 7 % 300 + 1) +
                 '\n';
    f[QStringLiteral("routes.txt")] = routes;
    f[QStringLiteral("trips.txt")] = trips;
    f[QStringLiteral("stops.txt")] = stops;
    f[QStringLiteral("stop_times.txt")] = times;
    f[QStringLiteral("fare_attributes.txt")] = attributes;
    f[QStringLiteral("fare_rules.txt")] = rules;
    return f;
}

// One route of 300 stops, each in a zone of its own, and count rules with a
// zone passed on the way: a quarter of any origin, a quarter to any
// destination, half for every route.
Gtfs::Files zonesPassedFeed(int count) {
    Gtfs::Files f;
    QByteArray stops = "stop_id,stop_name,zone_id\n";
    QByteArray times = "trip_id,stop_id,stop_sequence\n";
    for (int s = 1; s <= 300; ++s) {
        const QByteArray n = QByteArray::number(s);
        stops += "S" + n + ",停留所" + n + ",Z" + n + '\n';
        times += "T1,S" + n + ',' + n + '\n';
    }
    QByteArray attributes = "fare_id,price\n";
    for (int p = 100; p <= 1000; p += 10)
        attributes += "F" + QByteArray::number(p) + ',' + QByteArray::number(p) + '\n';
    QByteArray rules = "fare_id,route_id,origin_id,destination_id,contains_id\n";
    const auto zone = [](int k) { return "Z" + QByteArray::number(k % 300 + 1); };
    for (int k = 0; k < count; ++k)
        rules += "F" + QByteArray::number(100 + k % 91 * 10) + ',' + (k % 2 ? "R1" : "") + ',' +
                 (k % 4 == 0 ? QByteArray() : zone(k)) + ',' +
                 (k % 4 == 1 ? QByteArray() : zone(k / 300 + k * 7)) + ',' + zone(k / 7 + k * 13) +
                 '\n';
    f[QStringLiteral("routes.txt")] = "route_id,route_short_name\nR1,1\n";
    f[QStringLiteral("trips.txt")] = "route_id,trip_id\nR1,T1\n";
    f[QStringLiteral("stops.txt")] = stops;
    f[QStringLiteral("stop_times.txt")] = times;
    f[QStringLiteral("fare_attributes.txt")] = attributes;
    f[QStringLiteral("fare_rules.txt")] = rules;
    return f;
}

const Gtfs::Files& feed() {
    static const Gtfs::Files f = largeFeed();
    return f;
}

void BM_ReadFeed(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(Gtfs::Feed::read(feed()));
    state.counters["fare_rules"] = 60000;
}

void BM_ImportLargestRoute(benchmark::State& state) {
    const Gtfs::Feed read = *Gtfs::Feed::read(feed());
    int found = 0;
    for (auto _ : state) {
        const Gtfs::Imported r = *Gtfs::importRoute(read, {QStringLiteral("R1"), {}, {}, {}});
        found = r.faresFound;
        benchmark::DoNotOptimize(r.rows.data());
    }
    state.counters["stops"] = 300;
    state.counters["fares_found"] = found;
}

void BM_ReadAndImport(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            Gtfs::importRoute(*Gtfs::Feed::read(feed()), {QStringLiteral("R1"), {}, {}, {}}));
}

void BM_ImportWithZonesPassed(benchmark::State& state) {
    const Gtfs::Feed read = *Gtfs::Feed::read(zonesPassedFeed(int(state.range(0))));
    int found = 0;
    double sum = 0; // of every fare, to tell that a faster matching finds the same
    for (auto _ : state) {
        const Gtfs::Imported r = *Gtfs::importRoute(read, {QStringLiteral("R1"), {}, {}, {}});
        found = r.faresFound;
        sum = 0;
        for (const FareData::RouteRow& row : r.rows)
            for (qint16 v : row.v)
                sum += v;
        benchmark::DoNotOptimize(r.rows.data());
    }
    state.counters["contains_rules"] = double(state.range(0));
    state.counters["fares_found"] = found;
    state.counters["fare_sum"] = sum;
}

} // namespace

BENCHMARK(BM_ReadFeed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportLargestRoute)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndImport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportWithZonesPassed)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
