// The audio callback's work: mixing the open sound channels into one
// 1024-frame output buffer (23 ms of sound at 44100 Hz); and the work of
// opening a sound: decoding and resampling a wave file, rendering a MIDI file.
#include "audio/Mixer.h"
#include "audio/SoundDecoder.h"

#include <QDir>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

// The shipped sample sounds, found beside this source file.
QString sample(const char* name) {
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../data/sample/")) +
           QString::fromLatin1(name);
}

std::shared_ptr<PcmSound> noise(qint64 frames) {
    auto s = std::make_shared<PcmSound>();
    s->rate = 44100;
    s->samples.resize(static_cast<size_t>(frames) * 2);
    for (size_t i = 0; i < s->samples.size(); ++i)
        s->samples[i] = 0.3f * std::sin(static_cast<float>(i) * 0.01f);
    return s;
}

void BM_MixCallback(benchmark::State& state) {
    constexpr int Frames = 1024;
    constexpr int Callbacks = 1000; // the voices are started again after this many
    Mixer mixer;
    const auto sound = noise(static_cast<qint64>(Frames) * Callbacks);
    std::vector<int> voices;
    for (int i = 0; i < state.range(0); ++i) voices.push_back(mixer.add(sound));
    std::vector<float> out(2 * Frames);
    int n = 0;
    for (auto _ : state) {
        if (n-- == 0) {
            for (int id : voices) mixer.play(id, 0);
            n = Callbacks - 1;
        }
        mixer.mix(out.data(), Frames);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * Frames);
}
BENCHMARK(BM_MixCallback)->Arg(0)->Arg(1)->Arg(4);

void BM_DecodeWave(benchmark::State& state) {
    const QString path = sample("announce.wav");
    for (auto _ : state)
        benchmark::DoNotOptimize(SoundDecoder::decodeWave(path, 44100));
}
BENCHMARK(BM_DecodeWave)->Unit(benchmark::kMillisecond);

void BM_RenderMidi(benchmark::State& state) {
    const QString path = sample("melody.mid");
    MidiRenderer midi(44100);
    if (!midi.available()) {
        state.SkipWithError("no General MIDI sound font");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(midi.render(path));
}
BENCHMARK(BM_RenderMidi)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
