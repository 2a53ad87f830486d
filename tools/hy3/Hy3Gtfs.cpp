#include "Hy3Gtfs.h"

#include "model/TapeFile.h"
#include "model/Hy3File.h"
#include "model/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <memory>
#include <zip.h>

namespace Hy3Gtfs {

namespace {

// The largest zip file read: the feeds of the largest cities' operators stay
// far below it.
constexpr qint64 MaxZipBytes = 256 * 1024 * 1024;

[[noreturn]] void fail(const QString& message) {
    throw Gtfs::Problem{message};
}

[[noreturn]] void tooLarge(const QString& feed, const Gtfs::FileLimit& file) {
    fail(QStringLiteral("%1: %2 is larger than %3 MiB, the most read of it")
             .arg(feed, file.name)
             .arg(file.maxBytes / (1024 * 1024)));
}

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

// Each file of the feed that the reading takes, unpacked no further than its
// limit, whatever size the archive says it has; the other files of the
// archive are not unpacked at all. The files may lie in a folder of the
// archive; of two of the same name the first counts.
Gtfs::Files readZip(const QString& path, const QByteArray& zipBytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(zipBytes.constData(), zip_uint64_t(zipBytes.size()), 0, &error);
    std::unique_ptr<zip_t, ZipCloser> archive(
        source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr);
    if (!archive) {
        if (source) zip_source_free(source);
        zip_error_fini(&error);
        fail(QStringLiteral("%1: not a zip file that can be read").arg(path));
    }
    QHash<QString, zip_uint64_t> entries;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = count - 1; i >= 0; --i)
        if (const char* name = zip_get_name(archive.get(), zip_uint64_t(i), 0))
            entries.insert(QFileInfo(QString::fromUtf8(name)).fileName(), zip_uint64_t(i));
    Gtfs::Files files;
    for (const Gtfs::FileLimit& limit : Gtfs::fileLimits()) {
        const auto entry = entries.constFind(limit.name);
        if (entry == entries.constEnd()) continue;
        std::unique_ptr<zip_file_t, ZipCloser> f(zip_fopen_index(archive.get(), *entry, 0));
        if (!f)
            fail(QStringLiteral("%1: %2 cannot be unpacked (%3)")
                     .arg(path, limit.name, QString::fromUtf8(zip_strerror(archive.get()))));
        QByteArray bytes;
        char buffer[65536];
        zip_int64_t n = 0;
        while ((n = zip_fread(f.get(), buffer, sizeof buffer)) > 0) {
            if (bytes.size() + n > limit.maxBytes) tooLarge(path, limit);
            bytes.append(buffer, qsizetype(n));
        }
        if (n < 0)
            fail(QStringLiteral("%1: %2 cannot be unpacked (%3)")
                     .arg(path, limit.name, QString::fromUtf8(zip_file_strerror(f.get()))));
        files.insert(limit.name, bytes);
    }
    return files;
}

// Each file of the feed that the reading takes, when it is there.
Gtfs::Files readFolder(const QString& path) {
    Gtfs::Files files;
    for (const Gtfs::FileLimit& limit : Gtfs::fileLimits()) {
        const QString file = QDir(path).filePath(limit.name);
        SafeFile::Reading r = SafeFile::read(file, limit.maxBytes);
        if (r.status == SafeFile::Reading::Status::NotFound) continue;
        if (r.status == SafeFile::Reading::Status::TooLarge) tooLarge(path, limit);
        if (!r.ok()) fail(SafeFile::describeInEnglish(file, r));
        files.insert(limit.name, std::move(r.bytes));
    }
    return files;
}

// Why the tape would not read announcements as they are made, read by the
// tape's own reader: too large, or any problem at all; empty when none.
QString tapeRefusal(const QByteArray& announcements) {
    if (announcements.size() > TapeFile::MaxFileBytes)
        return QStringLiteral("they take %1 bytes, more than the %2 (16 MiB) the tape reads")
            .arg(announcements.size())
            .arg(TapeFile::MaxFileBytes);
    const TapeReading reading = TapeFile::read(announcements);
    if (reading.problems.empty()) return {};
    const TapeProblem& p = reading.problems.front();
    return QStringLiteral("line %1: %2").arg(p.line).arg(p.message);
}

} // namespace

Gtfs::Files readFeed(const QString& path) {
    if (QFileInfo(path).isDir()) return readFolder(path);
    const SafeFile::Reading zip = SafeFile::read(path, MaxZipBytes);
    if (zip.status == SafeFile::Reading::Status::NotFound)
        fail(QStringLiteral("%1: no such file or folder").arg(path));
    if (!zip.ok()) fail(SafeFile::describeInEnglish(path, zip));
    return readZip(path, zip.bytes);
}

int list(const QString& feedPath, QTextStream& out, QTextStream& err) {
    try {
        const Gtfs::Feed feed = Gtfs::Feed::read(readFeed(feedPath));
        for (const Gtfs::RouteSummary& s : Gtfs::listRoutes(feed)) {
            QStringList directions;
            for (int d : s.directions)
                directions << QString::number(d);
            out << s.route.id << '\t' << s.route.shortName << '\t' << s.route.longName << '\n'
                << "  trips: " << s.trips
                << "; " << (directions.isEmpty() ? u"no direction_id given"_qs
                                                 : u"direction_id "_qs + directions.join(u", "_qs))
                << "; fares: " << (s.faresKnown ? "known" : "unknown") << '\n'
                << "  longest trip, " << s.longestTrip.size()
                << " stops: " << s.longestTrip.join(u" - "_qs) << '\n';
        }
        return 0;
    } catch (const Gtfs::Problem& p) {
        err << p.message << '\n';
        return 1;
    }
}

int import(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.isEmpty()) return 2;
    Gtfs::ImportRequest request;
    QString number, folder;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        const QString& option = args[i];
        const QString& value = args[i + 1];
        if (option == u"--route") {
            request.route = value;
        } else if (option == u"--direction" && (value == u"0" || value == u"1")) {
            request.direction = value.toInt();
        } else if (option == u"--trip") {
            request.trip = value;
        } else if (option == u"--flat-fare") {
            bool fareOk = false;
            const int yen = value.toInt(&fareOk);
            if (!fareOk || yen < 0 || yen > 32767) {
                err << "import-gtfs: the flat fare must be whole yen from 0 to 32767\n";
                return 2;
            }
            request.flatFare = qint16(yen);
        } else if (option == u"--number") {
            number = value;
        } else if (option == u"--out") {
            folder = value;
        } else {
            err << "import-gtfs: unknown option or value: " << option << ' ' << value << '\n';
            return 2;
        }
    }
    if (args.size() % 2 == 0 || request.route.isEmpty() || folder.isEmpty()) return 2;
    bool ok = false;
    const int n = number.toInt(&ok);
    if (!ok || n < 1 || n > 99999 || number != QString::number(n)) {
        err << "import-gtfs: the route number must be a whole number from 1 to 99999 without "
               "leading zeros, as the keypad enters it\n";
        return 2;
    }
    try {
        const Gtfs::Feed feed = Gtfs::Feed::read(readFeed(args[0]));
        const Gtfs::Imported imported = Gtfs::importRoute(feed, request);
        for (const QString& note : imported.notes)
            err << "note: " << note << '\n';
        const QString hy3 = QDir(folder).filePath(number + u".hy3"_qs);
        const QString tape = QDir(folder).filePath(number + u"tp.csv"_qs);
        const QByteArray announcements = Gtfs::announcements(imported);
        if (const QString refused = tapeRefusal(announcements); !refused.isEmpty()) {
            err << tape << ": the tape would not read the announcements as made: " << refused
                << "; nothing is written\n";
            return 1;
        }
        if (!QDir().mkpath(folder)) {
            err << folder << ": cannot make the folder\n";
            return 1;
        }
        // Both files or neither: the fare data is never left beside the
        // announcements of another import.
        QString failed;
        const SafeFile::Writing written = SafeFile::writeTogether(
            {{hy3, FareData::serializeHy3(imported.rows)}, {tape, announcements}}, &failed);
        if (!written.ok()) {
            err << SafeFile::describeInEnglish(failed, written) << "; "
                << (failed == hy3 ? tape : hy3) << " is not written either\n";
            return 1;
        }
        out << "route " << imported.route.id << " (" << imported.route.title() << "), trip "
            << imported.trip.id << ", " << imported.rows.size()
            << " stops: " << imported.stopNames.first() << " - " << imported.stopNames.last()
            << '\n'
            << "fares: " << imported.faresFound << " found, " << imported.faresMissing
            << (request.flatFare ? QStringLiteral(" missing, set to the flat fare of %1 yen\n")
                                       .arg(*request.flatFare)
                                 : u" missing (blank on the board)\n"_qs);
        if (imported.faresMissing > 0 && !request.flatFare && imported.onlyPrice)
            out << "hint: every fare rule of the route is " << *imported.onlyPrice
                << " yen; if it is the fare of every ride, import with --flat-fare "
                << *imported.onlyPrice << '\n';
        out << "wrote " << hy3 << " and " << tape << '\n';
        return 0;
    } catch (const Gtfs::Problem& p) {
        err << p.message << '\n';
        return 1;
    }
}

} // namespace Hy3Gtfs
