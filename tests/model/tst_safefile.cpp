// Reading and writing K40's files: special files refused without waiting,
// reads that stop at their limit, saves that keep the old file when they fail.
#include "TestFiles.h"
#include "model/SafeFile.h"

#include <QtTest>
#include <unistd.h>

using SafeFile::Reading;
using SafeFile::Writing;

class TestSafeFile : public QObject {
    Q_OBJECT
private slots:
    // A read with a limit of 10 bytes.
    void reading_data() {
        QTest::addColumn<QString>("make"); // "file:<bytes>", link (to a file), folder, fifo, zero
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("bytes");
        using S = Reading::Status;
        using K = SafeFile::Kind;
        const auto row = [](const char* tag, const char* make, S status, K kind,
                            const char* bytes) {
            QTest::newRow(tag) << QString::fromLatin1(make) << int(status) << int(kind)
                               << QByteArray(bytes);
        };
        row("a file", "file:12345", S::Read, K::Other, "12345");
        row("an empty file", "file:", S::Read, K::Other, "");
        row("a file at the limit", "file:0123456789", S::Read, K::Other, "0123456789");
        row("beyond the limit", "file:0123456789A", S::TooLarge, K::Other, "");
        row("nothing", "", S::NotFound, K::Other, "");
        row("a folder", "folder", S::NotRegular, K::Folder, "");
        row("a FIFO, no writer", "fifo", S::NotRegular, K::Fifo, "");
        row("a link to /dev/zero", "zero", S::NotRegular, K::Device, "");
        row("a link to a file", "link", S::Read, K::Other, "12345");
    }
    void reading() {
        QFETCH(QString, make);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"K40.in4"_qs), real = dir.filePath(u"real"_qs);
        if (make.startsWith(u"file:")) QVERIFY(writeFile(path, make.mid(5).toLatin1()));
        if (make == u"link") QVERIFY(writeFile(real, "12345") && QFile::link(real, path));
        QVERIFY(make == u"folder" ? QDir().mkpath(path)
                : make == u"fifo" ? makeFifo(path)
                                  : make != u"zero" || makeEndlessFile(path));
        const Reading r = SafeFile::read(path, 10);
        QTEST(int(r.status), "status");
        QTEST(r.bytes, "bytes");
        if (r.status == Reading::Status::NotRegular) QTEST(int(r.kind), "kind");
        QVERIFY(r.ok() || (SafeFile::describe(path, r).contains(path) &&
                           SafeFile::describeInEnglish(path, r).startsWith(path + u": "_qs)));
    }
    void aFileThatSaysItIsEmptyIsReadToTheLimit() {
        // /proc files claim 0 bytes and hold more: read, but never beyond the limit.
        const Reading whole = SafeFile::read(u"/proc/self/status"_qs, 1 << 20);
        QVERIFY(whole.ok() && whole.bytes.startsWith("Name:"));
        QCOMPARE(SafeFile::read(u"/proc/self/status"_qs, 8).status, Reading::Status::TooLarge);
    }
    // Written whole, or the old file as it was; never a temporary left.
    void writing_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("status");
        using S = Writing::Status;
        QTest::newRow("a new file") << u"new"_qs << int(S::Written);
        QTest::newRow("over a file") << u"over"_qs << int(S::Written);
        QTest::newRow("through a link") << u"link"_qs << int(S::Written);
        QTest::newRow("no folder") << u"no folder"_qs << int(S::NoFolder);
        QTest::newRow("over a FIFO") << u"fifo"_qs << int(S::NotRegular);
        QTest::newRow("a folder that cannot be written") << u"read-only"_qs << int(S::CannotCreate);
        QTest::newRow("the disk is full") << u"full"_qs << int(S::Failed);
    }
    void writing() {
        QFETCH(QString, what);
        QTemporaryDir dir;
        const QString real = dir.filePath(u"real"_qs);
        const QString path =
            dir.filePath(what == u"no folder" ? u"gone/K40.in4"_qs : u"K40.in4"_qs);
        const QByteArray old(100, 'o'), bytes(5000, 'n');
        const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        if (what == u"over" || what == u"full")
            QVERIFY(writeFile(path, old) && QFile::setPermissions(path, mode));
        if (what == u"link") QVERIFY(writeFile(real, old) && QFile::link(real, path));
        if (what == u"fifo") QVERIFY(makeFifo(path));
        if (what == u"read-only" && geteuid() == 0) QSKIP("root writes into any folder");
        if (what == u"read-only")
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        std::optional<FileSizeLimit> full;
        if (what == u"full") full.emplace(1000); // the new bytes do not fit
        const Writing w = SafeFile::write(path, bytes);
        full.reset();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QTEST(int(w.status), "status");
        QVERIFY(w.ok() || SafeFile::describe(path, w).contains(path));
        const QByteArray kept = w.ok() ? bytes : what == u"full" ? old : QByteArray();
        QVERIFY(what == u"fifo" ? !QFileInfo(path).isFile()
                                : readFile(what == u"link" ? real : path) == kept);
        if (what == u"over")
            QCOMPARE(QFile::permissions(path) & ~QFile::ReadUser & ~QFile::WriteUser, mode);
        QCOMPARE(QFileInfo(path).isSymLink(), what == u"link");
        // Only the file itself and the link's target: no temporary.
        const QStringList left =
            QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden);
        QCOMPARE(left.size(), qsizetype(QFileInfo::exists(path)) + (what == u"link" ? 1 : 0));
    }
    void aRealFullDisk() {
        // A small file system, filled up: the save fails, the old file stays.
        QTemporaryDir dir;
        if (geteuid() != 0 ||
            QProcess::execute(u"mount"_qs, {u"-t"_qs, u"tmpfs"_qs, u"-o"_qs, u"size=64k"_qs,
                                            u"tmpfs"_qs, dir.path()}) != 0)
            QSKIP("no small file system can be mounted here");
        const auto unmount = qScopeGuard([&] { QProcess::execute(u"umount"_qs, {dir.path()}); });
        const QString path = dir.filePath(u"K40.in4"_qs);
        QVERIFY(writeFile(path, QByteArray(402, 'o')));
        QFile filler(dir.filePath(u"filler"_qs));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'f')) > 0)
            continue;
        filler.close();
        QCOMPARE(SafeFile::write(path, QByteArray(402, 'n')).status, Writing::Status::Failed);
        QCOMPARE(readFile(path), QByteArray(402, 'o'));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
