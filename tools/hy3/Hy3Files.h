#pragma once
// The files the hy3 commands read and write, through SafeFile: an input that
// is no regular file (a FIFO, a device, a folder) or larger than the command
// reads is refused at once, and an output is written whole or not at all,
// the old file kept. What fails is said on err, naming the file and the cause.

#include "model/SafeFile.h"

#include <QByteArray>
#include <QString>
#include <QTextStream>
#include <optional>

namespace Hy3Files {

// The bytes of path, at most limit of them; nothing when it cannot be read.
inline std::optional<QByteArray> read(const QString& path, qint64 limit, QTextStream& err) {
    SafeFile::Reading r = SafeFile::read(path, limit);
    if (!r.ok()) {
        err << SafeFile::describeInEnglish(path, r) << Qt::endl;
        return std::nullopt;
    }
    return std::move(r.bytes);
}

// Writes bytes to path; false when it could not, the old file kept.
inline bool write(const QString& path, const QByteArray& bytes, QTextStream& err) {
    const SafeFile::Writing w = SafeFile::write(path, bytes);
    if (!w.ok()) err << SafeFile::describeInEnglish(path, w) << Qt::endl;
    return w.ok();
}

} // namespace Hy3Files
