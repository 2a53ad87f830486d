#pragma once
// Facts about the running program: its title, its model designation (the
// executable's base name), its version, and where its data and settings live.
//
// K40 runs in one of two layouts. Run from its build folder (or any folder
// it was copied to whole), everything sits beside the executable: the
// settings file, the voice settings, the voices folder. Installed
// (<prefix>/bin/K40 with its data in <prefix>/share/k40), the program's
// folder is not the user's to write, so the settings go to the user's
// configuration folder and added voices to the user's data folder.

#include <QString>

namespace AppInfo {

// The application title that message boxes carry when they name no other.
QString title();

// The executable's file name without extension ("K40"): the board's model
// designation.
QString modelName();

// The folder of the executable, without a trailing separator.
QString executableDir();

// The data folder of an installed K40 (<prefix>/share/k40 beside the
// executable's <prefix>/bin), or empty when K40 is not installed.
QString installedDataDir();

// Whether K40 runs installed: installedDataDir() is not empty.
bool isInstalled();

// The folder of the shipped data (sample route and chimes, voices,
// ticket plug-ins): the installed data folder, or the executable's folder.
QString dataDir();

// The folder of the settings file and the voice settings: installed, the
// user's configuration folder ($XDG_CONFIG_HOME, else ~/.config) with
// "/<model name>"; otherwise the executable's folder.
QString settingsDir();

// The folder where the user adds voices: installed, the user's data folder
// ($XDG_DATA_HOME, else ~/.local/share) with "/<model name>/voices";
// otherwise "voices" beside the executable.
QString userVoicesDir();

// Overrides the executable path that modelName() and executableDir() use
// (tests run under other executable names). An empty path restores the real one.
void setExecutablePath(const QString& path);

int versionMajor();
int versionMinor();
int versionRevision();

} // namespace AppInfo
