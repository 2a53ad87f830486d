// The sound channels' command texts: what play() and closeAll() send to the
// media command interface.
#include "Fakes.h"
#include "TestFiles.h"
#include "model/AppInfo.h"
#include "model/SoundChannels.h"

#include <QTemporaryDir>
#include <QtTest>

class TestSoundChannels : public QObject {
    Q_OBJECT
private slots:
    void init() { AppInfo::setExecutablePath(u"/x/K40"_qs); }
    void cleanupTestCase() { AppInfo::setExecutablePath(QString()); }
    void play_data() {
        QTest::addColumn<QString>("name"); // in the test's folder
        QTest::addColumn<int>("made");     // 'f' a file of that name, 'd' a folder, 0 nothing
        QTest::addColumn<QString>("channel");
        QTest::addColumn<bool>("sync");
        QTest::addColumn<QString>("expected"); // joined by "; ", %F for the file's full path
        const auto row = [](const char* tag, const char* name, int made, const char* channel,
                            bool sync, const char* expected) {
            QTest::newRow(tag) << QString::fromUtf8(name) << made << QString::fromLatin1(channel)
                               << sync << QString::fromLatin1(expected);
        };
        row("wave, asynchronous", "KEY.WAV", 'f', "S1", false,
            R"(close K40S1; open "%F" type waveaudio alias K40S1 wait; stop K40S1; play K40S1 from 0)");
        row("wave, synchronous", "step.wav", 'f', "S2", true,
            R"(close K40S2; open "%F" type waveaudio alias K40S2 wait; play K40S2 from 0 wait)");
        row("MIDI, synchronous", "chime.MiD", 'f', "S3", true,
            R"(close K40S3; open "%F" type sequencer alias K40S3 wait; play K40S3 from 0 wait)");
        row("path with blanks, Japanese name", "my sounds/ピン ポン.wav", 'f', "S4", false,
            R"(close K40S4; open "%F" type waveaudio alias K40S4 wait; stop K40S4; play K40S4 from 0)");
        row("mp3: closed only", "song.mp3", 'f', "S1", true, "close K40S1");
        // Nothing happens: an earlier sound on the channel plays on.
        row("no file name", "", 0, "S2", false, "");
        row("missing file", "missing.mid", 0, "S2", true, "");
        row("folder named like a sound", "folder.wav", 'd', "S2", false, "");
    }

    void play() {
        QFETCH(QString, name);
        QFETCH(int, made);
        QFETCH(QString, channel);
        QFETCH(bool, sync);
        QFETCH(QString, expected);
        const QString file = name.isEmpty() ? name : dir_.filePath(name);
        if (made) QVERIFY(made == 'd' ? QDir().mkpath(file) : writeFile(file, "RIFF"));
        RecordingMediaCommands mci;
        SoundChannels(&mci).play(file, channel,
                                 sync ? SoundChannels::Play::Sync : SoundChannels::Play::Async);
        QCOMPARE(mci.commands.join(u"; "), expected.replace(u"%F"_qs, file));
    }

    void resultCodesAreIgnored() {
        // Every command fails, yet the sequence runs through and nothing is thrown.
        const QString file = dir_.filePath(u"broken.wav"_qs);
        QVERIFY(writeFile(file, "RIFF"));
        RecordingMediaCommands mci;
        mci.result = 296;
        SoundChannels(&mci).play(file, u"S1"_qs, SoundChannels::Play::Sync);
        QCOMPARE(mci.commands.size(), 3);
        QCOMPARE(mci.commands.last(), u"play K40S1 from 0 wait"_qs);
    }

    void closeAll() {
        // In order, each device named after the executable.
        AppInfo::setExecutablePath(u"/opt/board/K50.bin"_qs);
        RecordingMediaCommands mci;
        SoundChannels(&mci).closeAll();
        QCOMPARE(mci.commands,
                 (QStringList{"close K50S1", "close K50S2", "close K50S3", "close K50S4"}));
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestSoundChannels)
#include "tst_soundchannels.moc"
