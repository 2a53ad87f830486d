// hy3: makes, dumps and checks fare data files.
//   hy3 import <csv> <hy3>   CSV (UTF-8) to a fare data file
//   hy3 export <hy3>         a fare data file as CSV on standard output
//   hy3 check <hy3>          every problem of a fare data file; exit 1 if any

#include "Hy3Csv.h"

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
    if (args.size() == 2 && args[0] == u"check") return Hy3Csv::check(args[1], out, err);
    err << "usage: hy3 import <csv> <hy3>\n"
           "       hy3 export <hy3>\n"
           "       hy3 check <hy3>\n";
    return 2;
}
