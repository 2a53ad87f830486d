#include "Hy3Tape.h"

#include "model/TapeFile.h"
#include "model/SafeFile.h"

#include <array>

namespace Hy3Tape {

int check(const QString& path, bool listRows, QTextStream& out, QTextStream& err) {
    const SafeFile::Reading in = SafeFile::read(path, TapeFile::MaxFileBytes);
    const QString refused =
        QStringLiteral(": the tape refuses the file: the tape controls will be disabled");
    if (in.status == SafeFile::Reading::Status::TooLarge) {
        out << path << ": the file holds " << in.size << " bytes, more than the "
            << TapeFile::MaxFileBytes << " (16 MiB) the tape reads" << Qt::endl
            << path << refused << Qt::endl;
        return 1;
    }
    if (!in.ok()) {
        err << SafeFile::describeInEnglish(path, in) << Qt::endl;
        return 2;
    }
    const TapeReading tape = TapeFile::read(in.bytes);
    for (const TapeProblem& p : tape.problems) {
        out << path << ": ";
        if (p.line > 0) out << "line " << p.line;
        if (p.field > 0) out << ", field " << p.field;
        if (p.line > 0) out << ": ";
        out << (p.error != 0 ? "" : "warning: ") << p.message << Qt::endl;
    }
    if (!tape.loads()) {
        out << path << refused << Qt::endl;
        return 1;
    }

    int steps = 0;
    std::array<int, 4> sounds{}; // rows by sound flag 0..3, other flags as 0
    for (const TapeRow& r : tape.rows) {
        steps += r.stepFlag == 1 ? 1 : 0;
        ++sounds[r.soundFlag >= 1 && r.soundFlag <= 3 ? size_t(r.soundFlag) : 0];
    }
    out << path << ": " << tape.rows.size() << " row(s), ";
    if (tape.problems.empty())
        out << "no problems";
    else
        out << tape.problems.size() << " warning(s)";
    out << Qt::endl
        << path << ": " << steps << " row(s) step the fare display; "
        << tape.rows.size() - size_t(sounds[0])
        << " play a sound before speaking (sound 1: " << sounds[1] << ", sound 2: " << sounds[2]
        << ", sound 3: " << sounds[3] << ")" << Qt::endl;
    if (listRows) {
        out << "  row  line   step  sound  text" << Qt::endl;
        for (size_t k = 0; k < tape.rows.size(); ++k) {
            const TapeRow& r = tape.rows[k];
            const int line = tape.recordLines[k];
            out << QStringLiteral("%1  %2  %3  %4  %5")
                       .arg(k + 1, 5)
                       .arg(line > 0 ? QString::number(line) : QStringLiteral("-"), 4)
                       .arg(r.stepFlag, 5)
                       .arg(r.soundFlag, 5)
                       .arg(r.text)
                << Qt::endl;
        }
    }
    return 0;
}

} // namespace Hy3Tape
