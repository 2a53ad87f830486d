#pragma once
// The real sound output: one SDL audio output on which the sound of every
// channel is a voice of the mixer, so that the channels sound together.
//
// Decoding (SoundFiles) runs on a thread of its own, never on the
// user-interface thread: while a play waits for its sound to be made, windows
// paint and timers run. Decoded sounds are kept, so that playing a sound
// again costs no decoding.
//
// The output is the system's default audio device; when it cannot be opened,
// SDL's "dummy" output stands in, which plays nothing but keeps time, so
// that every channel still runs its course and a synchronous play still
// lasts as long as its sound.

#include "audio/Mixer.h"
#include "audio/SoundFiles.h"
#include "model/SoundOutput.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>

class QThreadPool;

class SdlSoundOutput : public SoundOutput {
public:
    SdlSoundOutput();
    ~SdlSoundOutput() override;
    SdlSoundOutput(const SdlSoundOutput&) = delete;
    SdlSoundOutput& operator=(const SdlSoundOutput&) = delete;

    // SoundOutput.
    Result play(Channel channel, const QString& file, Format format, Wait wait) override;
    Result play(Channel channel, std::shared_ptr<const PcmSound> sound) override;
    void close(Channel channel) override;
    bool isPlaying(Channel channel) const override;
    qint64 positionMs(Channel channel) const override;
    qint64 lengthMs(Channel channel) const override;
    int sampleRate() const override { return rate_; }

    // Whether the channel holds a sound, playing or not.
    bool isOpen(Channel channel) const { return slot(channel).voice != 0; }
    // The audio output's driver ("pulseaudio", "alsa", "dummy", "disk", ...).
    // Samples are 32-bit float, two channels interleaved.
    QString driverName() const { return driver_; }

    // How many files have been decoded so far (a file played again from
    // the kept sounds is not decoded again).
    int decodeCount() const { return decodeCount_; }
    // The one thread that decodes sounds, in the order they are played. (A
    // test keeps it busy to see what the user-interface thread does
    // meanwhile.)
    QThreadPool& decodeThread() { return *decoder_; }
    // The kept sounds take at most this many bytes.
    static constexpr qint64 MaxKeptBytes = SoundFiles::MaxKeptBytes;

private:
    struct Slot {
        int voice = 0; // of the mixer; 0: the channel holds nothing
        qint64 frames = 0;
    };

    bool openOutput();
    static void mixCallback(void* self, quint8* stream, int bytes);
    const Slot& slot(Channel c) const { return slots_[size_t(c)]; }
    Slot& slot(Channel c) { return slots_[size_t(c)]; }
    Result start(Channel channel, std::shared_ptr<const PcmSound> sound);
    // The sound of a file, decoded on the decoding thread while the event
    // loop runs, or kept from before.
    std::shared_ptr<const PcmSound> decode(const QString& file, Format format, Result& failure);
    // Runs the event loop until done() holds (the windows hold the user's
    // input back while an operation waits).
    void waitUntil(const std::function<bool()>& done);
    void waitForEnd(Channel channel);

    quint32 output_ = 0;
    bool sdlInitialised_ = false;
    int rate_ = 44100;
    QString driver_;
    Mixer mixer_;
    std::array<Slot, ChannelCount> slots_{};
    std::unique_ptr<SoundFiles> files_; // decodes on the decoding thread only
    int decodeCount_ = 0;
    std::unique_ptr<QThreadPool> decoder_;
};
