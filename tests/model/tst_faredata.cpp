// The route table, the fare data file and the fare part of setting a route,
// with files written by the test.
#include "Fakes.h"
#include "model/FareData.h"
#include "model/Hy3File.h"
#include "model/K40Error.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace FareData;

namespace {

QByteArray i16(qint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    return QByteArray(b, 2);
}

// A record: name bytes, ticket number, v(k) = base + k.
QByteArray record(const QByteArray& name, qint16 ticket, qint16 base) {
    QByteArray r = i16(static_cast<qint16>(name.size())) + name + i16(ticket);
    for (int k = 1; k <= ValueCount; ++k) r += i16(static_cast<qint16>(base + k));
    return r;
}

// A file of count records named S1, S2, ... with v(k) = 100 * r + k.
QByteArray fileOf(int count, int records = -1) {
    if (records < 0) records = count;
    QByteArray f = i16(static_cast<qint16>(count));
    for (int r = 1; r <= records; ++r)
        f += record(QByteArray("S") + QByteArray::number(r), static_cast<qint16>(r),
                    static_cast<qint16>(100 * r));
    return f;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestFareData : public QObject {
    Q_OBJECT
private slots:
    void clearAndSetCells();
    void setCellOutOfRange_data();
    void setCellOutOfRange();
    void normalisation_data();
    void normalisation();
    void sections_data();
    void sections();
    void parseRecords();
    void parseProblems_data();
    void parseProblems();
    void serializeRoundTrip();
    void readRoute_data();
    void readRoute();
    void fileNameIgnoresCase();
    void missingFolderShowsDescription();
    void emptyFolderIsWorkingFolder();
};

void TestFareData::clearAndSetCells() {
    RouteTable t;
    t.setCell(1, 1, u"みなと駅前"_qs);
    t.setCell(1, 2, 7);
    t.setCell(1, 3, 170);
    t.setCell(301, 152, -1);
    t.setCell(2, 30, u" 2 "_qs);
    QCOMPARE(t.row(1).name, u"みなと駅前"_qs);
    QCOMPARE(t.row(1).ticket, qint16(7));
    QCOMPARE(t.row(1).value(1), qint16(170));
    QCOMPARE(t.row(301).value(150), qint16(-1));
    QCOMPARE(t.row(2).value(28), qint16(2));
    t.clear();
    for (int r : {1, 2, 301}) QCOMPARE(t.row(r), RouteRow{});
}

void TestFareData::setCellOutOfRange_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("error");
    QTest::newRow("row 0") << 0 << 3 << 1 << 9;
    QTest::newRow("row 302") << 302 << 3 << 1 << 9;
    QTest::newRow("column 0") << 1 << 0 << 1 << 9;
    QTest::newRow("column 153") << 1 << 153 << 1 << 9;
    QTest::newRow("beyond 16 bits") << 1 << 3 << 40000 << 6;
}

void TestFareData::setCellOutOfRange() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, value);
    QFETCH(int, error);
    RouteTable t;
    try {
        t.setCell(row, column, value);
        QFAIL("no error raised");
    } catch (const K40Error& e) {
        QCOMPARE(e.number(), error);
    }
    try {
        t.setCell(1, 5, u"abc"_qs);
        QFAIL("no error raised");
    } catch (const K40Error& e) {
        QCOMPARE(e.number(), 13);
    }
}

void TestFareData::normalisation_data() {
    QTest::addColumn<QString>("routeText");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("leading zeros") << u"00012"_qs << u"12"_qs;
    QTest::newRow("plain") << u"12"_qs << u"12"_qs;
    QTest::newRow("empty") << QString() << u"0"_qs;
    QTest::newRow("zeros only") << u"000"_qs << u"0"_qs;
    QTest::newRow("five digits") << u"99999"_qs << u"99999"_qs;
}

void TestFareData::normalisation() {
    QFETCH(QString, routeText);
    QFETCH(QString, fileName);
    QCOMPARE(routeFileName(routeText), fileName);
    QCOMPARE(withTrailingSeparator(u"/data/fare"_qs), u"/data/fare/"_qs);
    QCOMPARE(withTrailingSeparator(u"/data/fare/"_qs), u"/data/fare/"_qs);
    QCOMPARE(withTrailingSeparator(u"C:\\fare\\"_qs), u"C:\\fare\\"_qs);
    QCOMPARE(withTrailingSeparator(QString()), QString());
}

void TestFareData::sections_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("section");
    QTest::newRow("000") << u"000"_qs << 1;
    QTest::newRow("empty") << QString() << 1;
    QTest::newRow("5") << u"5"_qs << 5;
    QTest::newRow("005") << u"005"_qs << 5;
    QTest::newRow("300") << u"300"_qs << 300;
    QTest::newRow("301") << u"301"_qs << 300;
    QTest::newRow("999") << u"999"_qs << 300;
    QTest::newRow("huge") << u"99999999999999999999999"_qs << 300;
}

void TestFareData::sections() {
    QFETCH(QString, text);
    QFETCH(int, section);
    QCOMPARE(int(sectionFromText(text)), section);
}

void TestFareData::parseRecords() {
    QByteArray bytes = i16(2) + record(QByteArray(), 1, 0) + record("\x92\xE2", 2, 10) + "junk";
    const Hy3File f = parseHy3(bytes);
    QVERIFY(f.usable());
    QCOMPARE(f.count, qint16(2));
    QCOMPARE(f.rows.size(), size_t(2));
    QCOMPARE(f.rows[0].name, QString()); // a name of 0 bytes: a 304-byte record
    QCOMPARE(f.rows[1].name, u"停"_qs);
    QCOMPARE(f.rows[1].ticket, qint16(2));
    QCOMPARE(f.rows[1].value(1), qint16(11));
    QCOMPARE(f.rows[1].value(150), qint16(160));
    QCOMPARE(f.endOffset, qint64(2 + 304 + 306));
    QCOMPARE(f.trailingBytes, qint64(4));
    QVERIFY(f.problems.empty());
}

void TestFareData::parseProblems_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("record");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<bool>("usable");
    QTest::newRow("empty file") << QByteArray() << int(Hy3Problem::TooShortForCount) << 0
                                << qint64(0) << false;
    QTest::newRow("one byte") << QByteArray("\x01", 1) << int(Hy3Problem::TooShortForCount) << 0
                              << qint64(0) << false;
    QTest::newRow("count 0") << i16(0) << int(Hy3Problem::CountZero) << 0 << qint64(0) << false;
    QTest::newRow("negative count") << i16(-3) << int(Hy3Problem::CountNegative) << 0 << qint64(0)
                                    << false;
    QTest::newRow("count 302") << fileOf(302) << int(Hy3Problem::CountTooLarge) << 0 << qint64(0)
                               << false;
    QTest::newRow("cut in numbers") << fileOf(3).left(2 + 306 + 306 + 100)
                                    << int(Hy3Problem::Truncated) << 3 << qint64(2 + 306 + 306)
                                    << false;
    QTest::newRow("cut in name length") << fileOf(3, 2) + "\x05"
                                        << int(Hy3Problem::Truncated) << 3
                                        << qint64(2 + 306 + 306) << false;
    QTest::newRow("records missing") << fileOf(5, 2) << int(Hy3Problem::Truncated) << 3
                                     << qint64(2 + 306 + 306) << false;
    QTest::newRow("bad name") << i16(2) + record("A\x82", 1, 0) + record("B", 2, 0)
                              << int(Hy3Problem::BadName) << 1 << qint64(2 + 2 + 1) << true;
}

void TestFareData::parseProblems() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, kind);
    QFETCH(int, record);
    QFETCH(qint64, offset);
    QFETCH(bool, usable);
    const Hy3File f = parseHy3(bytes);
    QVERIFY(!f.problems.empty());
    const Hy3Problem& p = f.problems.back();
    QCOMPARE(int(p.kind), kind);
    QCOMPARE(p.record, record);
    QCOMPARE(p.offset, offset);
    QVERIFY(!p.text.isEmpty());
    QCOMPARE(f.usable(), usable);
}

void TestFareData::serializeRoundTrip() {
    const QByteArray bytes = i16(3) + record("\x8E\x9F", 1, 5) + record(QByteArray(), 2, -7) +
                             record("\x82\xA0\x82\xA2", 3, 30000);
    QCOMPARE(serializeHy3(parseHy3(bytes).rows), bytes);
    std::vector<RouteRow> tooMany(302);
    QVERIFY_THROWS_EXCEPTION(K40Error, serializeHy3(tooMany));
}

// Each case first loads a good 4-record route at section 2, then tries the
// file of the case at the case's section.
void TestFareData::readRoute_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty name: no file at all
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("recordCount"); // afterwards; -999: the previous one
    const QString notFound = messageNotFound(), zero = messageCountZero(),
                  tooLarge = messageSectionTooLarge();
    const int ok = int(FareLoadOutcome::Loaded), failed = int(FareLoadOutcome::Failed);
    QTest::newRow("missing file") << QByteArray() << false << 1 << int(FareLoadOutcome::NotFound)
                                  << notFound << -999;
    QTest::newRow("empty file") << QByteArray() << true << 1 << int(FareLoadOutcome::CountZero)
                                << zero << 0;
    QTest::newRow("count 0") << i16(0) << true << 1 << int(FareLoadOutcome::CountZero) << zero
                             << 0;
    QTest::newRow("negative count") << i16(-2) << true << 1
                                    << int(FareLoadOutcome::SectionTooLarge) << tooLarge << -2;
    QTest::newRow("section equal to count") << fileOf(5) << true << 5
                                            << int(FareLoadOutcome::SectionTooLarge) << tooLarge
                                            << 5;
    QTest::newRow("section count - 1") << fileOf(5) << true << 4 << ok << QString() << 5;
    QTest::newRow("count 302") << fileOf(302) << true << 1 << failed
                               << u"運賃データのレコード数 302 が上限の 301 を超えています。"_qs
                               << -999;
    QTest::newRow("shorter than count")
        << fileOf(6, 3) << true << 1 << failed
        << u"運賃データファイルが途中で切れています（レコード数 6 のうち 3 件しかありません）。"_qs
        << -999;
    QTest::newRow("cut inside a record") << fileOf(6).left(1000) << true << 1 << failed
                                         << QString() << -999;
    QTest::newRow("name of 0 bytes") << i16(2) + record(QByteArray(), 1, 0) + record("B", 2, 0)
                                     << true << 1 << ok << QString() << 2;
    QTest::newRow("301 records") << fileOf(301) << true << 300 << ok << QString() << 301;
    QTest::newRow("bytes after the last record") << fileOf(3) + QByteArray(77, '\xAB') << true
                                                 << 2 << ok << QString() << 3;
}

void TestFareData::readRoute() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, exists);
    QFETCH(int, section);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    QFETCH(int, recordCount);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = withTrailingSeparator(dir.path());
    writeFile(folder + u"7.hy3"_qs, fileOf(4));
    if (exists) writeFile(folder + u"12.hy3"_qs, bytes);

    RouteTable table;
    RouteState state;
    RecordingMessageBox messages;
    state.startSection = 2;
    QCOMPARE(loadRouteFares(folder, u"7"_qs, state, table, messages), FareLoadOutcome::Loaded);
    QVERIFY(messages.shown.isEmpty());
    QCOMPARE(state.currentRow, qint16(2));
    state.currentRow = 3; // the bus has stepped on
    const RouteTable before = table;

    state.startSection = static_cast<qint16>(section);
    const FareLoadOutcome got = loadRouteFares(folder, u"12"_qs, state, table, messages);
    QCOMPARE(int(got), outcome);
    if (outcome == int(FareLoadOutcome::Loaded)) {
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(state.currentRow, qint16(section));
        QCOMPARE(state.loadedRows, recordCount);
        const Hy3File f = parseHy3(bytes);
        for (int r = 1; r <= recordCount; ++r) QCOMPARE(table.row(r), f.rows[size_t(r - 1)]);
        if (recordCount < MaxRows) QCOMPARE(table.row(recordCount + 1), RouteRow{});
    } else {
        QCOMPARE(messages.shown.size(), 1);
        if (!message.isEmpty()) QCOMPARE(messages.shown[0].text, message);
        QVERIFY(!messages.shown[0].text.isEmpty());
        QCOMPARE(messages.shown[0].title, u"カルテラVer4"_qs);
        QCOMPARE(messages.shown[0].icon, MsgIcon::None);
        QCOMPARE(messages.shown[0].buttons, MsgButtons::Ok);
        // The previous table and current row stay.
        QCOMPARE(state.currentRow, qint16(3));
        QCOMPARE(state.loadedRows, 4);
        for (int r = 1; r <= MaxRows; ++r) QCOMPARE(table.row(r), before.row(r));
    }
    QCOMPARE(int(state.recordCount), recordCount == -999 ? 4 : recordCount);
}

void TestFareData::fileNameIgnoresCase() {
    QTemporaryDir dir;
    writeFile(dir.filePath(u"12.HY3"_qs), fileOf(3));
    RouteTable table;
    RouteState state;
    state.startSection = 1;
    RecordingMessageBox messages;
    QCOMPARE(loadRouteFares(dir.path(), u"12"_qs, state, table, messages),
             FareLoadOutcome::NotFound); // without its separator the folder is a prefix
    QCOMPARE(loadRouteFares(withTrailingSeparator(dir.path()), u"12"_qs, state, table, messages),
             FareLoadOutcome::Loaded);
    QCOMPARE(table.row(3).name, u"S3"_qs);
}

void TestFareData::missingFolderShowsDescription() {
    RouteTable table;
    RouteState state;
    state.startSection = 1;
    RecordingMessageBox messages;
    QCOMPARE(loadRouteFares(u"/no/such/folder/"_qs, u"12"_qs, state, table, messages),
             FareLoadOutcome::Failed);
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].text, u"パスが見つかりません。"_qs);
}

void TestFareData::emptyFolderIsWorkingFolder() {
    QTemporaryDir dir;
    writeFile(dir.filePath(u"0.hy3"_qs), fileOf(2));
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    RouteTable table;
    RouteState state;
    state.startSection = 1;
    RecordingMessageBox messages;
    const FareLoadOutcome got =
        loadRouteFares(withTrailingSeparator(QString()), routeFileName(QString()), state, table,
                      messages);
    QDir::setCurrent(old);
    QCOMPARE(got, FareLoadOutcome::Loaded);
    QCOMPARE(table.row(1).name, u"S1"_qs);
}

QTEST_GUILESS_MAIN(TestFareData)
#include "tst_faredata.moc"
