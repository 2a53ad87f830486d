#include "sound/mdlM_Tape.h"

#include "console/DataIo.h"
#include "platform/Cp932.h"
#include "platform/K40Error.h"

#include <QFile>
#include <limits>

namespace mdlM_Tape {

qint16 Tape::GetTapeStepFlag(qint32 p) const {
    return p >= 1 && p <= GetTapeCount() ? rows[size_t(p - 1)].StepFlag : 0;
}

qint16 Tape::GetTapeSoundFlag(qint32 p) const {
    return p >= 1 && p <= GetTapeCount() ? rows[size_t(p - 1)].SoundFlag : 0;
}

namespace {

QStringList splitLines(const QString& text) {
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// The fields of one line, in order.
void fieldsOf(const QString& line, QStringList& out) {
    qsizetype i = 0;
    const qsizetype n = line.size();
    if (line.trimmed().isEmpty()) return;
    for (;;) {
        while (i < n && (line[i] == u' ' || line[i] == u'\t')) ++i;
        QString field;
        if (i < n && line[i] == u'"') {
            ++i;
            while (i < n && line[i] != u'"') field += line[i++];
            if (i < n) ++i; // the closing quote
            while (i < n && line[i] != u',') ++i;
        } else {
            while (i < n && line[i] != u',') field += line[i++];
            field = field.trimmed();
        }
        out << field;
        if (i >= n) break;
        ++i; // the comma
        if (i >= n) {
            out << QString(); // a comma at the line's end leaves an empty field
            break;
        }
    }
}

qint16 toFlag(const QString& field) {
    bool ok = false;
    const qlonglong v = field.trimmed().toLongLong(&ok);
    if (!ok) throw K40Error(K40Error::TypeMismatch);
    if (v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
        throw K40Error(K40Error::Overflow);
    return static_cast<qint16>(v);
}

} // namespace

std::vector<TapeRow> parseTape(const QByteArray& bytes) {
    const QStringList lines = splitLines(Cp932::decode(bytes));
    QStringList fields;
    for (const QString& line : lines) fieldsOf(line, fields);
    std::vector<TapeRow> rows(static_cast<size_t>(lines.size()));
    qsizetype f = 0;
    size_t k = 0;
    while (f < fields.size()) {
        if (k >= rows.size()) throw K40Error(K40Error::SubscriptOutOfRange);
        if (fields.size() - f < 3) throw K40Error(K40Error::InputPastEnd);
        rows[k].Text = fields[f];
        rows[k].StepFlag = toFlag(fields[f + 1]);
        rows[k].SoundFlag = toFlag(fields[f + 2]);
        f += 3;
        ++k;
    }
    return rows;
}

void LoadTape(Tape& tape, const QString& folderWithSeparator, const QString& route) {
    const QString path = DataIo::findDataFile(folderWithSeparator, route + QStringLiteral("tp.csv"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw K40Error(K40Error::PathFileAccessError);
    tape.rows = parseTape(file.readAll());
    tape.pos = 0;
}

} // namespace mdlM_Tape
