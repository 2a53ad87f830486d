// The sound channels' rules: what play() and closeAll() ask of the sound
// output.
#include "Fakes.h"
#include "TestFiles.h"
#include "model/SoundChannels.h"

#include <QTemporaryDir>
#include <QtTest>

class TestSoundChannels : public QObject {
    Q_OBJECT
private slots:
    void play_data() {
        QTest::addColumn<QString>("name"); // in the test's folder
        QTest::addColumn<int>("made");     // 'f' a file of that name, 'd' a folder, 0 nothing
        QTest::addColumn<int>("channel");
        QTest::addColumn<bool>("sync");
        QTest::addColumn<QString>("expected"); // %F for the file's full path
        using C = SoundOutput::Channel;
        const auto row = [](const char* tag, const char* name, int made, C channel, bool sync,
                            const char* expected) {
            QTest::newRow(tag) << QString::fromUtf8(name) << made << int(channel) << sync
                               << QString::fromLatin1(expected);
        };
        row("wave, asynchronous", "KEY.WAV", 'f', C::S1, false, "play S1 %F");
        row("wave, synchronous", "step.wav", 'f', C::S2, true, "play S2 %F wait");
        row("MIDI, synchronous", "chime.MiD", 'f', C::S3, true, "play S3 %F midi wait");
        // Names with blanks, quotes and characters of any script are paths like any other.
        row("blanks, quotes, Japanese", "my \"sounds\"/ピン ポン.wav", 'f', C::S4, false, "play S4 %F");
        row("mp3: closed only", "song.mp3", 'f', C::S1, true, "close S1");
        // Nothing happens: an earlier sound on the channel plays on.
        row("no file name", "", 0, C::S2, false, "");
        row("missing file", "missing.mid", 0, C::S2, true, "");
        row("folder named like a sound", "folder.wav", 'd', C::S2, false, "");
    }
    void play() {
        QFETCH(QString, name);
        QFETCH(int, made);
        QFETCH(int, channel);
        QFETCH(bool, sync);
        QFETCH(QString, expected);
        const QString file = name.isEmpty() ? name : dir_.filePath(name);
        if (made) QVERIFY(made == 'd' ? QDir().mkpath(file) : writeFile(file, "RIFF"));
        RecordingSoundOutput out;
        SoundChannels(&out).play(file, SoundOutput::Channel(channel),
                                 sync ? SoundChannels::Play::Sync : SoundChannels::Play::Async);
        QCOMPARE(out.calls.join(u"; "), expected.replace(u"%F"_qs, file));
    }

    void closeAll() {
        RecordingSoundOutput out;
        SoundChannels(&out).closeAll();
        QCOMPARE(out.calls, (QStringList{"close S1", "close S2", "close S3", "close S4"}));
        SoundChannels(nullptr).closeAll(); // no output: nothing to do, nothing fails
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestSoundChannels)
#include "tst_soundchannels.moc"
