#include "model/Gtfs.h"

#include "model/Cp932.h"
#include "model/Csv.h"
#include "model/StarterSettings.h"
#include "model/TapeFile.h"

#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>

namespace Gtfs {

namespace {

// What stops the reading or the import; thrown from deep in either and
// caught where it began, so that it never leaves this file.
struct Refusal {
    QString message;
};

[[noreturn]] void fail(const QString& message) {
    throw Refusal{message};
}

// The result of work that may be refused: the value, or nothing and the
// refusal's message in error.
template <typename Work>
auto refusable(QString* error, Work work) -> std::optional<decltype(work())> {
    try {
        return work();
    } catch (const Refusal& r) {
        if (error) *error = r.message;
        return std::nullopt;
    }
}

QString at(const QString& file, int line) {
    return QStringLiteral("%1, line %2: ").arg(file).arg(line);
}

// One file of the feed: its columns by name, and its records read one at a
// time, so that the largest files are never held as records all at once.
struct Table {
    QString file;
    QHash<QString, int> columns;
    Csv::Reader reader;

    int column(const QString& name, bool required) const {
        const auto it = columns.constFind(name);
        if (it != columns.constEnd()) return *it;
        if (required) fail(at(file, 1) + QStringLiteral("the column \"%1\" is missing").arg(name));
        return -1;
    }
    static QString value(const Csv::Record& r, int column) {
        return column >= 0 && column < r.fields.size() ? r.fields[column].trimmed() : QString();
    }
    // The next record that is not blank; false after the last.
    bool next(Csv::Record& r) {
        while (reader.next(r)) {
            if (!std::all_of(r.fields.begin(), r.fields.end(),
                             [](const QString& f) { return f.trimmed().isEmpty(); }))
                return true;
        }
        if (const auto& e = reader.error()) fail(at(file, e->line) + e->message);
        return false;
    }
};

std::optional<Table> table(const Files& files, const QString& name, bool required) {
    const auto it = files.constFind(name);
    if (it == files.constEnd()) {
        if (required) fail(QStringLiteral("%1: the feed has no such file").arg(name));
        return std::nullopt;
    }
    Table t{name, {}, Csv::Reader(Csv::fromUtf8(*it))};
    Csv::Record header;
    if (!t.reader.next(header)) {
        if (const auto& e = t.reader.error()) fail(at(name, e->line) + e->message);
        fail(at(name, 1) + QStringLiteral("the header line is missing"));
    }
    for (int c = 0; c < header.fields.size(); ++c)
        t.columns.insert(header.fields[c].trimmed(), c);
    return t;
}

// text on one line: each line break or other control character a blank.
QString oneLine(QString text) {
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph)
            c = u' ';
    return text;
}

// Edit distance, for naming the routes closest to one that is not there.
int distance(const QString& a, const QString& b) {
    std::vector<int> row(size_t(b.size()) + 1);
    for (size_t j = 0; j < row.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[size_t(j)];
            row[size_t(j)] = std::min(
                {above + 1, row[size_t(j - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

// The prices of a set of rules, each set sorted and without repeats: by
// origin and destination zone ("" for a rule that takes any), and of the
// rules that need a zone passed on the way, by destination and that zone,
// then by origin.
using Prices = QList<qint16>;

void addPrice(Prices& prices, qint16 price) {
    const auto at = std::lower_bound(prices.begin(), prices.end(), price);
    if (at == prices.end() || *at != price) prices.insert(at, price);
}
void addPrices(Prices& prices, const Prices& more) {
    for (qint16 p : more)
        addPrice(prices, p);
}

struct FareIndex {
    QHash<QString, Prices> byZones;
    QHash<QString, QHash<QString, Prices>> byPassed;

    static QString key(const QString& a, const QString& b) { return a + QChar(0x1F) + b; }
    void add(const FareRule& r, qint16 price) {
        if (r.contains.isEmpty())
            addPrice(byZones[key(r.origin, r.destination)], price);
        else
            addPrice(byPassed[key(r.destination, r.contains)][r.origin], price);
    }
};

// The prices to one stop from the stops before it, taken from the last one
// back: each zone passed is looked up once, with only the rules that need
// it, so that matching stays linear in the rules however many stops the
// trip has.
class FaresToward {
public:
    FaresToward(const FareIndex& index, const QString& destination)
        : index_(index), destination_(destination) {}

    // The rides from here on also pass zone.
    void pass(const QString& zone) {
        if (index_.byPassed.isEmpty() || passed_.contains(zone)) return;
        passed_.insert(zone);
        for (const QString& d : {destination_, QString()}) {
            const auto rules = index_.byPassed.constFind(FareIndex::key(d, zone));
            if (rules == index_.byPassed.constEnd()) continue;
            for (auto it = rules->begin(); it != rules->end(); ++it)
                addPrices(viaPassed_[it.key()], *it);
        }
    }

    // Every price from a stop in zone origin, of the zones passed so far.
    Prices from(const QString& origin) const {
        Prices all;
        for (const QString& o : {origin, QString()}) {
            for (const QString& d : {destination_, QString()})
                addPrices(all, index_.byZones.value(FareIndex::key(o, d)));
            addPrices(all, viaPassed_.value(o));
        }
        return all;
    }

private:
    const FareIndex& index_;
    QString destination_;
    QSet<QString> passed_;
    QHash<QString, Prices> viaPassed_; // by origin ("" for any)
};

} // namespace

const QList<FileLimit>& fileLimits() {
    constexpr qint64 MiB = 1024 * 1024;
    static const QList<FileLimit> limits{
        {u"routes.txt"_qs, 16 * MiB},          {u"stops.txt"_qs, 64 * MiB},
        {u"trips.txt"_qs, 64 * MiB},           {u"stop_times.txt"_qs, 256 * MiB},
        {u"fare_attributes.txt"_qs, 16 * MiB}, {u"fare_rules.txt"_qs, 128 * MiB}};
    return limits;
}

QString Route::title() const {
    QStringList parts;
    if (!shortName.isEmpty()) parts << shortName;
    if (!longName.isEmpty()) parts << longName;
    return parts.isEmpty() ? id : parts.join(u' ');
}

// ---- Reading ---------------------------------------------------------------------------------

namespace {

Feed readOrRefuse(const Files& files) {
    Feed feed;
    QHash<QString, int> routeIndex, tripIndex, fareIndex;
    QHash<QString, int>& stopIndex = feed.stopIndex;

    Table routes = *table(files, u"routes.txt"_qs, true);
    {
        const int id = routes.column(u"route_id"_qs, true);
        const int shortName = routes.column(u"route_short_name"_qs, false);
        const int longName = routes.column(u"route_long_name"_qs, false);
        for (Csv::Record r; routes.next(r);) {
            Route route{Table::value(r, id), Table::value(r, shortName), Table::value(r, longName),
                        r.line};
            if (route.id.isEmpty())
                fail(at(routes.file, r.line) + QStringLiteral("the route has no route_id"));
            routeIndex.insert(route.id, int(feed.routes.size()));
            feed.routes.push_back(route);
        }
    }

    Table stops = *table(files, u"stops.txt"_qs, true);
    {
        const int id = stops.column(u"stop_id"_qs, true);
        const int name = stops.column(u"stop_name"_qs, true);
        const int zone = stops.column(u"zone_id"_qs, false);
        const int parent = stops.column(u"parent_station"_qs, false);
        for (Csv::Record r; stops.next(r);) {
            Stop stop{Table::value(r, id), Table::value(r, name), Table::value(r, zone),
                      Table::value(r, parent), r.line};
            if (stop.id.isEmpty())
                fail(at(stops.file, r.line) + QStringLiteral("the stop has no stop_id"));
            stopIndex.insert(stop.id, int(feed.stops.size()));
            feed.stops.push_back(stop);
        }
    }

    Table trips = *table(files, u"trips.txt"_qs, true);
    {
        const int route = trips.column(u"route_id"_qs, true);
        const int id = trips.column(u"trip_id"_qs, true);
        const int headsign = trips.column(u"trip_headsign"_qs, false);
        const int direction = trips.column(u"direction_id"_qs, false);
        for (Csv::Record r; trips.next(r);) {
            Trip trip;
            trip.id = Table::value(r, id);
            trip.routeId = Table::value(r, route);
            trip.headsign = Table::value(r, headsign);
            trip.line = r.line;
            const QString d = Table::value(r, direction);
            if (d == u"0" || d == u"1")
                trip.direction = d.toInt();
            else if (!d.isEmpty())
                fail(at(trips.file, r.line) +
                     QStringLiteral("the direction_id \"%1\" is neither 0 nor 1").arg(d));
            if (!routeIndex.contains(trip.routeId))
                fail(at(trips.file, r.line) +
                     QStringLiteral("the trip \"%1\" names the route \"%2\", which routes.txt "
                                    "does not have")
                         .arg(trip.id, trip.routeId));
            tripIndex.insert(trip.id, int(feed.trips.size()));
            feed.trips.push_back(trip);
        }
    }

    Table times = *table(files, u"stop_times.txt"_qs, true);
    {
        const int trip = times.column(u"trip_id"_qs, true);
        const int stop = times.column(u"stop_id"_qs, true);
        const int sequence = times.column(u"stop_sequence"_qs, true);
        std::vector<std::vector<std::pair<qint64, int>>> ordered(feed.trips.size());
        for (Csv::Record r; times.next(r);) {
            const auto t = tripIndex.constFind(Table::value(r, trip));
            if (t == tripIndex.constEnd())
                fail(at(times.file, r.line) + QStringLiteral("the trip \"%1\" is not in trips.txt")
                                                  .arg(Table::value(r, trip)));
            const auto s = stopIndex.constFind(Table::value(r, stop));
            if (s == stopIndex.constEnd())
                fail(at(times.file, r.line) + QStringLiteral("the stop \"%1\" is not in stops.txt")
                                                  .arg(Table::value(r, stop)));
            bool ok = false;
            const qint64 seq = Table::value(r, sequence).toLongLong(&ok);
            if (!ok)
                fail(at(times.file, r.line) +
                     QStringLiteral("the stop_sequence \"%1\" is not a whole number")
                         .arg(Table::value(r, sequence)));
            ordered[size_t(*t)].push_back({seq, *s});
        }
        for (size_t t = 0; t < ordered.size(); ++t) {
            std::stable_sort(ordered[t].begin(), ordered[t].end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            for (const auto& [seq, s] : ordered[t])
                feed.trips[t].stops.push_back(s);
        }
    }

    auto attributes = table(files, u"fare_attributes.txt"_qs, false);
    auto rules = table(files, u"fare_rules.txt"_qs, false);
    feed.hasFares = attributes && rules;
    if (!feed.hasFares) return feed;
    {
        const int id = attributes->column(u"fare_id"_qs, true);
        const int price = attributes->column(u"price"_qs, true);
        for (Csv::Record r; attributes->next(r);) {
            const QString text = Table::value(r, price);
            bool ok = false;
            const double p = text.toDouble(&ok);
            if (!ok || !std::isfinite(p) || p != std::floor(p))
                fail(at(attributes->file, r.line) +
                     QStringLiteral("the price \"%1\" of the fare \"%2\" is not whole yen")
                         .arg(text, Table::value(r, id)));
            if (p < 0 || p > std::numeric_limits<qint16>::max())
                fail(at(attributes->file, r.line) +
                     QStringLiteral("the price %1 of the fare \"%2\" is beyond what the board "
                                    "shows (0 to 32767)")
                         .arg(text, Table::value(r, id)));
            fareIndex.insert(Table::value(r, id), int(feed.fares.size()));
            feed.fares.push_back({Table::value(r, id), qint16(p), r.line});
        }
    }
    {
        const int fare = rules->column(u"fare_id"_qs, true);
        const int route = rules->column(u"route_id"_qs, false);
        const int origin = rules->column(u"origin_id"_qs, false);
        const int destination = rules->column(u"destination_id"_qs, false);
        const int contains = rules->column(u"contains_id"_qs, false);
        for (Csv::Record r; rules->next(r);) {
            const auto f = fareIndex.constFind(Table::value(r, fare));
            if (f == fareIndex.constEnd())
                fail(at(rules->file, r.line) +
                     QStringLiteral("the fare \"%1\" is not in fare_attributes.txt")
                         .arg(Table::value(r, fare)));
            feed.rules.push_back({*f, Table::value(r, route), Table::value(r, origin),
                                  Table::value(r, destination), Table::value(r, contains), r.line});
        }
    }
    return feed;
}

} // namespace

std::optional<Feed> Feed::read(const Files& files, QString* error) {
    return refusable(error, [&] { return readOrRefuse(files); });
}

QString Feed::zoneOf(int stop) const {
    const Stop& s = stops[size_t(stop)];
    if (!s.zone.isEmpty() || s.parent.isEmpty()) return s.zone;
    const auto p = stopIndex.constFind(s.parent);
    return p == stopIndex.constEnd() ? QString() : stops[size_t(*p)].zone;
}

QString Feed::nameOf(int stop) const {
    const Stop& s = stops[size_t(stop)];
    const auto p = stopIndex.constFind(s.parent);
    if (!s.parent.isEmpty() && p != stopIndex.constEnd() && !stops[size_t(*p)].name.isEmpty())
        return stops[size_t(*p)].name;
    // A pole of a stop without its station: its name without the platform
    // ("３番のりば", "A番乗り場", "乗場" and the ASCII blanks before), found from the
    // end, so that a long name costs no more than its length.
    const auto designates = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
               (c >= u'０' && c <= u'９') || (c >= u'Ａ' && c <= u'Ｚ') ||
               (c >= u'ａ' && c <= u'ｚ');
    };
    for (const QString& word : {u"のりば"_qs, u"乗り場"_qs, u"乗場"_qs}) {
        if (!s.name.endsWith(word)) continue;
        qsizetype end = s.name.size() - word.size();
        if (end >= 2 && s.name[end - 1] == u'番' && designates(s.name[end - 2])) {
            end -= 2;
            while (end > 0 && designates(s.name[end - 1]))
                --end;
        }
        while (end > 0 && s.name[end - 1].unicode() < 0x80 && s.name[end - 1].isSpace())
            --end;
        return end > 0 ? s.name.left(end) : s.name;
    }
    return s.name;
}

// ---- Routes ------------------------------------------------------------------------------------

std::vector<RouteSummary> listRoutes(const Feed& feed) {
    std::vector<RouteSummary> out;
    for (const Route& route : feed.routes) {
        RouteSummary s;
        s.route = route;
        const Trip* longest = nullptr;
        for (const Trip& t : feed.trips) {
            if (t.routeId != route.id) continue;
            ++s.trips;
            if (t.direction >= 0 && !s.directions.contains(t.direction))
                s.directions << t.direction;
            if (!longest || t.stops.size() > longest->stops.size()) longest = &t;
        }
        std::sort(s.directions.begin(), s.directions.end());
        if (longest)
            for (int stop : longest->stops)
                s.longestTrip << feed.nameOf(stop);
        s.faresKnown = feed.hasFares &&
                       std::any_of(feed.rules.begin(), feed.rules.end(), [&](const FareRule& r) {
                           return r.routeId.isEmpty() || r.routeId == route.id;
                       });
        out.push_back(s);
    }
    return out;
}

QString toCp932Characters(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString ch = text.mid(i, n);
        i += n - 1;
        if (Cp932::encodeStrict(ch)) {
            out += ch;
            continue;
        }
        // Variants that Japanese names often take, then compatibility forms.
        static const QHash<QString, QString> Variants{
            {u"𠮷"_qs, u"吉"_qs}, {u"𡈽"_qs, u"土"_qs}, {u"‑"_qs, u"－"_qs}};
        const QString nfkc = ch.normalized(QString::NormalizationForm_KC);
        if (Variants.contains(ch))
            out += Variants.value(ch);
        else if (!nfkc.isEmpty() && nfkc != ch && Cp932::encodeStrict(nfkc))
            out += nfkc;
        else
            out += u'〓';
    }
    return out;
}

namespace {

Imported importOrRefuse(const Feed& feed, const ImportRequest& request) {
    // The route: by id, else by short name, else by long name.
    std::vector<const Route*> found;
    for (const auto& matches :
         {std::function<bool(const Route&)>([&](const Route& r) { return r.id == request.route; }),
          std::function<bool(const Route&)>(
              [&](const Route& r) { return r.shortName == request.route; }),
          std::function<bool(const Route&)>(
              [&](const Route& r) { return r.longName == request.route; })}) {
        for (const Route& r : feed.routes)
            if (matches(r)) found.push_back(&r);
        if (!found.empty()) break;
    }
    if (found.empty()) {
        std::vector<std::pair<int, QString>> near;
        for (const Route& r : feed.routes) {
            int d = distance(request.route, r.id);
            if (!r.shortName.isEmpty()) d = std::min(d, distance(request.route, r.shortName));
            if (!r.longName.isEmpty()) d = std::min(d, distance(request.route, r.longName));
            near.push_back({d, QStringLiteral("%1 (%2)").arg(r.title(), r.id)});
        }
        std::stable_sort(near.begin(), near.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        QStringList names;
        for (size_t i = 0; i < near.size() && i < 3; ++i)
            names << near[i].second;
        fail(QStringLiteral("routes.txt: there is no route \"%1\"; the closest: %2")
                 .arg(request.route, names.join(u", "_qs)));
    }
    if (found.size() > 1) {
        QStringList ids;
        for (const Route* r : found)
            ids << r->id;
        fail(QStringLiteral("routes.txt: \"%1\" names %2 routes (%3); give its route_id")
                 .arg(request.route)
                 .arg(found.size())
                 .arg(ids.join(u", "_qs)));
    }
    Imported out;
    out.route = *found.front();

    // The trip: the one named, or the longest of the route (in the direction).
    const Trip* trip = nullptr;
    for (const Trip& t : feed.trips) {
        if (t.routeId != out.route.id) continue;
        if (request.direction && t.direction != *request.direction) continue;
        if (!request.trip.isEmpty()) {
            if (t.id == request.trip) trip = &t;
        } else if (!trip || t.stops.size() > trip->stops.size()) {
            trip = &t;
        }
    }
    if (!trip) {
        if (!request.trip.isEmpty())
            fail(QStringLiteral("trips.txt: the route %1 has no trip \"%2\"%3")
                     .arg(out.route.id, request.trip,
                          request.direction
                              ? QStringLiteral(" in direction %1").arg(*request.direction)
                              : QString()));
        fail(QStringLiteral("trips.txt: the route %1 has no trip%2")
                 .arg(out.route.id, request.direction
                                        ? QStringLiteral(" in direction %1").arg(*request.direction)
                                        : QString()));
    }
    out.trip = *trip;
    // The texts the announcements speak, on one line as the tape reads them.
    const auto oneLineNoted = [&](QString& text, const QString& file, int line,
                                  const QString& what) {
        const QString single = oneLine(text);
        if (single != text)
            out.notes << at(file, line) +
                             QStringLiteral("%1 holds line breaks or other control characters; "
                                            "written as \"%2\"")
                                 .arg(what, single);
        text = single;
    };
    oneLineNoted(out.route.shortName, u"routes.txt"_qs, out.route.line,
                 QStringLiteral("the route_short_name of the route \"%1\"").arg(out.route.id));
    oneLineNoted(out.route.longName, u"routes.txt"_qs, out.route.line,
                 QStringLiteral("the route_long_name of the route \"%1\"").arg(out.route.id));
    oneLineNoted(out.trip.headsign, u"trips.txt"_qs, out.trip.line,
                 QStringLiteral("the trip_headsign of the trip \"%1\"").arg(out.trip.id));
    const int n = int(trip->stops.size());
    if (n == 0) fail(QStringLiteral("stop_times.txt: the trip \"%1\" has no stops").arg(trip->id));
    if (n > FareData::MaxRows - 1)
        fail(QStringLiteral("stop_times.txt: the trip \"%1\" has %2 stops; a route holds at "
                            "most %3")
                 .arg(trip->id)
                 .arg(n)
                 .arg(FareData::MaxRows - 1));

    // The fares: the route's own rules first, then those for every route.
    FareIndex own, every;
    bool needZones = false;
    QSet<qint16> prices;
    for (const FareRule& r : feed.rules) {
        if (!r.routeId.isEmpty() && r.routeId != out.route.id) continue;
        prices.insert(feed.fares[size_t(r.fare)].price);
        (r.routeId.isEmpty() ? every : own).add(r, feed.fares[size_t(r.fare)].price);
        needZones =
            needZones || !r.origin.isEmpty() || !r.destination.isEmpty() || !r.contains.isEmpty();
    }
    if (prices.size() == 1) out.onlyPrice = *prices.begin();
    std::vector<QString> zones;
    for (int s : trip->stops) {
        zones.push_back(feed.zoneOf(s));
        if (needZones && zones.back().isEmpty()) {
            const Stop& stop = feed.stops[size_t(s)];
            fail(at(u"stops.txt"_qs, stop.line) +
                 QStringLiteral("the stop \"%1\" (%2) has no zone_id, which the fares of the "
                                "route %3 need")
                     .arg(stop.name, stop.id, out.route.id));
        }
    }

    // Where a pair has no rule, the rules may name another pole of the same
    // station, or the station itself: the zones of those, for each stop.
    QHash<QString, QStringList> stationZones;
    for (int s : trip->stops)
        if (const QString& p = feed.stops[size_t(s)].parent; !p.isEmpty())
            stationZones.insert(p, {feed.zoneOf(feed.stopIndex.value(p, s))});
    if (!stationZones.isEmpty())
        for (const Stop& pole : feed.stops)
            if (const auto it = stationZones.find(pole.parent);
                it != stationZones.end() && !pole.zone.isEmpty() && !it->contains(pole.zone))
                it->append(pole.zone);
    std::vector<QStringList> otherZones; // the zones of each stop but its own
    for (size_t i = 0; i < trip->stops.size(); ++i) {
        QStringList others = stationZones.value(feed.stops[size_t(trip->stops[i])].parent);
        others.removeAll(zones[i]);
        others.removeAll(QString());
        otherZones.push_back(others);
    }
    // The fare of each ticket at the stop before, which the next may not
    // fall below where a pair has several prices.
    std::vector<qint16> before(size_t(n) + 1, 0);

    for (int i = 1; i <= n; ++i) {
        const Stop& stop = feed.stops[size_t(trip->stops[size_t(i - 1)])];
        QString name = feed.nameOf(trip->stops[size_t(i - 1)]);
        oneLineNoted(name, u"stops.txt"_qs, stop.line,
                     QStringLiteral("the name of the stop \"%1\"").arg(stop.id));
        const QString shown = toCp932Characters(name);
        if (shown != name)
            out.notes << at(u"stops.txt"_qs, stop.line) +
                             QStringLiteral("the name \"%1\" holds characters that CP932 cannot "
                                            "store; written as \"%2\"")
                                 .arg(name, shown);
        const qsizetype bytes = Cp932::encode(shown).size();
        if (bytes > std::numeric_limits<quint16>::max())
            fail(at(u"stops.txt"_qs, stop.line) +
                 QStringLiteral("the name of the stop \"%1\" takes %2 bytes in CP932; a name "
                                "holds at most %3")
                     .arg(stop.id)
                     .arg(bytes)
                     .arg(std::numeric_limits<quint16>::max()));
        out.stopNames << shown;
        FareData::RouteRow row;
        row.name = shown;
        row.ticket = qint16(i);
        // The rules toward this stop's zone, then toward its station's other zones.
        std::vector<std::pair<FaresToward, FaresToward>> toward;
        for (const QString& d : QStringList{zones[size_t(i - 1)]} + otherZones[size_t(i - 1)]) {
            toward.emplace_back(FaresToward(own, d), FaresToward(every, d));
            toward.back().first.pass(d), toward.back().second.pass(d);
        }
        for (int k = i - 1; k >= 1; --k) {
            for (auto& [o, e] : toward)
                o.pass(zones[size_t(k - 1)]), e.pass(zones[size_t(k - 1)]);
            // The route's own rules, then those for every route: by the stops'
            // own zones, then by those of their stations as well.
            const QString& origin = zones[size_t(k - 1)];
            Prices prices = toward.front().first.from(origin);
            if (prices.isEmpty()) prices = toward.front().second.from(origin);
            for (bool ownRules : {true, false})
                for (size_t t = 0; t < toward.size() && prices.isEmpty(); ++t)
                    for (const QString& o : otherZones[size_t(k - 1)] + QStringList{origin})
                        addPrices(prices, (ownRules ? toward[t].first : toward[t].second).from(o));
            std::optional<qint16> fare;
            if (prices.size() == 1) fare = prices.front();
            if (prices.size() > 1) {
                // The lowest that is not below the fare at the stop before.
                const auto it = std::lower_bound(prices.begin(), prices.end(), before[size_t(k)]);
                fare = it == prices.end() ? prices.back() : *it;
                out.severalPrices.push_back({k, i, prices, *fare});
            }
            if (fare) {
                ++out.faresFound;
                before[size_t(k)] = *fare;
            } else {
                out.faresMissing.push_back({k, i});
                fare = request.flatFare;
            }
            if (fare && k <= FareData::ValueCount) row.v[size_t(k - 1)] = *fare;
        }
        // The step chime where the starter settings read it, while no fare is there.
        if (n <= StarterSettings::StepChimeColumn)
            row.v[size_t(StarterSettings::StepChimeColumn - 1)] = i == 1 ? 2 : i == n ? 3 : 1;
        out.rows.push_back(std::move(row));
    }
    return out;
}

} // namespace

std::optional<Imported> importRoute(const Feed& feed, const ImportRequest& request,
                                    QString* error) {
    return refusable(error, [&] { return importOrRefuse(feed, request); });
}

QString columnsUsed(int stops) {
    const auto range = [](int from, int to) {
        return from == to ? QStringLiteral("v%1").arg(from)
                          : QStringLiteral("v%1-v%2").arg(from).arg(to);
    };
    const int chime = StarterSettings::StepChimeColumn, last = FareData::ValueCount;
    const int fares = stops - 1;
    QString report = fares > 0 ? u"fares in "_qs + range(1, fares) : u"no fares"_qs;
    if (stops <= chime) {
        QStringList free;
        if (fares + 1 < chime) free << range(fares + 1, chime - 1);
        free << range(chime + 1, last);
        return report + QStringLiteral("; step chimes in v%1 (2 at the first stop, 1 on the way, "
                                       "3 at the terminal); free: %2")
                            .arg(chime)
                            .arg(free.join(u", "_qs));
    }
    report += QStringLiteral("; no step chimes: the fares reach v%1, where the starter settings "
                             "read them")
                  .arg(chime);
    return fares < last ? report + u"; free: "_qs + range(fares + 1, last) : report;
}

TapeWriting announcements(const Imported& imported) {
    const QStringList& stops = imported.stopNames;
    const QString terminal = stops.isEmpty() ? QString() : stops.last();
    // Where the bus goes: the trip's headsign, else its last stop (a route's
    // long name often names both ends, or a district).
    const QString toward = toCp932Characters(
        imported.trip.headsign.isEmpty() ? terminal : imported.trip.headsign);
    const QString bound =
        toward.endsWith(u"循環") ? toward + u"です。"_qs : toward + u"行きです。"_qs;
    const QString line = imported.route.shortName.isEmpty()
                             ? QString()
                             : toCp932Characters(imported.route.shortName) + u"、"_qs;
    std::vector<TapeRow> rows{
        {u"ご乗車ありがとうございます。このバスは、"_qs + line + bound, 0, 1}};
    for (qsizetype i = 1; i + 1 < stops.size(); ++i)
        rows.push_back({u"次は、"_qs + stops[i] + u"です。"_qs, 1, 0});
    if (stops.size() >= 2) rows.push_back({u"次は、終点、"_qs + terminal + u"です。"_qs, 1, 2});
    rows.push_back({u"終点、"_qs + terminal + u"です。ご乗車ありがとうございました。"_qs, 0, 3});
    return TapeFile::write(rows);
}

} // namespace Gtfs
