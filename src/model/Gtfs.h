#pragma once
// Routes from open data: a GTFS-JP feed (標準的なバス情報フォーマット), read
// from the bytes of its files, and one trip of one of its routes turned into
// K40's fare data and announcements.
//
// The files are UTF-8 CSV with a header line, with or without a byte order
// mark; columns may come in any order and optional ones may be absent. The
// feed needs routes.txt, trips.txt, stop_times.txt and stops.txt; fares come
// from fare_attributes.txt and fare_rules.txt when the feed has them.
//
// The stop at position i of the trip gets ticket number i, and row i holds in
// v(k), for each ticket k < i, the fare from the stop of ticket k to the stop
// of row i: the fare rules of the route before those for every route, a rule
// matching by the stops' zones (origin, destination, and a zone passed on the
// way); where none matches, by the zones of the other poles of the stops'
// stations and of the stations themselves. Of several matching prices the
// lowest that is not below the fare of the same ticket at the stop before,
// so that a fare never falls as the bus goes on (a loop passes a zone twice,
// and its rules give the pair two prices). Where no fare applies, and for
// k >= i, v(k) is 0, which the board shows blank. A route of up to
// StarterSettings::StepChimeColumn stops, whose fares stay below that column,
// gets its step chimes there: 2 at the first stop, 1 on the way, 3 at the
// terminal.

#include "model/FareData.h"
#include "model/TapeFile.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace Gtfs {

// The files of a feed by name ("stops.txt"), as bytes.
using Files = QHash<QString, QByteArray>;

// The files Feed::read reads, each with the most bytes taken of it: a larger
// one is refused, before it can fill the memory. The stop times and fare
// rules of the largest cities' operators stay well below their limits.
struct FileLimit {
    QString name;
    qint64 maxBytes;
};
const QList<FileLimit>& fileLimits();

struct Route {
    QString id;
    QString shortName;
    QString longName;
    int line = 0;
    // "川57 末吉橋矢向循環" or what of it there is.
    QString title() const;
};

struct Stop {
    QString id;
    QString name;
    QString zone;
    QString parent;
    int line = 0;
};

struct Trip {
    QString id;
    QString routeId;
    QString headsign;
    int direction = -1; // -1: not given
    int line = 0;
    std::vector<int> stops; // indexes into Feed::stops, in stop_sequence order
};

struct FareRule {
    int fare = 0; // index into Feed::fares
    QString routeId;
    QString origin;
    QString destination;
    QString contains;
    int line = 0;
};

struct Fare {
    QString id;
    qint16 price = 0;
    int line = 0;
};

struct Feed {
    std::vector<Route> routes;
    std::vector<Stop> stops;
    std::vector<Trip> trips;
    std::vector<Fare> fares;
    std::vector<FareRule> rules;
    bool hasFares = false;         // fare_attributes.txt and fare_rules.txt are there
    QHash<QString, int> stopIndex; // stops by stop_id

    // Reads a feed; nothing, and in error the reason with the file and line
    // it is found at ("stops.txt, line 12: ..."), for a missing file or
    // column, a field that cannot be read, or a trip or stop time that names
    // what is not there.
    static std::optional<Feed> read(const Files& files, QString* error = nullptr);

    // The stop's zone, or its station's when it has none of its own.
    QString zoneOf(int stop) const;
    // The name shown for a stop: its station's when it belongs to one, else
    // its own without a platform ("南幸町二丁目３番のりば" is "南幸町二丁目").
    QString nameOf(int stop) const;
};

// What a route offers to import.
struct RouteSummary {
    Route route;
    QList<int> directions; // the direction_id values of its trips
    int trips = 0;
    QStringList longestTrip; // stop names of its longest trip
    bool faresKnown = false; // some fare rule applies to the route
};
std::vector<RouteSummary> listRoutes(const Feed& feed);

struct ImportRequest {
    QString route;                // route_id, short name or long name
    std::optional<int> direction; // 0 or 1
    QString trip;                 // a trip_id; empty: the longest trip
    // The fare of every ride the feed gives none for (a route of one fare
    // whose rules do not cover all its stops); none: those stay blank.
    std::optional<qint16> flatFare;
};

struct Imported {
    Route route;
    Trip trip;
    std::vector<FareData::RouteRow> rows;
    QStringList stopNames; // as written, in CP932's characters
    int faresFound = 0;
    // The rides the feed gives no fare for, blank on the board or the flat
    // fare when one is given: from the stop of ticket `ticket` to row `stop`
    // (both from 1).
    struct MissingFare {
        int ticket;
        int stop;
    };
    std::vector<MissingFare> faresMissing;
    // The rides the feed gives several prices for, and the one taken.
    struct SeveralPrices {
        int ticket;
        int stop;
        QList<qint16> prices; // from the lowest
        qint16 taken;
    };
    std::vector<SeveralPrices> severalPrices;
    std::optional<qint16> onlyPrice; // the one price of all the route's rules, if so
    // What was changed on the way: characters CP932 cannot hold, and line
    // breaks and other control characters (each a blank) in the names and
    // texts spoken, which the tape and the board cannot hold.
    QStringList notes;
};

// One trip of a route as fare data; nothing, and the reason in error, for an
// unknown route (naming the closest), a trip that is not there, more than
// 300 stops, a stop without a zone where the fares need one, a price that is
// not whole yen, or a stop name longer than a fare data file holds (65535
// bytes in CP932).
std::optional<Imported> importRoute(const Feed& feed, const ImportRequest& request,
                                    QString* error = nullptr);

// The announcements of an imported route (<number>tp.csv): CP932 text with
// CR LF, "次は、<stop>です。" for each stop with the step flag, the
// terminal's own words, a greeting first; written by TapeFile::write(),
// which lists the rows it could not write as they are (a quote within a
// quoted text, which the file cannot hold, becomes "”").
TapeWriting announcements(const Imported& imported);

// Which data columns an imported route of stops stops fills, with its fares
// and its step chimes, and which it leaves free (for the information
// digits): "fares in v1-v59; step chimes in v121 (...); free: v60-v120, ...".
QString columnsUsed(int stops);

// text with every character that CP932 cannot hold replaced by the nearest
// one it can (a compatibility form, else "〓").
QString toCp932Characters(const QString& text);

} // namespace Gtfs
