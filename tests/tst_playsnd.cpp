// The sound channels' command texts: what PlaySnd and CloseAllSnd send to
// the media command interface, and the pauses they take through the clock.
#include "Fakes.h"
#include "platform/AppInfo.h"
#include "sound/mdlSndAPI.h"

#include <QtTest>

class TestPlaySnd : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void commands_data();
    void commands();
    void nothingSent_data();
    void nothingSent();
    void resultCodesAreIgnored();
    void aliasFollowsExecutableName();
    void closeAll();
    void deviceType_data();
    void deviceType();

private:
    QString touch(const QString& name);
    QTemporaryDir dir_;
};

void TestPlaySnd::initTestCase() {
    QVERIFY(dir_.isValid());
}

void TestPlaySnd::init() {
    AppInfo::setExecutablePath(QStringLiteral("/x/K40"));
}

void TestPlaySnd::cleanupTestCase() {
    AppInfo::setExecutablePath(QString());
}

QString TestPlaySnd::touch(const QString& name) {
    const QString path = dir_.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write("RIFF");
    return path;
}

void TestPlaySnd::commands_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("channel");
    QTest::addColumn<bool>("sync");
    QTest::addColumn<int>("waitMs");
    QTest::addColumn<QString>("expected"); // joined by "; ", %F for the file's full path
    QTest::addColumn<QList<int>>("waits");
    const auto row = [](const char* tag, const char* name, const char* channel, bool sync,
                        int waitMs, const char* expected, const QList<int>& waits) {
        QTest::newRow(tag) << QString::fromUtf8(name) << QString::fromLatin1(channel) << sync
                           << waitMs << QString::fromLatin1(expected) << waits;
    };
    row("wave, asynchronous", "key.wav", "S1", false, 0,
        R"(close K40S1; open "%F" type waveaudio alias K40S1 wait; stop K40S1; play K40S1 from 0)",
        {0});
    row("wave, synchronous", "step.wav", "S2", true, 0,
        R"(close K40S2; open "%F" type waveaudio alias K40S2 wait; play K40S2 from 0 wait)", {0});
    row("MIDI, synchronous", "chime.mid", "S3", true, 0,
        R"(close K40S3; open "%F" type sequencer alias K40S3 wait; play K40S3 from 0 wait)", {0});
    row("upper-case WAV", "KEY.WAV", "S1", false, 0,
        R"(close K40S1; open "%F" type waveaudio alias K40S1 wait; stop K40S1; play K40S1 from 0)",
        {0});
    row("path with blanks, Japanese name", "my sounds/ピン ポン.wav", "S3", false, 0,
        R"(close K40S3; open "%F" type waveaudio alias K40S3 wait; stop K40S3; play K40S3 from 0)",
        {0});
    row("mp3: closed only", "song.mp3", "S1", true, 0, "close K40S1", {});
    row("pause after a synchronous play", "step2.wav", "S2", true, 250,
        R"(close K40S2; open "%F" type waveaudio alias K40S2 wait; play K40S2 from 0 wait)", {250});
    row("no pause after an asynchronous play", "step3.wav", "S2", false, 250,
        R"(close K40S2; open "%F" type waveaudio alias K40S2 wait; stop K40S2; play K40S2 from 0)",
        {0});
    row("negative pause is none", "step4.wav", "S2", true, -1,
        R"(close K40S2; open "%F" type waveaudio alias K40S2 wait; play K40S2 from 0 wait)", {0});
}

void TestPlaySnd::commands() {
    QFETCH(QString, name);
    QFETCH(QString, channel);
    QFETCH(bool, sync);
    QFETCH(int, waitMs);
    QFETCH(QString, expected);
    QVERIFY(QDir(dir_.path()).mkpath(QFileInfo(dir_.filePath(name)).path()));
    const QString file = touch(name);
    QVERIFY(!file.isEmpty());
    RecordingMediaCommands mci;
    FakeClock clock;
    mdlSndAPI::PlaySnd(mci, clock, file, channel, sync, static_cast<qint16>(waitMs));
    QCOMPARE(mci.commands.join(u"; "), expected.replace(u"%F"_qs, file));
    QTEST(clock.waits, "waits");
}

void TestPlaySnd::nothingSent_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("sync");
    QTest::newRow("empty name") << QString() << false;
    QTest::newRow("missing file") << "missing.mid" << true;
    QTest::newRow("folder named like a sound") << "folder.wav" << false;
}

void TestPlaySnd::nothingSent() {
    QFETCH(QString, file);
    QFETCH(bool, sync);
    QVERIFY(QDir(dir_.path()).mkpath("folder.wav"));
    const QString path = file.isEmpty() ? file : dir_.filePath(file);
    RecordingMediaCommands mci;
    FakeClock clock;
    mdlSndAPI::PlaySnd(mci, clock, path, "S2", sync, 100);
    QVERIFY(mci.commands.isEmpty());
    QVERIFY(clock.waits.isEmpty());
}

void TestPlaySnd::resultCodesAreIgnored() {
    // Every command fails, yet the sequence runs through and nothing is thrown.
    const QString file = touch("broken.wav");
    RecordingMediaCommands mci;
    mci.result = 296;
    FakeClock clock;
    mdlSndAPI::PlaySnd(mci, clock, file, "S1", true, 40);
    QCOMPARE(mci.commands.size(), 3);
    QCOMPARE(mci.commands.last(), u"play K40S1 from 0 wait"_qs);
    QCOMPARE(clock.waits, QList<int>{40});
}

void TestPlaySnd::aliasFollowsExecutableName() {
    AppInfo::setExecutablePath(QStringLiteral("/opt/board/K50.bin"));
    const QString file = touch("a.wav");
    RecordingMediaCommands mci;
    FakeClock clock;
    mdlSndAPI::PlaySnd(mci, clock, file, "S2", false, 0);
    QCOMPARE(mci.commands.value(0), u"close K50S2"_qs);
    QCOMPARE(mci.commands.value(3), u"play K50S2 from 0"_qs);
    mdlSndAPI::CloseAllSnd(mci);
    QCOMPARE(mci.commands.last(), u"close K50S4"_qs);
}

void TestPlaySnd::closeAll() {
    RecordingMediaCommands mci;
    mdlSndAPI::CloseAllSnd(mci);
    QCOMPARE(mci.commands,
             (QStringList{"close K40S1", "close K40S2", "close K40S3", "close K40S4"}));
}

void TestPlaySnd::deviceType_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("type");
    // Only the last three characters count, in any case, dot or not.
    const std::pair<const char*, const char*> rows[] = {{"/a/B.WAV", "waveaudio"},
                                                        {"b.MiD", "sequencer"},
                                                        {"/a/bwav", "waveaudio"},
                                                        {"/a/b.mp3", ""},
                                                        {"/a/b.wave", ""},
                                                        {"/a/b.wa ", ""},
                                                        {"av", ""},
                                                        {"", ""}};
    for (const auto& [file, type] : rows)
        QTest::addRow("'%s'", file) << QString::fromLatin1(file) << QString::fromLatin1(type);
}

void TestPlaySnd::deviceType() {
    QFETCH(QString, file);
    QFETCH(QString, type);
    QCOMPARE(mdlSndAPI::DeviceType(file), type);
}

QTEST_GUILESS_MAIN(TestPlaySnd)
#include "tst_playsnd.moc"
