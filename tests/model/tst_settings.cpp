// The live settings: first start, taking a settings file, the options' commit, the
// backlight's look, and the voice settings file.
#include "SettingsSamples.h"
#include "model/Backlight.h"
#include "model/K40Error.h"
#include "model/Settings.h"
#include "model/VoiceSettingsFile.h"
#include "model/BoardChoice.h"
#include "model/StartOptions.h"
#include "TestFiles.h"
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// Takes the settings file bytes into s; the error's text, empty for none.
static QString take(Settings& s, const QByteArray& bytes) {
    try {
        s.take(SettingsCodec::decode(bytes));
    } catch (const K40Error& e) {
        return QStringLiteral("%1 %2").arg(e.number()).arg(e.description());
    }
    return {};
}

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    // A field stored with a value the controls keep (as taken), or one no control takes
    // ("refused"): the taking stops there, naming the field; what is before it is taken,
    // what is after not, but the custom colours. The picture files come after the layout.
    void taking_data() {
        QTest::addColumn<QByteArray>("field"); QTest::addColumn<int>("value");
        QTest::addColumn<QString>("taken");
        const std::tuple<const char*, int, bool> refused[] = {
            {"SeiriNumStyle", 12, false},   {"SeiriNumStyle", -2, false},
            {"SeiriNumZeroPad", 3, false},  {"InfoSectionOn", -1, true},
            {"InfoSeiriCell", 24, true},    {"InfoColumnNo", 150, true},
            {"ChimeiFontMode", 5, true},    {"ChimeiTsugiwaMode", 3, true},
            {"ChimeiTsugiwaFontMode", 4, true}, {"StepSoundColumn", 150, true},
            {"UseSeiriPrev", 5, true},      {"ScrollSpeed", 0, true},
            {"ScrollWait", 3001, true},     {"LateNight", 3, true},
            {"PreviewOpen", 2, true}};
        for (const auto& [field, value, pictures] : refused)
            QTest::addRow("%s %d", field, value)
                << QByteArray(field) << value << (pictures ? "refused, pictures taken" : "refused");
        const auto row = [](const char* tag, const char* field, int value, const char* taken) {
            QTest::newRow(tag) << QByteArray(field) << value << QString::fromUtf8(taken);
        };
        row("a check box's third state stays", "UseSeiriNum", 2, "greyed");
        row("a list without a selection", "InfoRouteCell", -1, "none");
        row("a colour keeps all 32 bits", "DigitForeColor", int(0xFF123456), "ff123456");
        row("the system colour of buttons", "DigitBackColor", int(0x8000000F), "8000000f");
        row("entry page 7 puts the keypad behind", "CtrlPage", 7, "behind");
        row("late night 2 shows unticked", "LateNight", 2, "off");
        row("any value not 0 chooses", "PanelAuto", 7, "built in");
        row("both chosen: the last wins", "PanelAuto", -1, "per mode");
        row("none chosen", "PanelManual", 0, "none");
    }
    void taking() {
        QFETCH(QByteArray, field); QFETCH(int, value); QFETCH(QString, taken);
        SettingsRecord stored = unusualSettings(u"/fares"_qs);
        if (field == "PanelAuto" && value == 7) stored.panelPictures = std::nullopt;
        Settings s(QDate(2024, 3, 5)); QSignalSpy console(&s, &Settings::consoleStateChanged);
        const QString error = take(s, storedWith(stored, field.constData(), value));
        const SettingsRecord& r = s.record();
        if (taken.startsWith(u"refused")) {
            const bool pictures = taken.endsWith(u"pictures taken");
            QCOMPARE(error, QStringLiteral("380 プロパティの値が不正です。（設定ファイルの %1 が %2）")
                                .arg(QString::fromLatin1(field)).arg(value));
            QCOMPARE(r.fareFolder + u'|' + r.modePictureFiles[2],
                     u"/fares|"_qs + (pictures ? u"on2.jpg"_qs : QString()));
            QVERIFY(r.showTicketNumbers == Check::Unchecked && r.boardLeft == 0);
            QCOMPARE(r.customColors, stored.customColors);
            QCOMPARE(console.count(), 1); // what was taken shows
            QCOMPARE(QList<bool>({s.took(u"PanelTop"_qs), s.took(u"PanelOn2File"_qs)}),
                     QList<bool>({false, pictures}));
            return;
        }
        QVERIFY2(error.isEmpty() && s.took(u"PanelTop"_qs), qPrintable(error));
        const auto& p = r.panelPictures;
        const QMap<QByteArray, QString> look{
            {"UseSeiriNum", r.showTicketNumbers == Check::Greyed ? u"greyed"_qs : QString()},
            {"InfoRouteCell", r.infoRoute.cell ? QString() : u"none"_qs},
            {"DigitForeColor", QString::number(r.digitLitColor, 16)},
            {"DigitBackColor", QString::number(r.digitBackColor, 16)},
            {"CtrlPage", r.keypadBehind ? u"behind"_qs : QString()},
            {"LateNight", r.lateNight ? u"on"_qs : u"off"_qs},
            {"Panel", !p ? u"none"_qs : *p == PanelPictures::BuiltIn ? u"built in"_qs : u"per mode"_qs}};
        QCOMPARE(look.value(field.startsWith("Panel") ? "Panel" : field), taken);
        QCOMPARE(r.fixedDate, u"2023/12/24"_qs); // the rest is taken as well
    }
    void firstStartThenCommit() { // the commit keeps what the dialog does not edit
        SettingsRecord expected;
        expected.fixedDate = u"2024/03/05"_qs, expected.scrollSpeed = 30,
        expected.scrollWait = 1500;
        Settings s(QDate(2024, 3, 5)); QCOMPARE(s.record(), expected);
        s.setScrollSpeed(700), s.setLateNight(true);
        QSignalSpy committed(&s, &Settings::optionsCommitted);
        const SettingsRecord edited = unusualSettings(u"/fares"_qs); s.commitOptions(edited);
        const SettingsRecord& r = s.record();
        QVERIFY(committed.count() == 1 && r.fareFolder + r.fixedDate == u"/fares2023/12/24"_qs);
        QCOMPARE(r.customColors, edited.customColors);
        // The console's switches and both windows' places stay.
        QCOMPARE(QList<qint32>({r.scrollSpeed, r.lateNight, r.keypadBehind, r.consoleLeft, r.boardTop}),
                 QList<qint32>({700, 1, 0, 0, 0}));
        QCOMPARE(r.digitCells, SettingsRecord().digitCells);
    }
    void backlightLook_data() {
        QTest::addColumn<bool>("perMode"); QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("look"); // the picture, its file, the numbers' colour
        QTest::newRow("built in, OFF") << false << 0 << "built in off.bmp 10203";
        QTest::newRow("per mode, ON1") << true << 1 << "user on1.gif 40506";
        QTest::newRow("per mode, ON2 built in") << true << 2 << "built in on2.jpg 70809";
    }
    void backlightLook() {
        QFETCH(bool, perMode); QFETCH(int, mode);
        SettingsRecord r = unusualSettings(u"/fares"_qs);
        r.panelPictures = perMode ? PanelPictures::PerMode : PanelPictures::BuiltIn;
        r.modePictures[2] = ModePicture::BuiltIn;
        const BacklightLook look = ::backlightLook(r, static_cast<Backlight>(mode));
        QTEST(QStringLiteral("%1 %2 %3")
                  .arg(look.userPicture ? u"user" : u"built in", look.pictureFile)
                  .arg(look.numberColor, 0, 16),
              "look");
    }
    void buttonColourAsWindowsShowsIt() { QCOMPARE(Bgr::shown(0x8000000F), 0xF0F0F0u); }
    // The voice and board files as a user may have edited them: missing, bad
    // or out of range is the default.
    void sideFiles_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("read"); // voice|speed|pitch|volume|grid|paging|page seconds|scale
        QTest::newRow("no file") << QByteArray() << "|1|0|0|0|0|4|100";
        QTest::newRow("as written") << QByteArray("voice=my voice\nspeed=1.5\npitch=-3\nvolume=6\n"
                                                  "board=5x10\npaging=1\npageSeconds=7\nscale=150\n")
                                    << "my voice|1.5|-3|6|3|1|7|150";
        QTest::newRow("out of range") << QByteArray("speed=2.5\npitch=-13\nvolume=20\nboard=7x10\n"
                                                    "paging=2\npageSeconds=31\nscale=801\n")
                                      << "|1|0|20|0|0|4|100";
        QTest::newRow("not numbers") << QByteArray("speed=fast\npitch=nan\nvolume=\npageSeconds=1e1\nscale=2x\n")
                                     << "|1|0|0|0|0|4|100";
        QTest::newRow("as Qt writes it, quoted")
            << QByteArray("[General]\nvoice=\" a \\\"b\\\" \"\nspeed=0.5\nboard=\"3x10\"\n")
            << " a \"b\" |0.5|0|0|1|0|4|100";
        QTest::newRow("a FIFO") << QByteArray("fifo") << "|1|0|0|0|0|4|100";
        QTest::newRow("a link to /dev/zero") << QByteArray("zero") << "|1|0|0|0|0|4|100";
        const char garbage[] = "\x00\xff\x81garbage[[\nvoice";
        QTest::newRow("not a settings file") << QByteArray(garbage, sizeof garbage - 1)
                                             << "|1|0|0|0|0|4|100";
    }
    void sideFiles() {
        QFETCH(QByteArray, text);
        QTemporaryDir dir; const QString path = dir.filePath(u"K40-voice.ini"_qs);
        QVERIFY(text == "fifo"   ? makeFifo(path)
                : text == "zero" ? makeEndlessFile(path) : text.isEmpty() || writeFile(path, text));
        const VoiceSettings v = VoiceSettingsFile::read(path);
        const BoardChoice b = BoardChoiceFile::read(path);
        QTEST(QStringList({v.voice, QString::number(v.speed), QString::number(v.pitch),
                           QString::number(v.volume), QString::number(int(b.grid)),
                           QString::number(b.paging), QString::number(b.pageSeconds),
                           QString::number(b.scalePercent)})
                  .join(u'|'), "read");
        // Written and read back unchanged; a place that cannot be written fails.
        const VoiceSettings chosen{u"声 \"2\"\\"_qs, 0.5, 12, -20}; QFile::remove(path);
        QVERIFY(VoiceSettingsFile::write(path, chosen) && VoiceSettingsFile::read(path) == chosen);
        QVERIFY(!VoiceSettingsFile::write(dir.path(), chosen)); // a folder
        for (const BoardChoice& board : {BoardChoice{BoardChoice::Grid::Rows6, true, 2, 400, true, 1},
                                         BoardChoice{BoardChoice::Grid::Standard, false, 30}})
            QVERIFY(BoardChoiceFile::write(path, board) && BoardChoiceFile::read(path) == board);
        QVERIFY(!BoardChoiceFile::write(dir.path(), {}));
    }
    // The command line: what holds over the board's file for this start, or
    // what is wrong with it.
    void startOptions_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("parsed"); // full screen|screen|scale|help, or the error
        QTest::newRow("none") << "" << "0|-1|100|0";
        QTest::newRow("all") << "--fullscreen --screen 2 --scale 300" << "1|1|300|0";
        QTest::newRow("= and %") << "--scale=150% -fullscreen" << "1|-1|150|0";
        QTest::newRow("help") << "--help" << "0|-1|100|1";
        QTest::newRow("unknown") << "--full" << "Unknown option 'full'.";
        QTest::newRow("a file") << "route.hy3" << "unexpected argument 'route.hy3'";
        QTest::newRow("no value") << "--scale" << "Missing value after '--scale'.";
        QTest::newRow("too small") << "--scale 49" << "--scale takes a size from 50 to 800 (percent), not '49'";
        QTest::newRow("too large") << "--scale 801" << "--scale takes a size from 50 to 800 (percent), not '801'";
        QTest::newRow("screen 0") << "--screen 0" << "--screen takes a screen's number from 1, not '0'";
    }
    void startOptions() {
        QFETCH(QString, arguments);
        QStringList args{u"K40"_qs};
        if (!arguments.isEmpty()) args += arguments.split(u' ');
        const StartOptions::Parsed p = StartOptions::parse(args);
        BoardChoice b;
        p.options.applyTo(b);
        QTEST(p.error.isEmpty() ? u"%1|%2|%3|%4"_qs.arg(b.fullScreen).arg(b.screen).arg(b.scalePercent).arg(p.help)
                                : p.error, "parsed");
    }
};
QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
