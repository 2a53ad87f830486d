#include "audio/SoundDecoder.h"

#include "model/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

// Brings frames of any channel count to stereo at the output's rate as they
// come, chunk by chunk, so that only the result is ever held whole: mono
// plays on both sides, of more channels the first two are kept. The rate is
// converted by SDL's resampler, which keeps the last few hundred frames back
// even when flushed, so silence is fed after the sound and the result is cut
// to the converted length.
class StereoStream {
public:
    StereoStream(int channels, int srcRate, int rate, qint64 expectedFrames)
        : channels_(channels), srcRate_(srcRate), rate_(rate) {
        if (srcRate != rate) {
            stream_ = SDL_NewAudioStream(AUDIO_F32SYS, 2, srcRate, AUDIO_F32SYS, 2, rate);
            ok_ = stream_ != nullptr;
        }
        out_.reserve(static_cast<size_t>(outFrames(expectedFrames)) * 2 + 64);
    }
    ~StereoStream() {
        if (stream_) SDL_FreeAudioStream(stream_);
    }
    StereoStream(const StereoStream&) = delete;
    StereoStream& operator=(const StereoStream&) = delete;

    // Takes frames of interleaved samples.
    void put(const float* data, qint64 frames) {
        stereo_.resize(static_cast<size_t>(frames) * 2);
        for (qint64 i = 0; i < frames; ++i) {
            const float* f = data + i * channels_;
            stereo_[size_t(i) * 2] = sane(f[0]);
            stereo_[size_t(i) * 2 + 1] = sane(channels_ > 1 ? f[1] : f[0]);
        }
        in_ += frames;
        if (!stream_) {
            out_.insert(out_.end(), stereo_.begin(), stereo_.end());
            return;
        }
        putToStream(stereo_.data(), stereo_.size());
    }

    // The whole sound, or nullptr when the conversion failed.
    std::shared_ptr<PcmSound> finish() {
        if (stream_ && ok_) {
            const std::vector<float> silence(size_t(std::max(2048, srcRate_ / 10)) * 2, 0.0f);
            putToStream(silence.data(), silence.size());
            if (ok_ && SDL_AudioStreamFlush(stream_) != 0) ok_ = false;
            drain();
            out_.resize(static_cast<size_t>(outFrames(in_)) * 2, 0.0f);
        }
        if (!ok_) return nullptr;
        auto sound = std::make_shared<PcmSound>();
        sound->rate = rate_;
        for (float& x : out_) x = sane(x);
        sound->samples = std::move(out_);
        return sound;
    }

private:
    qint64 outFrames(qint64 frames) const { return (frames * rate_ + srcRate_ - 1) / srcRate_; }
    void putToStream(const float* data, size_t count) {
        for (size_t at = 0; ok_ && at < count; at += Chunk) {
            const size_t n = std::min(Chunk, count - at);
            if (SDL_AudioStreamPut(stream_, data + at, static_cast<int>(n * sizeof(float))) != 0)
                ok_ = false;
            drain();
        }
    }
    void drain() {
        buffer_.resize(Chunk);
        for (;;) {
            const int got = SDL_AudioStreamGet(stream_, buffer_.data(),
                                               static_cast<int>(buffer_.size() * sizeof(float)));
            if (got < 0) ok_ = false;
            if (got <= 0) break;
            out_.insert(out_.end(), buffer_.begin(), buffer_.begin() + got / 4);
        }
    }

    static constexpr size_t Chunk = size_t(ChunkFrames) * 2;
    int channels_, srcRate_, rate_;
    SDL_AudioStream* stream_ = nullptr;
    bool ok_ = true;
    qint64 in_ = 0;
    std::vector<float> stereo_, buffer_, out_;
};

// Opens path for libsndfile only when it is a regular file, without waiting
// on a FIFO; -1 otherwise.
int openRegularFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > SoundDecoder::MaxWaveBytes) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

namespace SoundDecoder {

std::shared_ptr<PcmSound> toStereo(const float* data, qint64 frames, int channels, int srcRate,
                                   int rate) {
    if (channels < 1 || srcRate < MinRate || srcRate > MaxRate || rate < MinRate ||
        rate > MaxRate || frames < 0)
        return nullptr;
    StereoStream stream(channels, srcRate, rate, frames);
    for (qint64 at = 0; at < frames; at += ChunkFrames)
        stream.put(data + at * channels, std::min(ChunkFrames, frames - at));
    return stream.finish();
}

std::shared_ptr<const PcmSound> atRate(std::shared_ptr<const PcmSound> sound, int rate) {
    if (!sound || sound->rate <= 0 || sound->frames() <= 0) return nullptr;
    if (sound->rate == rate) return sound;
    return toStereo(sound->samples.data(), sound->frames(), 2, sound->rate, rate);
}

std::shared_ptr<PcmSound> decodeWave(const QString& path, int rate) {
    if (rate < MinRate || rate > MaxRate) return nullptr;
    const int fd = openRegularFile(path);
    if (fd < 0) return nullptr;
    SF_INFO info{};
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    if (!file) return nullptr;
    std::shared_ptr<PcmSound> sound;
    const qint64 maxFrames = static_cast<qint64>(info.samplerate) * MaxSeconds;
    // The limits are checked before anything is made; then the file is
    // decoded a chunk at a time, and only its stereo result at the output's
    // rate is kept.
    if (info.channels >= 1 && info.channels <= MaxChannels && info.samplerate >= MinWaveRate &&
        info.samplerate <= MaxWaveRate && info.frames <= maxFrames) {
        StereoStream stream(info.channels, info.samplerate, rate, info.frames);
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
            stream.put(chunk.data(), got);
            frames += got;
        }
        if (frames > 0 && !tooLong) sound = stream.finish();
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
    const SafeFile::Reading file = SafeFile::read(path, SoundDecoder::MaxMidiBytes);
    if (!file.ok()) return nullptr;
    const QByteArray& bytes = file.bytes;
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
