// Routes from GTFS-JP feeds: the trip taken, the fares between every pair of
// its stops, the announcements, the CSV the reader takes, every problem it reports.
#include "model/Cp932.h"
#include "model/Gtfs.h"
#include "model/StarterSettings.h"
#include "model/TapeFile.h"

#include <QtTest>

using Gtfs::Files;

namespace {
// A feed of two routes. R1 runs S1 to S5 in direction 0 (T1, and the short
// T3), back S5 to S2 in direction 1 (T2), and as a loop S1 S3 S5 S3 (T5); S1
// and S2 share zone A, S3 and S4 zone B, S5 is zone C. R2 runs S1 to S3.
Files feed() {
    return {
        {u"routes.txt"_qs, "route_id,route_short_name,route_long_name\nR1,1,駅前線\nR2,2,港線\n"},
        {u"stops.txt"_qs, "stop_id,stop_name,zone_id\n"
                          "S1,駅前,A\nS2,本町,A\nS3,市役所前,B\nS4,中央公園,B\nS5,港,C\n"},
        {u"trips.txt"_qs, "route_id,trip_id,direction_id,trip_headsign\n"
                          "R1,T1,0,港\nR1,T2,1,本町\nR1,T3,0,市役所前\nR2,T4,0,市役所前\n"
                          "R1,T5,0,循環\n"},
        {u"stop_times.txt"_qs, "trip_id,stop_id,stop_sequence\n"
                               "T1,S1,10\nT1,S2,20\nT1,S3,30\nT1,S4,40\nT1,S5,50\n"
                               "T2,S5,10\nT2,S4,20\nT2,S3,30\nT2,S2,40\nT3,S1,10\nT3,S2,20\n"
                               "T3,S3,30\nT4,S1,10\nT4,S2,20\nT4,S3,30\n"
                               "T5,S1,1\nT5,S3,2\nT5,S5,3\nT5,S3,4\n"},
        {u"fare_attributes.txt"_qs, "fare_id,price,currency_type\nF150,150,JPY\nF180,180,JPY\n"
                                    "F200,200,JPY\nF300,300,JPY\nF500,500,JPY\n"},
        // F180, F200 and F300 for A to B (round the loop); F500 for every route,
        // where R1 has its own.
        {u"fare_rules.txt"_qs, "fare_id,route_id,origin_id,destination_id\nF150,R1,A,A\n"
                               "F200,R1,A,B\nF180,R1,A,B\nF300,R1,A,C\nF200,R1,B,C\nF300,R1,A,B\n"
                               "F150,R1,B,B\nF500,,A,B\nF500,,B,B\n"}};
}
// The import of files, or nothing and what the reading or the import says in error.
std::optional<Gtfs::Imported> import(const Files& files, const Gtfs::ImportRequest& request,
                                     QString* error) {
    const std::optional<Gtfs::Feed> feed = Gtfs::Feed::read(files, error);
    return feed ? Gtfs::importRoute(*feed, request, error) : std::nullopt;
}
// Rows 2 on as "v1; v1 v2; ...", v(1..i-1) of row i; "!" marks a row with a
// fare from its own stop on, or a ticket not its number. The step chime is
// not a fare.
QString fares(const Gtfs::Imported& r) {
    QStringList rows;
    for (size_t i = 0; i < r.rows.size(); ++i) {
        QStringList v;
        bool bad = r.rows[i].ticket != qint16(i + 1);
        for (size_t k = 0; k < r.rows[i].v.size(); ++k)
            if (k < i)
                v << QString::number(r.rows[i].v[k]);
            else if (k + 1 != StarterSettings::StepChimeColumn)
                bad |= r.rows[i].v[k] != 0;
        if (i > 0 || bad) rows << v.join(u' ') + (bad ? u"!"_qs : QString());
    }
    return rows.join(u"; ");
}

} // namespace

class TestGtfs : public QObject {
    Q_OBJECT
private slots:
    // The import of "<route> [direction <d>|trip <id>|flat <yen>]" from the
    // feed with from changed to to in file (from "": the file made to, or
    // removed), or what the reading or the import says when it refuses. Fares
    // by the zones shared (A A B B C), the route's own rules first, the lower
    // of two; a zone passed on the way (contains_id) counts those of both ends.
    void imports_data() {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("result"); // trip: stops | fares | found, missing; or the error
        const auto row = [](const char* tag, const char* request, const char* file,
                            const QByteArray& from, const QByteArray& to,
                            const QByteArray& result) {
            QTest::newRow(tag) << QString::fromUtf8(request) << QString::fromUtf8(file) << from
                               << to << QString::fromUtf8(result);
        };
        const QByteArray t1 = "T1: 駅前 本町 市役所前 中央公園 港 | ",
                         all = "150; 180 180; 180 180 150; 300 300 200 200 | 10, 0 | "
                               "2>3:180 1>3:180 2>4:180 1>4:180",
                         c = "fare_id,route_id,origin_id,destination_id,contains_id\n";
        row("by short name", "1", "", {}, {}, t1 + all);
        row("by long name", "駅前線", "", {}, {}, t1 + all);
        row("the other direction", "R1 direction 1", "", {}, {},
            "T2: 港 中央公園 市役所前 本町 | 0; 0 150; 0 0 0 | 1, 5");
        row("a trip by name", "R1 trip T3", "", {}, {},
            "T3: 駅前 本町 市役所前 | 150; 180 180 | 3, 0 | 2>3:180 1>3:180");
        // Round the loop A to B costs more: the fare does not fall back.
        row("a loop", "R1 trip T5", "", {}, {},
            "T5: 駅前 市役所前 港 市役所前 | 180; 300 200; 300 150 0 | 5, 1 | 1>2:180 1>4:300");
        // The rules name S3's zone B, the trip stops at its sibling pole or
        // at a pole of another zone within a station of zone B.
        const QByteArray poles = "stop_id,stop_name,zone_id,parent_station\nS1,駅前,A,\n"
                                 "S2,本町,A,\nS3,市役所前１番のりば,X,ST\nS4,中央公園,B,\nS5,港,C,\n";
        row("a sibling pole", "R1", "stops.txt", {},
            poles + "ST,市役所前,,\nS6,市役所前２番のりば,B,ST\n", t1 + all);
        row("the station's zone", "R1", "stops.txt", {}, poles + "ST,市役所前,B,\n", t1 + all);
        row("a zone passed", "R1", "fare_rules.txt", {}, c + "F500,R1,,,B\n",
            t1 + "0; 500 500; 500 500 500; 500 500 500 500 | 9, 1");
        row("from A to C through B", "R1", "fare_rules.txt", {}, c + "F300,R1,A,C,B\n",
            t1 + "0; 0 0; 0 0 0; 300 300 0 0 | 2, 8");
        row("the lower of zones and a zone passed", "R1", "fare_rules.txt", {},
            c + "F300,R1,A,C,\nF200,R1,,C,B\n",
            t1 + "0; 0 0; 0 0 0; 200 200 200 200 | 4, 6 | 2>5:200 1>5:200");
        row("the route's own first", "R1", "fare_rules.txt", {}, c + "F150,,,,A\nF180,R1,,,B\n",
            t1 + "150; 180 180; 180 180 180; 180 180 180 180 | 10, 0");
        row("rules for every route only", "R2", "", {}, {},
            "T4: 駅前 本町 市役所前 | 0; 500 500 | 2, 1");
        row("a flat fare for the rest", "R2 flat 210", "", {}, {},
            "T4: 駅前 本町 市役所前 | 210; 500 500 | 2, 1");
        row("a name CP932 cannot hold", "R1", "stops.txt", "本町", "𠮷田町",
            "T1: 駅前 吉田町 市役所前 中央公園 港 | " + all +
                " | stops.txt, line 3: the name "
                "\"𠮷田町\" holds characters that CP932 cannot store; written as \"吉田町\"");
        row("a missing file", "R1", "stop_times.txt", {}, {},
            "stop_times.txt: the feed has no such file");
        row("a missing column", "R1", "stops.txt", "stop_name", "name",
            "stops.txt, line 1: the column \"stop_name\" is missing");
        row("an unknown route", "駅前", "", {}, {},
            "routes.txt: there is no route \"駅前\"; the closest: 1 駅前線 (R1), 2 港線 (R2)");
        row("a stop without a zone", "R1", "stops.txt", "S3,市役所前,B", "S3,市役所前,",
            "stops.txt, line 4: the stop \"市役所前\" (S3) has no zone_id, which the fares of the "
            "route R1 need");
        row("a price not whole yen", "R1", "fare_attributes.txt", "F180,180", "F180,180.5",
            "fare_attributes.txt, line 3: the price \"180.5\" of the fare \"F180\" is not whole "
            "yen");
        row("a quote never closed", "R1", "routes.txt", "R2,2,", "R2,\"2,",
            "routes.txt, line 3: a quoted field is not closed");
        row("a name longer than fare data holds", "R1", "stops.txt", "S3,市役所前",
            "S3," + QByteArray(65536, 'x'),
            "stops.txt, line 4: the name of the stop \"S3\" takes 65536 bytes in CP932; a name "
            "holds at most 65535");
        row("a stop time of no stop", "R1", "stop_times.txt", "T4,S3", "T4,S9",
            "stop_times.txt, line 16: the stop \"S9\" is not in stops.txt");
        QByteArray more = "T4,S3,30\n";
        for (int k = 0; k < 301; ++k)
            more +=
                "T3,S" + QByteArray::number(k % 5 + 1) + ',' + QByteArray::number(100 + k) + '\n';
        row("a trip of more than 300 stops", "R1", "stop_times.txt", "T4,S3,30\n", more,
            "stop_times.txt: the trip \"T3\" has 304 stops; a route holds at most 300");
    }
    void imports() {
        QFETCH(QString, request);
        QFETCH(QString, file);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        Files f = feed();
        if (from.isEmpty() && to.isEmpty()) f.remove(file);
        QVERIFY(from.isEmpty() || f[file].contains(from));
        if (!to.isEmpty()) f[file] = from.isEmpty() ? to : QByteArray(f[file]).replace(from, to);
        const QString how = request.section(u' ', 1, 1), what = request.section(u' ', 2);
        Gtfs::ImportRequest q{request.section(u' ', 0, 0), {}, {}, {}};
        if (how == u"direction") q.direction = what.toInt();
        if (how == u"trip") q.trip = what;
        if (how == u"flat") q.flatFare = qint16(what.toInt());
        QString error;
        const auto r = import(f, q, &error);
        QStringList several; // "ticket>stop:taken" where a ride has several prices
        for (const auto& p : r ? r->severalPrices : decltype(r->severalPrices){})
            several << u"%1>%2:%3"_qs.arg(p.ticket).arg(p.stop).arg(p.taken);
        QTEST(r ? u"%1: %2 | %3 | %4, %5"_qs.arg(r->trip.id, r->stopNames.join(u' '), fares(*r))
                          .arg(r->faresFound)
                          .arg(r->faresMissing.size()) +
                      (several.isEmpty() ? QString() : u" | "_qs + several.join(u' ')) +
                      (r->notes.isEmpty() ? QString() : u" | "_qs + r->notes.join(u"; "))
                : error,
              "result");
    }
    // The greeting names where the bus goes: the trip's headsign, else its last stop.
    void announcements_data() {
        QTest::addColumn<QString>("trip"); // T1's headsign
        QTest::addColumn<QString>("greeting");
        QTest::newRow("headsign") << u"港・中央公園"_qs << u"1、港・中央公園行きです。"_qs;
        QTest::newRow("no headsign") << QString() << u"1、港行きです。"_qs;
        QTest::newRow("a loop") << u"市内循環"_qs << u"1、市内循環です。"_qs;
    }
    void announcements() {
        QFETCH(QString, trip);
        QFETCH(QString, greeting);
        QCOMPARE(Gtfs::toCp932Characters(u"Ａ ① 🚌 𡈽"_qs), u"Ａ ① 〓 土"_qs);
        Files f = feed();
        f[u"trips.txt"_qs].replace("R1,T1,0,港\n", "R1,T1,0," + trip.toUtf8() + '\n');
        const auto r = import(f, {u"R1"_qs, {}, {}, {}}, nullptr);
        QVERIFY(r);
        const QString text = Cp932::decode(Gtfs::announcements(*r).bytes);
        QCOMPARE(text.split(u"\r\n"_qs),
                 (QStringList{u"ご乗車ありがとうございます。このバスは、"_qs + greeting + u",0,1"_qs,
                              u"次は、本町です。,1,0"_qs, u"次は、市役所前です。,1,0"_qs,
                              u"次は、中央公園です。,1,0"_qs, u"次は、終点、港です。,1,2"_qs,
                              u"終点、港です。ご乗車ありがとうございました。,0,3"_qs, QString()}));
    }
    // A long route of one fare for any ride, a name with quotes and a comma at
    // stop 5: the fares beyond any board, the step chimes where no fare is.
    void longRoute_data() {
        QTest::addColumn<int>("stops");
        QTest::addColumn<QString>("chimes"); // the chime column of rows 1, 2, n-1, n
        QTest::addColumn<QString>("columns");
        QTest::newRow("80 stops") << 80 << "2 1 1 3" << "fares in v1-v79; step chimes in v121 (2 "
            "at the first stop, 1 on the way, 3 at the terminal); free: v80-v120, v122-v150";
        QTest::newRow("121 stops") << 121 << "2 1 1 3" << "fares in v1-v120; step chimes in v121 "
            "(2 at the first stop, 1 on the way, 3 at the terminal); free: v122-v150";
        QTest::newRow("122 stops: the fares reach the chimes") << 122 << "0 0 0 210" << "fares in "
            "v1-v121; no step chimes: the fares reach v121, where the starter settings read them; "
            "free: v122-v150";
    }
    void longRoute() {
        QFETCH(int, stops);
        QByteArray names = "stop_id,stop_name\n", times = "trip_id,stop_id,stop_sequence\n";
        for (int i = 1; i <= stops; ++i) {
            const QByteArray n = QByteArray::number(i);
            names += "S" + n + (i == 5 ? ",\"大\"\"橋\"\", 東口\"\n" : ",停" + n + "\n");
            times += "T,S" + n + "," + n + "\n";
        }
        const auto r = import({{u"routes.txt"_qs, "route_id\nR\n"},
                               {u"trips.txt"_qs, "route_id,trip_id\nR,T\n"},
                               {u"stops.txt"_qs, names}, {u"stop_times.txt"_qs, times},
                               {u"fare_attributes.txt"_qs, "fare_id,price\nF,210\n"},
                               {u"fare_rules.txt"_qs, "fare_id\nF\n"}},
                              {u"R"_qs, {}, {}, {}}, nullptr);
        QVERIFY(r);
        QCOMPARE(int(r->rows.size()), stops);
        QCOMPARE(r->rows.back().value(stops - 1), 210);
        QCOMPARE(int(r->faresFound), stops * (stops - 1) / 2);
        QStringList chimes;
        for (int row : {1, 2, stops - 1, stops})
            chimes << QString::number(
                r->rows[size_t(row - 1)].value(StarterSettings::StepChimeColumn));
        QTEST(chimes.join(u' '), "chimes");
        QTEST(Gtfs::columnsUsed(stops), "columns");
        // The tape cannot hold a quote within a quoted text: it reads "”", as told.
        const TapeWriting written = Gtfs::announcements(*r);
        const TapeReading tape = TapeFile::read(written.bytes);
        QVERIFY(tape.problems.empty());
        QCOMPARE(tape.rows.size(), size_t(stops + 1));
        QCOMPARE(tape.rows[4].text, u"次は、大”橋”, 東口です。"_qs);
        QCOMPARE(written.changed.size(), size_t(1));
        QCOMPARE(written.changed.front().row, size_t(4));
        QCOMPARE(tape.rows.front().text,
                 u"ご乗車ありがとうございます。このバスは、停%1行きです。"_qs.arg(stops));
    }
    void csvAsFeedsWriteIt() {
        // A byte order mark, CR LF, quoted fields, columns in another order, no
        // direction, zones or fares, blank lines; a pole's name without its
        // platform, a station's name for its poles.
        const Files f{
            {u"routes.txt"_qs, "\xEF\xBB\xBFroute_long_name,route_id\r\n\"循環, 東回り\",C\r\n"},
            {u"stops.txt"_qs, "stop_name,parent_station,stop_id\r\n\"川崎駅\",,ST\r\n"
                              "川崎駅1番のりば,ST,P1\r\n\"南町２番のりば\",,P2\r\n\r\n"},
            {u"trips.txt"_qs, "trip_id,route_id\r\nX,C\r\n"},
            {u"stop_times.txt"_qs, "stop_sequence,stop_id,trip_id\r\n2,P2,X\r\n1,P1,X\r\n"}};
        const auto r = import(f, {u"循環, 東回り"_qs, {}, {}, {}}, nullptr);
        QVERIFY(r);
        QCOMPARE(r->stopNames, (QStringList{u"川崎駅"_qs, u"南町"_qs}));
        QCOMPARE(r->faresMissing.size(), size_t(1));
        QCOMPARE(Gtfs::listRoutes(*Gtfs::Feed::read(f)).front().faresKnown, false);
    }
    void routesListed() {
        const auto routes = Gtfs::listRoutes(*Gtfs::Feed::read(feed()));
        QCOMPARE(routes.size(), size_t(2));
        QCOMPARE(routes[0].route.title(), u"1 駅前線"_qs);
        QCOMPARE(routes[0].directions, (QList<int>{0, 1}));
        QCOMPARE(routes[0].trips, 4);
        QCOMPARE(routes[0].longestTrip.size(), 5);
        QVERIFY(routes[0].faresKnown && routes[1].faresKnown); // R2 by the rules for every route
    }
};

QTEST_APPLESS_MAIN(TestGtfs)
#include "tst_gtfs.moc"
