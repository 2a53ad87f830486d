#pragma once
// The announcement file of a route (<route>tp.csv), checked as the
// announcement tape reads it.

#include <QString>
#include <QTextStream>

namespace Hy3Tape {

// Writes every problem of the file to out, with its line and field, then what
// the tape does with the file: the rows it gets, how many of them step the
// fare display and play a sound before speaking, and with listRows each row.
// Returns 0 when the tape loads the file, 1 when it refuses it, 2 when the
// file cannot be read (said on err).
int check(const QString& path, bool listRows, QTextStream& out, QTextStream& err);

} // namespace Hy3Tape
