#include "model/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace SafeFile {

namespace {

QString systemText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

Kind kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return Kind::Folder;
    if (S_ISFIFO(mode)) return Kind::Fifo;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return Kind::Device;
    if (S_ISSOCK(mode)) return Kind::Socket;
    return Kind::Other;
}

QString japanese(Kind kind) {
    switch (kind) {
    case Kind::Folder: return QStringLiteral("フォルダー");
    case Kind::Fifo: return QStringLiteral("名前付きパイプ（FIFO）");
    case Kind::Device: return QStringLiteral("デバイス");
    case Kind::Socket: return QStringLiteral("ソケット");
    case Kind::Other: break;
    }
    return QStringLiteral("特殊なファイル");
}

QString english(Kind kind) {
    switch (kind) {
    case Kind::Folder: return QStringLiteral("a folder");
    case Kind::Fifo: return QStringLiteral("a FIFO");
    case Kind::Device: return QStringLiteral("a device");
    case Kind::Socket: return QStringLiteral("a socket");
    case Kind::Other: break;
    }
    return QStringLiteral("a special file");
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    int release() {
        const int f = fd;
        fd = -1;
        return f;
    }
};

bool writeAll(int fd, const char* data, qint64 size, int& error) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(std::min<qint64>(size, 1 << 20)));
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        if (n == 0) {
            error = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

Reading read(const QString& path, qint64 limit) {
    Reading r;
    const QByteArray name = QFile::encodeName(path);
    Descriptor file;
    // Without waiting: a FIFO opens at once and is then refused below.
    file.fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file.fd < 0) {
        r.systemError = systemText(errno);
        r.status = errno == ENOENT || errno == ENOTDIR ? Reading::Status::NotFound
                                                        : Reading::Status::Unreadable;
        return r;
    }
    struct stat st = {};
    if (::fstat(file.fd, &st) != 0) {
        r.systemError = systemText(errno);
        r.status = Reading::Status::Unreadable;
        return r;
    }
    if (!S_ISREG(st.st_mode)) {
        r.kind = kindOf(st.st_mode);
        r.status = Reading::Status::NotRegular;
        return r;
    }
    r.size = st.st_size;
    if (st.st_size > limit) {
        r.status = Reading::Status::TooLarge;
        return r;
    }
    // The size may be wrong (a file that grows, a file system that does not
    // know): read up to one byte beyond the limit, never more.
    QByteArray bytes;
    bytes.resize(qsizetype(std::min<qint64>(st.st_size, limit) + 1));
    qint64 got = 0;
    while (true) {
        if (got == bytes.size()) {
            if (got > limit) break;
            bytes.resize(qsizetype(std::min<qint64>(limit + 1, got * 2 + 4096)));
        }
        const ssize_t n = ::read(file.fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN) {
                r.kind = Kind::Fifo;
                r.status = Reading::Status::NotRegular;
                return r;
            }
            r.systemError = systemText(errno);
            r.status = Reading::Status::Failed;
            return r;
        }
        if (n == 0) break;
        got += n;
    }
    if (got > limit) {
        r.size = std::max<qint64>(r.size, got);
        r.status = Reading::Status::TooLarge;
        return r;
    }
    bytes.truncate(qsizetype(got));
    r.bytes = std::move(bytes);
    r.size = got;
    r.status = Reading::Status::Read;
    return r;
}

QString describe(const QString& path, const Reading& r) {
    switch (r.status) {
    case Reading::Status::Read:
        return {};
    case Reading::Status::NotFound:
        return QStringLiteral("「%1」が見つかりません。").arg(path);
    case Reading::Status::NotRegular:
        return QStringLiteral("「%1」はふつうのファイルではなく、%2です。").arg(path, japanese(r.kind));
    case Reading::Status::Unreadable:
        return QStringLiteral("「%1」を開けません（%2）。").arg(path, r.systemError);
    case Reading::Status::TooLarge:
        return QStringLiteral("「%1」が大きすぎます（%2 バイト以上）。").arg(path).arg(r.size);
    case Reading::Status::Failed:
        break;
    }
    return QStringLiteral("「%1」を読めませんでした（%2）。").arg(path, r.systemError);
}

namespace {

// A new file written and flushed beside its target, to be renamed into place.
struct Prepared {
    QByteArray temporary;
    QByteArray target;
    QString folder;
};

Writing prepare(const QString& requested, const QByteArray& bytes, Prepared& p) {
    Writing w;
    // A link is followed, so that it stays a link to the file written.
    const QFileInfo info(requested);
    const QString path = info.isSymLink() && info.exists() ? info.canonicalFilePath() : requested;
    p.target = QFile::encodeName(path);
    p.folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(p.folder).isDir()) {
        w.status = Writing::Status::NoFolder;
        w.systemError = systemText(ENOENT);
        return w;
    }
    mode_t mode = 0666;
    struct stat old = {};
    if (::stat(p.target.constData(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) {
            w.status = Writing::Status::NotRegular;
            w.kind = kindOf(old.st_mode);
            return w;
        }
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }

    p.temporary = p.target + ".XXXXXX";
    Descriptor file;
    file.fd = ::mkostemp(p.temporary.data(), O_CLOEXEC);
    if (file.fd < 0) {
        w.status = Writing::Status::CannotCreate;
        w.systemError = systemText(errno);
        return w;
    }
    int error = 0;
    bool ok = writeAll(file.fd, bytes.constData(), bytes.size(), error);
    if (ok && ::fchmod(file.fd, mode) != 0) ok = false, error = errno;
    if (ok && ::fsync(file.fd) != 0) ok = false, error = errno;
    if (ok) {
        const int fd = file.release();
        if (::close(fd) != 0) ok = false, error = errno;
    }
    if (!ok) {
        ::unlink(p.temporary.constData());
        w.status = Writing::Status::Failed;
        w.systemError = systemText(error);
        return w;
    }
    w.status = Writing::Status::Written;
    return w;
}

Writing putInPlace(const Prepared& p) {
    Writing w;
    if (::rename(p.temporary.constData(), p.target.constData()) != 0) {
        w.status = Writing::Status::Failed;
        w.systemError = systemText(errno);
        ::unlink(p.temporary.constData());
        return w;
    }
    // The rename itself reaches the disk with the folder.
    Descriptor dir;
    dir.fd = ::open(QFile::encodeName(p.folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir.fd >= 0) ::fsync(dir.fd);
    w.status = Writing::Status::Written;
    return w;
}

} // namespace

Writing write(const QString& path, const QByteArray& bytes) {
    Prepared p;
    const Writing w = prepare(path, bytes, p);
    return w.ok() ? putInPlace(p) : w;
}

Writing writeTogether(const QList<std::pair<QString, QByteArray>>& files, QString* failed) {
    std::vector<Prepared> prepared;
    const auto fail = [&](size_t file, size_t keptFrom, const Writing& w) {
        for (size_t k = keptFrom; k < prepared.size(); ++k)
            ::unlink(prepared[k].temporary.constData());
        if (failed) *failed = files[qsizetype(file)].first;
        return w;
    };
    for (const auto& [path, bytes] : files) {
        Prepared p;
        const Writing w = prepare(path, bytes, p);
        if (!w.ok()) return fail(prepared.size(), 0, w);
        prepared.push_back(std::move(p));
    }
    for (size_t k = 0; k < prepared.size(); ++k) {
        const Writing w = putInPlace(prepared[k]);
        if (!w.ok()) return fail(k, k + 1, w);
    }
    Writing w;
    w.status = Writing::Status::Written;
    return w;
}

QString describe(const QString& path, const Writing& w) {
    switch (w.status) {
    case Writing::Status::Written:
        return {};
    case Writing::Status::NoFolder:
        return QStringLiteral("「%1」を書くフォルダーがありません。").arg(path);
    case Writing::Status::NotRegular:
        return QStringLiteral("「%1」はふつうのファイルではなく、%2なので、上書きしません。")
            .arg(path, japanese(w.kind));
    case Writing::Status::CannotCreate:
        return QStringLiteral("「%1」のフォルダーにファイルを作れません（%2）。")
            .arg(path, w.systemError);
    case Writing::Status::Failed:
        break;
    }
    return QStringLiteral("「%1」を書けませんでした（%2）。前のファイルはそのまま残っています。")
        .arg(path, w.systemError);
}

QString describeInEnglish(const QString& path, const Reading& r) {
    switch (r.status) {
    case Reading::Status::Read:
        return {};
    case Reading::Status::NotFound:
        return QStringLiteral("%1: no such file").arg(path);
    case Reading::Status::NotRegular:
        return QStringLiteral("%1: not a regular file but %2").arg(path, english(r.kind));
    case Reading::Status::Unreadable:
        return QStringLiteral("%1: cannot open (%2)").arg(path, r.systemError);
    case Reading::Status::TooLarge:
        return QStringLiteral("%1: too large (%2 bytes or more)").arg(path).arg(r.size);
    case Reading::Status::Failed:
        break;
    }
    return QStringLiteral("%1: cannot read (%2)").arg(path, r.systemError);
}

QString describeInEnglish(const QString& path, const Writing& w) {
    switch (w.status) {
    case Writing::Status::Written:
        return {};
    case Writing::Status::NoFolder:
        return QStringLiteral("%1: the folder does not exist").arg(path);
    case Writing::Status::NotRegular:
        return QStringLiteral("%1: not a regular file but %2; not written over")
            .arg(path, english(w.kind));
    case Writing::Status::CannotCreate:
        return QStringLiteral("%1: cannot make a file in its folder (%2)").arg(path, w.systemError);
    case Writing::Status::Failed:
        break;
    }
    return QStringLiteral("%1: cannot write (%2); the previous file is kept")
        .arg(path, w.systemError);
}

} // namespace SafeFile
