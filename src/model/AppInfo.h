#pragma once
// Facts about the running program: its title, its model designation (the
// executable's base name), its version and the place of its settings file.

#include <QString>

namespace AppInfo {

// The application title that message boxes carry when they name no other.
QString title();

// The executable's file name without extension ("K40"): the board's model
// designation.
QString modelName();

// The folder of the executable, without a trailing separator.
QString executableDir();

// Overrides the executable path that modelName() and executableDir() use
// (tests run under other executable names). An empty path restores the real one.
void setExecutablePath(const QString& path);

int versionMajor();
int versionMinor();
int versionRevision();

} // namespace AppInfo
