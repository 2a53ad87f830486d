// The live settings: a first start, what a settings file's record may bring
// in (checked as the options dialog's controls check it), the console's
// switches, the options dialog's commit, the backlight's look, and the voice
// settings file.
#include "SettingsSamples.h"
#include "model/Backlight.h"
#include "model/K40Error.h"
#include "model/Settings.h"
#include "model/VoiceSettingsFile.h"
#include "TestFiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using Change = std::function<void(SettingsRecord&)>;
Q_DECLARE_METATYPE(Change)

namespace {

// The number of the error that taking the record raises, 0 for none.
int takeOptions(Settings& s, const SettingsRecord& r, const std::function<void()>& after = {}) {
    try {
        s.takeOptions(r, after);
    } catch (const K40Error& e) {
        return e.number();
    }
    return 0;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void firstStart() {
        const Settings s(QDate(2024, 3, 5));
        SettingsRecord expected;
        expected.FixedDate = u"2024/03/05"_qs;
        expected.ScrollSpeed = 30;
        expected.ScrollWait = 1500;
        QCOMPARE(s.record(), expected);
    }

    void refusedValueStopsTaking_data() {
        QTest::addColumn<Change>("refuse");
        QTest::addColumn<bool>("panelTaken"); // the ticket-number colours come first
        const auto row = [](const char* tag, bool panelTaken, Change c) {
            QTest::newRow(tag) << c << panelTaken;
        };
        row("layout 12", false, [](SettingsRecord& r) { r.SeiriNumStyle = 12; });
        row("layout -2", false, [](SettingsRecord& r) { r.SeiriNumStyle = -2; });
        row("check 3", false, [](SettingsRecord& r) { r.SeiriNumZeroPad = 3; });
        row("check -1", true, [](SettingsRecord& r) { r.InfoSectionOn = -1; });
        row("cell 24", true, [](SettingsRecord& r) { r.InfoSeiriCell = 24; });
        row("column 150", true, [](SettingsRecord& r) { r.InfoColumnNo = 150; });
        row("name font 5", true, [](SettingsRecord& r) { r.ChimeiFontMode = 5; });
        row("prefix mode 3", true, [](SettingsRecord& r) { r.ChimeiTsugiwaMode = 3; });
        row("prefix font 4", true, [](SettingsRecord& r) { r.ChimeiTsugiwaFontMode = 4; });
        row("step column 150", true, [](SettingsRecord& r) { r.StepSoundColumn = 150; });
        row("preview check 5", true, [](SettingsRecord& r) { r.UseSeiriPrev = 5; });
    }

    void refusedValueStopsTaking() {
        QFETCH(Change, refuse);
        QFETCH(bool, panelTaken);
        Settings s(QDate(2024, 3, 5));
        SettingsRecord stored = unusualSettings(u"/fares"_qs);
        refuse(stored);
        QCOMPARE(takeOptions(s, stored), int(K40Error::InvalidPropertyValue));
        // What comes before the refused value is taken, what comes after is not.
        QCOMPARE(s.record().FareDataDir, u"/fares"_qs);
        QCOMPARE(s.record().UseSeiriNum, qint16(0));
        QCOMPARE(s.record().PanelOffFile, panelTaken ? u"off.bmp"_qs : QString());
        QCOMPARE(s.record().FixedDate, u"2024/03/05"_qs);
        QCOMPARE(s.record().DateFixed, qint16(0));
    }

    void optionGroups_data() {
        QTest::addColumn<qint16>("automatic");
        QTest::addColumn<qint16>("perMode");
        QTest::addColumn<qint16>("automaticAfter");
        QTest::addColumn<qint16>("perModeAfter");
        QTest::newRow("the first") << qint16(-1) << qint16(0) << qint16(-1) << qint16(0);
        QTest::newRow("the second") << qint16(0) << qint16(-1) << qint16(0) << qint16(-1);
        QTest::newRow("both: the last wins") << qint16(-1) << qint16(-1) << qint16(0) << qint16(-1);
        QTest::newRow("any value not 0 chooses")
            << qint16(0) << qint16(7) << qint16(0) << qint16(-1);
        QTest::newRow("none: no choice") << qint16(0) << qint16(0) << qint16(0) << qint16(0);
    }

    void optionGroups() {
        QFETCH(qint16, automatic);
        QFETCH(qint16, perMode);
        Settings s(QDate(2024, 3, 5));
        SettingsRecord chosen = s.record();
        chosen.PanelAuto = 0;
        chosen.PanelManual = -1;
        s.commitOptions(chosen);
        SettingsRecord stored = s.record();
        stored.PanelAuto = automatic;
        stored.PanelManual = perMode;
        QCOMPARE(takeOptions(s, stored), 0);
        QTEST(s.record().PanelAuto, "automaticAfter");
        QTEST(s.record().PanelManual, "perModeAfter");
    }

    void valuesAsTheControlsKeepThem() {
        Settings s(QDate(2024, 3, 5));
        SettingsRecord stored = unusualSettings(u"/fares"_qs);
        stored.UseSeiriNum = 2;                     // a check box's third state stays
        stored.DigitForeColor = qint32(0xFF123456); // a colour keeps all 32 bits
        stored.DigitBackColor = qint32(0x8000000F); // the system colour of buttons
        stored.InfoRouteCell = -1;                  // a list without a selection
        QCOMPARE(takeOptions(s, stored), 0);
        QCOMPARE(s.record().UseSeiriNum, qint16(2));
        QCOMPARE(s.record().DigitForeColor, qint32(0xFF123456));
        QCOMPARE(s.record().DigitBackColor, qint32(0x8000000F));
        QCOMPARE(Bgr::shown(0x8000000F), 0xF0F0F0u); // shown as Windows shows it
        QCOMPARE(Bgr::shown(0xFF123456), 0x123456u);
        QCOMPARE(s.record().InfoRouteCell, qint16(-1));
        QCOMPARE(s.record().FixedDate, u"2023/12/24"_qs);
        QCOMPARE(s.record().TapeSoundFile, u"ピンポン.wav"_qs);
    }

    void panelPicturesAreAnnounced() {
        Settings s(QDate(2024, 3, 5));
        const SettingsRecord stored = unusualSettings(u"/fares"_qs);
        QStringList seen;
        QCOMPARE(takeOptions(s, stored,
                             [&] {
                                 seen << s.record().PanelOn2File +
                                             QString::number(s.record().DigitBackColor, 16);
                             }),
                 0);
        // Once, with the picture files taken and the digit colours not yet.
        QCOMPARE(seen, QStringList{u"on2.jpg808080"_qs});
    }

    void consoleState_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("after"); // speed, wait, page, preview, late night
        const auto row = [](const char* tag, int error, const char* after, Change c) {
            QTest::newRow(tag) << c << error << QString::fromLatin1(after);
        };
        row("taken", 0, "2000 3000 1 1 1", [](SettingsRecord&) {});
        row("page 7 is the lists", 0, "2000 3000 1 1 1", [](SettingsRecord& r) { r.CtrlPage = 7; });
        row("late night 2 shows unticked", 0, "2000 3000 1 1 0",
            [](SettingsRecord& r) { r.LateNight = 2; });
        row("speed 0", 380, "30 1500 0 0 0", [](SettingsRecord& r) { r.ScrollSpeed = 0; });
        row("wait 3001", 380, "2000 1500 0 0 0", [](SettingsRecord& r) { r.ScrollWait = 3001; });
        row("preview 2", 380, "2000 3000 0 0 0", [](SettingsRecord& r) { r.PreviewOpen = 2; });
        row("late night 3", 380, "2000 3000 0 0 0", [](SettingsRecord& r) { r.LateNight = 3; });
    }

    void consoleState() {
        QFETCH(Change, change);
        QFETCH(int, error);
        Settings s(QDate(2024, 3, 5));
        SettingsRecord stored = unusualSettings(u"/fares"_qs);
        change(stored);
        QSignalSpy changed(&s, &Settings::consoleStateChanged);
        int raised = 0;
        try {
            s.takeConsoleState(stored);
        } catch (const K40Error& e) {
            raised = e.number();
        }
        QCOMPARE(raised, error);
        QCOMPARE(changed.count(), 1);
        const SettingsRecord& r = s.record();
        QTEST(QStringLiteral("%1 %2 %3 %4 %5")
                  .arg(r.ScrollSpeed)
                  .arg(r.ScrollWait)
                  .arg(r.CtrlPage)
                  .arg(r.PreviewOpen)
                  .arg(r.LateNight),
              "after");
    }

    void commitKeepsWhatTheDialogDoesNotEdit() {
        Settings s(QDate(2024, 3, 5));
        s.setScrollSpeed(700);
        s.setLateNight(true);
        QSignalSpy committed(&s, &Settings::optionsCommitted);
        SettingsRecord edited = unusualSettings(u"/fares"_qs);
        s.commitOptions(edited);
        QCOMPARE(committed.count(), 1);
        QCOMPARE(s.record().FareDataDir, u"/fares"_qs);
        QCOMPARE(s.record().CustomColors, edited.CustomColors);
        QCOMPARE(s.record().ScrollSpeed, 700);
        QCOMPARE(s.record().LateNight, qint16(1));
        QCOMPARE(s.record().CtrlLeft, 0);
        QCOMPARE(s.record().DigitCellSettings, SettingsRecord().DigitCellSettings);
    }

    void backlightLook_data() {
        QTest::addColumn<bool>("perMode");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("user");
        QTest::addColumn<QString>("file");
        QTest::addColumn<uint>("color");
        QTest::newRow("built in, OFF") << false << 0 << false << u"off.bmp"_qs << 0x010203u;
        QTest::newRow("per mode, ON1") << true << 1 << true << u"on1.gif"_qs << 0x040506u;
        QTest::newRow("per mode, ON2 built in") << true << 2 << false << u"on2.jpg"_qs << 0x070809u;
    }

    void backlightLook() {
        QFETCH(bool, perMode);
        QFETCH(int, mode);
        SettingsRecord r = unusualSettings(u"/fares"_qs);
        r.PanelAuto = perMode ? 0 : -1;
        r.PanelManual = perMode ? -1 : 0;
        r.PanelOn2BuiltIn = -1;
        r.PanelOn2User = 0;
        const BacklightLook look = ::backlightLook(r, static_cast<Backlight>(mode));
        QTEST(look.userPicture, "user");
        QTEST(look.pictureFile, "file");
        QTEST(uint(look.numberColor), "color");
    }

    // The voice file as a user may have edited it: what is missing, not a
    // number or out of range is the default.
    void voiceFile_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("voice");
        QTest::addColumn<double>("speed");
        QTest::addColumn<double>("pitch");
        QTest::addColumn<double>("volume");
        QTest::newRow("no file") << QByteArray() << QString() << 1.0 << 0.0 << 0.0;
        QTest::newRow("as written") << QByteArray("voice=my voice\nspeed=1.5\npitch=-3\nvolume=6\n")
                                    << u"my voice"_qs << 1.5 << -3.0 << 6.0;
        QTest::newRow("out of range") << QByteArray("speed=2.5\npitch=-13\nvolume=20\n")
                                      << QString() << 1.0 << 0.0 << 20.0;
        QTest::newRow("not numbers") << QByteArray("speed=fast\npitch=nan\nvolume=\n")
                                     << QString() << 1.0 << 0.0 << 0.0;
        QTest::newRow("as Qt writes it, quoted")
            << QByteArray("[General]\nvoice=\" a \\\"b\\\" \"\nspeed=0.5\n") << u" a \"b\" "_qs << 0.5
            << 0.0 << 0.0;
        QTest::newRow("a FIFO") << QByteArray("fifo") << QString() << 1.0 << 0.0 << 0.0;
        QTest::newRow("a link to /dev/zero") << QByteArray("zero") << QString() << 1.0 << 0.0 << 0.0;
        const char garbage[] = "\x00\xff\x81garbage[[\nvoice";
        QTest::newRow("not a settings file") << QByteArray(garbage, sizeof garbage - 1)
                                             << QString() << 1.0 << 0.0 << 0.0;
    }

    void voiceFile() {
        QFETCH(QByteArray, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"K40-voice.ini"_qs);
        if (text == "fifo") QVERIFY(makeFifo(path));
        else if (text == "zero") QVERIFY(makeEndlessFile(path));
        else if (!text.isEmpty()) QVERIFY(writeFile(path, text));
        if (QFileInfo(path).isFile()) QCOMPARE(QFileInfo(path).size(), text.size());
        const VoiceSettings v = VoiceSettingsFile::read(path);
        QTEST(v.voice, "voice");
        QTEST(v.speed, "speed");
        QTEST(v.pitch, "pitch");
        QTEST(v.volume, "volume");
        // Written and read back unchanged; a place that cannot be written fails.
        const VoiceSettings chosen{u"声 \"2\"\\"_qs, 0.5, 12, -20};
        QFile::remove(path);
        QVERIFY(VoiceSettingsFile::write(path, chosen));
        QCOMPARE(VoiceSettingsFile::read(path), chosen);
        QVERIFY(!VoiceSettingsFile::write(dir.path(), chosen)); // a folder
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
