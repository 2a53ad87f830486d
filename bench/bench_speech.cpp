// How soon an announcement is heard: the time from speak() to the first
// sample of speech at the audio output, for a short sentence and for an
// announcement of about 60 characters in three sentences (cut at sentence
// ends, it should start no later than the short one).
//
// The output is SDL's "disk" driver, which writes what it plays to a file in
// real time. Two times are reported per announcement:
//   first_sample_ms  until the output has taken the speech's first samples
//   first_sound_ms   until the first audible sample, found in the output file
//
// And how long cutting an announcement into sentences takes on the user
// interface thread, for 4 M characters without a single punctuation mark.
#include "audio/OpenJTalkSpeech.h"
#include "audio/SdlSoundOutput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

namespace {

struct Rig {
    QTemporaryDir dir;
    QString rawPath;
    std::unique_ptr<SdlSoundOutput> output;
    std::unique_ptr<OpenJTalkSpeech> speech;

    Rig() : rawPath(dir.filePath(QStringLiteral("output.raw"))) {
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(rawPath));
        output = std::make_unique<SdlSoundOutput>();
        OpenJTalkSpeech::Setup setup = OpenJTalkSpeech::Setup::standard();
        setup.voiceFolders = {QStringLiteral(K40_BINARY_DIR "/voices")};
        speech = std::make_unique<OpenJTalkSpeech>(*output, setup);
    }
    qint64 framesWritten() const { return QFileInfo(rawPath).size() / 8; }
    // The first frame from `from` on whose left sample is audible; -1 if none.
    qint64 firstSound(qint64 from) const {
        QFile f(rawPath);
        if (!f.open(QIODevice::ReadOnly) || !f.seek(from * 8)) return -1;
        const QByteArray raw = f.readAll();
        const auto* frames = reinterpret_cast<const float*>(raw.constData());
        for (qint64 i = 0; i < raw.size() / 8; ++i)
            if (std::abs(frames[2 * i]) > 0.003f) return from + i;
        return -1;
    }
};

Rig& rig() {
    static Rig r;
    return r;
}

void speakUntilHeard(benchmark::State& state, const QString& text) {
    Rig& r = rig();
    if (!r.speech->create()) {
        state.SkipWithError("Open JTalk, its dictionary or the voice is missing");
        return;
    }
    const double rate = r.output->sampleRate();
    double sampleMs = 0, soundMs = 0;
    for (auto _ : state) {
        const qint64 writtenAtStart = r.framesWritten();
        QElapsedTimer timer;
        timer.start();
        r.speech->speak(text);
        while (r.speech->outputPositionMs() == 0 && timer.elapsed() < 10000) {
            QCoreApplication::processEvents();
            QThread::usleep(200);
        }
        const double firstSample = timer.nsecsElapsed() / 1e6;
        state.SetIterationTime(firstSample / 1000);
        sampleMs += firstSample;
        // Let the output write a little more, then find the first sound in it.
        QThread::msleep(300);
        QCoreApplication::processEvents();
        const qint64 sound = r.firstSound(writtenAtStart);
        soundMs += sound < 0 ? 10000 : (sound - writtenAtStart) * 1000 / rate;
        r.speech->stop();
    }
    state.counters["first_sample_ms"] = sampleMs / double(state.iterations());
    state.counters["first_sound_ms"] = soundMs / double(state.iterations());
    state.counters["characters"] = double(text.size());
}

void BM_ShortSentence(benchmark::State& state) {
    speakUntilHeard(state, QStringLiteral("次は、港です。"));
}

void BM_SixtyCharacterAnnouncement(benchmark::State& state) {
    speakUntilHeard(
        state, QStringLiteral("次は、市役所前・文化会館です。市役所、市民文化会館へお越しの"
                              "方は、こちらでお降りください。お降りの方は、お知らせください。"));
}

void BM_SentencesWithoutPunctuation(benchmark::State& state) {
    const QString text(state.range(0), QChar(u'あ'));
    for (auto _ : state)
        benchmark::DoNotOptimize(OpenJTalkSpeech::sentences(text));
    state.counters["characters"] = double(text.size());
}

} // namespace

BENCHMARK(BM_SentencesWithoutPunctuation)
    ->Arg(1 << 20)
    ->Arg(1 << 22)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShortSentence)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SixtyCharacterAnnouncement)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
