#pragma once
// The sound channels "S1" to "S4" of the system's sound effects (key and
// route-setting sounds, step sounds, the chimes before an announcement).
// Each channel is one device of the media command interface, named by the
// executable's base name followed by the channel ("K40S1"), so that up to four
// sounds are open at once and a new sound on a channel replaces the previous
// one. Command results are ignored: a sound that cannot play is silent.

#include <QString>

class MediaCommands;

class SoundChannels {
public:
    enum class Play { Async, Sync };

    explicit SoundChannels(MediaCommands* commands) : commands_(commands) {}

    // Plays file on channel. Nothing happens when file is empty or names no
    // existing file (an earlier sound on the channel plays on). Otherwise the
    // channel is closed; a WAV or MID file is opened on it and played from the
    // start. Sync returns after the sound has ended; Async returns at once
    // while the sound plays.
    void play(const QString& file, const QString& channel, Play how) const;

    // Closes the four channels, "S1" to "S4" in this order.
    void closeAll() const;

    // The device alias of a channel: the model name followed by the channel.
    static QString alias(const QString& channel);

    // The device type that plays a file, from the last three characters of its
    // name in any letter case: "waveaudio" for WAV, "sequencer" for MID, empty
    // for anything else.
    static QString deviceType(const QString& file);

private:
    MediaCommands* commands_; // none: every play is silent
};
