// The authoring tools: the fare data tool's CSV reader and its commands (the
// GTFS-JP import among them), and k40init's first settings file, run as the
// user runs them.
#include "Hy3Csv.h"
#include "TestFiles.h"
#include "model/TapeFile.h"
#include "model/Cp932.h"
#include "model/FareData.h"
#include "model/Gtfs.h"
#include "model/Hy3File.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <optional>
#include <zip.h>

namespace {

struct Run {
    int status;
    QByteArray out;
    QString err;
};

Run run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            QString::fromUtf8(p.readAllStandardError())};
}

Run hy3(const QStringList& args) {
    return run(QStringLiteral(HY3_EXE), args);
}

// The feed of tests/data/minifeed.zip as files of their own: R1 of three stops.
Gtfs::Files miniFeed() {
    return {{u"routes.txt"_qs, "route_id,route_short_name,route_long_name\nR1,1,駅前線\n"},
            {u"stops.txt"_qs, "stop_id,stop_name,zone_id\nS1,駅前,A\nS2,本町,A\nS3,港,B\n"},
            {u"trips.txt"_qs, "route_id,trip_id,direction_id,trip_headsign\nR1,T1,0,港\n"},
            {u"stop_times.txt"_qs, "trip_id,stop_id,stop_sequence\nT1,S1,1\nT1,S2,2\nT1,S3,3\n"},
            {u"fare_attributes.txt"_qs, "fare_id,price\nF1,160\nF2,220\n"},
            {u"fare_rules.txt"_qs,
             "fare_id,route_id,origin_id,destination_id\nF1,R1,A,A\nF2,R1,A,B\n"}};
}

bool writeFeed(const QString& folder, const Gtfs::Files& files) {
    for (auto it = files.begin(); it != files.end(); ++it)
        if (!writeFile(folder + u'/' + it.key(), it.value())) return false;
    return true;
}

// Reads as so many zeros, for a zip entry that is never held whole.
zip_int64_t zeros(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto& left = *static_cast<std::pair<qint64, qint64>*>(state); // size, bytes left
    switch (command) {
    case ZIP_SOURCE_OPEN:
        left.second = left.first;
        return 0;
    case ZIP_SOURCE_READ: {
        const qint64 n = std::min<qint64>(qint64(length), left.second);
        std::memset(data, 0, size_t(n));
        left.second -= n;
        return n;
    }
    case ZIP_SOURCE_STAT: {
        auto* st = static_cast<zip_stat_t*>(data);
        zip_stat_init(st);
        st->size = zip_uint64_t(left.first);
        st->valid |= ZIP_STAT_SIZE;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_FREE, -1);
    default:
        return 0;
    }
}

// A zip file of files, with the file name (added, or in place of one of them)
// holding zeroBytes zeros, deflated.
bool writeZip(const QString& path, const Gtfs::Files& files, const QString& name,
              qint64 zeroBytes) {
    int error = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!z) return false;
    for (auto it = files.begin(); it != files.end(); ++it)
        if (it.key() != name)
            zip_file_add(
                z, it.key().toUtf8().constData(),
                zip_source_buffer(z, it.value().constData(), zip_uint64_t(it.value().size()), 0),
                0);
    std::pair<qint64, qint64> state{zeroBytes, 0};
    zip_file_add(z, name.toUtf8().constData(), zip_source_function(z, zeros, &state), 0);
    return zip_close(z) == 0;
}

// The files of folder and below, by path from it.
QStringList filesIn(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(folder).relativeFilePath(it.next());
    names.sort();
    return names;
}

// Rows as "name|ticket|v1,v2,v3; ...".
QString describe(const std::vector<FareData::RouteRow>& rows) {
    QStringList s;
    for (const FareData::RouteRow& r : rows)
        s << QStringLiteral("%1|%2|%3,%4,%5")
                 .arg(r.name)
                 .arg(r.ticket)
                 .arg(r.value(1))
                 .arg(r.value(2))
                 .arg(r.value(3));
    return s.join(u"; ");
}

} // namespace

class TestHy3Tool : public QObject {
    Q_OBJECT
private slots:
    void parseCsv() {
        const QByteArray csv = "\xEF\xBB\xBF" // a byte-order mark is allowed
                               "停名,整理券,v1\r\n"
                               "みなと駅前,1\r\n"
                               "\r\n"
                               "\"大橋, 西\", 2 ,170,,-1\n"
                               "\"言う \"\"駅\"\"\",3,\"200\"\n"
                               "最後\n";
        const Hy3Csv::Parsed p = Hy3Csv::parse(csv);
        QVERIFY2(!p.error, qPrintable(p.error ? p.error->message : QString()));
        QCOMPARE(
            describe(p.rows),
            u"みなと駅前|1|0,0,0; 大橋, 西|2|170,0,-1; 言う \"駅\"|3|200,0,0; 最後|0|0,0,0"_qs);
        // A first line whose second field is a number is data, not a header.
        QCOMPARE(Hy3Csv::parse("A,1\nB,2\n").rows.size(), size_t(2));
    }

    void badCsv_data() {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("not a number") << QByteArray("A,1\nB,2,17x\n") << 2 << 3 << u"v1"_qs;
        QTest::newRow("fraction") << QByteArray("A,1,2.5\n") << 1 << 3 << u"whole number"_qs;
        QTest::newRow("too large") << QByteArray("A,1\nB,32768\n") << 2 << 2 << u"ticket number"_qs;
        QTest::newRow("too small") << QByteArray("A,1,-32769\n") << 1 << 3 << u"-32769"_qs;
        QByteArray many = "A,1";
        for (int i = 0; i < 151; ++i)
            many += ",0";
        QTest::newRow("153 fields") << many << 1 << 153 << u"153 fields"_qs;
        QByteArray stops;
        for (int i = 1; i <= 302; ++i)
            stops += "S," + QByteArray::number(i) + "\n";
        QTest::newRow("302 stops") << stops << 302 << 1 << u"more than 301"_qs;
        QTest::newRow("open quote") << QByteArray("A,1\n\"B,2\n") << 2 << 1 << u"not closed"_qs;
        QTest::newRow("no CP932 form")
            << QByteArray("A,1\nバス😀停,2\n") << 2 << 1 << u"code page 932"_qs;
        // A character beyond the basic plane is named whole, not half of it.
        QTest::newRow("named whole")
            << QByteArray("A,1\nバス😀停,2\n") << 2 << 1 << u"\"😀\" (character 3)"_qs;
        QTest::newRow("name too long")
            << QByteArray(40000, 'x') + "\xE3\x81\x82" + QByteArray(30000, 'y') + ",1\n"
            << 1 << 1 << u"bytes long"_qs;
    }

    void badCsv() {
        QFETCH(QByteArray, csv);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(QString, fragment);
        const Hy3Csv::Parsed p = Hy3Csv::parse(csv);
        QVERIFY(p.error);
        QCOMPARE(p.error->line, line);
        QCOMPARE(p.error->column, column);
        QVERIFY2(p.error->message.contains(fragment), qPrintable(p.error->message));
    }

    // A route made from CSV holds what the CSV says, and its export imports to
    // the same file again; a bad CSV makes no file.
    void importExport() {
        QTemporaryDir dir;
        const QString csv = dir.filePath(u"a.csv"_qs), first = dir.filePath(u"a.hy3"_qs),
                      second = dir.filePath(u"b.hy3"_qs);
        QVERIFY(writeFile(csv, "停名,整理券番号\nA,1\nB,2,17x\n"));
        const Run bad = hy3({u"import"_qs, csv, first});
        QCOMPARE(bad.status, 1);
        QVERIFY2(bad.err.contains(u"line 3, column 3"_qs), qPrintable(bad.err));
        QVERIFY(!QFile::exists(first));
        QVERIFY(
            writeFile(csv, "停名,整理券番号\n\"大橋, 西口\",1,170,-1\n～①ｱ,2,32767,-32768\n,3\n"));
        QCOMPARE(hy3({u"import"_qs, csv, first}).status, 0);
        QCOMPARE(readFile(first).size(), 2 + 3 * 304 + 10 + 5); // names of 10, 5 and 0 bytes
        QCOMPARE(describe(FareData::parseHy3(readFile(first)).rows),
                 u"大橋, 西口|1|170,-1,0; ～①ｱ|2|32767,-32768,0; |3|0,0,0"_qs);
        const Run exported = hy3({u"export"_qs, first});
        QCOMPARE(exported.status, 0);
        QCOMPARE(exported.out.count('\n'), 4); // header and three stops
        QVERIFY(exported.out.contains("\"大橋, 西口\",1,170,-1,0"));
        QVERIFY(writeFile(csv, exported.out));
        QCOMPARE(hy3({u"import"_qs, csv, second}).status, 0);
        QCOMPARE(readFile(second), readFile(first));
    }

    // Every problem of a fare data file, with the record and the byte offset where it lies.
    void checkReports_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("report"); // pieces of it, in order, "…" between them
        const auto row = [](const char* tag, const QByteArray& bytes, int status,
                            const char* report) {
            QTest::newRow(tag) << bytes << status << QString::fromUtf8(report);
        };
        FareData::RouteRow stop;
        stop.name = u"停"_qs;
        const QByteArray three = FareData::serializeHy3({stop, stop, stop}); // records of 306 bytes
        QByteArray c302 = FareData::serializeHy3(std::vector<FareData::RouteRow>(301, stop));
        c302[0] = char(302 & 0xFF);
        c302[1] = char(302 >> 8);
        QByteArray badName = three;
        badName[4] = '\x80';
        row("good", three, 0, "3 stop(s), no problems");
        row("one stop", FareData::serializeHy3({stop}), 0, "a route of one stop cannot be set");
        row("bytes after the last record", three + "xyz", 0,
            "3 byte(s) after the last record at offset 920");
        row("empty", {}, 1, "record 0, offset 0: the file holds 0 byte(s)");
        row("count 0", QByteArray(2, '\0'), 1, "record 0, offset 0: the record count is 0");
        row("negative count", "\xFD\xFF", 1, "record 0, offset 0: the record count -3 is negative");
        row("count 302", c302, 1, "record 0, offset 0: the record count 302 is above 301");
        row("cut in name length", three.left(615), 1,
            "record 3, offset 614:…at byte 615 inside its name length");
        row("cut in name", three.left(617), 1,
            "record 3, offset 614:…at byte 617 inside its stop name");
        row("cut in numbers", three.left(900), 1,
            "record 3, offset 614:…at byte 900 inside its numbers");
        row("bad name", badName, 1,
            "record 1, offset 4: the stop name of record 1 is not valid CP932");
    }

    void checkReports() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(QString, report);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"x.hy3"_qs);
        QVERIFY(writeFile(path, bytes));
        const Run r = hy3({u"check"_qs, path});
        QCOMPARE(r.status, status);
        const QString out = QString::fromUtf8(r.out);
        qsizetype at = 0;
        for (const QString& piece : report.split(u'…'))
            QVERIFY2((at = out.indexOf(piece, at)) >= 0, qPrintable(out));
    }

    // Every problem of an announcement file as the tape reads it, with its line
    // and field, and what the tape does with the file.
    void checkTapeReports_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size"); // of the file: above bytes' size padded, -1 no file
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("report"); // pieces of it, in order, "…" between them
        const auto row = [](const char* tag, const QByteArray& bytes, int status,
                            const char* report) {
            QTest::newRow(tag) << bytes << qint64(bytes.size()) << status
                               << QString::fromUtf8(report);
        };
        const auto cp932 = [](const char* text) { return Cp932::encode(QString::fromUtf8(text)); };
        row("good", cp932("次は、港です。,1,2\r\n発車します,0,0\r\n\"港, 西口\",1,1\r\n"), 0,
            "3 row(s), no problems…2 row(s) step the fare display; 2 play a sound before "
            "speaking (sound 1: 1, sound 2: 1, sound 3: 0)");
        row("LF", "a,1,3\nb,0,0\n", 0,
            "line 1: warning: every line ends in LF alone; accepted, though announcement files "
            "end their lines in CR LF…2 row(s), 1 warning(s)…sound 3: 1");
        row("LF and CR LF", "a,1,3\r\nb,0,0\nc,0,0\r\n", 0,
            "line 2: warning: 1 of 3 line(s) end in LF alone, the first this one, and the "
            "others in CR LF; accepted…3 row(s), 1 warning(s)");
        row("UTF-8", "次は、港です。,1,2\r\n", 0,
            "warning: the file looks like UTF-8…save it as Shift_JIS…1 row(s), 1 warning(s)");
        row("flag not a number", "a,1,2\r\nb,abc,0\r\n", 1,
            "line 2, field 2: the step flag \"abc\" is not a number…"
            "the tape controls will be disabled");
        row("flag beyond 16 bits", "a,1,70000\r\n", 1,
            "line 1, field 3: the sound flag 70000 does not fit 16 bits…"
            "the tape controls will be disabled");
        row("flags of no meaning", ",2,5\r\n", 0,
            "line 1, field 1: warning: the text is empty…"
            "line 1, field 2: warning: the step flag 2 is neither 0 nor 1…"
            "line 1, field 3: warning: the sound flag 5 is not 0 to 3…1 row(s), 3 warning(s)");
        row("two fields", "a,1\r\nb,0,0\r\n", 1,
            "line 1: warning: 2 field(s) where a record has 3: from row 1 on, the records are "
            "shifted…line 2, field 1: the sound flag \"b\" of row 1 is not a number…"
            "line 2, field 2: the file ends inside the record of row 2…"
            "the tape controls will be disabled");
        row("four fields", "a,0,1,b\r\n0,2\r\n", 0,
            "line 1: warning: 4 field(s) where a record has 3: from row 2 on…"
            "line 2: warning: 2 field(s)…in step with their lines again…2 row(s), 2 warning(s)");
        row("comma not quoted", cp932("港, 西口,1,0\r\n"), 1,
            "line 1: warning: 4 field(s)…line 1, field 2: the step flag \"西口\" is not a number…"
            "line 1, field 4: a record beyond the last row…the tape controls will be disabled");
        row("doubled quote", "\"say \"\"hi\"\"\",0,0\r\n", 0,
            "line 1, field 1: warning: a doubled quote does not stand for a quote");
        row("empty file", {}, 0, "warning: the file is empty…0 row(s), 1 warning(s)");
        QTest::newRow("over 16 MiB")
            << QByteArray("a,0,0\r\n") << TapeFile::MaxFileBytes + 1 << 1
            << u"more than the 16777216 (16 MiB) the tape reads…"
               "the tape controls will be disabled"_qs;
        QTest::newRow("missing file") << QByteArray() << qint64(-1) << 2 << u"no such file"_qs;
    }

    void checkTapeReports() {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(int, status);
        QFETCH(QString, report);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"12tp.csv"_qs);
        if (size >= 0) {
            QVERIFY(writeFile(path, bytes));
            QVERIFY(QFile::resize(path, size));
        }
        const Run r = hy3({u"check-tape"_qs, path});
        QCOMPARE(r.status, status);
        const QString out = QString::fromUtf8(r.out) + r.err;
        qsizetype at = 0;
        for (const QString& piece : report.split(u'…'))
            QVERIFY2((at = out.indexOf(piece, at)) >= 0, qPrintable(out));
    }

    // The announcements that come with the program load, every row listed.
    void checkTapeSample() {
        const QString path = QStringLiteral(K40_SOURCE_DIR "/data/sample/12tp.csv");
        const QByteArray bytes = readFile(path);
        const Run r = hy3({u"check-tape"_qs, u"--rows"_qs, path});
        QCOMPARE(r.status, 0);
        const QString out = QString::fromUtf8(r.out);
        const QStringList lines = Cp932::decode(bytes).split(u"\r\n"_qs, Qt::SkipEmptyParts);
        QVERIFY2(out.contains(QStringLiteral("%1 row(s), no problems").arg(lines.size())),
                 qPrintable(out));
        for (const QString& line : lines)
            QVERIFY2(out.contains(line.section(u',', 0, 0).remove(u'"')), qPrintable(line));
    }

    // A save that fails (a full disk, something in the way) names the file and
    // the cause, exits 1, and leaves the files that were there as they were:
    // nothing half written, no temporary left, no import half done.
    void failedSaves_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args"); // "@" stands for the folder of the test
        QTest::addColumn<QStringList>("old");  // there before and kept ("/" ends a folder)
        QTest::addColumn<bool>("full");        // no file can grow beyond 100 bytes
        QTest::addColumn<QString>("message");
        const QString hy3 = QStringLiteral(HY3_EXE), k40init = QStringLiteral(K40INIT_EXE);
        const QString zip = QStringLiteral(K40_SOURCE_DIR "/tests/data/minifeed.zip");
        const QStringList gtfs{u"import-gtfs"_qs, zip,      u"--route"_qs, u"R1"_qs,
                               u"--number"_qs,    u"12"_qs, u"--out"_qs,   u"@"_qs};
        QTest::newRow("hy3 import, the disk full")
            << hy3 << QStringList{u"import"_qs, u"@/a.csv"_qs, u"@/a.hy3"_qs}
            << QStringList{u"a.csv"_qs, u"a.hy3"_qs} << true << u"@/a.hy3: cannot write ("_qs;
        QTest::newRow("hy3 import-gtfs, the disk full")
            << hy3 << gtfs << QStringList{u"12.hy3"_qs} << true << u"@/12.hy3: cannot write ("_qs;
        QTest::newRow("hy3 import-gtfs, a folder in the second's way")
            << hy3 << gtfs << QStringList{u"12.hy3"_qs, u"12tp.csv/"_qs} << false
            << u"@/12tp.csv: not a regular file but a folder; not written over; @/12.hy3 is not "
               u"written either"_qs;
        QTest::newRow("k40init, the disk full")
            << k40init << QStringList{u"@/K40.in4"_qs, u"@"_qs, u"@"_qs} << QStringList() << true
            << u"@/K40.in4: cannot write ("_qs;
    }

    void failedSaves() {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(QStringList, old);
        QFETCH(bool, full);
        QFETCH(QString, message);
        QTemporaryDir dir;
        args.replaceInStrings(u"@"_qs, dir.path());
        message.replace(u"@"_qs, dir.path());
        for (const QString& name : old)
            QVERIFY(name.endsWith(u'/') ? QDir(dir.path()).mkdir(name)
                                        : writeFile(dir.filePath(name),
                                                    name == u"a.csv" ? "A,1\nB,2,170\n" : "old"));
        Run r;
        {
            std::optional<FileSizeLimit> limit;
            if (full) limit.emplace(100);
            r = run(program, args);
        }
        old.replaceInStrings(u"/"_qs, QString());
        QCOMPARE(filesIn(dir.path()), old);
        for (const QString& name : old)
            if (name.endsWith(u".hy3")) QCOMPARE(readFile(dir.filePath(name)), QByteArray("old"));
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(!r.out.contains("wrote"));
    }

    // What a command reads must be a regular file of a size it takes: a FIFO
    // (without waiting for a writer), a device, or a file beyond the limit is
    // refused at once and said. Of a feed only the files it needs are read, a
    // zip file's no further than their limits; nothing is written.
    void specialInputs_data() {
        QTest::addColumn<QStringList>("args"); // "@" stands for the folder of the test
        QTest::addColumn<QString>("file");     // the input made, in that folder
        QTest::addColumn<QString>("input");    // FIFO, /dev/zero, zeros, or "zip with <file>"
        QTest::addColumn<qint64>("size");      // of the zeros
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message"); // "@" as in args
        const auto row = [](const char* tag, const QStringList& args, const char* file,
                            const char* input, qint64 size, int status, const QString& message) {
            QTest::newRow(tag) << args << QString::fromUtf8(file) << QString::fromUtf8(input)
                               << size << status << message;
        };
        const QStringList check{u"check"_qs, u"@/x"_qs}, list{u"list-gtfs"_qs, u"@/feed"_qs},
            listZip{u"list-gtfs"_qs, u"@/feed.zip"_qs};
        row("check, a FIFO", check, "x", "FIFO", 0, 1, u"@/x: not a regular file but a FIFO"_qs);
        row("check, beyond what the board reads", check, "x", "zeros", FareData::MaxFileBytes + 1,
            1,
            u"@/x: the file holds 33554433 bytes, more than the 33554432 (32 MiB) the board "
            u"reads"_qs);
        row("export, /dev/zero", {u"export"_qs, u"@/x"_qs}, "x", "/dev/zero", 0, 1,
            u"@/x: not a regular file but a device"_qs);
        row("import, a FIFO", {u"import"_qs, u"@/x"_qs, u"@/x.hy3"_qs}, "x", "FIFO", 0, 1,
            u"@/x: not a regular file but a FIFO"_qs);
        row("check-tape, /dev/zero", {u"check-tape"_qs, u"@/x"_qs}, "x", "/dev/zero", 0, 2,
            u"@/x: not a regular file but a device"_qs);
        row("list-gtfs, stops.txt /dev/zero", list, "feed/stops.txt", "/dev/zero", 0, 1,
            u"@/feed/stops.txt: not a regular file but a device"_qs);
        row("import-gtfs, stop_times.txt a FIFO",
            {u"import-gtfs"_qs, u"@/feed"_qs, u"--route"_qs, u"R1"_qs, u"--number"_qs, u"12"_qs,
             u"--out"_qs, u"@/out"_qs},
            "feed/stop_times.txt", "FIFO", 0, 1,
            u"@/feed/stop_times.txt: not a regular file but a FIFO"_qs);
        row("list-gtfs, stops.txt beyond its limit", list, "feed/stops.txt", "zeros",
            64 * 1024 * 1024 + 1, 1,
            u"@/feed: stops.txt is larger than 64 MiB, the most read of it"_qs);
        row("list-gtfs, the feed a FIFO", listZip, "feed.zip", "FIFO", 0, 1,
            u"@/feed.zip: not a regular file but a FIFO"_qs);
        // Zeros deflate to a thousandth: a few hundred KiB unpack to hundreds of MiB.
        row("list-gtfs, a zip bomb", listZip, "feed.zip", "zip with stop_times.txt",
            256 * 1024 * 1024 + 1, 1,
            u"@/feed.zip: stop_times.txt is larger than 256 MiB, the most read of it"_qs);
        row("list-gtfs, a large file not used", listZip, "feed.zip", "zip with shapes.txt",
            600 * 1024 * 1024, 0, u"3 stops: 駅前 - 本町 - 港"_qs);
    }

    void specialInputs() {
        QFETCH(QStringList, args);
        QFETCH(QString, file);
        QFETCH(QString, input);
        QFETCH(qint64, size);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(file);
        if (file.startsWith(u"feed/")) QVERIFY(writeFeed(dir.filePath(u"feed"_qs), miniFeed()));
        QFile::remove(path);
        if (input == u"FIFO")
            QVERIFY(makeFifo(path));
        else if (input == u"/dev/zero")
            QVERIFY(makeEndlessFile(path));
        else if (input == u"zeros")
            QVERIFY(writeFile(path, {}) && QFile::resize(path, size));
        else
            QVERIFY(writeZip(path, miniFeed(), input.section(u' ', -1), size));
        const QStringList before = filesIn(dir.path());
        args.replaceInStrings(u"@"_qs, dir.path());
        const Run r = hy3(args);
        QTEST(r.status, "status");
        QVERIFY2((QString::fromUtf8(r.out) + r.err).contains(message.replace(u"@"_qs, dir.path())),
                 qPrintable(r.err));
        QCOMPARE(filesIn(dir.path()), before);
    }

    // The names and texts of a feed are written as the board and the tape hold
    // them, each change noted; announcements the tape would not read as made
    // are not written at all, nor the fare data with them.
    void gtfsTexts_data() {
        QTest::addColumn<QByteArray>("stops"); // in place of S2's line, or of all stops
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("name");   // of S2 in 12.hy3
        QTest::addColumn<QString>("spoken"); // of S2 by the tape
        QTest::newRow("a line break")
            << QByteArray("S2,\"本\r\n町\",A") << 0
            << u"note: stops.txt, line 3: the name of the stop \"S2\" holds line breaks or other "
               u"control characters; written as \"本  町\""_qs
            << u"本  町"_qs << u"次は、本  町です。"_qs;
        QTest::newRow("a control character")
            << QByteArray("S2,本\x07町,A") << 0 << u"written as \"本 町\""_qs << u"本 町"_qs
            << u"次は、本 町です。"_qs;
        QTest::newRow("a quote and a comma")
            << QByteArray("S2,\"本\"\"町, 西\",A") << 0 << QString() << u"本\"町, 西"_qs
            << u"次は、本”町, 西です。"_qs;
        // 261 names of 65,000 bytes are spoken in more than 16 MiB.
        QByteArray many = "stop_id,stop_name,zone_id\n";
        for (int k = 1; k <= 261; ++k)
            many += 'S' + QByteArray::number(k) + ',' + QByteArray(65000, 'a') + ",A\n";
        QTest::newRow("more than the tape reads")
            << many << 1
            << u"12tp.csv: the tape would not read the announcements as made: they take "_qs
            << QString() << QString();
    }

    void gtfsTexts() {
        QFETCH(QByteArray, stops);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(QString, name);
        QTemporaryDir dir;
        Gtfs::Files feed = miniFeed();
        if (stops.startsWith("stop_id")) {
            feed[u"stops.txt"_qs] = stops;
            QByteArray times = "trip_id,stop_id,stop_sequence\n";
            for (int k = 1; k <= stops.count('\n') - 1; ++k)
                times += "T1,S" + QByteArray::number(k) + ',' + QByteArray::number(k) + '\n';
            feed[u"stop_times.txt"_qs] = times;
            feed[u"fare_rules.txt"_qs] = "fare_id,origin_id,destination_id\nF1,A,A\n";
        } else {
            feed[u"stops.txt"_qs].replace("S2,本町,A", stops);
        }
        QVERIFY(writeFeed(dir.filePath(u"feed"_qs), feed));
        const QString out = dir.filePath(u"out"_qs);
        const Run r = hy3({u"import-gtfs"_qs, dir.filePath(u"feed"_qs), u"--route"_qs, u"R1"_qs,
                           u"--number"_qs, u"12"_qs, u"--out"_qs, out});
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.contains(said), qPrintable(r.err));
        if (status != 0) {
            QCOMPARE(filesIn(out), QStringList());
            return;
        }
        QCOMPARE(FareData::parseHy3(readFile(out + u"/12.hy3"_qs)).rows.at(1).name, name);
        const TapeReading tape = TapeFile::read(readFile(out + u"/12tp.csv"_qs));
        QVERIFY(tape.problems.empty());
        QCOMPARE(tape.rows.size(), size_t(4));
        QTEST(tape.rows[1].text, "spoken");
    }

    void gtfsCommands() {
        // A feed in a zip file, its files in a folder of their own: listed,
        // imported as the board and the tape read it, and the problems told.
        const QString zip = QStringLiteral(K40_SOURCE_DIR "/tests/data/minifeed.zip");
        Run r = hy3({u"list-gtfs"_qs, zip});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.startsWith("R1\t1\t駅前線\n"), r.out.constData());
        QVERIFY(r.out.contains("; direction_id 0; fares: known"));
        QVERIFY(r.out.contains("3 stops: 駅前 - 本町 - 港"));
        QTemporaryDir dir;
        r = hy3({u"import-gtfs"_qs, zip, u"--route"_qs, u"駅前線"_qs, u"--number"_qs, u"12"_qs,
                 u"--out"_qs, dir.path()});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains("fares: 3 found, 0 missing"));
        const FareData::Hy3File f = FareData::parseHy3(readFile(dir.filePath(u"12.hy3"_qs)));
        QVERIFY(f.usable());
        QCOMPARE(describe(f.rows), u"駅前|1|0,0,0; 本町|2|160,0,0; 港|3|220,220,0"_qs);
        QCOMPARE(readFile(dir.filePath(u"12tp.csv"_qs)).count("\r\n"), 4);
        // What cannot be done says why, and writes nothing.
        r = hy3({u"import-gtfs"_qs, zip, u"--route"_qs, u"9"_qs, u"--number"_qs, u"9"_qs,
                 u"--out"_qs, dir.path()});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err, u"routes.txt: there is no route \"9\"; the closest: 1 駅前線 (R1)\n"_qs);
        QVERIFY(!QFile::exists(dir.filePath(u"9.hy3"_qs)));
        r = hy3({u"import-gtfs"_qs, zip, u"--route"_qs, u"R1"_qs, u"--number"_qs, u"012"_qs,
                 u"--out"_qs, dir.path()});
        QCOMPARE(r.status, 2);
        r = hy3({u"list-gtfs"_qs, dir.filePath(u"none.zip"_qs)});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.endsWith(u"none.zip: no such file or folder\n"_qs));
    }
};

QTEST_GUILESS_MAIN(TestHy3Tool)
#include "tst_hy3tool.moc"
