#pragma once
// A sound output that plays into a buffer on a clock of its own, for making
// a video of the board: the video's renderer steps the clock frame by frame,
// draws the board at each frame, and takes the sound of exactly that span.
//
// Sounds are decoded and mixed as on the real output (SoundFiles, Mixer, the
// sum limited alike), so that a file gives the same result and the same
// sound. Decoding is done at once. Nothing waits in real time: a play that
// waits for its sound's end moves the clock on to that end, rendering
// meanwhile, and tells the advance hook each step of the span that passes,
// so that the board can be drawn at the frames within it (and timers run).

#include "audio/Mixer.h"
#include "audio/SoundFiles.h"
#include "model/SoundOutput.h"

#include <array>
#include <functional>
#include <vector>

class OfflineSoundOutput : public SoundOutput {
public:
    explicit OfflineSoundOutput(int rate = 48000);
    OfflineSoundOutput(const OfflineSoundOutput&) = delete;
    OfflineSoundOutput& operator=(const OfflineSoundOutput&) = delete;

    // SoundOutput.
    Result play(Channel channel, const QString& file, Format format, Wait wait) override;
    Result play(Channel channel, std::shared_ptr<const PcmSound> sound) override;
    void close(Channel channel) override;
    bool isPlaying(Channel channel) const override;
    qint64 positionMs(Channel channel) const override;
    qint64 lengthMs(Channel channel) const override;
    int sampleRate() const override { return rate_; }

    // Moves the clock on by frames, mixing what plays meanwhile onto the
    // rendered sound.
    void render(qint64 frames);
    // The sound rendered since the last call: stereo float frames,
    // interleaved (left, right), at sampleRate().
    std::vector<float> takeAudio();
    // The clock: frames rendered since the output was made.
    qint64 elapsedFrames() const { return elapsed_; }
    qint64 elapsedMs() const { return elapsed_ * 1000 / rate_; }

    // Told each step of the clock (frames from, to) that a play waiting for
    // its sound's end renders; the hook may play and close sounds.
    using AdvanceHook = std::function<void(qint64 fromFrame, qint64 toFrame)>;
    void setAdvanceHook(AdvanceHook hook) { hook_ = std::move(hook); }
    // Frames in one such step at most.
    int stepFrames() const { return rate_ / 100; }

private:
    struct Slot {
        int voice = 0; // of the mixer; 0: the channel holds nothing
        qint64 frames = 0;
    };
    Result start(Channel channel, std::shared_ptr<const PcmSound> sound);
    void renderToEnd(Channel channel);

    int rate_;
    Mixer mixer_;
    SoundFiles files_;
    std::array<Slot, ChannelCount> slots_{};
    std::vector<float> audio_;
    qint64 elapsed_ = 0;
    AdvanceHook hook_;
};
