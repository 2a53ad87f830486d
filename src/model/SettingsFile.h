#pragma once
// The settings file: in the settings folder (AppInfo::settingsDir()), named
// after the executable with ".in4" (K40.in4). Read once as the last step of start-up, written once at the
// confirmed exit; its bytes are SettingsCodec's.

#include "model/SettingsRecord.h"

#include <QString>

namespace SettingsFile {

// The path of the settings file.
QString path();

// The largest settings file read: every text at its longest takes about 2 MiB.
constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

// The record of the file at path, with the first field no control would
// take (SettingsCodec::decode). Raises error 53 when there is no file,
// 75 when it cannot be opened or is no regular file (a FIFO, a device or a
// folder, refused without waiting), 62 when it is shorter than its layout, 7
// when it is larger than MaxFileBytes, 57 when reading fails.
SettingsCodec::Decoded read(const QString& path);

// Writes record to path through a temporary file beside it that is written,
// synced to the disk and only then renamed into place, so that a failed or
// interrupted save (a full disk, say) keeps the previous file whole. Raises
// error 6 for a text too long for the file, 76 when the folder is missing, 75
// when the file cannot be made there or the path is no regular file, 57 when
// writing fails; the description says why.
void write(const QString& path, const SettingsRecord& record);

// The error box's text for a failure of read or write.
QString errorText(int number, const QString& description);

} // namespace SettingsFile
