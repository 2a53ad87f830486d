// The authoring tools, run as the user runs them: the fare data tool's CSV
// reader and commands (the GTFS-JP import among them), and k40init.
#include "Hy3Csv.h"
#include "TestFiles.h"
#include "model/Cp932.h"
#include "model/Gtfs.h"
#include "model/Hy3File.h"
#include "model/SettingsRecord.h"
#include "model/StarterSettings.h"
#include "model/TapeFile.h"

#include <QtTest>
#include <zip.h>

namespace {
struct Run {
    int status;
    QByteArray out;
    QString said; // out and what it writes on errors
};
// hy3 run with args, or k40init with those after args[0] "k40init".
Run run(const QStringList& args) {
    QProcess p;
    const bool init = args[0] == u"k40init";
    p.start(QString::fromUtf8(init ? K40INIT_EXE : HY3_EXE), init ? args.mid(1) : args);
    p.waitForFinished(-1);
    const QByteArray out = p.readAllStandardOutput();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, out,
            QString::fromUtf8(out + p.readAllStandardError())};
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
// The mini feed zipped, with name added or in its place: zeroBytes zeros, deflated.
bool writeZip(const QString& path, const QString& name, qint64 zeroBytes) {
    const QString zeros = path + u".zeros"_qs;
    const QByteArray zerosName = QFile::encodeName(zeros);
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    if (!z || !writeFile(zeros, {}) || !QFile::resize(zeros, zeroBytes)) return false;
    Gtfs::Files files = miniFeed();
    files.remove(name);
    for (auto it = files.begin(); it != files.end(); ++it)
        zip_file_add(z, it.key().toUtf8().constData(),
                     zip_source_buffer(z, it->constData(), zip_uint64_t(it->size()), 0), 0);
    zip_file_add(z, name.toUtf8().constData(), zip_source_file(z, zerosName.constData(), 0, 0), 0);
    return zip_close(z) == 0 && QFile::remove(zeros);
}
// The files of folder and below, by path from it, with the bytes of the small ones.
QStringList filesIn(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        names << QDir(folder).relativeFilePath(f.filePath()) +
                     (f.isFile() && f.size() < 4096 ? u'=' + readFile(f.filePath()).toHex() : "");
    }
    names.sort();
    return names;
}
// Rows as "name|ticket|v1,v2,v3; ...".
QString describe(const std::vector<FareData::RouteRow>& rows) {
    QStringList s;
    for (const FareData::RouteRow& r : rows)
        s << r.name +
                 QString::asprintf("|%d|%d,%d,%d", r.ticket, r.value(1), r.value(2), r.value(3));
    return s.join(u"; ");
}
// Whether text holds the pieces ("…" between them) in their order.
bool inOrder(const QString& text, const QString& pieces) {
    qsizetype at = 0;
    for (const QString& piece : pieces.split(u'…'))
        if ((at = text.indexOf(piece, at)) < 0) return false;
    return true;
}

} // namespace

class TestHy3Tool : public QObject {
    Q_OBJECT
private slots:
    // A command's exit status, what it says, and that it changes no file. A
    // FIFO, a device or a file beyond its limit is refused at once, a zip read
    // no further than its limits; a failed save leaves no temporary, no half import.
    void commands_data() {
        QTest::addColumn<QString>("args");     // "@" its folder, "%s" K40's, "%z" the mini zip
        QTest::addColumn<QString>("make");     // "<file>|- [FIFO|device|full|zip <name>] [size]"
        QTest::addColumn<QByteArray>("bytes"); // of the file
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("report");  // pieces of it, in order, "…" between them
        QTest::addColumn<QStringList>("old"); // files there before ("/" ends a folder)
        const auto row = [](const char* tag, const QString& args, const QString& make,
                            const QByteArray& bytes, int status, const QString& report,
                            const QStringList& old = {}) {
            QTest::newRow(tag) << args << make << bytes << status << report << old;
        };
        const auto hy3 = [&](const char* tag, const QByteArray& bytes, int status, const char* r) {
            row(tag, u"check @/x.hy3"_qs, u"x.hy3"_qs, bytes, status, r);
        };
        const auto csv = [&](const char* tag, const QByteArray& bytes, int status, const char* r) {
            row(tag, u"check-tape @/12tp.csv"_qs, u"12tp.csv"_qs, bytes, status, r);
        };
        const auto bad = [&](const char* tag, const char* args, int status, const char* r) {
            row(tag, args, {}, {}, status, r);
        };
        const auto special = [&](const char* args, const char* file, const char* kind, int status) {
            row(qPrintable(u"%1, %2 a %3"_qs.arg(args, file, kind)), args,
                u"%1 %2"_qs.arg(file, kind), {}, status,
                u"@/%1: not a regular file but a %2"_qs.arg(file, kind));
        };
        // A route's CSV: the place of its first problem, and part of what it says.
        const auto imp = [&](const char* tag, const QByteArray& csv, const char* r) {
            row(tag, u"import @/a.csv @/a.hy3"_qs, u"a.csv"_qs, csv, 1, u"@/a.csv: line "_qs + r);
        };
        imp("not a number, after a header", "停名,整理券番号\nA,1\nB,2,17x\n", "3, column 3: …v1");
        imp("fraction", "A,1,2.5\n", "1, column 3: …whole number");
        imp("too large", "A,1\nB,32768\n", "2, column 2: …ticket number");
        imp("too small", "A,1,-32769\n", "1, column 3: …-32769");
        imp("153 fields", "A,1" + QByteArray(",0").repeated(151), "1, column 153: …153 fields");
        QByteArray stops;
        for (int i = 1; i <= 302; ++i)
            stops += "S," + QByteArray::number(i) + "\n";
        imp("302 stops", stops, "302, column 1: …more than 301");
        imp("open quote", "A,1\n\"B,2\n", "2, column 1: …not closed");
        // A character beyond the basic plane is named whole, not half of it.
        imp("no CP932 form", "A,1\nバス😀停,2\n",
            "2, column 1: …\"😀\" (character 3), which code page 932");
        imp("name too long",
            QByteArray(40000, 'x') + "\xE3\x81\x82" + QByteArray(30000, 'y') + ",1\n",
            "1, column 1: …bytes long");
        // Fare data problems come with their record and byte offset.
        const FareData::RouteRow stop{u"停"_qs, 0, {}};
        const QByteArray three = FareData::serializeHy3({stop, stop, stop}); // records of 306 bytes
        const QByteArray c302 =
            FareData::serializeHy3(std::vector(301, stop)).replace(0, 2, "\x2E\x01");
        hy3("good", three, 0, "3 stop(s), no problems");
        hy3("one stop", FareData::serializeHy3({stop}), 0, "a route of one stop cannot be set");
        hy3("bytes after the last record", three + "xyz", 0,
            "3 byte(s) after the last record at offset 920");
        hy3("empty", {}, 1, "record 0, offset 0: the file holds 0 byte(s)");
        hy3("count 0", QByteArray(2, '\0'), 1, "record 0, offset 0: the record count is 0");
        hy3("negative count", "\xFD\xFF", 1, "record 0, offset 0: the record count -3 is negative");
        hy3("count 302", c302, 1, "record 0, offset 0: the record count 302 is above 301");
        for (const auto& [at, what] :
             {std::pair(615, "name length"), {617, "stop name"}, {900, "numbers"}})
            hy3(qPrintable(u"cut in "_qs + what), three.left(at), 1,
                qPrintable(u"record 3, offset 614:…at byte %1 inside its %2"_qs.arg(at).arg(what)));
        hy3("bad name", QByteArray(three).replace(4, 1, "\x80"), 1,
            "record 1, offset 4: the stop name of record 1 is not valid CP932");
        // Announcement problems come with their line and field.
        const auto cp932 = [](const char* text) { return Cp932::encode(QString::fromUtf8(text)); };
        csv("good", cp932("次は、港です。,1,2\r\n発車します,0,0\r\n\"港, 西口\",1,1\r\n"), 0,
            "3 row(s), no problems…2 row(s) step the fare display; 2 play a sound before "
            "speaking (sound 1: 1, sound 2: 1, sound 3: 0)");
        csv("LF", "a,1,3\nb,0,0\n", 0,
            "line 1: warning: every line ends in LF alone; accepted, though announcement files "
            "end their lines in CR LF…2 row(s), 1 warning(s)…sound 3: 1");
        csv("LF and CR LF", "a,1,3\r\nb,0,0\nc,0,0\r\n", 0,
            "line 2: warning: 1 of 3 line(s) end in LF alone, the first this one, and the "
            "others in CR LF; accepted…3 row(s), 1 warning(s)");
        csv("UTF-8", "次は、港です。,1,2\r\n", 0,
            "warning: the file looks like UTF-8…save it as Shift_JIS…1 row(s), 1 warning(s)");
        csv("flag not a number", "a,1,2\r\nb,abc,0\r\n", 1,
            "line 2, field 2: the step flag \"abc\" is not a number…"
            "the tape controls will be disabled");
        csv("flag beyond 16 bits", "a,1,70000\r\n", 1,
            "line 1, field 3: the sound flag 70000 does not fit 16 bits");
        csv("flags of no meaning", ",2,5\r\n", 0,
            "line 1, field 1: warning: the text is empty…"
            "line 1, field 2: warning: the step flag 2 is neither 0 nor 1…"
            "line 1, field 3: warning: the sound flag 5 is not 0 to 3…1 row(s), 3 warning(s)");
        csv("two fields", "a,1\r\nb,0,0\r\n", 1,
            "line 1: warning: 2 field(s) where a record has 3: from row 1 on, the records are "
            "shifted…line 2, field 1: the sound flag \"b\" of row 1 is not a number…"
            "line 2, field 2: the file ends inside the record of row 2");
        csv("four fields", "a,0,1,b\r\n0,2\r\n", 0,
            "line 1: warning: 4 field(s) where a record has 3: from row 2 on…"
            "line 2: warning: 2 field(s)…in step with their lines again…2 row(s), 2 warning(s)");
        csv("comma not quoted", cp932("港, 西口,1,0\r\n"), 1,
            "line 1: warning: 4 field(s)…line 1, field 2: the step flag \"西口\" is not a number…"
            "line 1, field 4: a record beyond the last row");
        csv("doubled quote", "\"say \"\"hi\"\"\",0,0\r\n", 0,
            "line 1, field 1: warning: a doubled quote does not stand for a quote");
        csv("empty file", {}, 0, "warning: the file is empty…0 row(s), 1 warning(s)");
        row("tape over 16 MiB", "check-tape @/12tp.csv", "12tp.csv 16777217", "a,0,0\r\n", 1,
            "more than the 16777216 (16 MiB) the tape reads…the tape controls will be disabled");
        bad("tape missing", "check-tape @/12tp.csv", 2, "no such file");
        // The announcements that come with the program load, every row listed.
        const QStringList lines = Cp932::decode(readFile(K40_SOURCE_DIR "/data/sample/12tp.csv"))
                                      .split(u"\r\n"_qs, Qt::SkipEmptyParts);
        QStringList listed{QStringLiteral("%1 row(s), no problems").arg(lines.size())};
        for (const QString& line : lines)
            listed << line.section(u',', 0, 0).remove(u'"');
        row("tape sample", "check-tape --rows %s/data/sample/12tp.csv", {}, {}, 0,
            listed.join(u'…'));
        special("check @/x.hy3", "x.hy3", "FIFO", 1);
        row("check, beyond what the board reads", "check @/x.hy3", "x.hy3 33554433", {}, 1,
            "@/x.hy3: the file holds 33554433 bytes, more than the 33554432 (32 MiB) the board "
            "reads");
        row("check, settings that cannot be read", "check %b/sample/12.hy3 --settings @/K40.in4",
            "K40.in4", "not settings", 1, "@/K40.in4: cannot be read as settings (error 62");
        special("export @/x", "x", "device", 1);
        special("import @/x @/x.hy3", "x", "FIFO", 1);
        row("import, the disk full", "import @/a.csv @/a.hy3", "a.csv full", "A,1\nB,2,170\n", 1,
            "@/a.hy3: cannot write (", {u"a.hy3"_qs});
        special("check-tape @/x", "x", "device", 2);
        special("list-gtfs @/feed", "feed/stops.txt", "device", 1);
        special("import-gtfs @/feed --route R1 --number 12 --out @", "feed/stop_times.txt",
                "FIFO", 1);
        row("list-gtfs, stops.txt beyond its limit", "list-gtfs @/feed", "feed/stops.txt 67108865",
            {}, 1, "@/feed: stops.txt is larger than 64 MiB, the most read of it");
        special("list-gtfs @/feed.zip", "feed.zip", "FIFO", 1);
        // Zeros deflate to a thousandth: a few hundred KiB unpack to hundreds of MiB.
        row("list-gtfs, a zip bomb", "list-gtfs @/feed.zip",
            "feed.zip zip stop_times.txt 268435457", {}, 1,
            "@/feed.zip: stop_times.txt is larger than 256 MiB, the most read of it");
        row("list-gtfs, a large file not used", "list-gtfs @/feed.zip",
            "feed.zip zip shapes.txt 629145600", {}, 0, "3 stops: 駅前 - 本町 - 港");
        bad("list-gtfs", "list-gtfs %z", 0,
            "R1\t1\t駅前線\n…; direction_id 0; fares: known…3 stops: 駅前 - 本町 - 港");
        bad("list-gtfs, no file", "list-gtfs @/none.zip", 1, "none.zip: no such file or folder\n");
        bad("import-gtfs, no such route", "import-gtfs %z --route 9 --number 9 --out @", 1,
            "routes.txt: there is no route \"9\"; the closest: 1 駅前線 (R1)\n");
        // Announcements beyond what the tape reads are not written, nor the fare data.
        const QByteArray trips = "route_id,trip_id,direction_id,trip_headsign\nR1,T1,0,";
        row("import-gtfs, more than the tape reads",
            "import-gtfs @/feed --route R1 --number 12 --out @", "feed/trips.txt",
            trips + QByteArray(16 << 20, 'a') + '\n', 1,
            "@/12tp.csv: the tape would not read the announcements as made: they take 16777373 "
            "bytes, more than the 16777216 (16 MiB) the tape reads; nothing is written");
        bad("import-gtfs, number 012", "import-gtfs %z --route R1 --number 012 --out @", 2, "");
        const char* gtfs = "import-gtfs %z --route R1 --number 12 --out @";
        // Nothing is made or replaced unasked; --force writes over what is there.
        bad("import-gtfs, the folder missing", "import-gtfs %z --route R1 --number 12 --out @/x",
            1, "@/x: no such folder; nothing is written (make it first)\n");
        row("import-gtfs, the route there", gtfs, "", {}, 1,
            "@/12tp.csv: already there; nothing is written (--force writes over it)\n",
            {u"12tp.csv"_qs});
        row("import-gtfs, fares missing, --strict",
            "import-gtfs @/feed --route R1 --number 12 --out @ --strict", "feed/stops.txt",
            "stop_id,stop_name,zone_id\nS1,駅前,A\nS2,本町,Z\nS3,港,B\n", 1,
            "missing: from ticket 1 (駅前) to stop 2 (本町)\nmissing: from ticket 2 (本町) to stop "
            "3 (港)\nimport-gtfs: 2 fare(s) missing; nothing is written (--strict)\n");
        const char* force = "import-gtfs %z --route R1 --number 12 --out @ --force";
        row("import-gtfs, the disk full", force, "- full", {}, 1, "@/12.hy3: cannot write (",
            {u"12.hy3"_qs});
        row("import-gtfs, a folder in the second's way", force, "", {}, 1,
            "@/12tp.csv: not a regular file but a folder; not written over; @/12.hy3 is not "
            "written either",
            {u"12.hy3"_qs, u"12tp.csv/"_qs});
        row("k40init, the disk full", "k40init @/K40.in4 @ @", "- full", {}, 1,
            "@/K40.in4: cannot write (");
    }
    void commands() {
        QFETCH(QString, args);
        QFETCH(QString, make);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, report);
        QFETCH(QStringList, old);
        QTemporaryDir dir;
        const QString file = make.section(u' ', 0, 0), how = make.section(u' ', 1, 1),
                      path = dir.filePath(file);
        const qint64 size = make.section(u' ', -1).toLongLong();
        if (file.startsWith(u"feed/")) QVERIFY(writeFeed(dir.filePath(u"feed"_qs), miniFeed()));
        QFile::remove(path);
        if (!file.isEmpty() && file != u"-")
            QVERIFY(how == u"FIFO"     ? makeFifo(path)
                    : how == u"device" ? makeEndlessFile(path)
                    : how == u"zip"
                        ? writeZip(path, make.section(u' ', 2, 2), size)
                        : writeFile(path, bytes) &&
                              QFile::resize(path, std::max<qint64>(size, bytes.size())));
        for (const QString& name : old)
            QVERIFY(name.endsWith(u'/') ? QDir(dir.path()).mkdir(name)
                                        : writeFile(dir.filePath(name), "old"));
        const QStringList before = filesIn(dir.path());
        QStringList argv = args.replace(u"%z"_qs, u"%s/tests/data/minifeed.zip"_qs).split(u' ');
        argv.replaceInStrings(u"@"_qs, dir.path()).replaceInStrings(u"%s"_qs, K40_SOURCE_DIR);
        argv.replaceInStrings(u"%b"_qs, K40_BINARY_DIR);
        std::optional<FileSizeLimit> full;
        if (how == u"full") full.emplace(100); // no file can grow beyond 100 bytes
        const Run r = run(argv);
        full.reset();
        QTEST(r.status, "status");
        QVERIFY2(inOrder(r.said, report.replace(u"@"_qs, dir.path())), qPrintable(r.said));
        QCOMPARE(filesIn(dir.path()), before);
    }
    // A check with the settings warns of each column they read that the
    // sample route's fares (v1 to v17) reach.
    void columnWarnings_data() {
        QTest::addColumn<int>("chime"); QTest::addColumn<int>("info"); // 0: not used
        QTest::addColumn<QString>("warned");
        QTest::newRow("starter settings") << StarterSettings::StepChimeColumn << 0 << "";
        QTest::newRow("the chime among the fares") << 10 << 0 << "chime v10";
        QTest::newRow("both, at the ends") << 17 << 1 << "chime v17, info v1";
        QTest::newRow("just above the fares") << 18 << 18 << "";
    }
    void columnWarnings() {
        QFETCH(int, chime); QFETCH(int, info);
        SettingsRecord r;
        r.stepSoundChoice = chime ? StepSoundChoice::ByColumn : StepSoundChoice::Always;
        r.stepSoundColumn = qint16(chime - 1), r.infoColumnNumber = qint16(info - 1);
        r.infoColumn.on = info ? Check::Checked : Check::Unchecked;
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(u"K40.in4"_qs), SettingsCodec::encode(r)));
        const Run run_ = run({u"check"_qs, QStringLiteral(K40_BINARY_DIR "/sample/12.hy3"), u"--settings"_qs,
                              dir.filePath(u"K40.in4"_qs)});
        QStringList warned;
        static const QRegularExpression Warning(u"(step chime by|information cell) v(\\d+)"_qs);
        for (auto m = Warning.globalMatch(run_.said); m.hasNext();) {
            const auto w = m.next();
            warned << (w.captured(1).startsWith(u's') ? u"chime v"_qs : u"info v"_qs) + w.captured(2);
        }
        QCOMPARE(run_.status, 0);
        QTEST(warned.join(u", "), "warned");
        QVERIFY2(run_.said.endsWith(u"18 stop(s), no problems\n"_qs), qPrintable(run_.said));
    }
    // A route made from CSV holds what the CSV says (a BOM, a header, CR LF or
    // LF, blank lines, quotes, blanks, values left out); its export imports to
    // the same file again. Without a header, the first line is a stop.
    void importExport() {
        QCOMPARE(describe(Hy3Csv::parse("A,1\nB,2\n").rows), u"A|1|0,0,0; B|2|0,0,0"_qs);
        QTemporaryDir dir;
        const QString csv = dir.filePath(u"a.csv"_qs), first = dir.filePath(u"a.hy3"_qs),
                      second = dir.filePath(u"b.hy3"_qs);
        QVERIFY(writeFile(
            csv, "\xEF\xBB\xBF停名,整理券,v1\r\nみなと駅前,1\r\n\r\n\"大橋, 西\", 2 ,170,,-1\n"
                 "\"言う \"\"駅\"\"\",3,\"200\"\n最後\n～①ｱ,2,32767,-32768\n,3\n"));
        QCOMPARE(run({u"import"_qs, csv, first}).status, 0);
        QCOMPARE(readFile(first).size(), 2 + 6 * 304 + 10 + 8 + 9 + 4 + 5); // and a name of 0 bytes
        QCOMPARE(describe(FareData::parseHy3(readFile(first)).rows),
                 u"みなと駅前|1|0,0,0; 大橋, 西|2|170,0,-1; 言う \"駅\"|3|200,0,0; 最後|0|0,0,0; "
                 u"～①ｱ|2|32767,-32768,0; |3|0,0,0"_qs);
        const Run exported = run({u"export"_qs, first});
        QCOMPARE(exported.status, 0);
        QCOMPARE(exported.out.count('\n'), 7); // a header and six stops
        QVERIFY(exported.out.contains("\n\"大橋, 西\",2,170,0,-1,0,"));
        QVERIFY(writeFile(csv, exported.out));
        QCOMPARE(run({u"import"_qs, csv, second}).status, 0);
        QCOMPARE(readFile(second), readFile(first));
    }
    // A feed imported by its route's long name: names and texts as the board and tape hold them.
    void gtfsImport_data() {
        QTest::addColumn<QByteArray>("stop"); // in place of S2's line; none: the zip
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("name");   // of S2 in 12.hy3
        QTest::addColumn<QString>("spoken"); // of S2 by the tape
        QTest::addColumn<QString>("fares");  // of rows 2 and 3
        const auto row = [](const char* tag, const QByteArray& stop, const char* said,
                            const char* name, const char* spoken,
                            const char* fares = "160,0,0; 港|3|220,220,0") {
            QTest::newRow(tag) << stop << QString::fromUtf8(said) << QString::fromUtf8(name)
                               << QString::fromUtf8(spoken) << QString::fromUtf8(fares);
        };
        row("the zip", {}, "fares: 3 found, 0 missing (blank on the board)\ncolumns: fares in "
            "v1-v2; step chimes in v121 (2 at the first stop, 1 on the way, 3 at the terminal); "
            "free: v3-v120, v122-v150\nwrote", "本町",
            "次は、本町です。");
        row("a zone of no fare", "S2,本町,Z",
            "fares: 1 found, 2 missing (blank on the board)\nmissing: from ticket 1 (駅前) to "
            "stop 2 (本町)\nmissing: from ticket 2 (本町) to stop 3 (港)\ncolumns:",
            "本町", "次は、本町です。", "0,0,0; 港|3|220,0,0");
        row("a line break", "S2,\"本\r\n町\",A",
            "note: stops.txt, line 3: the name of the stop \"S2\" holds line breaks or other "
            "control characters; written as \"本  町\"",
            "本  町", "次は、本  町です。");
        row("a control character", "S2,本\x07町,A", "written as \"本 町\"", "本 町",
            "次は、本 町です。");
        row("a quote and a comma", "S2,\"本\"\"町, 西\",A",
            "12tp.csv, line 2: written as \"次は、本”町, 西です。\", as the announcement file "
            "can hold it", "本\"町, 西",
            "次は、本”町, 西です。");
    }
    void gtfsImport() {
        QFETCH(QByteArray, stop);
        QFETCH(QString, name);
        QTemporaryDir dir;
        Gtfs::Files feed = miniFeed();
        feed[u"stops.txt"_qs].replace("S2,本町,A", stop);
        QVERIFY(stop.isEmpty() || writeFeed(dir.filePath(u"feed"_qs), feed));
        QVERIFY(writeFile(dir.filePath(u"12.hy3"_qs), "old") &&
                writeFile(dir.filePath(u"12tp.csv"_qs), "old"));
        const Run r =
            run({u"import-gtfs"_qs,
                 stop.isEmpty() ? QStringLiteral(K40_SOURCE_DIR "/tests/data/minifeed.zip")
                                : dir.filePath(u"feed"_qs),
                 u"--route"_qs, u"駅前線"_qs, u"--number"_qs, u"12"_qs, u"--out"_qs, dir.path(),
                 u"--force"_qs}); // over the files of an earlier import
        QCOMPARE(r.status, 0);
        QFETCH(QString, said);
        QVERIFY2(r.said.contains(said), qPrintable(r.said));
        const FareData::Hy3File f = FareData::parseHy3(readFile(dir.filePath(u"12.hy3"_qs)));
        QVERIFY(f.usable());
        QFETCH(QString, fares);
        QCOMPARE(describe(f.rows), u"駅前|1|0,0,0; %1|2|%2"_qs.arg(name, fares));
        const TapeReading tape = TapeFile::read(readFile(dir.filePath(u"12tp.csv"_qs)));
        QVERIFY(tape.problems.empty());
        QCOMPARE(tape.rows.size(), size_t(4));
        QTEST(tape.rows[1].text, "spoken");
    }
};

QTEST_GUILESS_MAIN(TestHy3Tool)
#include "tst_hy3tool.moc"
