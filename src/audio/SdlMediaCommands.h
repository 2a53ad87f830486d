#pragma once
// The real media command interface of the sound channels: one SDL audio
// output on which every open device (one per alias) is a voice of the mixer,
// so that the channels sound together. Opening a file decodes it in full
// (wave files with libsndfile, MIDI files rendered by FluidSynth), so that
// playing is only mixing.
//
// Decoding runs on a thread of its own, never on the user-interface thread:
// an "open ... wait" lets windows paint and timers run until the sound is
// ready, and a device opened without waiting plays as soon as its sound is.
// Decoded sounds are kept, by file, output rate and the file's size and
// time, so that playing a sound again costs no decoding.
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
#include <vector>

class QFileInfo;
class QThreadPool;
class QTimer;

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

    // How many files have been decoded so far (a file played again from
    // the kept sounds is not decoded again).
    int decodeCount() const { return decodeCount_; }
    // The one thread that decodes sounds, in the order they are opened. (A
    // test keeps it busy to see what the user-interface thread does
    // meanwhile.)
    QThreadPool& decodeThread() { return *decoder_; }
    // The kept sounds take at most this many bytes.
    static constexpr qint64 MaxKeptBytes = 256 * 1024 * 1024;

private:
    // A file being decoded on the decoding thread.
    struct Decode;
    struct Device {
        int voice = 0;
        qint64 frames = 0;
        std::shared_ptr<Decode> decoding; // while the sound is being made
        bool playWhenReady = false;
        qint64 playFromMs = -1; // -1: from where it stands
    };
    struct Kept {
        QString key;
        qint64 size = 0;
        qint64 modified = 0;
        std::shared_ptr<PcmSound> sound;
    };

    bool openOutput();
    qint32 open(const MediaCommand& c);
    qint32 add(const QString& alias, const std::shared_ptr<PcmSound>& sound);
    qint32 play(const MediaCommand& c);
    qint32 close(const QString& name);
    const Device* find(const QString& alias) const;
    void waitForEnd(int voice, qint64 lengthMs);
    static void mixCallback(void* self, quint8* stream, int bytes);

    // The decoding thread's side.
    std::shared_ptr<Decode> startDecode(const QString& path, const QString& type);
    // Waits, painting and running timers, until a decode has finished.
    void waitFor(const Decode& decode);
    // Hands the finished decodes to their devices; a device whose sound
    // could not be made is closed.
    void collect();
    std::shared_ptr<PcmSound> kept(const QString& key, const QFileInfo& file);
    void keep(const QString& key, const QFileInfo& file, const std::shared_ptr<PcmSound>& sound);

    quint32 output_ = 0;
    bool sdlInitialised_ = false;
    int rate_ = 44100;
    QString driver_;
    Mixer mixer_;
    std::unique_ptr<MidiRenderer> midi_; // used on the decoding thread only
    QHash<QString, Device> devices_;     // by lower-case alias
    std::vector<Kept> kept_;             // the most recently used last
    int decodeCount_ = 0;
    std::unique_ptr<QThreadPool> decoder_;
    std::unique_ptr<QTimer> collector_;
};
