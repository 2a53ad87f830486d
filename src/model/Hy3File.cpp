#include "model/Hy3File.h"

#include "model/Cp932.h"
#include "model/K40Error.h"

#include <QtEndian>
#include <limits>

namespace FareData {

bool Hy3File::usable() const {
    if (count < 1 || count > MaxRows) return false;
    return rows.size() == static_cast<size_t>(count);
}

namespace {

qint16 readI16(const char* p) { return qFromLittleEndian<qint16>(p); }
quint16 readU16(const char* p) { return qFromLittleEndian<quint16>(p); }

void appendI16(QByteArray& out, qint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

} // namespace

Hy3File parseHy3(const QByteArray& bytes) {
    Hy3File f;
    const qint64 size = bytes.size();
    if (size < 2) {
        f.problems.push_back({Hy3Problem::TooShortForCount, 0, 0,
                              QStringLiteral("the file holds %1 byte(s); the record count needs 2")
                                  .arg(size)});
        return f;
    }
    f.count = readI16(bytes.constData());
    f.endOffset = 2;
    if (f.count == 0) {
        f.problems.push_back({Hy3Problem::CountZero, 0, 0, QStringLiteral("the record count is 0")});
    } else if (f.count < 0) {
        f.problems.push_back({Hy3Problem::CountNegative, 0, 0,
                              QStringLiteral("the record count %1 is negative").arg(f.count)});
    } else if (f.count > MaxRows) {
        f.problems.push_back({Hy3Problem::CountTooLarge, 0, 0,
                              QStringLiteral("the record count %1 is above %2")
                                  .arg(f.count)
                                  .arg(MaxRows)});
    }
    const int wanted = f.count > 0 ? f.count : 0;
    f.rows.reserve(static_cast<size_t>(std::min(wanted, MaxRows)));
    qint64 pos = 2;
    for (int k = 1; k <= wanted; ++k) {
        const qint64 start = pos;
        auto truncated = [&](const QString& what) {
            f.problems.push_back(
                {Hy3Problem::Truncated, k, start,
                 QStringLiteral("record %1 of %2 is cut off: the file ends at byte %3 inside %4")
                     .arg(k)
                     .arg(f.count)
                     .arg(size)
                     .arg(what)});
        };
        if (size - pos < 2) {
            truncated(QStringLiteral("its name length"));
            break;
        }
        const quint16 len = readU16(bytes.constData() + pos);
        pos += 2;
        if (size - pos < len) {
            truncated(QStringLiteral("its stop name"));
            break;
        }
        const QByteArray nameBytes = bytes.mid(pos, len);
        qsizetype bad = 0;
        if (!Cp932::isValid(nameBytes, &bad))
            f.problems.push_back({Hy3Problem::BadName, k, pos + bad,
                                  QStringLiteral("the stop name of record %1 is not valid CP932 "
                                                 "at byte %2")
                                      .arg(k)
                                      .arg(pos + bad)});
        pos += len;
        if (size - pos < 2 + 2 * ValueCount) {
            truncated(QStringLiteral("its numbers"));
            break;
        }
        RouteRow row;
        row.name = Cp932::decode(nameBytes);
        row.ticket = readI16(bytes.constData() + pos);
        pos += 2;
        for (int i = 0; i < ValueCount; ++i, pos += 2)
            row.v[static_cast<size_t>(i)] = readI16(bytes.constData() + pos);
        f.rows.push_back(std::move(row));
        f.endOffset = pos;
    }
    if (f.rows.size() == static_cast<size_t>(wanted)) f.trailingBytes = size - f.endOffset;
    return f;
}

QByteArray serializeHy3(const std::vector<RouteRow>& rows) {
    if (rows.size() > static_cast<size_t>(MaxRows)) throw K40Error(K40Error::SubscriptOutOfRange);
    QByteArray out;
    out.reserve(2 + static_cast<qsizetype>(rows.size()) * (RecordFixedBytes + 24));
    appendI16(out, static_cast<qint16>(rows.size()));
    for (const RouteRow& r : rows) {
        const QByteArray name = Cp932::encode(r.name);
        if (name.size() > std::numeric_limits<quint16>::max()) throw K40Error(K40Error::Overflow);
        appendI16(out, static_cast<qint16>(static_cast<quint16>(name.size())));
        out.append(name);
        appendI16(out, r.ticket);
        for (qint16 v : r.v) appendI16(out, v);
    }
    return out;
}

} // namespace FareData
