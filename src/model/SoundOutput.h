#pragma once
// Where the system's sounds go: five channels that sound together, the four
// of the sound effects (S1 keys and route setting, S2 steps and the tape's
// back chime, S3 the tape's chime, S4 unused) and the voice of the
// announcements. A channel holds one sound at a time; a new sound replaces
// the one it held, at once.
//
// A file is decoded in full before it plays (wave files; MIDI files rendered
// to sound), so that playing is only mixing. While a play waits, for the
// decoding or for the sound's end, windows are painted and timers run but
// user input waits, as it does during every operation of the console.
//
// The real output plays through the sound system (SdlSoundOutput); tests
// record the calls.

#include "model/PcmSound.h"

#include <QString>
#include <memory>

class SoundOutput {
public:
    enum class Channel { S1, S2, S3, S4, Voice };
    static constexpr int ChannelCount = 5;
    enum class Format { Wave, Midi };
    enum class Wait { ForStart, ForEnd };
    enum class Result {
        Played,        // it plays, or with Wait::ForEnd has played
        Unplayable,    // no such regular file, damaged, or beyond what a sound may be
        NoSynthesiser, // a MIDI file, and no General MIDI sound font to render it
    };

    virtual ~SoundOutput() = default;

    // Replaces what channel holds by the sound of file and plays it from its
    // start; with Wait::ForEnd returns once it has ended (or the channel was
    // closed meanwhile). A file that cannot be played leaves the channel
    // closed and silent.
    virtual Result play(Channel channel, const QString& file, Format format, Wait wait) = 0;
    // The same with a sound made in memory (the speech engine's voice),
    // returning at once.
    virtual Result play(Channel channel, std::shared_ptr<const PcmSound> sound) = 0;
    // Silences the channel and lets its sound go.
    virtual void close(Channel channel) = 0;

    virtual bool isPlaying(Channel channel) const = 0;
    // How far the channel's sound has played, and how long it is, in ms; 0
    // when the channel holds nothing.
    virtual qint64 positionMs(Channel channel) const = 0;
    virtual qint64 lengthMs(Channel channel) const = 0;
    // The rate of the output, at which sounds made in memory play best.
    virtual int sampleRate() const = 0;
};

// "S1".."S4", "Voice": for messages and test records.
QString channelName(SoundOutput::Channel channel);
