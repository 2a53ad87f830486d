#include "model/TapeFile.h"

#include "model/Cp932.h"
#include "model/Gtfs.h"
#include "model/K40Error.h"

#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <limits>
#include <optional>

namespace {

// One field of the file, where it lies: the line and its place on the line.
struct Field {
    QString text;
    int line;
    int column;
};

class Reader {
public:
    explicit Reader(std::vector<TapeProblem>& problems) : problems_(problems) {}

    void warn(int line, int field, const QString& message) {
        problems_.push_back({line, field, message, 0});
    }
    void fail(const Field& at, int error, const QString& message) {
        problems_.push_back({at.line, at.column, message, error});
    }

    // Lines end in CR LF, as written on Windows, or in LF alone. A last line
    // with its line end gives no extra line.
    QStringList splitLines(const QString& text) {
        QStringList lines = text.split(u'\n');
        int lfAlone = 0;
        int first = 0;
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            if (lines[i].endsWith(u'\r'))
                lines[i].chop(1);
            else if (++lfAlone == 1)
                first = int(i + 1);
        }
        const qsizetype ended = lines.size() - 1; // lines with a line end
        if (lines.last().isEmpty()) lines.removeLast();
        if (lfAlone > 0 && lfAlone == ended)
            warn(first, 0,
                 QStringLiteral("every line ends in LF alone; accepted, though announcement "
                                "files end their lines in CR LF"));
        else if (lfAlone > 0)
            warn(first, 0,
                 QStringLiteral("%1 of %2 line(s) end in LF alone, the first this one, and the "
                                "others in CR LF; accepted")
                     .arg(lfAlone)
                     .arg(ended));
        return lines;
    }

    // Appends the fields of one line, in order.
    void fieldsOf(const QString& line, int lineNumber, std::vector<Field>& out) {
        qsizetype i = 0;
        const qsizetype n = line.size();
        if (line.trimmed().isEmpty()) return;
        for (int column = 1;; ++column) {
            while (i < n && (line[i] == u' ' || line[i] == u'\t')) ++i;
            QString field;
            if (i < n && line[i] == u'"') {
                const qsizetype from = ++i;
                while (i < n && line[i] != u'"') ++i;
                field = line.mid(from, i - from);
                if (i < n) ++i; // the closing quote
                else
                    warn(lineNumber, column,
                         QStringLiteral("the quote is not closed: the field runs to the end of "
                                        "the line"));
                const qsizetype rest = i;
                while (i < n && line[i] != u',') ++i;
                const QString dropped = line.mid(rest, i - rest).trimmed();
                if (dropped.startsWith(u'"'))
                    warn(lineNumber, column,
                         QStringLiteral("a doubled quote does not stand for a quote: the field "
                                        "ends at the second quote and %1 is dropped")
                             .arg(dropped));
                else if (!dropped.isEmpty())
                    warn(lineNumber, column,
                         QStringLiteral("%1 after the closing quote is dropped").arg(dropped));
            } else {
                const qsizetype from = i;
                while (i < n && line[i] != u',') ++i;
                field = line.mid(from, i - from).trimmed();
            }
            out.push_back({field, lineNumber, column});
            if (i >= n) break;
            ++i; // the comma
            if (i >= n) {
                // A comma at the line's end leaves an empty field.
                out.push_back({QString(), lineNumber, column + 1});
                break;
            }
        }
    }

    // A flag, or nothing when the tape refuses it. ofRow names the row where
    // the field is not in its row's place.
    std::optional<qint16> flag(const Field& f, const QString& name, const QString& ofRow) {
        bool ok = false;
        const qlonglong v = f.text.trimmed().toLongLong(&ok);
        if (!ok) {
            fail(f, K40Error::TypeMismatch,
                 f.text.isEmpty()
                     ? QStringLiteral("the %1%2 is empty, not a number").arg(name, ofRow)
                     : QStringLiteral("the %1 \"%2\"%3 is not a number").arg(name, f.text, ofRow));
            return std::nullopt;
        }
        if (v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max()) {
            fail(f, K40Error::Overflow,
                 QStringLiteral("the %1 %2%3 does not fit 16 bits (-32768 to 32767)")
                     .arg(name)
                     .arg(v)
                     .arg(ofRow));
            return std::nullopt;
        }
        return static_cast<qint16>(v);
    }

private:
    std::vector<TapeProblem>& problems_;
};

// A file with bytes beyond ASCII that is all valid UTF-8 was written as UTF-8:
// hardly any CP932 text beyond ASCII is also valid UTF-8.
bool looksLikeUtf8(const QByteArray& bytes) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) < 0x80; }))
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return !utf8.hasError();
}

// The bytes that are no CP932 text are decoded as lone low surrogates.
bool holdsBadBytes(const QString& line) {
    return std::any_of(line.begin(), line.end(), [](QChar c) { return c.isLowSurrogate(); });
}

} // namespace

bool TapeReading::loads() const {
    return std::none_of(problems.begin(), problems.end(),
                        [](const TapeProblem& p) { return p.error != 0; });
}

TapeReading TapeFile::read(const QByteArray& bytes) {
    TapeReading out;
    Reader reader(out.problems);
    const bool utf8 = looksLikeUtf8(bytes);
    if (utf8)
        reader.warn(0, 0,
                    QStringLiteral("the file looks like UTF-8, but the tape reads Shift_JIS "
                                   "(CP932): its texts would be garbled; save it as Shift_JIS"));
    const QStringList lines = reader.splitLines(Cp932::decode(bytes));
    if (lines.isEmpty())
        reader.warn(0, 0, QStringLiteral("the file is empty: the tape has no rows"));

    std::vector<Field> fields;
    std::vector<size_t> fieldsBefore; // the fields before each line
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = int(i + 1);
        if (lines[i].contains(u'\r'))
            reader.warn(lineNumber, 0,
                        QStringLiteral("a CR without LF after it does not end a line"));
        if (!utf8 && holdsBadBytes(lines[i]))
            reader.warn(lineNumber, 0, QStringLiteral("bytes that are not Shift_JIS (CP932) text"));
        fieldsBefore.push_back(fields.size());
        reader.fieldsOf(lines[i], lineNumber, fields);
    }
    fieldsBefore.push_back(fields.size());

    // Records run on from line to line: a line of other than three fields puts
    // the rows after it out of step with their lines.
    for (size_t i = 0; i + 1 < fieldsBefore.size(); ++i) {
        const size_t count = fieldsBefore[i + 1] - fieldsBefore[i];
        if (count == 3) continue;
        const int lineNumber = int(i + 1);
        QString message = count == 0
                              ? QStringLiteral("the line is empty, with no record")
                              : QStringLiteral("%1 field(s) where a record has 3").arg(count);
        const bool inStepBefore = fieldsBefore[i] == 3 * i;
        const bool inStepAfter = fieldsBefore[i + 1] == 3 * (i + 1);
        // The first row put out of step (from 0), if it gets fields of another line.
        const size_t firstOff = count < 3 ? i : i + 1;
        if (inStepBefore && firstOff < size_t(lines.size()) &&
            fields.size() > std::max(3 * firstOff, fieldsBefore[i + 1]))
            message += QStringLiteral(": from row %1 on, the records are shifted, each row "
                                      "taking fields of other lines")
                           .arg(firstOff + 1);
        else if (inStepAfter)
            message += QStringLiteral(": after it the rows are in step with their lines again");
        reader.warn(lineNumber, 0, message);
    }

    out.rows.resize(size_t(lines.size()));
    out.recordLines.assign(size_t(lines.size()), 0);
    size_t k = 0;
    for (size_t f = 0; f < fields.size(); f += 3, ++k) {
        const Field& text = fields[f];
        if (k >= out.rows.size()) {
            reader.fail(text, K40Error::SubscriptOutOfRange,
                        QStringLiteral("a record beyond the last row: the tape has a row per "
                                       "line, %1 row(s), and the file holds more records")
                            .arg(out.rows.size()));
            break;
        }
        if (fields.size() - f < 3) {
            reader.fail(text, K40Error::InputPastEnd,
                        QStringLiteral("the file ends inside the record of row %1, after %2 of "
                                       "its 3 fields")
                            .arg(k + 1)
                            .arg(fields.size() - f));
            break;
        }
        // Where a field is not where its row would have it, the row is named.
        const int row = int(k + 1);
        const auto ofRow = [row](const Field& at, int column) {
            return at.line == row && at.column == column ? QString()
                                                         : QStringLiteral(" of row %1").arg(row);
        };
        const Field& step = fields[f + 1];
        const Field& sound = fields[f + 2];
        TapeRow& r = out.rows[k];
        r.text = text.text;
        out.recordLines[k] = text.line;
        if (text.text.isEmpty())
            reader.warn(text.line, text.column,
                        QStringLiteral("the text is empty: row %1 says nothing").arg(row));
        if (const auto v = reader.flag(step, QStringLiteral("step flag"), ofRow(step, 2))) {
            r.stepFlag = *v;
            if (*v != 0 && *v != 1)
                reader.warn(step.line, step.column,
                            QStringLiteral("the step flag %1%2 is neither 0 nor 1: the tape "
                                           "buttons do not step the fare display")
                                .arg(*v)
                                .arg(ofRow(step, 2)));
        }
        if (const auto v = reader.flag(sound, QStringLiteral("sound flag"), ofRow(sound, 3))) {
            r.soundFlag = *v;
            if (*v < 0 || *v > 3)
                reader.warn(sound.line, sound.column,
                            QStringLiteral("the sound flag %1%2 is not 0 to 3: no sound plays "
                                           "before the row")
                                .arg(*v)
                                .arg(ofRow(sound, 3)));
        }
    }
    if (k < out.rows.size() && out.loads())
        reader.warn(int(k + 1), 0,
                    k + 1 == out.rows.size()
                        ? QStringLiteral("the records ran out: row %1 is empty").arg(k + 1)
                        : QStringLiteral("the records ran out: rows %1 to %2 are empty")
                              .arg(k + 1)
                              .arg(out.rows.size()));

    std::stable_sort(out.problems.begin(), out.problems.end(),
                     [](const TapeProblem& a, const TapeProblem& b) {
                         return std::pair(a.line, a.field) < std::pair(b.line, b.field);
                     });
    return out;
}

std::vector<TapeRow> TapeFile::parse(const QByteArray& bytes) {
    TapeReading reading = read(bytes);
    for (const TapeProblem& p : reading.problems)
        if (p.error != 0) throw K40Error(p.error);
    return std::move(reading.rows);
}

TapeWriting TapeFile::write(const std::vector<TapeRow>& rows) {
    TapeWriting out;
    QString file;
    for (size_t k = 0; k < rows.size(); ++k) {
        QString text = rows[k].text;
        for (QChar& c : text)
            if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
                c.category() == QChar::Separator_Paragraph)
                c = u' ';
        const auto field = [](QString t) {
            if (t.contains(u',') || t.startsWith(u'"') || t.trimmed() != t)
                t = u'"' + t.replace(u'"', u'”') + u'"';
            return t;
        };
        text = Gtfs::toCp932Characters(text);
        // A byte that no character decodes from is written back as it came,
        // unless it would pair with the bytes next to it and read back as
        // another character: then it is written as "〓".
        const auto stray = [](QChar c) { return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF; };
        if (std::any_of(text.cbegin(), text.cend(), stray) &&
            Cp932::decode(Cp932::encode(field(text))) != field(text))
            std::replace_if(text.begin(), text.end(), stray, u'〓');
        // As the tape decodes it: "〜" comes back as "～", for one.
        text = Cp932::decode(Cp932::encode(text));
        const QString line = field(text);
        file += line + QStringLiteral(",%1,%2\r\n").arg(rows[k].stepFlag).arg(rows[k].soundFlag);
        const QString written = line.startsWith(u'"') ? line.mid(1, line.size() - 2) : line;
        if (written != rows[k].text) out.changed.push_back({k, written});
    }
    out.bytes = Cp932::encode(file);
    return out;
}
