#include "audio/OfflineSoundOutput.h"

#include "audio/SoundDecoder.h"

#include <QFileInfo>
#include <algorithm>

OfflineSoundOutput::OfflineSoundOutput(int rate) : rate_(rate), files_(rate) {}

SoundOutput::Result OfflineSoundOutput::play(Channel channel, const QString& path, Format format,
                                             Wait wait) {
    close(channel);
    const QFileInfo file(path);
    if (!file.isFile()) return Result::Unplayable;
    std::shared_ptr<const PcmSound> sound = files_.kept(file, format);
    if (!sound) {
        Result failure = Result::Unplayable;
        sound = files_.decode(path, format, failure);
        if (!sound) return failure;
        files_.keep(file, format, sound);
    }
    const Result r = start(channel, std::move(sound));
    if (r == Result::Played && wait == Wait::ForEnd) renderToEnd(channel);
    return r;
}

SoundOutput::Result OfflineSoundOutput::play(Channel channel,
                                             std::shared_ptr<const PcmSound> sound) {
    close(channel);
    sound = SoundDecoder::atRate(std::move(sound), rate_);
    if (!sound) return Result::Unplayable;
    return start(channel, std::move(sound));
}

SoundOutput::Result OfflineSoundOutput::start(Channel channel,
                                              std::shared_ptr<const PcmSound> sound) {
    Slot& s = slots_[size_t(channel)];
    s.voice = mixer_.add(sound);
    if (!s.voice) return Result::Unplayable; // every voice in use
    s.frames = sound->frames();
    mixer_.play(s.voice, 0);
    mixer_.takeChanges();
    return Result::Played;
}

// In steps, until the voice has played to its end, or the hook has closed
// the channel or given it another sound.
void OfflineSoundOutput::renderToEnd(Channel channel) {
    const int voice = slots_[size_t(channel)].voice;
    while (slots_[size_t(channel)].voice == voice &&
           mixer_.state(voice) == Mixer::State::Playing) {
        const qint64 left = slots_[size_t(channel)].frames - mixer_.position(voice);
        if (left <= 0) break;
        const qint64 from = elapsed_;
        render(std::min<qint64>(left, stepFrames()));
        if (hook_) hook_(from, elapsed_);
    }
}

void OfflineSoundOutput::close(Channel channel) {
    Slot& s = slots_[size_t(channel)];
    if (s.voice) mixer_.remove(s.voice);
    mixer_.takeChanges();
    s = Slot{};
}

bool OfflineSoundOutput::isPlaying(Channel channel) const {
    const Slot& s = slots_[size_t(channel)];
    return s.voice && mixer_.state(s.voice) == Mixer::State::Playing;
}

qint64 OfflineSoundOutput::positionMs(Channel channel) const {
    const Slot& s = slots_[size_t(channel)];
    return s.voice ? mixer_.position(s.voice) * 1000 / rate_ : 0;
}

qint64 OfflineSoundOutput::lengthMs(Channel channel) const {
    const Slot& s = slots_[size_t(channel)];
    return s.voice ? (s.frames * 1000 + rate_ - 1) / rate_ : 0;
}

void OfflineSoundOutput::render(qint64 frames) {
    constexpr qint64 Chunk = 4096;
    while (frames > 0) {
        const qint64 n = std::min(frames, Chunk);
        const size_t at = audio_.size();
        audio_.resize(at + size_t(n) * 2);
        mixer_.mix(audio_.data() + at, int(n));
        elapsed_ += n;
        frames -= n;
    }
}

std::vector<float> OfflineSoundOutput::takeAudio() {
    std::vector<float> out;
    out.swap(audio_);
    return out;
}
