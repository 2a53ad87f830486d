#pragma once
// The sound channels S1 to S4 of the system's sound effects (key and
// route-setting sounds, step sounds, the chimes before an announcement), and
// the rules of playing a file on one: nothing for a name that is empty or
// names no file (a sound playing on the channel plays on), the channel closed
// and silent for a file that is neither WAV nor MID, else the file played
// from its start, in place of what the channel held. A sound that cannot play
// is silent; nobody is told.

#include "model/SoundOutput.h"

#include <QString>
#include <optional>

class SoundChannels {
public:
    using Channel = SoundOutput::Channel;
    enum class Play { Async, Sync };

    explicit SoundChannels(SoundOutput* output) : output_(output) {}

    // Plays file on channel. Sync returns after the sound has ended; Async
    // returns once it plays.
    void play(const QString& file, Channel channel, Play how) const;

    // Closes the four channels, S1 to S4 in this order.
    void closeAll() const;

    // The format that plays a file, from the last three characters of its
    // name in any letter case: WAV or MID; none for anything else.
    static std::optional<SoundOutput::Format> formatOf(const QString& file);

private:
    SoundOutput* output_; // none: every play is silent
};
