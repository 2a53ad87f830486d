// How soon a chime is heard, and whether decoding a long sound stalls the
// user-interface thread.
//
//   BM_PlaySample: the time from playing a shipped sound on a channel (as
//   the board does: close, open and play) to its first samples taken by the
//   output, for the first play (decoded) and the second (kept).
//   BM_DecodeLongWave: the longest the user-interface thread's event loop
//   goes without running while a 60-second wave file is first opened, and
//   how long that open takes.
//   BM_DecodeDenseFile: how much the process's peak memory grows while a
//   small file of the largest sound allowed (FLAC under a .wav name: 8
//   channels at 192 kHz for 119 s, under 200 KB) is decoded. It runs first,
//   so that the peak is its own.
//
// The output is SDL's "disk" driver, which takes samples in real time.
#include "audio/SdlSoundOutput.h"
#include "audio/SoundDecoder.h"
#include "model/SoundChannels.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>
#include <sndfile.h>
#include <sys/resource.h>
#include <vector>

namespace {

struct Rig {
    QTemporaryDir dir;
    std::unique_ptr<SdlSoundOutput> output;
    Rig() {
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(dir.filePath(QStringLiteral("out.raw"))));
        output = std::make_unique<SdlSoundOutput>();
    }
};

Rig& rig() {
    static Rig r;
    return r;
}

QString sample(const char* name) {
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../data/sample/")) +
           QString::fromLatin1(name);
}

// Milliseconds from the play to the first samples at the output.
double playUntilHeard(const QString& file) {
    Rig& r = rig();
    const SoundChannels channels(r.output.get());
    QElapsedTimer timer;
    timer.start();
    channels.play(file, SoundOutput::Channel::S3, SoundChannels::Play::Async);
    while (r.output->positionMs(SoundOutput::Channel::S3) == 0 && timer.elapsed() < 5000) {
        QCoreApplication::processEvents();
        QThread::usleep(200);
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    r.output->close(SoundOutput::Channel::S3);
    return ms;
}

void BM_PlaySample(benchmark::State& state, const char* name) {
    const QString file = sample(name);
    if (!QFileInfo::exists(file)) {
        state.SkipWithError("the sample sound is missing");
        return;
    }
    double first = 0, second = 0;
    for (auto _ : state) {
        first = playUntilHeard(file);
        second = playUntilHeard(file);
        state.SetIterationTime(second / 1000);
    }
    state.counters["first_play_ms"] = first;
    state.counters["second_play_ms"] = second;
}

// A 60-second stereo wave of a tone, 16-bit at 44.1 kHz (about 10 MB).
QString longWave(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("long.wav"));
    constexpr int Rate = 44100, Seconds = 60;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return {};
    QDataStream d(&f);
    d.setByteOrder(QDataStream::LittleEndian);
    const quint32 size = Rate * Seconds * 4;
    d.writeRawData("RIFF", 4);
    d << quint32(36 + size);
    d.writeRawData("WAVEfmt ", 8);
    d << quint32(16) << quint16(1) << quint16(2) << quint32(Rate) << quint32(Rate * 4)
      << quint16(4) << quint16(16);
    d.writeRawData("data", 4);
    d << size;
    for (int i = 0; i < Rate * Seconds; ++i) {
        const auto v = static_cast<qint16>(8000 * std::sin(i * 0.0627));
        d << v << v;
    }
    return path;
}

void BM_DecodeLongWave(benchmark::State& state) {
    Rig& r = rig();
    const QString path = longWave(r.dir);
    double longestStall = 0, openMs = 0;
    for (auto _ : state) {
        QElapsedTimer sinceTick;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        ticker.callOnTimeout([&] {
            longestStall = std::max(longestStall, sinceTick.nsecsElapsed() / 1e6);
            sinceTick.restart();
        });
        ticker.start(1);
        sinceTick.start();
        QElapsedTimer timer;
        timer.start();
        const SoundOutput::Result result = r.output->play(
            SoundOutput::Channel::S4, path, SoundOutput::Format::Wave, SoundOutput::Wait::ForStart);
        openMs = timer.nsecsElapsed() / 1e6;
        longestStall = std::max(longestStall, sinceTick.nsecsElapsed() / 1e6);
        ticker.stop();
        if (result != SoundOutput::Result::Played) state.SkipWithError("the long wave was refused");
        r.output->close(SoundOutput::Channel::S4);
        state.SetIterationTime(openMs / 1000);
    }
    state.counters["open_ms"] = openMs;
    state.counters["longest_stall_ms"] = longestStall;
}

long peakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

void BM_DecodeDenseFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dense.wav"));
    SF_INFO info{};
    info.samplerate = 192000;
    info.channels = 8;
    info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f) {
        state.SkipWithError("libsndfile cannot write FLAC");
        return;
    }
    const std::vector<short> silence(192000 * 8, 0);
    for (int second = 0; second < 119; ++second) sf_writef_short(f, silence.data(), 192000);
    sf_close(f);
    const long before = peakRssKb();
    qint64 frames = 0;
    for (auto _ : state) {
        const auto sound = SoundDecoder::decodeWave(path, 48000);
        frames = sound ? sound->frames() : 0;
    }
    state.counters["file_kb"] = double(QFileInfo(path).size()) / 1024;
    state.counters["frames_out"] = double(frames);
    state.counters["peak_growth_mb"] = double(peakRssKb() - before) / 1024;
}

} // namespace

BENCHMARK(BM_DecodeDenseFile)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlaySample, announce_wav, "announce.wav")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlaySample, melody_mid, "melody.mid")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeLongWave)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
