#pragma once
// The announcement tape: the announcements of a route (<route>tp.csv, CP932,
// one "text,step flag,sound flag" record per line) and the position of the
// tape.

#include <QString>
#include <vector>

namespace mdlM_Tape {

struct TapeRow {
    QString Text;
    qint16 StepFlag = 0;  // 1: the tape buttons also step the fare display
    qint16 SoundFlag = 0; // 1..3: which chime plays before the row
    bool operator==(const TapeRow&) const = default;
};

struct Tape {
    std::vector<TapeRow> rows; // row k is rows[k - 1]
    qint32 pos = 0;            // the row spoken last; 0 before the first
    bool speechAvailable = false;

    qint32 GetTapeCount() const { return static_cast<qint32>(rows.size()); }
    qint32 GetTapePos() const { return pos; }
    qint16 GetTapeStepFlag(qint32 p) const;
    qint16 GetTapeSoundFlag(qint32 p) const;
};

// Reads an announcement file image. The tape has one row per line (a last
// line without its line end counts; a file ending in CR LF has no extra
// row). Fields run on from line to line, commas and line ends both ending a
// field; a field may be quoted, blanks around an unquoted field are dropped;
// the flags are whole numbers that fit 16 bits. Raises error 13 for a flag
// that is not a number, 6 for one beyond 16 bits, 62 when the file ends
// inside a record and 9 for more records than lines.
std::vector<TapeRow> parseTape(const QByteArray& bytes);

// Loads folder + route + "tp.csv" (the name matched without regard to case)
// into tape and sets the position to 0. Raises the error of a missing or
// unreadable file or of a bad record; the tape then keeps its rows.
void LoadTape(Tape& tape, const QString& folderWithSeparator, const QString& route);

} // namespace mdlM_Tape
