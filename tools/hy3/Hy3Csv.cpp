#include "Hy3Csv.h"

#include "Hy3Files.h"
#include "model/Cp932.h"
#include "model/Csv.h"
#include "model/Hy3File.h"
#include "model/K40Error.h"
#include "model/SettingsFile.h"

#include <limits>

namespace Hy3Csv {

namespace {

// The largest CSV read: 301 stops with names of the most bytes a name can
// have and every value take about 30 MiB.
constexpr qint64 MaxCsvBytes = 64 * 1024 * 1024;

// A whole number that fits 16 bits; blanks around it are allowed, the empty
// field is 0.
std::optional<qint16> toValue(const QString& field) {
    const QString t = field.trimmed();
    if (t.isEmpty()) return qint16{0};
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(v);
}

bool isNumber(const QString& field) {
    bool ok = false;
    field.trimmed().toLongLong(&ok, 10);
    return ok;
}

QString columnName(int column) {
    if (column == 1) return QStringLiteral("stop name");
    if (column == 2) return QStringLiteral("ticket number");
    return QStringLiteral("v%1").arg(column - 2);
}

QString quoted(const QString& field) {
    const bool needs = field.contains(u',') || field.contains(u'"') || field.contains(u'\n') ||
                       field.contains(u'\r') || field != field.trimmed();
    if (!needs) return field;
    QString q = field;
    q.replace(u"\""_qs, u"\"\""_qs);
    return u'"' + q + u'"';
}

QString place(const QString& path, const Error& e) {
    return QStringLiteral("%1: line %2, column %3: %4")
        .arg(path)
        .arg(e.line)
        .arg(e.column)
        .arg(e.message);
}

} // namespace

Parsed parse(const QByteArray& utf8) {
    Parsed out;
    std::vector<Csv::Record> records;
    if (auto e = Csv::split(Csv::fromUtf8(utf8), records)) {
        out.error = Error{e->line, e->column, e->message};
        return out;
    }
    bool first = true;
    for (const Csv::Record& rec : records) {
        const bool isFirst = first;
        first = false;
        if (rec.fields.size() == 1 && rec.fields[0].trimmed().isEmpty()) continue; // empty line
        if (isFirst && rec.fields.size() >= 2 && !isNumber(rec.fields[1])) continue; // header
        if (rec.fields.size() > FareData::ColumnCount) {
            out.error = Error{rec.line, FareData::ColumnCount + 1,
                              QStringLiteral("a stop has %1 fields; at most %2 are allowed (stop "
                                             "name, ticket number, v1 to v150)")
                                  .arg(rec.fields.size())
                                  .arg(FareData::ColumnCount)};
            return out;
        }
        if (out.rows.size() == static_cast<size_t>(FareData::MaxRows)) {
            out.error = Error{rec.line, 1,
                              QStringLiteral("more than %1 stops; a route holds at most %1")
                                  .arg(FareData::MaxRows)};
            return out;
        }
        FareData::RouteRow row;
        row.name = rec.fields[0];
        qsizetype bad = 0;
        const auto name = Cp932::encodeStrict(row.name, &bad);
        if (!name) {
            out.error = Error{rec.line, 1,
                              QStringLiteral("the stop name holds \"%1\" (character %2), which "
                                             "code page 932 cannot store")
                                  .arg(row.name.mid(bad, row.name[bad].isHighSurrogate() ? 2 : 1))
                                  .arg(row.name.left(bad).toUcs4().size() + 1)};
            return out;
        }
        if (name->size() > std::numeric_limits<quint16>::max()) {
            out.error = Error{rec.line, 1,
                              QStringLiteral("the stop name is %1 bytes long; at most %2 fit")
                                  .arg(name->size())
                                  .arg(std::numeric_limits<quint16>::max())};
            return out;
        }
        for (int c = 2; c <= rec.fields.size(); ++c) {
            const auto v = toValue(rec.fields[c - 1]);
            if (!v) {
                out.error = Error{rec.line, c,
                                  QStringLiteral("%1 \"%2\" is not a whole number from -32768 "
                                                 "to 32767")
                                      .arg(columnName(c), rec.fields[c - 1].trimmed())};
                return out;
            }
            if (c == 2)
                row.ticket = *v;
            else
                row.v[static_cast<size_t>(c - 3)] = *v;
        }
        out.rows.push_back(std::move(row));
    }
    return out;
}

QByteArray write(const std::vector<FareData::RouteRow>& rows) {
    QString text = QStringLiteral("停名,整理券番号");
    for (int k = 1; k <= FareData::ValueCount; ++k) text += QStringLiteral(",v%1").arg(k);
    text += u'\n';
    for (const FareData::RouteRow& r : rows) {
        text += quoted(r.name);
        text += u',';
        text += QString::number(r.ticket);
        for (qint16 v : r.v) {
            text += u',';
            text += QString::number(v);
        }
        text += u'\n';
    }
    return text.toUtf8();
}

int importCsv(const QString& csvPath, const QString& hy3Path, QTextStream& err) {
    const auto csv = Hy3Files::read(csvPath, MaxCsvBytes, err);
    if (!csv) return 1;
    const Parsed parsed = parse(*csv);
    if (parsed.error) {
        err << place(csvPath, *parsed.error) << Qt::endl;
        return 1;
    }
    return Hy3Files::write(hy3Path, FareData::serializeHy3(parsed.rows), err) ? 0 : 1;
}

int exportCsv(const QString& hy3Path, QTextStream& out, QTextStream& err) {
    const auto bytes = Hy3Files::read(hy3Path, FareData::MaxFileBytes, err);
    if (!bytes) return 1;
    const FareData::Hy3File file = FareData::parseHy3(*bytes);
    int status = 0;
    for (const FareData::Hy3Problem& p : file.problems) {
        if (p.kind == FareData::Hy3Problem::CountZero) continue; // an empty route exports as empty
        err << hy3Path << ": record " << p.record << ", offset " << p.offset << ": " << p.text
            << Qt::endl;
        status = 1;
    }
    if (status != 0) return status;
    out << QString::fromUtf8(write(file.rows));
    out.flush();
    return 0;
}

namespace {

// The highest data column that holds a fare: v(k) above 0 in a row whose
// ticket number is above k (a rider holding ticket k reads cell k); 0 for none.
int highestFareColumn(const std::vector<FareData::RouteRow>& rows) {
    int highest = 0;
    for (const FareData::RouteRow& row : rows)
        for (int k = std::min<int>(row.ticket - 1, FareData::ValueCount); k > highest; --k)
            if (row.value(k) > 0) {
                highest = k;
                break;
            }
    return highest;
}

// Warns of each data column that the settings of settingsPath read for
// something else and that the fares reach; false when that file cannot be
// read as settings.
bool checkColumns(const QString& hy3Path, const std::vector<FareData::RouteRow>& rows,
                  const QString& settingsPath, QTextStream& out, QTextStream& err) {
    SettingsCodec::Decoded stored;
    try {
        stored = SettingsFile::read(settingsPath);
    } catch (const K40Error& e) {
        err << settingsPath << ": cannot be read as settings (error " << e.number() << ": "
            << e.description() << ")" << Qt::endl;
        return false;
    }
    const SettingsRecord& r = stored.record;
    const int fares = highestFareColumn(rows);
    struct Use {
        bool on;
        int column;
        const char* what;
    };
    for (const Use& use :
         {Use{r.stepSoundChoice == StepSoundChoice::ByColumn, positionOrNone(r.stepSoundColumn) + 1,
              "chooses the step chime by"},
          Use{isOn(r.infoColumn.on), positionOrNone(r.infoColumnNumber) + 1,
              "shows in an information cell"}})
        if (use.on && use.column >= 1 && use.column <= fares)
            out << hy3Path << ": warning: the fares reach v" << fares << ", and " << settingsPath
                << " " << use.what << " v" << use.column << ", which holds fares here"
                << Qt::endl;
    return true;
}

} // namespace

int check(const QString& hy3Path, const QString& settingsPath, QTextStream& out,
          QTextStream& err) {
    const SafeFile::Reading in = SafeFile::read(hy3Path, FareData::MaxFileBytes);
    if (in.status == SafeFile::Reading::Status::TooLarge) {
        out << hy3Path << ": the file holds " << in.size << " bytes, more than the "
            << FareData::MaxFileBytes << " (32 MiB) the board reads" << Qt::endl;
        return 1;
    }
    if (!in.ok()) {
        err << SafeFile::describeInEnglish(hy3Path, in) << Qt::endl;
        return 1;
    }
    const FareData::Hy3File file = FareData::parseHy3(in.bytes);
    for (const FareData::Hy3Problem& p : file.problems)
        out << hy3Path << ": record " << p.record << ", offset " << p.offset << ": " << p.text
            << Qt::endl;
    if (file.count == 1)
        out << hy3Path << ": note: a route of one stop cannot be set (the start section must lie "
               "before the last stop)"
            << Qt::endl;
    if (file.trailingBytes > 0)
        out << hy3Path << ": note: " << file.trailingBytes << " byte(s) after the last record at "
            << "offset " << file.endOffset << " are ignored" << Qt::endl;
    if (!settingsPath.isEmpty() && !checkColumns(hy3Path, file.rows, settingsPath, out, err))
        return 1;
    if (file.problems.empty())
        out << hy3Path << ": " << file.count << " stop(s), no problems" << Qt::endl;
    out.flush();
    return file.problems.empty() ? 0 : 1;
}

} // namespace Hy3Csv
