#pragma once
// The real media command interface of the sound channels: one SDL audio
// output on which every open device (one per alias) is a voice of the mixer,
// so that the channels sound together. Opening a file decodes it in full
// (wave files with libsndfile, MIDI files rendered by FluidSynth), so that
// playing is only mixing.
//
// The output is the system's default audio device; when it cannot be opened,
// SDL's "dummy" output stands in, which plays nothing but keeps time, so
// that every channel still runs its course and a synchronous play still
// lasts as long as its sound.

#include "model/MediaCommands.h"
#include "audio/MediaCommand.h"
#include "audio/Mixer.h"

#include <QHash>
#include <memory>

class MidiRenderer;

class SdlMediaCommands : public MediaCommands {
public:
    SdlMediaCommands();
    ~SdlMediaCommands() override;
    SdlMediaCommands(const SdlMediaCommands&) = delete;
    SdlMediaCommands& operator=(const SdlMediaCommands&) = delete;

    // Carries out one command text (see MediaCommand.h); 0 on success, else
    // a MediaError number. "play ... wait" returns when the sound has ended:
    // meanwhile windows are painted and timers run, but user input is held
    // back.
    qint32 sendString(const QString& command) override;

    // Opens a device on a sound made in memory (the speech engine's voice):
    // frames of interleaved float samples, channels channels at rate. It is
    // then played, stopped and closed by commands like any other. Returns 0
    // or a MediaError number.
    qint32 openPcm(const QString& alias, const float* samples, qint64 frames, int channels,
                   int rate);

    // The state of the device of an alias (any letter case).
    bool isOpen(const QString& alias) const;
    bool isPlaying(const QString& alias) const;
    qint64 positionMs(const QString& alias) const;
    qint64 lengthMs(const QString& alias) const;

    // The audio output: true when one is open, its driver ("pulseaudio",
    // "alsa", "dummy", "disk", ...) and its rate. Samples are 32-bit float,
    // two channels interleaved.
    bool hasOutput() const { return output_ != 0; }
    QString driverName() const { return driver_; }
    int sampleRate() const { return rate_; }

private:
    struct Device {
        int voice = 0;
        qint64 frames = 0;
    };

    bool openOutput();
    qint32 open(const MediaCommand& c);
    qint32 add(const QString& alias, const std::shared_ptr<PcmSound>& sound);
    qint32 play(const MediaCommand& c);
    qint32 close(const QString& name);
    const Device* find(const QString& alias) const;
    void waitForEnd(int voice, qint64 lengthMs);
    static void mixCallback(void* self, quint8* stream, int bytes);

    quint32 output_ = 0;
    bool sdlInitialised_ = false;
    int rate_ = 44100;
    QString driver_;
    Mixer mixer_;
    std::unique_ptr<MidiRenderer> midi_;
    QHash<QString, Device> devices_; // by lower-case alias
};
