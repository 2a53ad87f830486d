#pragma once
// The fare data of a route: the route table (one row per stop, with the fares
// shown at that stop), the route state (route and section entered, the row
// the bus is at), the names of the data files, and the fare part of setting
// a route. The byte format of the fare data file is Hy3File.h.

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

class MessageBoxService;

namespace FareData {

constexpr int MaxRows = 301;     // rows of the route table
constexpr int ValueCount = 150;  // v(1..150) of a row
constexpr int MaxSection = 300;  // highest start section
constexpr int ColumnCount = 152; // stop name, ticket number, v(1..150)
constexpr int RecordFixedBytes = 2 + 2 + 2 * ValueCount; // 304 bytes besides the name
// The largest fare data file read: 301 records with names of the most bytes a
// name can have (65535) take about 19.8 MiB.
constexpr qint64 MaxFileBytes = 32 * 1024 * 1024;

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

    // Every row gets an empty name, ticket number 0 and v(1..150) = 0.
    void clear();

    // Column 1 takes the stop name; columns 2..152 take the
    // ticket number and v(column - 2). A row outside 1..301 or a column
    // outside 1..152 raises error 9; a text into a numeric column raises
    // error 13 unless it reads as a number; a number beyond 16 bits raises 6.
    void setCell(int row, int column, const QString& text);
    void setCell(int row, int column, qint32 value);

    // Row r, 1..301; error 9 outside.
    const RouteRow& row(int r) const;
    RouteRow& row(int r);

private:
    std::vector<RouteRow> rows_; // index 0 unused
};

// Where the bus is on the route, and what was entered to set the route.
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
// digits; blanks are skipped). "00012" gives 12. Digits beyond about 9.2 × 10^17
// are not added, so a very long text cannot overflow.
qint64 leadingNumber(const QString& text);

// Finds folder + name, matching the file name without regard to letter case.
// Returns the path of the file. Raises error 76 when the folder does not
// exist and 53 when it holds no such file.
QString findDataFile(const QString& folderWithSeparator, const QString& name);

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
FareLoadOutcome loadRouteFares(const QString& fareFolderWithSeparator, const QString& routeName,
                              RouteState& state, RouteTable& table, MessageBoxService& messages);

} // namespace FareData
