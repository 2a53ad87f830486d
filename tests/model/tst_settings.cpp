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

namespace {

// Takes the settings file bytes into s; the error's text, empty for none.
QString take(Settings& s, const QByteArray& bytes) {
    try {
        s.take(SettingsCodec::decode(bytes));
    } catch (const K40Error& e) {
        return QStringLiteral("%1 %2").arg(e.number()).arg(e.description());
    }
    return {};
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void firstStart() {
        const Settings s(QDate(2024, 3, 5));
        SettingsRecord expected;
        expected.fixedDate = u"2024/03/05"_qs;
        expected.scrollSpeed = 30;
        expected.scrollWait = 1500;
        QCOMPARE(s.record(), expected);
    }

    // A value no control takes stops the taking there, naming the field:
    // what comes before it is taken, what comes after it is not (but the
    // custom colours, taken whatever else the file holds).
    void refusedValueStopsTaking_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("panelTaken"); // the picture files come after the layout
        const auto row = [](const char* field, int value, bool panelTaken) {
            QTest::addRow("%s %d", field, value) << QByteArray(field) << value << panelTaken;
        };
        row("SeiriNumStyle", 12, false);
        row("SeiriNumStyle", -2, false);
        row("SeiriNumZeroPad", 3, false);
        row("InfoSectionOn", -1, true);
        row("InfoSeiriCell", 24, true);
        row("InfoColumnNo", 150, true);
        row("ChimeiFontMode", 5, true);
        row("ChimeiTsugiwaMode", 3, true);
        row("ChimeiTsugiwaFontMode", 4, true);
        row("StepSoundColumn", 150, true);
        row("UseSeiriPrev", 5, true);
        row("ScrollSpeed", 0, true);
        row("ScrollWait", 3001, true);
        row("LateNight", 3, true);
        row("PreviewOpen", 2, true);
    }

    void refusedValueStopsTaking() {
        QFETCH(QByteArray, field);
        QFETCH(int, value);
        QFETCH(bool, panelTaken);
        Settings s(QDate(2024, 3, 5));
        QSignalSpy console(&s, &Settings::consoleStateChanged);
        const SettingsRecord stored = unusualSettings(u"/fares"_qs);
        QCOMPARE(take(s, storedWith(stored, field.constData(), value)),
                 QStringLiteral("380 プロパティの値が不正です。（設定ファイルの %1 が %2）")
                     .arg(QString::fromLatin1(field))
                     .arg(value));
        QCOMPARE(s.record().fareFolder, u"/fares"_qs);
        QCOMPARE(s.record().showTicketNumbers, Check::Unchecked);
        QCOMPARE(s.record().modePictureFiles[2], panelTaken ? u"on2.jpg"_qs : QString());
        QCOMPARE(s.record().boardLeft, 0);
        QCOMPARE(s.record().customColors, stored.customColors);
        QCOMPARE(console.count(), 1); // what was taken shows
        QVERIFY(!s.took(u"PanelTop"_qs));
        QCOMPARE(s.took(u"PanelOn2File"_qs), panelTaken);
    }

    // Values as the controls keep them: a field stored so, as it is taken.
    void storedValuesTaken_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("taken");
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

    void storedValuesTaken() {
        QFETCH(QByteArray, field);
        QFETCH(int, value);
        SettingsRecord stored = unusualSettings(u"/fares"_qs);
        stored.panelPictures = field == "PanelAuto" && value == 7 ? std::nullopt
                                                                   : stored.panelPictures;
        Settings s(QDate(2024, 3, 5));
        QCOMPARE(take(s, storedWith(stored, field.constData(), value)), QString());
        QVERIFY(s.took(u"PanelTop"_qs));
        const SettingsRecord& r = s.record();
        const auto group = [](const std::optional<PanelPictures>& p) {
            return !p ? u"none"_qs : *p == PanelPictures::BuiltIn ? u"built in"_qs : u"per mode"_qs;
        };
        QString taken;
        if (field == "UseSeiriNum") taken = r.showTicketNumbers == Check::Greyed ? u"greyed"_qs : QString();
        if (field == "InfoRouteCell") taken = r.infoRoute.cell ? QString() : u"none"_qs;
        if (field == "DigitForeColor") taken = QString::number(r.digitLitColor, 16);
        if (field == "DigitBackColor") taken = QString::number(r.digitBackColor, 16);
        if (field == "CtrlPage") taken = r.keypadBehind ? u"behind"_qs : QString();
        if (field == "LateNight") taken = r.lateNight ? u"on"_qs : u"off"_qs;
        if (field.startsWith("Panel")) taken = group(r.panelPictures);
        QTEST(taken, "taken");
        QCOMPARE(r.fixedDate, u"2023/12/24"_qs); // the rest is taken as well
    }

    void commitKeepsWhatTheDialogDoesNotEdit() {
        Settings s(QDate(2024, 3, 5));
        s.setScrollSpeed(700);
        s.setLateNight(true);
        QSignalSpy committed(&s, &Settings::optionsCommitted);
        SettingsRecord edited = unusualSettings(u"/fares"_qs);
        s.commitOptions(edited);
        QCOMPARE(committed.count(), 1);
        QCOMPARE(s.record().fareFolder, u"/fares"_qs);
        QCOMPARE(s.record().fixedDate, u"2023/12/24"_qs);
        QCOMPARE(s.record().customColors, edited.customColors);
        QCOMPARE(s.record().scrollSpeed, 700);
        QVERIFY(s.record().lateNight);
        QVERIFY(!s.record().keypadBehind);
        QCOMPARE(s.record().consoleLeft, 0);
        QCOMPARE(s.record().boardTop, 0);
        QCOMPARE(s.record().digitCells, SettingsRecord().digitCells);
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
        r.panelPictures = perMode ? PanelPictures::PerMode : PanelPictures::BuiltIn;
        r.modePictures[2] = ModePicture::BuiltIn;
        const BacklightLook look = ::backlightLook(r, static_cast<Backlight>(mode));
        QTEST(look.userPicture, "user");
        QTEST(look.pictureFile, "file");
        QTEST(uint(look.numberColor), "color");
        QCOMPARE(Bgr::shown(0x8000000F), 0xF0F0F0u); // the buttons' system colour, as Windows shows it
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
