#pragma once
// The route table and route state of the console, the fare data file
// (<route>.hy3) and the fare part of setting a route.
//
// Fare data file: little-endian, a 16-bit signed record count N, then N
// records back to back, each
//   u16 L | L bytes stop name (CP932) | i16 ticket number | 150 x i16 v(1..150)
// Bytes after record N are ignored.

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

class MessageBoxService;

namespace DataIo {

constexpr int MaxRows = 301;     // rows of the route table
constexpr int ValueCount = 150;  // v(1..150) of a row
constexpr int MaxSection = 300;  // highest start section
constexpr int ColumnCount = 152; // stop name, ticket number, v(1..150)
constexpr int RecordFixedBytes = 2 + 2 + 2 * ValueCount; // 304 bytes besides the name

// One row of the route table: a stop of the route.
struct RouteRow {
    QString name;                           // column 1, stop name
    qint16 ticket = 0;                      // column 2, boarding-ticket number
    std::array<qint16, ValueCount> v = {};  // columns 3..152, v(1..150)

    qint16 value(int k) const { return v[static_cast<size_t>(k - 1)]; } // v(k), k 1..150
    bool operator==(const RouteRow&) const = default;
};

// The table of 301 rows, addressed from 1.
class RouteTable {
public:
    RouteTable();

    // ClearRouteTable: every row gets an empty name, ticket number 0 and
    // v(1..150) = 0.
    void ClearRouteTable();

    // SetRouteCell: column 1 takes the stop name; columns 2..152 take the
    // ticket number and v(column - 2). A row outside 1..301 or a column
    // outside 1..152 raises error 9; a text into a numeric column raises
    // error 13 unless it reads as a number; a number beyond 16 bits raises 6.
    void SetRouteCell(int row, int column, const QString& text);
    void SetRouteCell(int row, int column, qint32 value);

    // Row r, 1..301; error 9 outside.
    const RouteRow& row(int r) const;
    RouteRow& row(int r);

private:
    std::vector<RouteRow> rows_; // index 0 unused
};

// The route state shared by the console.
struct RouteState {
    QString routeText;        // as entered, leading zeros kept
    qint16 startSection = 0;  // 1..300 after a route setting
    qint16 recordCount = 0;   // N of the file read last (may be 0 or negative)
    qint16 currentRow = 0;    // 1..rows loaded, 0 before the first route
    QString ticketDateText;   // ticket date captured at route setting
    qint16 savedPrefixMode = 0;
    int loadedRows = 0;       // rows the table really holds from the last good load
};

// A folder with its trailing separator: "/" is appended to a non-empty text
// that does not already end in "/" or "\". The empty text stays empty (the
// working folder).
QString withTrailingSeparator(const QString& folder);

// The start section of a section text: its numeric value (leading digits;
// empty gives 0), held to 1..300.
qint16 sectionFromText(const QString& text);

// The numeric value of a route text without leading zeros, as used for data
// file names: "00012" gives "12", the empty text "0".
QString routeFileName(const QString& routeText);

// The numeric value of the leading digits of a text (an optional sign, then
// digits; blanks are skipped), saturated to 64 bits. "00012" gives 12.
qint64 leadingNumber(const QString& text);

// Finds folder + name, matching the file name without regard to letter case.
// Returns the path of the file. Raises error 76 when the folder does not
// exist and 53 when it holds no such file.
QString findDataFile(const QString& folderWithSeparator, const QString& name);

// ---- The file format ------------------------------------------------------

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

// ---- Setting a route: the fare part --------------------------------------

enum class FareLoadOutcome {
    Loaded,          // table filled, current row = start section
    NotFound,        // "指定した系統のデータがありません..."
    CountZero,       // "指定した系統はデータの数が0(未登録)の可能性があります..."
    SectionTooLarge, // "指定した区間はデータの数よりも多いです..." ...
    Failed,          // any other error; its description was shown
};

// The messages of the route setting.
QString messageNotFound();
QString messageCountZero();
QString messageSectionTooLarge();

// Verifies and reads <fareFolder><routeName>.hy3 into the table for a route
// setting with state.startSection already set, showing the route setting's
// message boxes through messages. Follows the route setting's state rules:
// the record count is stored as soon as it is read; a failure keeps the
// previous table and current row. A file with more than 301 records or
// shorter than its count is reported with its error description and keeps
// the previous table, current row and record count.
FareLoadOutcome ReadRouteFare(const QString& fareFolderWithSeparator, const QString& routeName,
                              RouteState& state, RouteTable& table, MessageBoxService& messages);

} // namespace DataIo
