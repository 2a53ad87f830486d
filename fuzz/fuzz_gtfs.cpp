// Feeds arbitrary bytes to the GTFS-JP reader and importer: the input is
// split at lines "@@" into routes.txt, stops.txt, trips.txt, stop_times.txt,
// fare_attributes.txt and fare_rules.txt. Reading and importing every route
// either succeed or report a problem, never crash, hang or read beyond the
// input; an import gives one row per stop, at most 300, and announcements
// the tape reads without a single problem.
#include "model/TapeFile.h"
#include "model/Gtfs.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    static const char* const Names[] = {"routes.txt",     "stops.txt",           "trips.txt",
                                        "stop_times.txt", "fare_attributes.txt", "fare_rules.txt"};
    Gtfs::Files files;
    const QList<QByteArray> parts = bytes.split('@');
    for (qsizetype i = 0; i < parts.size() && i < 6; ++i)
        files.insert(QString::fromLatin1(Names[i]), parts[i]);
    const std::optional<Gtfs::Feed> feed = Gtfs::Feed::read(files);
    if (!feed) return 0;
    for (const Gtfs::RouteSummary& s : Gtfs::listRoutes(*feed)) {
        const std::optional<Gtfs::Imported> r =
            Gtfs::importRoute(*feed, {s.route.id, {}, {}, qint16(100)});
        if (!r) continue;
        if (r->rows.empty() || r->rows.size() > 300 || r->rows.size() != size_t(r->stopNames.size()))
            __builtin_trap();
        if (!TapeFile::read(Gtfs::announcements(*r).bytes).problems.empty())
            __builtin_trap();
    }
    return 0;
}
