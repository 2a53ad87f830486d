#pragma once
// The fare data file <route>.hy3, byte for byte: little-endian, a 16-bit
// signed record count N, then N records back to back, each
//   u16 L | L bytes stop name (CP932) | i16 ticket number | 150 x i16 v(1..150)
// Bytes after record N are ignored.

#include "model/FareData.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace FareData {

struct Hy3Problem {
    enum Kind {
        TooShortForCount, // fewer than 2 bytes
        CountZero,
        CountNegative,
        CountTooLarge,    // more than 301 records
        Truncated,        // the file ends inside a record
        BadName,          // a stop name that is not valid CP932 (read anyway)
    };
    Kind kind;
    int record;           // 1-based record number, 0 for the count
    qint64 offset;        // byte offset in the file where the problem lies
    QString text;         // a readable description
};

struct Hy3File {
    qint16 count = 0;            // the record count as stored
    std::vector<RouteRow> rows;  // the records that could be read completely
    qint64 endOffset = 0;        // the offset just after the last complete record
    qint64 trailingBytes = 0;    // bytes after record N (ignored by readers)
    std::vector<Hy3Problem> problems;

    // True when the file can be loaded as a route (readable count of 1..301
    // and all its records complete). Invalid names do not prevent loading.
    bool usable() const;
};

// Reads a whole fare data file image. Never reads beyond bytes; never fails.
Hy3File parseHy3(const QByteArray& bytes);

// Writes a fare data file image. Names are stored in CP932. Raises error 6
// when a name is longer than 65535 bytes and error 9 for more than 301 rows.
QByteArray serializeHy3(const std::vector<RouteRow>& rows);

} // namespace FareData
