// hy3: makes, dumps and checks fare data files.
//   hy3 import <csv> <hy3>   CSV (UTF-8) to a fare data file
//   hy3 export <hy3>         a fare data file as CSV on standard output
//   hy3 check <hy3> [--settings <K40.in4>]
//                            every problem of a fare data file; exit 1 if any;
//                            with a settings file, a warning for each data
//                            column those settings read that holds fares
//   hy3 check-tape [--rows] <tp.csv>
//                            every problem of an announcement file, as the tape
//                            reads it, and what the tape does with it (--rows:
//                            each row); exit 1 if the tape refuses the file
//   hy3 list-gtfs <feed>     the routes of a GTFS-JP feed (zip file or folder)
//   hy3 import-gtfs <feed> --route <route> [--direction 0|1] [--trip <trip>]
//                  [--flat-fare <yen>] --number <route number> --out <folder> [--force]
//                  [--strict]
//                            one route of a feed as <number>.hy3 and <number>tp.csv
//                            in a folder that exists; --force writes over them,
//                            --strict writes nothing when a fare is missing

#include "Hy3Csv.h"
#include "Hy3Gtfs.h"
#include "Hy3Tape.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() == 3 && args[0] == u"import") return Hy3Csv::importCsv(args[1], args[2], err);
    if (args.size() == 2 && args[0] == u"export") return Hy3Csv::exportCsv(args[1], out, err);
    if (args.size() == 2 && args[0] == u"check") return Hy3Csv::check(args[1], {}, out, err);
    if (args.size() == 4 && args[0] == u"check" && args[2] == u"--settings")
        return Hy3Csv::check(args[1], args[3], out, err);
    if (!args.isEmpty() && args[0] == u"check-tape") {
        QStringList rest = args.mid(1);
        const bool rows = rest.removeAll(u"--rows"_qs) > 0;
        if (rest.size() == 1) return Hy3Tape::check(rest[0], rows, out, err);
    }
    if (args.size() == 2 && args[0] == u"list-gtfs") return Hy3Gtfs::list(args[1], out, err);
    if (args.size() >= 2 && args[0] == u"import-gtfs") {
        const int status = Hy3Gtfs::import(args.mid(1), out, err);
        if (status != 2) return status;
    }
    err << "usage: hy3 import <csv> <hy3>\n"
           "       hy3 export <hy3>\n"
           "       hy3 check <hy3> [--settings <K40.in4>]\n"
           "       hy3 check-tape [--rows] <tp.csv>\n"
           "       hy3 list-gtfs <feed>\n"
           "       hy3 import-gtfs <feed> --route <route> [--direction 0|1] [--trip <trip>]\n"
           "                       [--flat-fare <yen>] --number <route number> --out <folder>\n"
           "                       [--force] [--strict]\n";
    return 2;
}
