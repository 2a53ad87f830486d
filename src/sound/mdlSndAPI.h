#pragma once
// The sound channels "S1" to "S4" of the system's sound effects (key and
// route-setting sounds, step sounds, the chimes before an announcement).
// Each channel is one device of the media command interface, named by the
// executable's base name followed by the channel ("K40S1"), so that up to four
// sounds are open at once and a new sound on a channel replaces the previous
// one. Command results are ignored: a sound that cannot play is silent.

#include "platform/Services.h"

#include <QString>

namespace mdlSndAPI {

// The device alias of a channel: the model name followed by the channel.
QString Alias(const QString& channel);

// The device type that plays a file, from the last three characters of its
// name in any letter case: "waveaudio" for WAV, "sequencer" for MID, empty
// for anything else.
QString DeviceType(const QString& file);

// Plays file on channel. Nothing happens when file is empty or names no
// existing file (an earlier sound on the channel plays on). Otherwise the
// channel is closed; a WAV or MID file is opened on it and played from the
// start. With sync the call returns after the sound has ended and a pause of
// waitMs (a negative pause is none); without, it returns at once while the
// sound plays.
void PlaySnd(MediaCommands& mci, Clock& clock, const QString& file, const QString& channel,
             bool sync, qint16 waitMs);

// Closes the four channels, "S1" to "S4" in this order.
void CloseAllSnd(MediaCommands& mci);

} // namespace mdlSndAPI
