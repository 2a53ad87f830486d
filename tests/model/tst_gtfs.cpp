// Routes from GTFS-JP feeds written here: which trip is taken, the fares
// between every pair of its stops, the announcements, what the reader takes
// of the CSV files, and every problem it reports.
#include "model/Cp932.h"
#include "model/Gtfs.h"

#include <QtTest>

using Gtfs::Files;

namespace {

// A feed of two routes. R1 runs S1 to S5 in direction 0 (T1, and the short
// T3), back S5 to S2 in direction 1 (T2); S1 and S2 share zone A, S3 and S4
// zone B, S5 is zone C. R2 runs S1 to S3.
Files feed() {
    Files f;
    f[u"routes.txt"_qs] = "route_id,route_short_name,route_long_name\n"
                          "R1,1,駅前線\n"
                          "R2,2,港線\n";
    f[u"stops.txt"_qs] = "stop_id,stop_name,zone_id\n"
                         "S1,駅前,A\nS2,本町,A\nS3,市役所前,B\nS4,中央公園,B\nS5,港,C\n";
    f[u"trips.txt"_qs] = "route_id,trip_id,direction_id,trip_headsign\n"
                         "R1,T1,0,港\nR1,T2,1,本町\nR1,T3,0,市役所前\nR2,T4,0,市役所前\n";
    QByteArray times = "trip_id,stop_id,stop_sequence\n";
    const auto trip = [&](const char* id, std::initializer_list<const char*> stops) {
        int seq = 1;
        for (const char* s : stops)
            times += QByteArray(id) + ',' + s + ',' + QByteArray::number(10 * seq++) + '\n';
    };
    trip("T1", {"S1", "S2", "S3", "S4", "S5"});
    trip("T2", {"S5", "S4", "S3", "S2"});
    trip("T3", {"S1", "S2", "S3"});
    trip("T4", {"S1", "S2", "S3"});
    f[u"stop_times.txt"_qs] = times;
    f[u"fare_attributes.txt"_qs] = "fare_id,price,currency_type\n"
                                   "F150,150,JPY\nF180,180,JPY\nF200,200,JPY\nF300,300,JPY\n"
                                   "F500,500,JPY\n";
    f[u"fare_rules.txt"_qs] = "fare_id,route_id,origin_id,destination_id\n"
                              "F150,R1,A,A\n"
                              "F200,R1,A,B\n"
                              "F180,R1,A,B\n" // the lower of two wins
                              "F300,R1,A,C\n"
                              "F200,R1,B,C\n"
                              "F150,R1,B,B\n"
                              "F500,,A,B\n" // for every route: R1 has its own
                              "F500,,B,B\n";
    return f;
}

// The feed of files as read; the test fails when it cannot be.
Gtfs::Feed read(const Files& files) {
    QString error;
    const std::optional<Gtfs::Feed> feed = Gtfs::Feed::read(files, &error);
    if (!feed) qFatal("%s", qPrintable(error));
    return *feed;
}

// The import, or a failed test with what it says, when the import is refused.
Gtfs::Imported import(const Files& files, const Gtfs::ImportRequest& request) {
    QString error;
    const std::optional<Gtfs::Imported> r = Gtfs::importRoute(read(files), request, &error);
    if (!r) qFatal("%s", qPrintable(error));
    return *r;
}
Gtfs::Imported import(const Files& files, const QString& route, std::optional<int> direction = {},
                      const QString& trip = {}) {
    return import(files, {route, direction, trip, {}});
}

// What the reading or import of files says, or "" when it goes through.
QString problem(const Files& files, const QString& route = u"R1"_qs) {
    QString error;
    const std::optional<Gtfs::Feed> feed = Gtfs::Feed::read(files, &error);
    if (feed && Gtfs::importRoute(*feed, {route, {}, {}, {}}, &error)) return {};
    return error;
}

// v(1..n) of a row as "a b c".
QString fares(const FareData::RouteRow& row, int n) {
    QStringList v;
    for (int k = 0; k < n; ++k)
        v << QString::number(row.v[size_t(k)]);
    return v.join(u' ');
}

} // namespace

class TestGtfs : public QObject {
    Q_OBJECT
private slots:
    void faresBetweenEveryPair() {
        const Gtfs::Imported r = import(feed(), u"R1"_qs);
        QCOMPARE(r.trip.id, u"T1"_qs); // the longest of the route
        QCOMPARE(r.stopNames,
                 (QStringList{u"駅前"_qs, u"本町"_qs, u"市役所前"_qs, u"中央公園"_qs, u"港"_qs}));
        QCOMPARE(r.rows.size(), size_t(5));
        for (int i = 1; i <= 5; ++i)
            QCOMPARE(r.rows[size_t(i - 1)].ticket, qint16(i));
        // Row i, tickets 1..5: zones shared (A A B B C); the route's own rules
        // before those for every route; the lower of two; 0 for k >= i.
        QCOMPARE(fares(r.rows[0], 5), u"0 0 0 0 0"_qs);
        QCOMPARE(fares(r.rows[1], 5), u"150 0 0 0 0"_qs);
        QCOMPARE(fares(r.rows[2], 5), u"180 180 0 0 0"_qs);
        QCOMPARE(fares(r.rows[3], 5), u"180 180 150 0 0"_qs);
        QCOMPARE(fares(r.rows[4], 5), u"300 300 200 200 0"_qs);
        QCOMPARE(r.faresFound, 10);
        QCOMPARE(r.faresMissing, 0);
    }

    // Rules that need a zone passed on the way (contains_id): the zones of
    // both ends count as passed, origin and destination narrow the rule, the
    // lowest fare wins, and the route's own rules come before every route's.
    void zonesPassed_data() {
        QTest::addColumn<QByteArray>("rules");
        QTest::addColumn<QString>("fares"); // rows 2 to 5 of T1 (zones A A B B C)
        QTest::newRow("a zone passed")
            << QByteArray("F500,R1,,,B\n")
            << u"0 0 0 0; 500 500 0 0; 500 500 500 0; 500 500 500 500"_qs;
        QTest::newRow("from A to C through B")
            << QByteArray("F300,R1,A,C,B\n") << u"0 0 0 0; 0 0 0 0; 0 0 0 0; 300 300 0 0"_qs;
        QTest::newRow("the lower of zones and a zone passed")
            << QByteArray("F300,R1,A,C,\nF200,R1,,C,B\n")
            << u"0 0 0 0; 0 0 0 0; 0 0 0 0; 200 200 200 200"_qs;
        QTest::newRow("the route's own first")
            << QByteArray("F150,,,,A\nF180,R1,,,B\n")
            << u"150 0 0 0; 180 180 0 0; 180 180 180 0; 180 180 180 180"_qs;
    }

    void zonesPassed() {
        QFETCH(QByteArray, rules);
        Files f = feed();
        f[u"fare_rules.txt"_qs] = "fare_id,route_id,origin_id,destination_id,contains_id\n" + rules;
        const Gtfs::Imported r = import(f, u"R1"_qs);
        QStringList rows;
        for (size_t i = 1; i < r.rows.size(); ++i)
            rows << fares(r.rows[i], 4);
        QTEST(rows.join(u"; "_qs), "fares");
    }

    void tripsChosen_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<int>("direction"); // -1: any
        QTest::addColumn<QString>("trip");
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QString>("stops");
        QTest::newRow("by short name, longest")
            << u"1"_qs << -1 << QString() << u"T1"_qs << u"駅前 本町 市役所前 中央公園 港"_qs;
        QTest::newRow("by long name")
            << u"駅前線"_qs << -1 << QString() << u"T1"_qs << u"駅前 本町 市役所前 中央公園 港"_qs;
        QTest::newRow("the other direction")
            << u"R1"_qs << 1 << QString() << u"T2"_qs << u"港 中央公園 市役所前 本町"_qs;
        QTest::newRow("a trip by name")
            << u"R1"_qs << -1 << u"T3"_qs << u"T3"_qs << u"駅前 本町 市役所前"_qs;
    }

    void tripsChosen() {
        QFETCH(QString, route);
        QFETCH(int, direction);
        QFETCH(QString, trip);
        const Gtfs::Imported r =
            import(feed(), route, direction < 0 ? std::nullopt : std::optional(direction), trip);
        QTEST(r.trip.id, "taken");
        QTEST(r.stopNames.join(u' '), "stops");
    }

    void routeWithoutOwnRules() {
        // R2 has no rules of its own: those for every route apply, and a pair
        // no rule covers stays blank; a flat fare fills those.
        Gtfs::Imported r = import(feed(), u"R2"_qs);
        QCOMPARE(fares(r.rows[2], 3), u"500 500 0"_qs);
        QCOMPARE(fares(r.rows[1], 3), u"0 0 0"_qs); // A to A: no rule for every route
        QCOMPARE(r.faresFound, 2);
        QCOMPARE(r.faresMissing, 1);
        Gtfs::ImportRequest request{u"R2"_qs, {}, {}, qint16(210)};
        r = import(feed(), request);
        QCOMPARE(fares(r.rows[1], 3), u"210 0 0"_qs);
        QCOMPARE(fares(r.rows[2], 3), u"500 500 0"_qs);
    }

    void announcements() {
        const QString text = Cp932::decode(Gtfs::announcements(import(feed(), u"R1"_qs)));
        QCOMPARE(text.split(u"\r\n"_qs),
                 (QStringList{u"ご乗車ありがとうございます。このバスは、1、港行きです。,0,1"_qs,
                              u"次は、本町です。,1,0"_qs, u"次は、市役所前です。,1,0"_qs,
                              u"次は、中央公園です。,1,0"_qs, u"次は、終点、港です。,1,2"_qs,
                              u"終点、港です。ご乗車ありがとうございました。,0,3"_qs, QString()}));
    }

    void csvAsFeedsWriteIt() {
        // A byte order mark, CR LF, quoted fields, columns in another order,
        // optional columns absent (no direction, no zones, no fares), blank
        // lines; a pole's name without its platform, a station's name for its
        // poles.
        Files f;
        f[u"routes.txt"_qs] = "\xEF\xBB\xBFroute_long_name,route_id\r\n\"循環, 東回り\",C\r\n";
        f[u"stops.txt"_qs] = "stop_name,parent_station,stop_id\r\n"
                             "\"川崎駅\",,ST\r\n川崎駅1番のりば,ST,P1\r\n"
                             "\"南町２番のりば\",,P2\r\n\r\n";
        f[u"trips.txt"_qs] = "trip_id,route_id\r\nX,C\r\n";
        f[u"stop_times.txt"_qs] = "stop_sequence,stop_id,trip_id\r\n2,P2,X\r\n1,P1,X\r\n";
        const Gtfs::Imported r = import(f, u"循環, 東回り"_qs);
        QCOMPARE(r.stopNames, (QStringList{u"川崎駅"_qs, u"南町"_qs}));
        QCOMPARE(r.faresMissing, 1);
        QCOMPARE(Gtfs::listRoutes(read(f)).front().faresKnown, false);
    }

    void namesCp932CannotHold() {
        Files f = feed();
        f[u"stops.txt"_qs].replace("本町", "𠮷田町");
        const Gtfs::Imported r = import(f, u"R1"_qs);
        QCOMPARE(r.stopNames[1], u"吉田町"_qs);
        QCOMPARE(r.notes.size(), 1);
        QVERIFY(r.notes[0].startsWith(u"stops.txt, line 3: "_qs));
        QCOMPARE(Gtfs::toCp932Characters(u"Ａ ① 🚌 𡈽"_qs), u"Ａ ① 〓 土"_qs);
    }

    void problems_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("message");
        QTest::newRow("a missing file")
            << u"stop_times.txt"_qs << QByteArray() << QByteArray() << u"R1"_qs
            << u"stop_times.txt: the feed has no such file"_qs;
        QTest::newRow("a missing column")
            << u"stops.txt"_qs << QByteArray("stop_name") << QByteArray("name") << u"R1"_qs
            << u"stops.txt, line 1: the column \"stop_name\" is missing"_qs;
        QTest::newRow("an unknown route")
            << QString() << QByteArray() << QByteArray() << u"駅前"_qs
            << u"routes.txt: there is no route \"駅前\"; the closest: 1 駅前線 (R1), 2 港線 (R2)"_qs;
        QTest::newRow("a stop without a zone")
            << u"stops.txt"_qs << QByteArray("S3,市役所前,B") << QByteArray("S3,市役所前,")
            << u"R1"_qs
            << u"stops.txt, line 4: the stop \"市役所前\" (S3) has no zone_id, which the fares "
               u"of the route R1 need"_qs;
        QTest::newRow("a price not whole yen")
            << u"fare_attributes.txt"_qs << QByteArray("F180,180") << QByteArray("F180,180.5")
            << u"R1"_qs
            << u"fare_attributes.txt, line 3: the price \"180.5\" of the fare \"F180\" is not "
               u"whole yen"_qs;
        QTest::newRow("a quote never closed")
            << u"routes.txt"_qs << QByteArray("R2,2,") << QByteArray("R2,\"2,") << u"R1"_qs
            << u"routes.txt, line 3: a quoted field is not closed"_qs;
        QTest::newRow("a name longer than fare data holds")
            << u"stops.txt"_qs << QByteArray("S3,市役所前") << "S3," + QByteArray(65536, 'x')
            << u"R1"_qs
            << u"stops.txt, line 4: the name of the stop \"S3\" takes 65536 bytes in CP932; a "
               u"name holds at most 65535"_qs;
        QTest::newRow("a stop time of no stop")
            << u"stop_times.txt"_qs << QByteArray("T4,S3") << QByteArray("T4,S9") << u"R1"_qs
            << u"stop_times.txt, line 16: the stop \"S9\" is not in stops.txt"_qs;
    }

    void problems() {
        QFETCH(QString, file);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, route);
        Files f = feed();
        if (!file.isEmpty() && from.isEmpty()) f.remove(file);
        if (!from.isEmpty()) {
            QVERIFY(f[file].contains(from));
            f[file].replace(from, to);
        }
        QTEST(problem(f, route), "message");
    }

    void tripOfMoreThan300Stops() {
        Files f = feed();
        QByteArray times = f[u"stop_times.txt"_qs];
        for (int k = 0; k < 301; ++k)
            times +=
                "T3,S" + QByteArray::number(k % 5 + 1) + ',' + QByteArray::number(100 + k) + '\n';
        f[u"stop_times.txt"_qs] = times;
        QCOMPARE(problem(f),
                 u"stop_times.txt: the trip \"T3\" has 304 stops; a route holds at most 300"_qs);
    }

    void routesListed() {
        const auto routes = Gtfs::listRoutes(read(feed()));
        QCOMPARE(routes.size(), size_t(2));
        QCOMPARE(routes[0].route.title(), u"1 駅前線"_qs);
        QCOMPARE(routes[0].directions, (QList<int>{0, 1}));
        QCOMPARE(routes[0].trips, 3);
        QCOMPARE(routes[0].longestTrip.size(), 5);
        QVERIFY(routes[0].faresKnown && routes[1].faresKnown); // R2 by the rules for every route
    }
};

QTEST_APPLESS_MAIN(TestGtfs)
#include "tst_gtfs.moc"
