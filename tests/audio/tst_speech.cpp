// The speech engine: Open JTalk run per sentence, its voice beside the sound channels (the
// engine and the shipped voice installed by the setup script).
#include "DiskOutput.h"
#include "Waiting.h"
#include "audio/OpenJTalkSpeech.h"
#include "model/AppInfo.h"
#include <QtTest>
#include <cmath>
#include <csignal>
#include <memory>
#include <numeric>

namespace {
OpenJTalkSpeech::Setup shipped() {
    OpenJTalkSpeech::Setup s = OpenJTalkSpeech::Setup::standard();
    s.voiceFolders = {QStringLiteral(K40_BINARY_DIR "/voices")};
    return s;
}
// Per 10 ms window of x: is anything heard in it?
std::vector<bool> soundingWindows(const std::vector<float>& x, int rate) {
    const size_t n = static_cast<size_t>(rate / 100);
    std::vector<bool> on;
    for (auto at = x.begin(); at + n <= x.end(); at += n)
        on.push_back(std::sqrt(std::inner_product(at, at + n, at, 0.0) / n) > 0.005);
    return on;
}
// Speaks text and silences the engine; the first sentence's length.
qint64 firstSentenceMs(OpenJTalkSpeech& speech, const QString& text) {
    QSignalSpy started(&speech, &OpenJTalkSpeech::sentenceStarted);
    speech.speak(text);
    started.wait(NoTimeLimit);
    return speech.stop(), started.value(0).value(1, -1).toLongLong();
}
// Whether process pid lives: it exists and is no zombie.
bool alive(qint64 pid) {
    const QByteArray state = readFile(u"/proc/%1/stat"_qs.arg(pid)).split(')').value(1);
    return state.size() > 1 && state[1] != 'Z' && state[1] != 'X';
}
} // namespace
class TestSpeech : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
private slots:
    void sentences_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("sentences");
        const auto cut = [](const char* tag, const QString& text) { // "|" where a sentence ends
            QTest::newRow(tag) << QString(text).remove(u'|') << text.split(u'|');
        };
        cut("two sentences", u"次は、市役所前です。|お降りの方はお知らせください。"_qs);
        cut("a long first sentence starts with its first clause",
            u"次は、|市役所前・文化会館です。|お降りの方は、お知らせください。"_qs);
        QTest::newRow("no end mark") << u" 次は、港 "_qs << QStringList{u"次は、港"_qs};
        QTest::newRow("marks and brackets stay with their sentence")
            << u"「止まります！」危ないですよ？！ 発車します"_qs
            << QStringList{u"「止まります！」"_qs, u"危ないですよ？！"_qs, u"発車します"_qs};
        QTest::newRow("line ends") << u"a\r\n\r\nb\nc"_qs << QStringList{u"a"_qs, u"b"_qs, u"c"_qs};
        QTest::newRow("punctuation alone says nothing") << u"。「」、\n…"_qs << QStringList{};
        const QString clause = QString(70, u'あ') + u'、';
        cut("long: cut after a comma", clause + u'|' + clause + u"です。"_qs);
        cut("long without a comma: cut anywhere", QString(120, u'い') + u'|' + QString(10, u'い'));
    }
    void sentences() {
        QFETCH(QString, text);
        QTEST(OpenJTalkSpeech::sentences(text), "sentences");
    }
    void createNeedsEveryPart_data() {
        QTest::addColumn<QString>("missing");
        for (const char* part : {"", "program", "dictionary", "voices"})
            QTest::newRow(*part ? part : "nothing") << QString::fromLatin1(part);
    }
    void createNeedsEveryPart() {
        QFETCH(QString, missing);
        OpenJTalkSpeech::Setup setup = shipped();
        const QString nowhere = dir_.filePath(u"nowhere"_qs);
        if (missing == u"program") setup.program = nowhere;
        if (missing == u"dictionary") setup.dictionary = nowhere;
        if (missing == u"voices") setup.voiceFolders = {dir_.path()}; // no .htsvoice in it
        SdlSoundOutput output;
        OpenJTalkSpeech speech(output, setup);
        QCOMPARE(speech.create(), missing.isEmpty());
        speech.speak(u"次は、港です。"_qs);
        QCOMPARE(speech.isSpeaking(), missing.isEmpty());
        speech.release();
        QVERIFY(!speech.isSpeaking());
    }
    void speaksOnTheOutput() {
        // Speech as long as its sentences, then "speaking" ends; 6 dB louder it still peaks
        // at -1 dBFS. The temporary files take on a program name with blanks and quotes.
        const QString name = u"K40 \"copy\" 2"_qs;
        AppInfo::setExecutablePath(dir_.filePath(name)), QCoreApplication::setApplicationName(name);
        const auto restore = qScopeGuard([] {
            AppInfo::setExecutablePath(QString()),
                QCoreApplication::setApplicationName(u"tst_speech"_qs);
        });
        DiskOutput disk(dir_.filePath(u"speech.raw"_qs));
        const int rate = disk.output->sampleRate();
        OpenJTalkSpeech speech(*disk.output, shipped());
        QVERIFY(speech.create());
        speech.setVoice({{}, 1.0, 0.0, 6.0});
        QSignalSpy started(&speech, &OpenJTalkSpeech::sentenceStarted);
        QSignalSpy speaking(&speech, &OpenJTalkSpeech::speakingChanged);
        speech.speak(u"次は、市役所前・文化会館です。"_qs);
        QVERIFY(speech.isSpeaking());
        QVERIFY(speaking.wait(NoTimeLimit) && !speech.isSpeaking());
        QCOMPARE(speaking.size(), 2); // on, off
        QCOMPARE(started.size(), 2);  // "次は、" first
        const qint64 lengthMs = started[0][1].toLongLong() + started[1][1].toLongLong();
        QVERIFY2(lengthMs >= 1500 && lengthMs <= 4000,
                 qPrintable(QString::number(lengthMs))); // 16 morae
        disk.output.reset();
        const std::vector<float> left = disk.left();
        const std::vector<bool> on = soundingWindows(left, rate);
        const auto first = std::find(on.begin(), on.end(), true) - on.begin();
        const auto last = on.rend() - std::find(on.rbegin(), on.rend(), true);
        QVERIFY(first < qsizetype(on.size()));
        // The pieces one after the other, less the quiet end of the last.
        QCOMPARE_GE((last - first) * 10, lengthMs - 450);
        QCOMPARE_LE((last - first) * 10, lengthMs + 50);
        QCOMPARE_GE(std::count(on.begin() + first, on.begin() + last, true) * 10, (last - first) * 6);
        const float peak =
            std::abs(std::ranges::max(left, {}, [](float x) { return std::abs(x); }));
        QVERIFY2(peak > 0.8f && peak <= 0.8913f, qPrintable(QString::number(peak)));
    }
    void stopSilencesAtOnce() {
        DiskOutput disk(dir_.filePath(u"stop.raw"_qs));
        const int rate = disk.output->sampleRate();
        OpenJTalkSpeech speech(*disk.output, shipped());
        QVERIFY(speech.create());
        QSignalSpy started(&speech, &OpenJTalkSpeech::sentenceStarted);
        // A first sentence of some seconds, so that the stop comes well inside it.
        speech.speak(u"ご乗車ありがとうございます、このバスは、市役所、市民病院経由、"
                     u"桜ヶ丘車庫行きです。整理券をお取りください。"_qs);
        QVERIFY(started.wait(NoTimeLimit));
        const qint64 startedAt = disk.framesWritten(); // the sentences still being made are dropped
        QTRY_VERIFY_WITH_TIMEOUT(disk.framesWritten() > startedAt + rate * 6 / 10, NoTimeLimit);
        const qint64 stoppedAt = disk.framesWritten();
        speech.stop();
        QVERIFY(!speech.isSpeaking());
        QTest::qWait(300);
        QCOMPARE(started.size(), 1);
        disk.output.reset();
        const std::vector<float> left = disk.left();
        const auto heard = [&](qint64 from, qint64 to) {
            return std::any_of(left.begin() + from, left.begin() + to,
                               [](float x) { return std::abs(x) > 0.001f; });
        };
        QVERIFY(heard(stoppedAt - rate / 2, stoppedAt));             // speech until the stop
        QVERIFY(!heard(stoppedAt + rate / 20, qint64(left.size()))); // nothing 50 ms after it
    }
    void endsTheWholeSynthesis_data() {
        QTest::addColumn<QString>("end");
        for (const char* end : {"stop", "release", "destruction", "limit"})
            QTest::newRow(end) << QString::fromLatin1(end);
    }
    void endsTheWholeSynthesis() {
        // A wrapper whose child never ends: stopping ends the child, the time limit the synthesis.
        QFETCH(QString, end);
        QTemporaryDir dir;
        const QString pidFile = dir.filePath(u"child.pid"_qs);
        OpenJTalkSpeech::Setup setup = shipped();
        setup.program = dir.filePath(u"open_jtalk"_qs);
        QVERIFY(writeFile(setup.program, "#!/bin/sh\nsleep infinity &\necho $! >'" +
                                             QFile::encodeName(pidFile) + "'\nwait\n"));
        QVERIFY(QFile::setPermissions(setup.program, QFile::ReadOwner | QFile::ExeOwner));
        if (end == u"limit") setup.limitMs = 100, setup.limitMsPerCharacter = 0;
        SdlSoundOutput output;
        auto speech = std::make_unique<OpenJTalkSpeech>(output, setup);
        QVERIFY(speech->create());
        speech->speak(u"次は、港です。"_qs);
        QVERIFY(speech->isSpeaking());
        const auto child = [&] { return readFile(pidFile).trimmed().toLongLong(); };
        const auto cleanUp = qScopeGuard([&] {
            if (child() > 0 && alive(child())) ::kill(pid_t(child()), SIGKILL);
        });
        QTRY_VERIFY_WITH_TIMEOUT(end == u"limit" ? !speech->isSpeaking() : child() > 0,
                                 NoTimeLimit);
        if (end != u"limit") {
            end == u"stop"      ? speech->stop()
            : end == u"release" ? speech->release()
                                : speech.reset();
            QVERIFY(!speech || !speech->isSpeaking());
        }
        // The limit may end the wrapper before it has started its child.
        if (child() > 0) QTRY_VERIFY_WITH_TIMEOUT(!alive(child()), NoTimeLimit);
    }
    void voiceSettings() {
        // A user's voice beside the shipped one; speed reaches the synthesis; an unknown voice
        // falls back to "mei"; "12系統" is read with the two words of its number.
        const QString folder = dir_.filePath(u"voices"_qs);
        const QString mei = QStringLiteral(K40_BINARY_DIR "/voices/mei/mei_normal.htsvoice");
        QVERIFY(QDir().mkpath(folder + u"/user"_qs) &&
                QFile::copy(mei, folder + u"/user/my voice.htsvoice"_qs) &&
                QFile::copy(mei, folder + u"/mei_normal.htsvoice"_qs));
        OpenJTalkSpeech::Setup setup = shipped();
        setup.voiceFolders = {folder};
        SdlSoundOutput output;
        OpenJTalkSpeech speech(output, setup);
        QVERIFY(speech.create());
        QCOMPARE(speech.voices(), (QStringList{u"mei_normal"_qs, u"my voice"_qs}));
        QCOMPARE_GE(firstSentenceMs(speech, u"12系統です。"_qs),
                    firstSentenceMs(speech, u"系統です。"_qs) + 300);
        const QString text = u"次は、港です。"_qs;
        const qint64 normal = firstSentenceMs(speech, text);
        QCOMPARE_GT(normal, 0);
        speech.setVoice({u"my voice"_qs, 2.0, 3.0, -6.0});
        QCOMPARE_LE(firstSentenceMs(speech, text), normal * 2 / 3);
        speech.setVoice({u"gone"_qs, 9.0, 0, 0}); // held to 2
        QCOMPARE(speech.voice().speed, 2.0);
        QCOMPARE_LE(firstSentenceMs(speech, text), normal * 2 / 3);
    }
};
QTEST_GUILESS_MAIN(TestSpeech)
#include "tst_speech.moc"
