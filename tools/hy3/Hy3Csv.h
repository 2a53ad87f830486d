#pragma once
// Fare data as CSV, for authoring routes in a text editor or a spreadsheet.
//
// One stop per line, UTF-8: stop name, ticket number, v1 ... v150. Values left
// out at the end of a line are 0, as are empty fields. A first line whose
// second field is not a number is a header and is skipped; empty lines are
// skipped. Fields may be quoted ("a ""b"" c"), and must be when they hold a
// comma, a quote or a line break.

#include "model/FareData.h"

#include <QByteArray>
#include <QString>
#include <QTextStream>
#include <optional>
#include <vector>

namespace Hy3Csv {

struct Error {
    int line = 0;   // 1-based line of the input where the record starts
    int column = 0; // 1-based field number within the record
    QString message;
};

struct Parsed {
    std::vector<FareData::RouteRow> rows;
    std::optional<Error> error;
};

// Reads CSV text into route rows, or the first error with its place.
Parsed parse(const QByteArray& utf8);

// Writes rows as CSV: a header line, then one line per stop with all 150
// values. parse(write(rows)) gives rows back.
QByteArray write(const std::vector<FareData::RouteRow>& rows);

// The three commands of the tool. They write their messages to err (and
// the CSV or the report to out) and return the exit status: 0 success,
// 1 a problem (bad input, a file that cannot be read or written).
int importCsv(const QString& csvPath, const QString& hy3Path, QTextStream& err);
int exportCsv(const QString& hy3Path, QTextStream& out, QTextStream& err);
// check reports every problem of a fare data file; given a settings file, it
// also warns where the fares reach a data column those settings read for the
// step chime or an information cell.
int check(const QString& hy3Path, const QString& settingsPath, QTextStream& out,
          QTextStream& err);

} // namespace Hy3Csv
