// The sound channels' command texts: what play() and closeAll() send to the
// media command interface.
#include "Fakes.h"
#include "model/AppInfo.h"
#include "model/SoundChannels.h"

#include <QtTest>

class TestSoundChannels : public QObject {
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

void TestSoundChannels::initTestCase() {
    QVERIFY(dir_.isValid());
}

void TestSoundChannels::init() {
    AppInfo::setExecutablePath(QStringLiteral("/x/K40"));
}

void TestSoundChannels::cleanupTestCase() {
    AppInfo::setExecutablePath(QString());
}

QString TestSoundChannels::touch(const QString& name) {
    const QString path = dir_.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write("RIFF");
    return path;
}

void TestSoundChannels::commands_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("channel");
    QTest::addColumn<bool>("sync");
    QTest::addColumn<QString>("expected"); // joined by "; ", %F for the file's full path
    const auto row = [](const char* tag, const char* name, const char* channel, bool sync,
                        const char* expected) {
        QTest::newRow(tag) << QString::fromUtf8(name) << QString::fromLatin1(channel) << sync
                           << QString::fromLatin1(expected);
    };
    row("wave, asynchronous", "key.wav", "S1", false,
        R"(close K40S1; open "%F" type waveaudio alias K40S1 wait; stop K40S1; play K40S1 from 0)");
    row("wave, synchronous", "step.wav", "S2", true,
        R"(close K40S2; open "%F" type waveaudio alias K40S2 wait; play K40S2 from 0 wait)");
    row("MIDI, synchronous", "chime.mid", "S3", true,
        R"(close K40S3; open "%F" type sequencer alias K40S3 wait; play K40S3 from 0 wait)");
    row("upper-case WAV", "KEY.WAV", "S1", false,
        R"(close K40S1; open "%F" type waveaudio alias K40S1 wait; stop K40S1; play K40S1 from 0)");
    row("path with blanks, Japanese name", "my sounds/ピン ポン.wav", "S3", false,
        R"(close K40S3; open "%F" type waveaudio alias K40S3 wait; stop K40S3; play K40S3 from 0)");
    row("mp3: closed only", "song.mp3", "S1", true, "close K40S1");
}

void TestSoundChannels::commands() {
    QFETCH(QString, name);
    QFETCH(QString, channel);
    QFETCH(bool, sync);
    QFETCH(QString, expected);
    QVERIFY(QDir(dir_.path()).mkpath(QFileInfo(dir_.filePath(name)).path()));
    const QString file = touch(name);
    QVERIFY(!file.isEmpty());
    RecordingMediaCommands mci;
    SoundChannels(&mci).play(file, channel, sync ? SoundChannels::Play::Sync : SoundChannels::Play::Async);
    QCOMPARE(mci.commands.join(u"; "), expected.replace(u"%F"_qs, file));
}

void TestSoundChannels::nothingSent_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("sync");
    QTest::newRow("empty name") << QString() << false;
    QTest::newRow("missing file") << "missing.mid" << true;
    QTest::newRow("folder named like a sound") << "folder.wav" << false;
}

void TestSoundChannels::nothingSent() {
    QFETCH(QString, file);
    QFETCH(bool, sync);
    QVERIFY(QDir(dir_.path()).mkpath("folder.wav"));
    const QString path = file.isEmpty() ? file : dir_.filePath(file);
    RecordingMediaCommands mci;
    SoundChannels(&mci).play(path, "S2", sync ? SoundChannels::Play::Sync : SoundChannels::Play::Async);
    QVERIFY(mci.commands.isEmpty());
}

void TestSoundChannels::resultCodesAreIgnored() {
    // Every command fails, yet the sequence runs through and nothing is thrown.
    const QString file = touch("broken.wav");
    RecordingMediaCommands mci;
    mci.result = 296;
    SoundChannels(&mci).play(file, "S1", SoundChannels::Play::Sync);
    QCOMPARE(mci.commands.size(), 3);
    QCOMPARE(mci.commands.last(), u"play K40S1 from 0 wait"_qs);
}

void TestSoundChannels::aliasFollowsExecutableName() {
    AppInfo::setExecutablePath(QStringLiteral("/opt/board/K50.bin"));
    const QString file = touch("a.wav");
    RecordingMediaCommands mci;
    SoundChannels(&mci).play(file, "S2", SoundChannels::Play::Async);
    QCOMPARE(mci.commands.value(0), u"close K50S2"_qs);
    QCOMPARE(mci.commands.value(3), u"play K50S2 from 0"_qs);
    SoundChannels(&mci).closeAll();
    QCOMPARE(mci.commands.last(), u"close K50S4"_qs);
}

void TestSoundChannels::closeAll() {
    RecordingMediaCommands mci;
    SoundChannels(&mci).closeAll();
    QCOMPARE(mci.commands,
             (QStringList{"close K40S1", "close K40S2", "close K40S3", "close K40S4"}));
}

void TestSoundChannels::deviceType_data() {
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

void TestSoundChannels::deviceType() {
    QFETCH(QString, file);
    QFETCH(QString, type);
    QCOMPARE(SoundChannels::deviceType(file), type);
}

QTEST_GUILESS_MAIN(TestSoundChannels)
#include "tst_soundchannels.moc"
