// The fare data authoring tool, run as the user runs it.
#include "Fakes.h"
#include "TestFiles.h"
#include "Hy3Csv.h"
#include "model/FareData.h"
#include "model/Hy3File.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int status;
    QByteArray out;
    QString err;
};

Run hy3(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(HY3_EXE), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestHy3Tool : public QObject {
    Q_OBJECT
private slots:
    void parseCsv();
    void badCsv_data();
    void badCsv();
    void importLoadsInReader();
    void exportImportReproducesFile();
    void checkReports_data();
    void checkReports();
};

void TestHy3Tool::parseCsv() {
    const QByteArray csv = "\xEF\xBB\xBF" // a byte-order mark is allowed
                           "停名,整理券,v1\r\n"
                           "みなと駅前,1\r\n"
                           "\r\n"
                           "\"大橋, 西\", 2 ,170,,-1\n"
                           "\"言う \"\"駅\"\"\",3,\"200\"\n"
                           "最後\n";
    const Hy3Csv::Parsed p = Hy3Csv::parse(csv);
    QVERIFY2(!p.error, qPrintable(p.error ? p.error->message : QString()));
    QCOMPARE(p.rows.size(), size_t(4));
    QCOMPARE(p.rows[0].name, u"みなと駅前"_qs);
    QCOMPARE(p.rows[0].ticket, qint16(1));
    QCOMPARE(p.rows[0].value(1), qint16(0));
    QCOMPARE(p.rows[1].name, u"大橋, 西"_qs);
    QCOMPARE(p.rows[1].ticket, qint16(2));
    QCOMPARE(p.rows[1].value(1), qint16(170));
    QCOMPARE(p.rows[1].value(2), qint16(0));
    QCOMPARE(p.rows[1].value(3), qint16(-1));
    QCOMPARE(p.rows[2].name, u"言う \"駅\""_qs);
    QCOMPARE(p.rows[2].value(1), qint16(200));
    QCOMPARE(p.rows[3].ticket, qint16(0));
    // A first line whose second field is a number is data, not a header.
    QCOMPARE(Hy3Csv::parse("A,1\nB,2\n").rows.size(), size_t(2));
    QCOMPARE(Hy3Csv::parse(Hy3Csv::write(p.rows)).rows, p.rows);
}

void TestHy3Tool::badCsv_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("not a number") << QByteArray("A,1\nB,2,17x\n") << 2 << 3 << u"v1"_qs;
    QTest::newRow("fraction") << QByteArray("A,1,2.5\n") << 1 << 3 << u"whole number"_qs;
    QTest::newRow("too large") << QByteArray("A,1\nB,32768\n") << 2 << 2 << u"ticket number"_qs;
    QTest::newRow("too small") << QByteArray("A,1,-32769\n") << 1 << 3 << u"-32769"_qs;
    QByteArray many = "A,1";
    for (int i = 0; i < 151; ++i) many += ",0";
    QTest::newRow("153 fields") << many << 1 << 153 << u"153 fields"_qs;
    QByteArray stops;
    for (int i = 1; i <= 302; ++i) stops += "S," + QByteArray::number(i) + "\n";
    QTest::newRow("302 stops") << stops << 302 << 1 << u"more than 301"_qs;
    QTest::newRow("open quote") << QByteArray("A,1\n\"B,2\n") << 2 << 1 << u"not closed"_qs;
    QTest::newRow("no CP932 form") << QByteArray("A,1\nバス😀停,2\n") << 2 << 1
                                   << u"code page 932"_qs;
    QTest::newRow("name too long") << QByteArray(40000, 'x').repeated(1) + "\xE3\x81\x82" +
                                          QByteArray(30000, 'y') + ",1\n"
                                   << 1 << 1 << u"bytes long"_qs;
}

void TestHy3Tool::badCsv() {
    QFETCH(QByteArray, csv);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, fragment);
    const Hy3Csv::Parsed p = Hy3Csv::parse(csv);
    QVERIFY(p.error);
    QCOMPARE(p.error->line, line);
    QCOMPARE(p.error->column, column);
    QVERIFY2(p.error->message.contains(fragment), qPrintable(p.error->message));

    // The tool says where, fails, and leaves no output file behind.
    QTemporaryDir dir;
    const QString in = dir.filePath(u"bad.csv"_qs), out = dir.filePath(u"bad.hy3"_qs);
    QVERIFY(writeFile(in, csv));
    const Run r = hy3({u"import"_qs, in, out});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(QStringLiteral("line %1, column %2").arg(line).arg(column)),
             qPrintable(r.err));
    QVERIFY(!QFile::exists(out));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

void TestHy3Tool::importLoadsInReader() {
    QTemporaryDir dir;
    const QString csv = dir.filePath(u"route.csv"_qs);
    QVERIFY(writeFile(csv, "停名,整理券番号\n始発,1,-1\n次,2,170,-1\n終点,3,190,170\n"));
    QCOMPARE(hy3({u"import"_qs, csv, dir.filePath(u"5.hy3"_qs)}).status, 0);

    FareData::RouteTable table;
    FareData::RouteState state;
    state.startSection = 1;
    RecordingMessageBox messages;
    QCOMPARE(FareData::loadRouteFares(FareData::withTrailingSeparator(dir.path()), u"5"_qs, state,
                                   table, messages),
             FareData::FareLoadOutcome::Loaded);
    QCOMPARE(state.recordCount, qint16(3));
    QCOMPARE(table.row(3).name, u"終点"_qs);
    QCOMPARE(table.row(3).value(2), qint16(170));
    QCOMPARE(table.row(1).value(1), qint16(-1));
}

void TestHy3Tool::exportImportReproducesFile() {
    QTemporaryDir dir;
    const QString first = dir.filePath(u"a.hy3"_qs), second = dir.filePath(u"b.hy3"_qs),
                  csv = dir.filePath(u"a.csv"_qs);
    QVERIFY(writeFile(csv, "停名,整理券番号\n\"大橋, 西口\",1,170,-1\n～①ｱ,2,32767,-32768\n,3\n"));
    QCOMPARE(hy3({u"import"_qs, csv, first}).status, 0);
    const Run exported = hy3({u"export"_qs, first});
    QCOMPARE(exported.status, 0);
    QCOMPARE(exported.out.count('\n'), 4); // header and three stops
    QVERIFY(exported.out.contains("\"大橋, 西口\",1,170,-1,0"));
    QVERIFY(writeFile(csv, exported.out));
    QCOMPARE(hy3({u"import"_qs, csv, second}).status, 0);
    QCOMPARE(readFile(second), readFile(first));
    QCOMPARE(readFile(first).size(), 2 + 3 * 304 + 10 + 5); // names of 10, 5 and 0 bytes
}

void TestHy3Tool::checkReports_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("fragment");
    FareData::RouteRow row;
    row.name = u"停"_qs;
    const QByteArray three = FareData::serializeHy3({row, row, row});
    QTest::newRow("good") << three << 0 << u"3 stop(s), no problems"_qs;
    QTest::newRow("truncated") << three.left(three.size() - 10) << 1
                               << QStringLiteral("record 3, offset %1").arg(2 + 2 * 306);
    QByteArray c302 = FareData::serializeHy3(std::vector<FareData::RouteRow>(301, row));
    c302[0] = char(302 & 0xFF);
    c302[1] = char(302 >> 8);
    QTest::newRow("count 302") << c302 << 1 << u"record 0, offset 0: the record count 302"_qs;
    QTest::newRow("trailing bytes") << three + "xyz" << 0 << u"3 byte(s) after the last record"_qs;
    QByteArray badName = three;
    badName[4] = '\x80';
    QTest::newRow("bad name") << badName << 1 << u"record 1, offset 4"_qs;
}

void TestHy3Tool::checkReports() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(QString, fragment);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"x.hy3"_qs);
    QVERIFY(writeFile(path, bytes));
    const Run r = hy3({u"check"_qs, path});
    QCOMPARE(r.status, status);
    QVERIFY2(QString::fromUtf8(r.out).contains(fragment), r.out.constData());
}

QTEST_GUILESS_MAIN(TestHy3Tool)
#include "tst_hy3tool.moc"
