#include "Hy3Gtfs.h"

#include "Hy3Files.h"
#include "model/Hy3File.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <zip.h>

namespace Hy3Gtfs {

namespace {

// The largest file of a feed read: the stop times of large cities stay far
// below it.
constexpr qint64 MaxFileBytes = 512 * 1024 * 1024;

[[noreturn]] void fail(const QString& message) {
    throw Gtfs::Problem{message};
}

Gtfs::Files readZip(const QString& path) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive) fail(QStringLiteral("%1: not a zip file that can be read").arg(path));
    Gtfs::Files files;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            continue;
        const QString name = QFileInfo(QString::fromUtf8(st.name)).fileName();
        if (!name.endsWith(u".txt") || files.contains(name)) continue;
        if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(MaxFileBytes)) {
            zip_close(archive);
            fail(QStringLiteral("%1: %2 is too large to read").arg(path, name));
        }
        zip_file_t* f = zip_fopen_index(archive, zip_uint64_t(i), 0);
        if (!f) continue;
        QByteArray bytes;
        char buffer[65536];
        for (zip_int64_t n; (n = zip_fread(f, buffer, sizeof buffer)) > 0;) {
            bytes.append(buffer, qsizetype(n));
            if (bytes.size() > MaxFileBytes) break;
        }
        zip_fclose(f);
        files.insert(name, bytes);
    }
    zip_close(archive);
    return files;
}

Gtfs::Files readFolder(const QString& path) {
    Gtfs::Files files;
    const QDir dir(path);
    for (const QFileInfo& info : dir.entryInfoList({QStringLiteral("*.txt")}, QDir::Files)) {
        if (info.size() > MaxFileBytes)
            fail(QStringLiteral("%1: %2 is too large to read").arg(path, info.fileName()));
        QFile f(info.filePath());
        if (!f.open(QIODevice::ReadOnly))
            fail(QStringLiteral("%1: cannot be read").arg(info.filePath()));
        files.insert(info.fileName(), f.readAll());
    }
    return files;
}

} // namespace

Gtfs::Files readFeed(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) return readFolder(path);
    if (info.isFile()) return readZip(path);
    fail(QStringLiteral("%1: no such file or folder").arg(path));
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
        if (!QDir().mkpath(folder)) {
            err << folder << ": cannot make the folder\n";
            return 1;
        }
        const QString hy3 = QDir(folder).filePath(number + u".hy3"_qs);
        const QString tape = QDir(folder).filePath(number + u"tp.csv"_qs);
        if (!Hy3Files::write(hy3, FareData::serializeHy3(imported.rows), err) ||
            !Hy3Files::write(tape, Gtfs::announcements(imported), err))
            return 1;
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
