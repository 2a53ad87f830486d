#pragma once
// Reading and writing the files K40 keeps, so that a bad file never hangs or
// floods it and a failed save never costs the file that was there.
//
// read() takes regular files only: a FIFO, a device or a folder is refused
// at once (a FIFO is opened without waiting for a writer), and no more than
// the limit plus one byte is ever read, whatever size the file claims, so
// that a link to /dev/zero or a file that grows cannot fill the memory.
//
// write() puts the bytes into a new file beside the target, checks every
// write, flushes it to the disk, and only then renames it over the target.
// On any failure (a full disk, a folder that cannot be written) the old
// file stays as it was, the new one is removed, and the failure is told.
// writeTogether() does so for several files that belong together.

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

namespace SafeFile {

// What a path is when it is no regular file.
enum class Kind { Folder, Fifo, Device, Socket, Other };

struct Reading {
    enum class Status {
        Read,       // bytes hold the whole file
        NotFound,   // nothing of that name
        NotRegular, // a folder, a FIFO, a device or a socket: kind says which
        Unreadable, // it exists but cannot be opened
        TooLarge,   // more than the limit; size is what the file claims, or limit + 1
        Failed,     // reading it failed midway
    };
    Status status = Status::Failed;
    QByteArray bytes;
    qint64 size = 0;
    Kind kind = Kind::Other;
    QString systemError;
    bool ok() const { return status == Status::Read; }
};

// Reads the regular file at path, following links, of at most limit bytes.
Reading read(const QString& path, qint64 limit);

// A sentence for a file that read() did not read, for messages that have no
// wording of their own: in Japanese for K40's boxes, in English for the tools.
QString describe(const QString& path, const Reading& reading);
QString describeInEnglish(const QString& path, const Reading& reading);

struct Writing {
    enum class Status {
        Written,
        NoFolder,   // the folder to write in does not exist
        NotRegular, // the target is a folder, FIFO or device: nothing is written over it
        CannotCreate, // the folder does not let a file be made
        Failed,     // writing, flushing or renaming failed (a full disk, say)
    };
    Status status = Status::Failed;
    Kind kind = Kind::Other; // of a target that is no regular file
    QString systemError;     // the system's words for the failure
    bool ok() const { return status == Status::Written; }
};

// Writes bytes to path as described above. A target that is a link is
// replaced where the link points.
Writing write(const QString& path, const QByteArray& bytes);

// Writes several files as one: each new file is written and flushed beside
// its target first, and only when all of them are there are they renamed
// into place. A failure before the renames (a full disk, a target that is no
// regular file) leaves every old file as it was; only a rename failing after
// others went through, which the checks before make unlikely, could leave
// some written. failed, if given, gets the path that failed.
Writing writeTogether(const QList<std::pair<QString, QByteArray>>& files,
                      QString* failed = nullptr);

// A sentence for a write that failed, naming the path and the cause.
QString describe(const QString& path, const Writing& writing);
QString describeInEnglish(const QString& path, const Writing& writing);

} // namespace SafeFile
