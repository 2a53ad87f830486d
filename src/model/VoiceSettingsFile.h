#pragma once
// The voice chosen for the announcements, kept in a small text file beside
// the settings file (K40-voice.ini), so that the settings file's layout stays
// as it is. A missing or unreadable file gives the default voice.

#include "model/SpeechEngine.h"

namespace VoiceSettingsFile {

// Beside the settings file: the settings folder and the executable's base
// name with "-voice.ini".
QString path();

VoiceSettings read(const QString& path);
// False when the file cannot be written.
bool write(const QString& path, const VoiceSettings& voice);

} // namespace VoiceSettingsFile
