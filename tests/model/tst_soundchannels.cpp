// The sound channels' rules: what play() and closeAll() ask of the sound output.
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
        QTest::addColumn<QString>("on");   // the channel, "wait" when synchronous
        QTest::addColumn<QString>("expected"); // %F for the file's full path
        const auto row = [](const char* tag, const char* name, int made, const char* on,
                            const char* expected) {
            QTest::newRow(tag) << QString::fromUtf8(name) << made << on << expected;
        };
        row("wave, asynchronous", "KEY.WAV", 'f', "S1", "play S1 %F");
        row("wave, synchronous", "step.wav", 'f', "S2 wait", "play S2 %F wait");
        row("MIDI, synchronous", "chime.MiD", 'f', "S3 wait", "play S3 %F midi wait");
        // Names with blanks, quotes and characters of any script are paths like any other.
        row("blanks, quotes, Japanese", "my \"sounds\"/ピン ポン.wav", 'f', "S4", "play S4 %F");
        row("mp3: closed only", "song.mp3", 'f', "S1 wait", "close S1");
        // Nothing happens: an earlier sound on the channel plays on.
        row("no file name", "", 0, "S2", "");
        row("missing file", "missing.mid", 0, "S2 wait", "");
        row("folder named like a sound", "folder.wav", 'd', "S2", "");
    }
    void play() {
        QFETCH(QString, name); QFETCH(int, made); QFETCH(QString, on); QFETCH(QString, expected);
        const QString file = name.isEmpty() ? name : dir_.filePath(name);
        if (made) QVERIFY(made == 'd' ? QDir().mkpath(file) : writeFile(file, "RIFF"));
        RecordingSoundOutput out;
        SoundChannels(&out).play(file, SoundOutput::Channel(on[1].digitValue() - 1),
                                 on.endsWith(u"wait") ? SoundChannels::Play::Sync
                                                      : SoundChannels::Play::Async);
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
