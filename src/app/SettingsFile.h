#pragma once
// The settings file: the executable's folder and base name with ".in4". Read
// once as the last step of start-up, written once at the confirmed exit.

#include <QString>

class K40Windows;

namespace SettingsFile {

// The path of the settings file.
QString settingsPath();

// Collects every setting from the windows and writes the file. The file is
// written to a temporary file beside it and renamed into place, so a failed
// or interrupted save keeps the previous file whole. Failures show the error
// box.
void SaveSettings(K40Windows& host);

// Reads the file and distributes it to the windows. A missing file is
// silent; any other failure shows the error box and stops applying there.
void LoadSettings(K40Windows& host);

} // namespace SettingsFile
