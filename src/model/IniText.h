#pragma once
// The small text files K40 keeps beside its settings file (the voice, the
// board): "key=value" lines as an INI file has them, read whole and safely.

#include <QHash>
#include <QString>

namespace IniText {

// The keys and values of the file at path; sections and comments are passed
// over, a quoted value ("...", with \" and \\ inside) is unquoted. A file
// that is missing, no regular file or larger than 64 KiB gives nothing.
QHash<QString, QString> read(const QString& path);

// text quoted as read() reads it back, line breaks turned into blanks.
QString quoted(const QString& text);

} // namespace IniText
