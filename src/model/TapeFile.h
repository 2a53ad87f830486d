#pragma once
// The announcement file <route>tp.csv, as the tape reads it: CP932 text, one
// "text,step flag,sound flag" record per line.
//   - Lines end in CR LF or in LF alone; a last line without its line end
//     counts, a file ending in a line end has no extra line. A CR not before
//     LF stays in its line. The tape has one row per line.
//   - Commas and line ends both end a field, and the fields run on from line
//     to line: three fields make a record, whatever lines they lie on.
//   - A field whose first character (after blanks and tabs) is a quote is
//     quoted: it runs to the next quote, which ends it ("" is no quote within
//     it), and what follows up to the comma is dropped. Within a quoted field
//     everything is kept, blanks included.
//   - An unquoted field runs to the next comma, quotes within it kept, and
//     loses the blanks (any white space) at its ends.
//   - The flags are whole numbers that fit 16 bits.

#include <QByteArray>
#include <QString>
#include <vector>

struct TapeRow {
    QString text;
    qint16 stepFlag = 0;
    qint16 soundFlag = 0;
    bool operator==(const TapeRow&) const = default;
};

// Something wrong with an announcement file, and where: the line (from 1; 0
// for the file as a whole) and the field on that line (from 1; 0 for the
// whole line).
struct TapeProblem {
    int line = 0;
    int field = 0;
    QString message;
    // The number of the error the tape raises for it, refusing the file; 0
    // for a warning: the file loads, though likely not as its author meant.
    int error = 0;
};

// An announcement file as the tape reads it, with all that is wrong with it.
struct TapeReading {
    std::vector<TapeRow> rows;
    // The line each row's record begins on; 0 for a row left without one.
    std::vector<int> recordLines;
    // In the order of the file. Reading goes on after an error to find the
    // rest; the rows are then incomplete.
    std::vector<TapeProblem> problems;
    bool loads() const;
};

// An announcement file written, and the rows whose text it could not hold as
// it was.
struct TapeWriting {
    QByteArray bytes;
    struct Change {
        size_t row; // from 0
        QString written; // the text the tape reads back
    };
    std::vector<Change> changed;
};

namespace TapeFile {

// Reads an announcement file image. Raises error 13 for a flag that is not a
// number, 6 for one beyond 16 bits, 62 when the file ends inside a record and
// 9 for more records than lines.
std::vector<TapeRow> parse(const QByteArray& bytes);
// Reads a file image as parse() does, finding every error parse() would
// raise, in order, and what is likely a mistake though the tape takes it:
// lines of other than three fields, flags of no meaning, empty texts, bytes
// that are no CP932 text (UTF-8 most likely), LF line ends, stray quotes.
TapeReading read(const QByteArray& bytes);
// A larger announcement file is not read (as a bad one).
constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

// Writes the rows as an announcement file, a record a line, CR LF, that
// reads back as the same rows. A text is quoted when it holds a comma,
// begins with a quote or has blanks at an end; a quote within a quoted text
// is written as "”". Line breaks and other control characters become blanks
// and characters CP932 cannot hold the nearest it can; such rows are listed
// in changed.
TapeWriting write(const std::vector<TapeRow>& rows);

} // namespace TapeFile
