#include "audio/SoundDecoder.h"

#include <QFile>
#include <QFileInfo>
#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <fluidsynth.h>
#include <sndfile.h>

namespace {

constexpr int MinRate = 1000;
constexpr int MaxRate = 768000;
constexpr qint64 ChunkFrames = 16384;

float sane(float x) {
    return std::isfinite(x) ? std::clamp(x, -1.0f, 1.0f) : 0.0f;
}

// Converts stereo float frames from one rate to another through SDL's
// resampler. The stream keeps the last few hundred frames back even when
// flushed, so silence is fed after the sound and the result is cut to the
// converted length.
bool resample(std::vector<float>& stereo, int srcRate, int rate) {
    if (srcRate == rate || stereo.empty()) return true;
    const qint64 frames = static_cast<qint64>(stereo.size() / 2);
    const qint64 length = (frames * rate + srcRate - 1) / srcRate;
    SDL_AudioStream* stream = SDL_NewAudioStream(AUDIO_F32SYS, 2, srcRate, AUDIO_F32SYS, 2, rate);
    if (!stream) return false;
    std::vector<float> out;
    out.reserve(static_cast<size_t>(length) * 2 + 64);
    std::vector<float> buffer(static_cast<size_t>(ChunkFrames) * 2);
    bool ok = true;
    auto drain = [&] {
        for (;;) {
            const int got = SDL_AudioStreamGet(stream, buffer.data(),
                                               static_cast<int>(buffer.size() * sizeof(float)));
            if (got < 0) ok = false;
            if (got <= 0) break;
            out.insert(out.end(), buffer.begin(), buffer.begin() + got / 4);
        }
    };
    auto put = [&](const float* data, size_t count) {
        for (size_t at = 0; ok && at < count; at += buffer.size()) {
            const size_t n = std::min(buffer.size(), count - at);
            if (SDL_AudioStreamPut(stream, data + at, static_cast<int>(n * sizeof(float))) != 0)
                ok = false;
            drain();
        }
    };
    put(stereo.data(), stereo.size());
    const std::vector<float> silence(static_cast<size_t>(std::max(2048, srcRate / 10)) * 2, 0.0f);
    put(silence.data(), silence.size());
    if (ok && SDL_AudioStreamFlush(stream) != 0) ok = false;
    drain();
    SDL_FreeAudioStream(stream);
    if (!ok) return false;
    out.resize(static_cast<size_t>(length) * 2, 0.0f);
    stereo.swap(out);
    return true;
}

} // namespace

namespace SoundDecoder {

std::shared_ptr<PcmSound> toStereo(const float* data, qint64 frames, int channels, int srcRate,
                                   int rate) {
    if (channels < 1 || srcRate < MinRate || srcRate > MaxRate || rate < MinRate ||
        rate > MaxRate || frames < 0)
        return nullptr;
    auto sound = std::make_shared<PcmSound>();
    sound->rate = rate;
    std::vector<float>& s = sound->samples;
    s.resize(static_cast<size_t>(frames) * 2);
    for (qint64 i = 0; i < frames; ++i) {
        const float* f = data + i * channels;
        s[static_cast<size_t>(i) * 2] = sane(f[0]);
        s[static_cast<size_t>(i) * 2 + 1] = sane(channels > 1 ? f[1] : f[0]);
    }
    if (!resample(s, srcRate, rate)) return nullptr;
    for (float& x : s)
        x = sane(x);
    return sound;
}

std::shared_ptr<PcmSound> decodeWave(const QString& path, int rate) {
    const QFileInfo fileInfo(path);
    if (!fileInfo.isFile() || fileInfo.size() > MaxWaveBytes) return nullptr;
    SF_INFO info{};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file) return nullptr;
    std::shared_ptr<PcmSound> sound;
    const qint64 maxFrames = static_cast<qint64>(info.samplerate) * MaxSeconds;
    if (info.channels >= 1 && info.channels <= MaxChannels && info.samplerate >= MinWaveRate &&
        info.samplerate <= MaxWaveRate && info.frames <= maxFrames) {
        std::vector<float> data;
        std::vector<float> chunk(static_cast<size_t>(ChunkFrames * info.channels));
        qint64 frames = 0;
        bool tooLong = false;
        for (;;) {
            const sf_count_t got = sf_readf_float(file, chunk.data(), ChunkFrames);
            if (got <= 0) break;
            // A header may understate the length: what is read counts.
            if (frames + got > maxFrames) {
                tooLong = true;
                break;
            }
            data.insert(data.end(), chunk.begin(), chunk.begin() + got * info.channels);
            frames += got;
        }
        if (frames > 0 && !tooLong)
            sound = toStereo(data.data(), frames, info.channels, info.samplerate, rate);
    }
    sf_close(file);
    return sound;
}

} // namespace SoundDecoder

MidiRenderer::MidiRenderer(int rate, const QString& soundFont) : rate_(rate), font_(soundFont) {}

MidiRenderer::~MidiRenderer() {
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
}

QString MidiRenderer::soundFontPath() {
    static const char* const candidates[] = {
        "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/sounds/sf3/default-GM.sf3",
        "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    };
    for (const char* path : candidates) {
        const QFileInfo info(QString::fromLatin1(path));
        if (info.isFile() && info.isReadable()) return info.filePath();
    }
    return {};
}

bool MidiRenderer::available() {
    if (tried_) return synth_ != nullptr;
    tried_ = true;
    if (font_.isEmpty() || !QFileInfo(font_).isFile()) return false;
    // The system has no log: FluidSynth keeps its messages to itself.
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level)
        fluid_set_log_function(level, nullptr, nullptr);
    settings_ = new_fluid_settings();
    if (!settings_) return false;
    fluid_settings_setnum(settings_, "synth.sample-rate", rate_);
    fluid_settings_setnum(settings_, "synth.gain", 2.0);
    fluid_settings_setint(settings_, "synth.lock-memory", 0);
    // The player follows the rendered samples, not the wall clock.
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    synth_ = new_fluid_synth(settings_);
    if (synth_ &&
        fluid_synth_sfload(synth_, QFile::encodeName(font_).constData(), 1) != FLUID_FAILED)
        return true;
    if (synth_) delete_fluid_synth(synth_);
    synth_ = nullptr;
    delete_fluid_settings(settings_);
    settings_ = nullptr;
    return false;
}

std::shared_ptr<PcmSound> MidiRenderer::render(const QString& path) {
    constexpr int Block = 512;
    constexpr float Silence = 1e-4f; // the synthesiser has fallen quiet
    constexpr float Audible = 1e-3f; // -60 dBFS: the ring counts as part of the sound
    constexpr float MaxPeak = 0.95f;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > SoundDecoder::MaxMidiBytes) return nullptr;
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("MThd") || !available()) return nullptr;

    fluid_synth_system_reset(synth_);
    fluid_player_t* player = new_fluid_player(synth_);
    if (!player) return nullptr;
    auto sound = std::make_shared<PcmSound>();
    sound->rate = rate_;
    std::vector<float>& s = sound->samples;
    const qint64 maxFrames = static_cast<qint64>(rate_) * SoundDecoder::MaxSeconds;
    qint64 frames = 0;
    auto renderBlock = [&] {
        s.resize(static_cast<size_t>(frames + Block) * 2);
        float* at = s.data() + frames * 2;
        fluid_synth_write_float(synth_, Block, at, 0, 2, at, 1, 2);
        frames += Block;
        float peak = 0;
        for (int i = 0; i < Block * 2; ++i)
            peak = std::max(peak, std::abs(at[i]));
        return peak;
    };
    float loudest = 0;
    qint64 endOfTrack = -1; // where the file's last track ends
    if (fluid_player_add_mem(player, bytes.constData(), static_cast<size_t>(bytes.size())) ==
            FLUID_OK &&
        fluid_player_play(player) == FLUID_OK) {
        while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING) {
            if (frames >= maxFrames) {
                // Longer than a sound may be: refused whole.
                fluid_player_stop(player);
                delete_fluid_player(player);
                fluid_synth_system_reset(synth_);
                return nullptr;
            }
            loudest = std::max(loudest, renderBlock());
            const int total = fluid_player_get_total_ticks(player);
            if (endOfTrack < 0 && total > 0 && fluid_player_get_current_tick(player) >= total)
                endOfTrack = frames;
        }
    }
    fluid_player_stop(player);
    delete_fluid_player(player);
    // Let the notes still sounding ring out, up to three seconds.
    fluid_synth_all_notes_off(synth_, -1);
    const qint64 tailEnd = std::min(maxFrames, frames + 3 * static_cast<qint64>(rate_));
    while (frames < tailEnd) {
        const float peak = renderBlock();
        loudest = std::max(loudest, peak);
        if (peak < Silence) break;
    }
    fluid_synth_system_reset(synth_);
    if (loudest < Silence) return nullptr;

    // The sound lasts to the end of the file's tracks, or longer while notes
    // still ring audibly; what follows is cut.
    qint64 end = std::max<qint64>(endOfTrack, 0);
    for (qint64 i = frames - 1; i >= end; --i) {
        if (std::abs(s[i * 2]) >= Audible || std::abs(s[i * 2 + 1]) >= Audible) {
            end = i + 1;
            break;
        }
    }
    s.resize(static_cast<size_t>(std::min(end, frames)) * 2);
    // Dense files would clip: those are turned down as a whole.
    const float gain = loudest > MaxPeak ? MaxPeak / loudest : 1.0f;
    for (float& x : s)
        x = std::isfinite(x) ? std::clamp(x * gain, -1.0f, 1.0f) : 0.0f;
    return sound;
}
