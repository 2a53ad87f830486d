// A route's announcement file (<route>tp.csv) and loading it onto the tape.
#include "Fakes.h"
#include "TestFiles.h"
#include "model/AnnouncementTape.h"
#include "model/Cp932.h"
#include "model/K40Error.h"
#include <QTemporaryDir>
#include <QtTest>

class TestAnnouncementTape : public QObject {
    Q_OBJECT
private slots:
    // A file's rows ("text|step flag|sound flag; ...", or the error raised) and the
    // problems a check finds ("line.field error n" or "line.field warning"); null: not checked.
    void read_data() {
        QTest::addColumn<QByteArray>("bytes"); QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("problems");
        const auto row = [](const char* tag, const QByteArray& bytes, const char* rows,
                            const char* problems) {
            QTest::newRow(tag) << bytes << (rows ? QString::fromUtf8(rows) : QString())
                               << (problems ? QString::fromUtf8(problems) : QString());
        };
        const auto cp932 = [](const char* text) { return Cp932::encode(QString::fromUtf8(text)); };
        row("good", cp932("次は、港です。,1,2\r\n発車します,0,0\r\n"), "次は、港です。|1|2; 発車します|0|0", "");
        row("last line without its end", "a,1,3\r\nb,0,1", "a|1|3; b|0|1", "");
        row("LF line ends", "a,1,3\nb,0,1\n", "a|1|3; b|0|1", "1.0 warning");
        row("LF line ends, the last without", "a,1,3\nb,0,1\nc,0,0", nullptr, "1.0 warning");
        row("LF after CR LF", "a,1,3\r\nb,0,1\nc,0,0\n", nullptr, "2.0 warning");
        row("CR alone", "a,1,2\rb,0,0\r\n", nullptr,
            "1.0 warning; 1.0 warning; 1.3 error 13; 1.4 error 9");
        row("UTF-8", QByteArray("次は、港です。,1,2\r\n"), nullptr, "0.0 warning");
        row("bytes no CP932", "b,0,0\r\na\xFF,0,0\r\n", nullptr, "2.0 warning");
        row("empty file", "", "", "0.0 warning");
        row("quoted fields", cp932("\"港, 西口\"x,\"1\",0\r\n"), "港, 西口|1|0", "1.1 warning");
        row("blanks around fields", "  a b ,  1 ,\t-2 \r\n", "a b|1|-2", "1.3 warning");
        // Records run on from line to line; the tape still has a row per line.
        row("records across lines", "a,1\r\n2,b\r\n0,3\r\n", "a|1|2; b|0|3; |0|0", nullptr);
        row("an unquoted comma shifts the rows after it", "1,2,3,4\r\n5,6\r\n", "1|2|3; 4|5|6",
            nullptr);
        row("four fields, then two", "a,0,1,b\r\n0,2\r\n", nullptr, "1.0 warning; 2.0 warning");
        row("an empty line", "a,1,2\r\n\r\nb,0,0\r\n", "a|1|2; b|0|0; |0|0",
            "2.0 warning; 3.0 warning");
        row("flags of no meaning, empty text", "a,2,0\r\nb,0,4\r\n,1,-1\r\n", nullptr,
            "1.2 warning; 2.3 warning; 3.1 warning; 3.3 warning");
        row("flag not a number", "a,x,0\r\n", "error 13", "1.2 error 13");
        row("flags refused", "a,x,0\r\nb,0,70000\r\nc,1,99999\r\n", nullptr,
            "1.2 error 13; 2.3 error 6; 3.3 error 6");
        row("flag above 16 bits", "a,1,32768\r\n", "error 6", "1.3 error 6");
        row("flag below 16 bits", "a,-32769,1\r\n", "error 6", "1.2 error 6");
        row("two fields", "a,1\r\nb,0,0\r\n", nullptr, "1.0 warning; 2.1 error 13; 2.2 error 62");
        row("file ends inside a record", "a,1,2\r\nb,1\r\n", "error 62", nullptr);
        row("more records than lines", "a,1,2,b,0,0\r\n", "error 9", "1.0 warning; 1.4 error 9");
        row("text after a closing quote", "\"a\"x,1,0\r\n\"b\" ,0,0\r\n", nullptr, "1.1 warning");
        row("doubled quote", "\"say \"\"hi\"\"\",1,0\r\n", nullptr, "1.1 warning");
        row("quote not closed", "\"a,1,0\r\n", nullptr, "1.0 warning; 1.1 warning; 1.1 error 62");
    }
    void read() {
        QFETCH(QByteArray, bytes); QFETCH(QString, rows); QFETCH(QString, problems);
        const TapeReading reading = TapeFile::read(bytes); QStringList found, read;
        for (const TapeProblem& p : reading.problems)
            found << QStringLiteral("%1.%2 ").arg(p.line).arg(p.field) +
                         (p.error != 0 ? QStringLiteral("error %1").arg(p.error) : u"warning"_qs);
        if (!problems.isNull()) QCOMPARE(found.join(u"; "), problems);
        QCOMPARE(reading.loads(), !found.join(u' ').contains(u"error"_qs));
        // Loading the file reads the same rows, or raises the first error.
        QString parsed;
        try {
            for (const TapeRow& r : TapeFile::parse(bytes))
                read << QStringLiteral("%1|%2|%3").arg(r.text).arg(r.stepFlag).arg(r.soundFlag);
            parsed = read.join(u"; ");
            QVERIFY(reading.loads() && TapeFile::parse(bytes) == reading.rows);
        } catch (const K40Error& e) {
            parsed = QStringLiteral("error %1").arg(e.number()); QVERIFY(!reading.loads());
        }
        if (!rows.isNull()) QCOMPARE(parsed, rows);
    }
    // A row written, flags at both ends of 16 bits, and the row after it read back
    // as they were, or with the text the writer says it wrote instead.
    void write_data() {
        QTest::addColumn<QString>("text"); QTest::addColumn<QString>("read"); // "=": the same
        QTest::newRow("plain") << u"次は、港です。"_qs << u"="_qs;
        QTest::newRow("empty") << QString() << u"="_qs;
        QTest::newRow("comma") << u"港, 西口"_qs << u"="_qs;
        QTest::newRow("quotes in an unquoted text") << u"次は、\"さくら\"前です。"_qs << u"="_qs;
        QTest::newRow("doubled quotes, a quote last") << u"a \"\"b\"\"\""_qs << u"="_qs;
        QTest::newRow("quote and comma") << u"港\"東\", 西口"_qs << u"港”東”, 西口"_qs;
        QTest::newRow("quote first") << u"\"さくら\"前"_qs << u"”さくら”前"_qs;
        QTest::newRow("blanks at the ends") << u"  港 "_qs << u"="_qs;
        QTest::newRow("blanks alone") << u"   "_qs << u"="_qs;
        QTest::newRow("ideographic blanks") << u"　港　"_qs << u"="_qs;
        QTest::newRow("controls") << u"\ta\r\nb\nc\rd\x01" u"e"_qs << u" a  b c d e"_qs;
        QTest::newRow("no CP932") << u"𠮷田😀"_qs << u"吉田〓"_qs;
        // A byte no character decodes from (0xEE) stays unless it would pair with the next.
        const QString stray(QChar(0xDCEE));
        QTest::newRow("a stray byte") << stray + u"1番"_qs << u"="_qs;
        QTest::newRow("a stray byte before a kanji") << stray + u"港"_qs << u"〓港"_qs;
        QTest::newRow("stray bytes before a code written otherwise")
            << stray + stray + QChar(0x8AA7) << u"〓〓"_qs + QChar(0x8AA7);
    }
    void write() {
        QFETCH(QString, text); QFETCH(QString, read);
        const QString now = read == u"=" ? text : read;
        const std::vector<TapeRow> rows{{text, -32768, 32767}, {u"後"_qs, 1, 2}};
        const TapeWriting w = TapeFile::write(rows);
        QVERIFY(w.bytes.endsWith("\r\n") && w.bytes.count("\r\n") == 2);
        QCOMPARE(TapeFile::parse(w.bytes), (std::vector<TapeRow>{{now, -32768, 32767}, rows[1]}));
        QCOMPARE(w.changed.size(), size_t(now != text));
        if (now != text) QVERIFY(w.changed[0].row == 0 && w.changed[0].written == now);
    }
    // Each case first loads route 1's file of two rows, then route 12's file of the case.
    void load_data() {
        QTest::addColumn<QString>("name"); // empty: no file
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("speech"); // a speech engine can be had
        QTest::addColumn<bool>("loaded"); QTest::addColumn<int>("count"); // afterwards
        QTest::newRow("name in capitals")
            << u"12TP.CSV"_qs << u"x,0,1\r\ny,1,0\r\nz,0,0"_qs << true << true << 3;
        QTest::newRow("no file") << QString() << QString() << true << false << 2;
        QTest::newRow("flag not a number") << u"12tp.csv"_qs << u"x,y,1\r\n"_qs << true << false << 2;
        QTest::newRow("without speech") << u"12tp.csv"_qs << u"x,0,1\r\n"_qs << false << true << 1;
    }
    void load() {
        QFETCH(QString, name); QFETCH(QString, text); QFETCH(bool, speech); QFETCH(bool, loaded);
        QTemporaryDir dir; const QString folder = dir.path() + u'/';
        QVERIFY(writeFile(folder + u"1tp.csv"_qs, Cp932::encode(u"a,0,2\r\nb,1,3\r\n"_qs)));
        if (!name.isEmpty()) QVERIFY(writeFile(folder + name, Cp932::encode(text)));
        FakeSpeech fake; AnnouncementTape tape(speech ? &fake : nullptr);
        tape.createSpeech();
        // The controls' group opens with speech, its buttons with the first good file.
        QVERIFY(tape.controlsEnabled() == speech && !tape.buttonsEnabled());
        QVERIFY(tape.load(folder, u"1"_qs) && tape.buttonsEnabled() == speech);
        QSignalSpy changed(&tape, &AnnouncementTape::controlsChanged);
        QCOMPARE(tape.load(folder, u"12"_qs), loaded); QTEST(tape.count(), "count");
        QCOMPARE(tape.rows().front().text, loaded ? u"x"_qs : u"a"_qs);
        // A bad file closes the group; the buttons keep their state.
        QCOMPARE(QList<int>({tape.controlsEnabled(), tape.buttonsEnabled(), int(changed.size())}),
                 QList<int>({speech && loaded, speech, speech && !loaded}));
        // Clearing the display and back keeps a bad file's group closed: the previous
        // route's announcements stay out of reach.
        tape.setDisplayCleared(true); QVERIFY(!tape.controlsEnabled());
        tape.setDisplayCleared(false); QCOMPARE(tape.controlsEnabled(), speech && loaded);
        QVERIFY(tape.load(folder, u"1"_qs) && tape.controlsEnabled() == speech); // opens it again
    }
};
QTEST_GUILESS_MAIN(TestAnnouncementTape)
#include "tst_announcementtape.moc"
