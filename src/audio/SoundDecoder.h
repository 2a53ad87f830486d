#pragma once
// Turning sound files into PCM for the mixer: wave files are decoded with
// libsndfile and brought to the output's rate; MIDI files are rendered in full
// by FluidSynth with the system's General MIDI sound font when they are opened,
// so that every open sound is plain PCM. A file that cannot be read gives no
// sound (nullptr), never a crash.

#include "model/PcmSound.h"

#include <QString>
#include <memory>

namespace SoundDecoder {

// What a sound file may be; a file beyond these is refused like a damaged one,
// so that no file can take the sound system's memory or time.
constexpr qint64 MaxSeconds = 120;                    // the longest sound
constexpr qint64 MaxWaveBytes = 64 * 1024 * 1024;     // the largest wave file
constexpr qint64 MaxMidiBytes = 1024 * 1024;          // the largest MIDI file
constexpr int MaxChannels = 8;
constexpr int MinWaveRate = 4000;
constexpr int MaxWaveRate = 192000;

// Decodes a wave file (PCM of any width, float, 1 to 8 channels at 4 to
// 192 kHz, up to two minutes) to stereo at rate. Mono plays on both sides;
// of more than two channels the first two are kept.
std::shared_ptr<PcmSound> decodeWave(const QString& path, int rate);

// Brings interleaved float frames of channels channels at srcRate to stereo
// at rate. Samples are limited to -1..1; samples that are not numbers are 0.
std::shared_ptr<PcmSound> toStereo(const float* data, qint64 frames, int channels, int srcRate,
                                   int rate);

// A sound made in memory (stereo) at rate, as an output plays it: the same
// sound when it is at rate already; nothing when it is empty or has no rate.
std::shared_ptr<const PcmSound> atRate(std::shared_ptr<const PcmSound> sound, int rate);

} // namespace SoundDecoder

struct _fluid_hashtable_t;
struct _fluid_synth_t;

// Renders Standard MIDI Files to PCM. The synthesiser and its sound font are
// loaded at the first use and kept for later files.
class MidiRenderer {
public:
    // Renders at rate with the given sound font (by default the system's).
    explicit MidiRenderer(int rate, const QString& soundFont = soundFontPath());
    ~MidiRenderer();
    MidiRenderer(const MidiRenderer&) = delete;
    MidiRenderer& operator=(const MidiRenderer&) = delete;

    // The General MIDI sound font in use: the system's default font, else a
    // known font of the distribution; empty when there is none.
    static QString soundFontPath();

    // True when a synthesiser with its sound font could be made.
    bool available();

    // The whole file as PCM: played to its end, followed by the tail of the
    // notes still ringing. nullptr when the file is no MIDI file, is larger
    // than 1 MiB or plays longer than two minutes, holds nothing that sounds,
    // or no sound font is present.
    std::shared_ptr<PcmSound> render(const QString& path);

private:
    int rate_;
    QString font_;
    bool tried_ = false;
    _fluid_hashtable_t* settings_ = nullptr;
    _fluid_synth_t* synth_ = nullptr;
};
