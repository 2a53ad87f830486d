#pragma once
// The route the tests set: count stops "停1".."停<count>", stop r with ticket
// number r and v(k) = 100 r + k, except v(30) = r % 5 (a step sound column).

#include "model/FareData.h"
#include "model/Hy3File.h"

#include <vector>

inline QByteArray testRoute(int count) {
    std::vector<FareData::RouteRow> rows(static_cast<size_t>(count));
    for (int r = 1; r <= count; ++r) {
        FareData::RouteRow& row = rows[size_t(r - 1)];
        row.name = QStringLiteral("停%1").arg(r);
        row.ticket = static_cast<qint16>(r);
        for (int k = 1; k <= 150; ++k) row.v[size_t(k - 1)] = static_cast<qint16>(100 * r + k);
        row.v[29] = static_cast<qint16>(r % 5);
    }
    return FareData::serializeHy3(rows);
}
