#include "model/TicketPlugin.h"

#include "model/Codabar.h"
#include "model/SafeFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// ---- Templates --------------------------------------------------------------------------

struct Placeholder {
    QString name;
    int width = 0;
    bool zeros = false;
};

const QStringList TextFields = {u"stop"_qs, u"date"_qs, u"time"_qs, u"company"_qs};
const QStringList NumberFields = {u"route"_qs, u"ticket"_qs, u"row"_qs,  u"year"_qs,
                                  u"month"_qs, u"day"_qs,    u"hour"_qs, u"minute"_qs};
constexpr int MaxWidth = 40;

// Walks a template: its literal text and its placeholders, in order. False
// for an unclosed or stray brace, or a width that is not a number. Stops
// before a placeholder, true, once enough says so.
bool walk(const QString& t, const std::function<void(const QString&)>& literal,
          const std::function<void(const Placeholder&)>& field,
          const std::function<bool()>& enough = {}) {
    QString text;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'}') {
            if (i + 1 >= t.size() || t[i + 1] != u'}') return false;
            text += c;
            ++i;
            continue;
        }
        if (c != u'{') {
            text += c;
            continue;
        }
        if (i + 1 < t.size() && t[i + 1] == u'{') {
            text += c;
            ++i;
            continue;
        }
        if (!text.isEmpty()) literal(text);
        text.clear();
        if (enough && enough()) return true;
        const qsizetype close = t.indexOf(u'}', i);
        if (close < 0) return false;
        const QString inside = t.mid(i + 1, close - i - 1);
        Placeholder p;
        p.name = inside.section(u':', 0, 0);
        if (inside.contains(u':')) {
            const QString width = inside.section(u':', 1);
            bool ok = false;
            p.width = width.toInt(&ok);
            const bool digits = std::all_of(width.begin(), width.end(),
                                            [](QChar c) { return c >= u'0' && c <= u'9'; });
            if (!ok || width.isEmpty() || !digits || p.width < 1 || p.width > MaxWidth)
                return false;
            p.zeros = width.startsWith(u'0');
        }
        field(p);
        i = close;
    }
    if (!text.isEmpty()) literal(text);
    return true;
}

QString padded(const QString& value, const Placeholder& p) {
    if (value.size() >= p.width) return value;
    if (!p.zeros) return QString(p.width - value.size(), u' ') + value;
    const bool negative = value.startsWith(u'-');
    const QString digits = negative ? value.mid(1) : value;
    return (negative ? u"-"_qs : QString()) + QString(p.width - value.size(), u'0') + digits;
}

// The year, month and day of a ticket's date text, mm-dd-yyyy (the system
// date) or yyyy/mm/dd (a fixed date); nothing for another form.
std::optional<std::array<int, 3>> dateParts(const QString& date) {
    static const QRegularExpression system(u"^(\\d{1,2})-(\\d{1,2})-(\\d{4})$"_qs);
    static const QRegularExpression fixed(u"^(\\d{4})/(\\d{1,2})/(\\d{1,2})$"_qs);
    if (const auto m = system.match(date); m.hasMatch())
        return std::array<int, 3>{m.captured(3).toInt(), m.captured(1).toInt(),
                                  m.captured(2).toInt()};
    if (const auto m = fixed.match(date); m.hasMatch())
        return std::array<int, 3>{m.captured(1).toInt(), m.captured(2).toInt(),
                                  m.captured(3).toInt()};
    return std::nullopt;
}

// ---- Reading the document ------------------------------------------------------------------

struct Invalid {
    QString reason;
};

[[noreturn]] void fail(const QString& reason) {
    throw Invalid{reason};
}

double number(const QJsonObject& o, const QString& key, double def, double low, double high,
              const QString& where) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined()) {
        if (std::isnan(def)) fail(where + u": \""_qs + key + u"\" is missing"_qs);
        return def;
    }
    if (!v.isDouble() || !std::isfinite(v.toDouble()) || v.toDouble() < low || v.toDouble() > high)
        fail(where + u": \""_qs + key + u"\" must be a number from %1 to %2"_qs.arg(low).arg(high));
    return v.toDouble();
}

double required(const QJsonObject& o, const QString& key, double low, double high,
                const QString& where) {
    return number(o, key, std::nan(""), low, high, where);
}

QString text(const QJsonObject& o, const QString& key, const QString& where, bool needed) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined() && !needed) return {};
    if (!v.isString()) fail(where + u": \""_qs + key + u"\" must be a text"_qs);
    return v.toString();
}

bool flag(const QJsonObject& o, const QString& key, const QString& where) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined()) return false;
    if (!v.isBool()) fail(where + u": \""_qs + key + u"\" must be true or false"_qs);
    return v.toBool();
}

// "#rgb" or "#rrggbb"; def when the key is absent.
quint32 color(const QJsonObject& o, const QString& key, quint32 def, const QString& where) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined()) return def;
    static const QRegularExpression form(u"^#([0-9a-fA-F]{3}|[0-9a-fA-F]{6})$"_qs);
    const QString s = v.toString();
    if (!v.isString() || !form.match(s).hasMatch())
        fail(where + u": \""_qs + key + u"\" must be a colour such as \"#1a2b3c\""_qs);
    QString hex = s.mid(1);
    if (hex.size() == 3) hex = QString(hex[0]) + hex[0] + hex[1] + hex[1] + hex[2] + hex[2];
    return 0xFF000000u | hex.toUInt(nullptr, 16);
}

template <typename T>
T choice(const QJsonObject& o, const QString& key, const QStringList& names,
         const std::vector<T>& values, const QString& where) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined()) return values.front();
    const qsizetype i = names.indexOf(v.toString());
    if (!v.isString() || i < 0)
        fail(where + u": \""_qs + key + u"\" must be one of "_qs + names.join(u", "_qs));
    return values[size_t(i)];
}

constexpr double Far = 5000; // the largest coordinate, in preview pixels

QRectF box(const QJsonObject& o, const QString& where) {
    return QRectF(required(o, u"x"_qs, -Far, Far, where), required(o, u"y"_qs, -Far, Far, where),
                  required(o, u"width"_qs, 0, Far, where),
                  required(o, u"height"_qs, 0, Far, where));
}

void checkBarcodeTemplate(const QString& t, const QString& where) {
    QStringList pieces; // literal texts, and "" where a placeholder stands
    const bool ok = walk(
        t, [&](const QString& s) { pieces << s; },
        [&](const Placeholder&) { pieces << QString(); });
    if (!ok || !TicketPlugin::isValidTemplate(t, true))
        fail(where + u": \"data\" may hold only the placeholders of numbers"_qs);
    // The longest data the numbers can make: a number has at most 11
    // characters ("-2147483648").
    qsizetype longest = 0;
    walk(
        t, [&](const QString& s) { longest += s.size(); },
        [&](const Placeholder& p) { longest += std::max(p.width, 11); });
    if (longest > TicketPlugin::MaxText)
        fail(where + u": \"data\" may make more than %1 characters"_qs.arg(TicketPlugin::MaxText));
    const QString joined = pieces.join(QString());
    if (pieces.isEmpty() || joined.size() < 2 || pieces.front().isEmpty() ||
        pieces.back().isEmpty() || !Codabar::isStartStop(pieces.front().front()) ||
        !Codabar::isStartStop(pieces.back().back()))
        fail(where + u": \"data\" must begin and end with a start and stop character A to D"_qs);
    for (qsizetype i = 1; i + 1 < joined.size(); ++i)
        if (!Codabar::isDataCharacter(joined[i]))
            fail(where + u": \"data\" holds \""_qs + joined[i] +
                 u"\", which NW-7 cannot encode"_qs);
}

TicketElement element(const QJsonValue& value, int index) {
    const QString where = u"element %1"_qs.arg(index + 1);
    if (!value.isObject()) fail(where + u" is not an object"_qs);
    const QJsonObject o = value.toObject();
    const QString type = o.value(u"type"_qs).toString();
    TicketElement e;
    if (type == u"paper") {
        e.kind = TicketElement::Kind::Paper;
        e.color = color(o, u"color"_qs, 0xFFFFFFFF, where);
    } else if (type == u"frame") {
        e.kind = TicketElement::Kind::Frame;
        const double inset = number(o, u"inset"_qs, 0, 0, Far, where);
        e.box = QRectF(inset, inset, 0, 0);
        e.lineWidth = number(o, u"lineWidth"_qs, 1, 0.1, 50, where);
        e.color = color(o, u"color"_qs, 0xFF000000, where);
    } else if (type == u"text") {
        e.kind = TicketElement::Kind::Text;
        e.box = box(o, where);
        e.content = text(o, u"text"_qs, where, true);
        if (!TicketPlugin::isValidTemplate(e.content))
            fail(where + u": \"text\" has an unknown or malformed placeholder"_qs);
        e.font = text(o, u"font"_qs, where, false);
        e.size = number(o, u"size"_qs, 12, 4, 400, where);
        e.bold = choice<bool>(o, u"weight"_qs, {u"normal"_qs, u"bold"_qs}, {false, true}, where);
        e.align = choice<TicketElement::Align>(
            o, u"align"_qs, {u"left"_qs, u"center"_qs, u"right"_qs},
            {TicketElement::Align::Left, TicketElement::Align::Center, TicketElement::Align::Right},
            where);
        e.color = color(o, u"color"_qs, 0xFF000000, where);
    } else if (type == u"line") {
        e.kind = TicketElement::Kind::Line;
        e.line = QLineF(
            required(o, u"x1"_qs, -Far, Far, where), required(o, u"y1"_qs, -Far, Far, where),
            required(o, u"x2"_qs, -Far, Far, where), required(o, u"y2"_qs, -Far, Far, where));
        e.lineWidth = number(o, u"lineWidth"_qs, 1, 0.1, 50, where);
        e.color = color(o, u"color"_qs, 0xFF000000, where);
    } else if (type == u"rect") {
        e.kind = TicketElement::Kind::Rect;
        e.box = box(o, where);
        e.lineWidth = number(o, u"lineWidth"_qs, 1, 0.1, 50, where);
        e.color = color(o, u"color"_qs, 0, where);
        e.fill = color(o, u"fill"_qs, 0, where);
    } else if (type == u"barcode") {
        e.kind = TicketElement::Kind::Barcode;
        e.box = box(o, where);
        e.content = text(o, u"data"_qs, where, true);
        checkBarcodeTemplate(e.content, where);
        e.ratio = number(o, u"ratio"_qs, 3, 2, 3, where);
        e.color = color(o, u"color"_qs, 0xFF000000, where);
    } else {
        fail(where + u": unknown type \""_qs + type + u"\""_qs);
    }
    return e;
}

TicketPlugin read(const QByteArray& document) {
    if (document.size() > TicketPlugin::MaxBytes) fail(u"larger than 1 MiB"_qs);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(document, &error);
    if (error.error != QJsonParseError::NoError)
        fail(u"not JSON: "_qs + error.errorString() + u" at byte %1"_qs.arg(error.offset));
    if (!doc.isObject()) fail(u"not a JSON object"_qs);
    const QJsonObject o = doc.object();
    const QString top = u"plug-in"_qs;
    if (o.value(u"format"_qs).toString() != QString::fromLatin1(TicketPlugin::Format))
        fail(u"\"format\" is not \""_qs + QString::fromLatin1(TicketPlugin::Format) + u"\""_qs);
    if (o.value(u"version"_qs).toDouble() != TicketPlugin::Version)
        fail(u"\"version\" is not %1"_qs.arg(TicketPlugin::Version));

    TicketPlugin p;
    p.name = text(o, u"name"_qs, top, true);
    const QJsonValue remarks = o.value(u"remarks"_qs);
    if (remarks.isArray()) {
        QStringList lines;
        for (const QJsonValue& line : remarks.toArray()) {
            if (!line.isString()) fail(u"\"remarks\" must be a text or a list of texts"_qs);
            lines << line.toString();
        }
        p.remarks = lines.join(u'\n');
    } else {
        p.remarks = text(o, u"remarks"_qs, top, false);
    }

    TicketPluginInfo& info = p.info;
    info[0] = TicketPlugin::Version;
    const QJsonObject size = o.value(u"size"_qs).toObject();
    info[1] = qint32(required(size, u"width"_qs, 15, 15000, u"size"_qs));
    info[2] = qint32(required(size, u"height"_qs, 15, 15000, u"size"_qs));
    const QJsonObject prints = o.value(u"prints"_qs).toObject();
    info[3] = flag(prints, u"date"_qs, u"prints"_qs);
    info[4] = flag(prints, u"time"_qs, u"prints"_qs);
    info[5] = flag(prints, u"route"_qs, u"prints"_qs);
    info[6] = flag(prints, u"stop"_qs, u"prints"_qs);
    if (o.contains(u"barcode"_qs)) {
        const QJsonObject b = o.value(u"barcode"_qs).toObject();
        const QString where = u"barcode"_qs;
        info[7] = 1;
        info[8] = qint32(required(b, u"count"_qs, 1, 99, where));
        info[9] = qint32(required(b, u"maxRoute"_qs, 1, 99999, where));
        info[10] = choice<qint32>(b, u"scheme"_qs, {u"sequential"_qs, u"route-and-direction"_qs},
                                  {1, 2}, where);
        const QJsonArray stops = b.value(u"stops"_qs).toArray();
        if (stops.size() != 2 || !stops[0].isDouble() || !stops[1].isDouble() ||
            stops[0].toInt() < 1 || stops[0].toInt() > stops[1].toInt() || stops[1].toInt() > 301)
            fail(u"barcode: \"stops\" must be [first, last] within 1 to 301"_qs);
        info[11] = stops[0].toInt();
        info[12] = stops[1].toInt();
    }
    const QJsonValue companies = o.value(u"companies"_qs);
    if (!companies.isUndefined() && !companies.isArray())
        fail(u"\"companies\" must be a list of texts"_qs);
    for (const QJsonValue& c : companies.toArray()) {
        if (!c.isString()) fail(u"\"companies\" must be a list of texts"_qs);
        p.companies << c.toString();
    }
    info[13] = qint32(p.companies.size());

    const QJsonValue elements = o.value(u"elements"_qs);
    if (!elements.isArray()) fail(u"\"elements\" must be a list"_qs);
    const QJsonArray list = elements.toArray();
    if (list.size() > TicketPlugin::MaxElements) fail(u"more than 1000 elements"_qs);
    for (qsizetype i = 0; i < list.size(); ++i)
        p.elements.push_back(element(list[i], int(i)));
    return p;
}

} // namespace

std::optional<TicketPlugin> TicketPlugin::parse(const QByteArray& document, QString* error) {
    try {
        return read(document);
    } catch (const Invalid& e) {
        if (error) *error = e.reason;
        return std::nullopt;
    }
}

std::optional<TicketPlugin> TicketPlugin::load(const QString& path, QString* error) {
    const SafeFile::Reading file = SafeFile::read(path, MaxBytes);
    if (!file.ok()) {
        if (error)
            *error = file.status == SafeFile::Reading::Status::TooLarge
                         ? u"larger than 1 MiB"_qs
                         : SafeFile::describeInEnglish(path, file);
        return std::nullopt;
    }
    return parse(file.bytes, error);
}

QString TicketPlugin::company(int index) const {
    return index >= 0 && index < companies.size() ? companies[index] : QString();
}

bool TicketPlugin::isValidTemplate(const QString& t, bool numericOnly) {
    bool known = true;
    const bool ok = walk(
        t, [](const QString&) {},
        [&](const Placeholder& p) {
            // A barcode holds digits only: its numbers are padded with zeros.
            known = known &&
                    (numericOnly ? NumberFields.contains(p.name) && (!p.width || p.zeros)
                                 : NumberFields.contains(p.name) || TextFields.contains(p.name));
        });
    return ok && known;
}

QString TicketPlugin::fill(const QString& t, const FareRow::TicketDrawing& ticket) const {
    const auto parts = dateParts(ticket.dateText);
    const QStringList clock = ticket.timeText.split(u':');
    const auto timePart = [&](int i) {
        bool ok = false;
        const int v = clock.value(i).toInt(&ok);
        return ok ? QString::number(v) : QString();
    };
    const auto value = [&](const QString& name) -> QString {
        if (name == u"stop") return ticket.stopName;
        if (name == u"date") return ticket.dateText;
        if (name == u"time") return ticket.timeText;
        if (name == u"company") return company(ticket.companyIndex);
        if (name == u"route") return QString::number(ticket.routeNumber);
        if (name == u"ticket") return QString::number(ticket.ticketNumber);
        if (name == u"row") return QString::number(ticket.section);
        if (name == u"year") return parts ? QString::number((*parts)[0]) : QString();
        if (name == u"month") return parts ? QString::number((*parts)[1]) : QString();
        if (name == u"day") return parts ? QString::number((*parts)[2]) : QString();
        if (name == u"hour") return timePart(0);
        if (name == u"minute") return timePart(1);
        return {};
    };
    QString out;
    walk(
        t, [&](const QString& s) { out += QStringView(s).left(MaxText + 1 - out.size()); },
        [&](const Placeholder& p) {
            const QString v = value(p.name);
            out += v.isEmpty() ? v : QStringView(padded(v, p)).left(MaxText + 1 - out.size());
        },
        [&] { return out.size() > MaxText; });
    if (out.size() > MaxText)
        out.truncate(out[MaxText - 1].isHighSurrogate() ? MaxText - 1 : MaxText);
    return out;
}
