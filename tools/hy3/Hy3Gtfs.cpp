#include "Hy3Gtfs.h"

#include "model/Hy3File.h"
#include "model/SafeFile.h"
#include "model/TapeFile.h"

#include <QDir>
#include <QFileInfo>
#include <memory>
#include <zip.h>

namespace Hy3Gtfs {

namespace {

// The largest zip file read: the feeds of the largest cities' operators stay
// far below it.
constexpr qint64 MaxZipBytes = 256 * 1024 * 1024;

// A file of the feed that is not read: the reason in error, and nothing.
std::nullopt_t refuse(QString* error, const QString& message) {
    *error = message;
    return std::nullopt;
}

std::nullopt_t tooLarge(QString* error, const QString& feed, const Gtfs::FileLimit& file) {
    return refuse(error, QStringLiteral("%1: %2 is larger than %3 MiB, the most read of it")
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
std::optional<Gtfs::Files> readZip(const QString& path, const QByteArray& zipBytes,
                                   QString* error) {
    zip_error_t zipError;
    zip_error_init(&zipError);
    zip_source_t* source =
        zip_source_buffer_create(zipBytes.constData(), zip_uint64_t(zipBytes.size()), 0, &zipError);
    std::unique_ptr<zip_t, ZipCloser> archive(
        source ? zip_open_from_source(source, ZIP_RDONLY, &zipError) : nullptr);
    if (!archive) {
        if (source) zip_source_free(source);
        zip_error_fini(&zipError);
        return refuse(error, QStringLiteral("%1: not a zip file that can be read").arg(path));
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
            return refuse(error, QStringLiteral("%1: %2 cannot be unpacked (%3)")
                                     .arg(path, limit.name,
                                          QString::fromUtf8(zip_strerror(archive.get()))));
        QByteArray bytes;
        char buffer[65536];
        zip_int64_t n = 0;
        while ((n = zip_fread(f.get(), buffer, sizeof buffer)) > 0) {
            if (bytes.size() + n > limit.maxBytes) return tooLarge(error, path, limit);
            bytes.append(buffer, qsizetype(n));
        }
        if (n < 0)
            return refuse(error, QStringLiteral("%1: %2 cannot be unpacked (%3)")
                                     .arg(path, limit.name,
                                          QString::fromUtf8(zip_file_strerror(f.get()))));
        files.insert(limit.name, bytes);
    }
    return files;
}

// Each file of the feed that the reading takes, when it is there.
std::optional<Gtfs::Files> readFolder(const QString& path, QString* error) {
    Gtfs::Files files;
    for (const Gtfs::FileLimit& limit : Gtfs::fileLimits()) {
        const QString file = QDir(path).filePath(limit.name);
        SafeFile::Reading r = SafeFile::read(file, limit.maxBytes);
        if (r.status == SafeFile::Reading::Status::NotFound) continue;
        if (r.status == SafeFile::Reading::Status::TooLarge) return tooLarge(error, path, limit);
        if (!r.ok()) return refuse(error, SafeFile::describeInEnglish(file, r));
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

// The files of a feed (a zip file or a folder) that Gtfs::Feed::read reads,
// each within its limit (Gtfs::fileLimits()); nothing, and the reason in
// error, when one cannot be read, is no regular file or is larger. In a zip
// file the files may lie in a folder of their own.
std::optional<Gtfs::Files> readFeedFiles(const QString& path, QString* error) {
    if (QFileInfo(path).isDir()) return readFolder(path, error);
    const SafeFile::Reading zip = SafeFile::read(path, MaxZipBytes);
    if (zip.status == SafeFile::Reading::Status::NotFound)
        return refuse(error, QStringLiteral("%1: no such file or folder").arg(path));
    if (!zip.ok()) return refuse(error, SafeFile::describeInEnglish(path, zip));
    return readZip(path, zip.bytes, error);
}

// The feed at path, read; nothing, and the reason in error, when it cannot be.
std::optional<Gtfs::Feed> readFeed(const QString& path, QString* error) {
    const std::optional<Gtfs::Files> files = readFeedFiles(path, error);
    return files ? Gtfs::Feed::read(*files, error) : std::nullopt;
}

} // namespace

int list(const QString& feedPath, QTextStream& out, QTextStream& err) {
    QString error;
    const std::optional<Gtfs::Feed> feed = readFeed(feedPath, &error);
    if (!feed) {
        err << error << '\n';
        return 1;
    }
    for (const Gtfs::RouteSummary& s : Gtfs::listRoutes(*feed)) {
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
}

int import(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.isEmpty()) return 2;
    Gtfs::ImportRequest request;
    QString number, folder;
    bool force = false, strict = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& option = args[i];
        if (option == u"--force" || option == u"--strict") {
            (option == u"--force" ? force : strict) = true;
            continue;
        }
        if (i + 1 == args.size()) return 2;
        const QString& value = args[++i];
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
    if (request.route.isEmpty() || folder.isEmpty()) return 2;
    bool ok = false;
    const int n = number.toInt(&ok);
    if (!ok || n < 1 || n > 99999 || number != QString::number(n)) {
        err << "import-gtfs: the route number must be a whole number from 1 to 99999 without "
               "leading zeros, as the keypad enters it\n";
        return 2;
    }
    // A mistyped folder is not made, and a route already there is not
    // replaced unless asked: both before the feed is read.
    if (!QFileInfo(folder).isDir()) {
        err << folder << ": no such folder; nothing is written (make it first)\n";
        return 1;
    }
    const QString hy3 = QDir(folder).filePath(number + u".hy3"_qs);
    const QString tape = QDir(folder).filePath(number + u"tp.csv"_qs);
    for (const QString& path : {hy3, tape}) {
        if (!force && QFileInfo(path).exists()) {
            err << path << ": already there; nothing is written (--force writes over it)\n";
            return 1;
        }
    }
    QString error;
    const std::optional<Gtfs::Feed> feed = readFeed(args[0], &error);
    const std::optional<Gtfs::Imported> result =
        feed ? Gtfs::importRoute(*feed, request, &error) : std::nullopt;
    if (!result) {
        err << error << '\n';
        return 1;
    }
    const Gtfs::Imported& imported = *result;
    for (const QString& note : imported.notes)
        err << "note: " << note << '\n';
    // The rides left blank on the board, by ticket and stop.
    QString blanks;
    if (!request.flatFare) {
        for (const auto& [ticket, stop] : imported.faresMissing)
            blanks += QStringLiteral("missing: from ticket %1 (%2) to stop %3 (%4)\n")
                          .arg(ticket)
                          .arg(imported.stopNames[ticket - 1])
                          .arg(stop)
                          .arg(imported.stopNames[stop - 1]);
    }
    if (strict && !blanks.isEmpty()) {
        err << blanks << "import-gtfs: " << imported.faresMissing.size()
            << " fare(s) missing; nothing is written (--strict)\n";
        return 1;
    }
    const TapeWriting tapeWriting = Gtfs::announcements(imported);
    const QByteArray& announcements = tapeWriting.bytes;
    for (const TapeWriting::Change& c : tapeWriting.changed)
        err << "note: " << tape << ", line " << c.row + 1 << ": written as \"" << c.written
            << "\", as the announcement file can hold it\n";
    if (const QString refused = tapeRefusal(announcements); !refused.isEmpty()) {
        err << tape << ": the tape would not read the announcements as made: " << refused
            << "; nothing is written\n";
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
        << "fares: " << imported.faresFound << " found, " << imported.faresMissing.size()
        << (request.flatFare ? QStringLiteral(" missing, set to the flat fare of %1 yen\n")
                                   .arg(*request.flatFare)
                             : u" missing (blank on the board)\n"_qs)
        << blanks;
    if (!blanks.isEmpty() && imported.onlyPrice)
        out << "hint: every fare rule of the route is " << *imported.onlyPrice
            << " yen; if it is the fare of every ride, import with --flat-fare "
            << *imported.onlyPrice << '\n';
    for (const auto& [ticket, stop, prices, taken] : imported.severalPrices) {
        QStringList yen;
        for (qint16 p : prices)
            yen << QString::number(p);
        out << "several fares: from ticket " << ticket << " (" << imported.stopNames[ticket - 1]
            << ") to stop " << stop << " (" << imported.stopNames[stop - 1]
            << "): " << yen.join(u", "_qs) << " yen; " << taken
            << " taken, the lowest not below the fare at the stop before\n";
    }
    out << "columns: " << Gtfs::columnsUsed(int(imported.rows.size())) << '\n'
        << "wrote " << hy3 << " and " << tape << '\n';
    return 0;
}

} // namespace Hy3Gtfs
