// A route's fare data: route and section texts, the .hy3 file's bytes, loading the fares.
#include "Fakes.h"
#include "TestFiles.h"
#include "model/FareData.h"
#include "model/Hy3File.h"
#include "model/K40Error.h"
#include <QTemporaryDir>
#include <QtTest>

using namespace FareData;

static QByteArray i16(int v) { return QByteArray(1, char(v & 0xFF)) + char((v >> 8) & 0xFF); }

// A record: name bytes, ticket number, v(k) = base + k.
static QByteArray record(const QByteArray& name, int ticket, int base) {
    QByteArray r = i16(int(name.size())) + name + i16(ticket);
    for (int k = 1; k <= ValueCount; ++k) r += i16(base + k);
    return r;
}
// A file of count records S1, S2, ... with v(k) = 100 r + k; of them, `records` if given.
static QByteArray fileOf(int count, int records = -1) {
    QByteArray f = i16(count);
    for (int r = 1; r <= (records < 0 ? count : records); ++r)
        f += record(QByteArray("S") + QByteArray::number(r), r, 100 * r);
    return f;
}
// The number of the error that f raises; 0 when it raises none.
template <typename F> int errorOf(F f) {
    try { f(); } catch (const K40Error& e) { return e.number(); }
    return 0;
}
struct Route { // what the route setting works on, with its message boxes recorded
    RouteTable table;
    RouteState state;
    RecordingMessageBox messages;
    FareLoadOutcome load(const QString& folder, const QString& route, int section) {
        state.startSection = static_cast<qint16>(section);
        return loadRouteFares(folder, route, state, table, messages);
    }
};

class TestFareData : public QObject {
    Q_OBJECT
private slots:
    // Route and section texts as entered on the console.
    void enteredTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fileName"); // of the route's data files; empty: not checked
        QTest::addColumn<int>("section");
        QTest::newRow("leading zeros") << u"00012"_qs << u"12"_qs << 12;
        QTest::newRow("empty") << QString() << u"0"_qs << 1;
        QTest::newRow("negative") << u"-5"_qs << u"-5"_qs << 1;
        QTest::newRow("300") << u"300"_qs << u"300"_qs << 300;
        QTest::newRow("301") << u"301"_qs << u"301"_qs << 300;
        QTest::newRow("blanks skipped, up to a letter") << u" 1 2x3"_qs << u"12"_qs << 12;
        // 2^64 + 5: a count that wrapped round would read 5.
        QTest::newRow("beyond 64 bits") << u"18446744073709551621"_qs << QString() << 300;
    }
    void enteredTexts() {
        QFETCH(QString, text); QFETCH(QString, fileName);
        if (!fileName.isEmpty()) QCOMPARE(routeFileName(text), fileName);
        QTEST(int(sectionFromText(text)), "section");
    }
    void records() {
        const QByteArray bytes = i16(3) + record({}, 1, 0) + record("\x92\xE2", 2, 10) +
                                 record("\x82\xA0\x82\xA2", -3, 30000);
        const Hy3File f = parseHy3(bytes + "junk");
        QVERIFY(f.usable() && f.problems.empty() && f.count == 3);
        // A name of 0 bytes: a 304-byte record.
        QCOMPARE(QStringList({f.rows[0].name, f.rows[1].name, f.rows[2].name}),
                 QStringList({"", "停", "あい"}));
        QCOMPARE(QList<int>({f.rows[1].ticket, f.rows[1].value(1), f.rows[1].value(150),
                             f.rows[2].ticket}), QList<int>({2, 11, 160, -3}));
        QCOMPARE(QList<qint64>({f.endOffset, f.trailingBytes}), QList<qint64>({bytes.size(), 4}));
        QCOMPARE(serializeHy3(f.rows), bytes);
        QCOMPARE(errorOf([] { serializeHy3(std::vector<RouteRow>(302)); }), 9);
        RouteRow longName;
        longName.name = QString(32768, u'停'); // 65536 bytes
        QCOMPARE(errorOf([&] { serializeHy3({longName}); }), 6);
    }
    // Each case first loads a good 4-record route at section 2, then the case's file.
    void loadFares_data() {
        QTest::addColumn<QByteArray>("bytes"); // null: no file at all
        QTest::addColumn<int>("section"); QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message"); // shown when it fails
        QTest::addColumn<int>("recordCount"); // afterwards; -999: the previous one
        const auto row = [](const char* tag, const QByteArray& bytes, int section,
                            FareLoadOutcome outcome, const QString& message, int recordCount) {
            QTest::newRow(tag) << bytes << section << int(outcome) << message << recordCount;
        };
        using enum FareLoadOutcome;
        const QString tooLarge = messageSectionTooLarge();
        const QString cut = u"運賃データファイルが途中で切れています（レコード数 6 のうち 3 件しかありません）。"_qs;
        row("missing file", QByteArray(), 1, NotFound, messageNotFound(), -999);
        row("empty file", "", 1, CountZero, messageCountZero(), 0);
        row("count 0", i16(0), 1, CountZero, messageCountZero(), 0);
        row("negative count", i16(-2), 1, SectionTooLarge, tooLarge, -2);
        row("section equal to count", fileOf(5), 5, SectionTooLarge, tooLarge, 5);
        row("count 302", fileOf(302), 1, Failed, u"運賃データのレコード数 302 が上限の 301 を超えています。"_qs, -999);
        row("shorter than count", fileOf(6, 3), 1, Failed, cut, -999);
        row("cut inside a record", fileOf(6).left(1000), 1, Failed, cut, -999);
        row("301 records, section count - 1", fileOf(301), 300, Loaded, {}, 301);
        row("name not in CP932", i16(2) + record("A\x82", 1, 0) + record("B", 2, 0), 1, Loaded, {},
            2);
        row("bytes after the last record", fileOf(3) + QByteArray(77, '\xAB'), 2, Loaded, {}, 3);
    }
    void loadFares() {
        QFETCH(QByteArray, bytes); QFETCH(int, section); QFETCH(int, recordCount);
        QTemporaryDir dir; const QString folder = withTrailingSeparator(dir.path());
        QVERIFY(writeFile(folder + u"7.hy3"_qs, fileOf(4)));
        if (!bytes.isNull()) QVERIFY(writeFile(folder + u"12.hy3"_qs, bytes));
        Route route; QCOMPARE(route.load(folder, u"7"_qs, 2), FareLoadOutcome::Loaded);
        QVERIFY(route.messages.shown.isEmpty() && route.state.currentRow == 2);
        route.state.currentRow = 3; // the bus has stepped on
        const RouteTable before = route.table;
        const FareLoadOutcome outcome = route.load(folder, u"12"_qs, section);
        QTEST(int(outcome), "outcome");
        const RouteState& state = route.state;
        QCOMPARE(int(state.recordCount), recordCount == -999 ? 4 : recordCount);
        if (outcome == FareLoadOutcome::Loaded) {
            QVERIFY(route.messages.shown.isEmpty());
            QCOMPARE(QList<int>({state.currentRow, state.loadedRows}),
                     QList<int>({section, recordCount}));
            const Hy3File f = parseHy3(bytes);
            for (int r = 1; r <= recordCount; ++r)
                QCOMPARE(route.table.row(r), f.rows[size_t(r - 1)]);
            if (recordCount < MaxRows) QCOMPARE(route.table.row(recordCount + 1), RouteRow{});
            return;
        }
        QCOMPARE(route.messages.shown.size(), 1);
        const ShownMessage& shown = route.messages.shown[0]; QTEST(shown.text, "message");
        QVERIFY(shown.title == u"カルテラVer4"_qs && shown.icon == MsgIcon::None &&
                shown.buttons == MsgButtons::Ok);
        // The previous table and current row stay.
        QCOMPARE(QList<int>({state.currentRow, state.loadedRows}), QList<int>({3, 4}));
        for (int r = 1; r <= MaxRows; ++r) QCOMPARE(route.table.row(r), before.row(r));
    }
    void fileLookup() {
        QTemporaryDir dir; QVERIFY(writeFile(dir.filePath(u"12.HY3"_qs), fileOf(3)));
        QVERIFY(writeFile(dir.filePath(u"0.hy3"_qs), fileOf(2)));
        Route route;
        // Without its separator the folder is a prefix of the file name.
        QCOMPARE(route.load(dir.path(), u"12"_qs, 1), FareLoadOutcome::NotFound);
        // The file name matches in any letter case.
        QCOMPARE(route.load(withTrailingSeparator(dir.path()), u"12"_qs, 1),
                 FareLoadOutcome::Loaded);
        QCOMPARE(route.table.row(3).name, u"S3"_qs);
        QCOMPARE(withTrailingSeparator(u"/data/fare/"_qs) + withTrailingSeparator(u"C:\\fare\\"_qs),
                 u"/data/fare/C:\\fare\\"_qs);
        // No folder is the working folder; no route is route 0.
        const QString old = QDir::currentPath(); QVERIFY(QDir::setCurrent(dir.path()));
        const FareLoadOutcome here = route.load(withTrailingSeparator({}), routeFileName({}), 1);
        QDir::setCurrent(old); QCOMPARE(here, FareLoadOutcome::Loaded);
        QCOMPARE(route.state.loadedRows, 2);
        // A folder that does not exist: the description of its error.
        QCOMPARE(route.load(u"/no/such/folder/"_qs, u"12"_qs, 1), FareLoadOutcome::Failed);
        QCOMPARE(route.messages.shown.last().text, u"パスが見つかりません。"_qs);
    }
};
QTEST_GUILESS_MAIN(TestFareData)
#include "tst_faredata.moc"
