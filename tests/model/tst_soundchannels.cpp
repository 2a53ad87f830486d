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
        QTest::addColumn<QString>("made"); // there by that name: a file, a folder or nothing
        QTest::addColumn<QString>("on");   // the channel, "wait" when synchronous
        QTest::addColumn<QString>("expected"); // %F for the file's full path
        QTest::newRow("wave, async") << "KEY.WAV" << "file" << "S1" << "play S1 %F";
        QTest::newRow("wave, sync") << "step.wav" << "file" << "S2 wait" << "play S2 %F wait";
        QTest::newRow("MIDI, sync") << "chime.MiD" << "file" << "S3 wait" << "play S3 %F midi wait";
        // Names with blanks, quotes and characters of any script are paths like any other.
        QTest::newRow("odd characters") << "my \"sounds\"/ピン ポン.wav"
                                        << "file"
                                        << "S4"
                                        << "play S4 %F";
        QTest::newRow("mp3: closed only") << "song.mp3" << "file" << "S1 wait" << "close S1";
        // Nothing happens: an earlier sound on the channel plays on.
        QTest::newRow("no file name") << "" << "" << "S2" << "";
        QTest::newRow("missing file") << "missing.mid" << "" << "S2 wait" << "";
        QTest::newRow("folder named like a sound") << "folder.wav" << "folder" << "S2" << "";
    }
    void play() {
        QFETCH(QString, name);
        QFETCH(QString, made);
        QFETCH(QString, on);
        QFETCH(QString, expected);
        const QString file = name.isEmpty() ? name : dir_.filePath(name);
        if (!made.isEmpty())
            QVERIFY(made == u"folder" ? QDir().mkpath(file) : writeFile(file, "RIFF"));
        RecordingSoundOutput out;
        SoundChannels(&out).play(file, SoundOutput::Channel(on[1].digitValue() - 1),
                                 on.endsWith(u"wait") ? SoundChannels::Play::Sync
                                                      : SoundChannels::Play::Async);
        QCOMPARE(out.calls.join(u"; "), expected.replace(u"%F"_qs, file));
    }
    void closeAll() {
        RecordingSoundOutput out; SoundChannels(&out).closeAll();
        QCOMPARE(out.calls, (QStringList{"close S1", "close S2", "close S3", "close S4"}));
        SoundChannels(nullptr).closeAll(); // no output: nothing to do, nothing fails
    }
private:
    QTemporaryDir dir_;
};
QTEST_GUILESS_MAIN(TestSoundChannels)
#include "tst_soundchannels.moc"
