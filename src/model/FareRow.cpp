#include "model/FareRow.h"

#include "model/K40Error.h"
#include "model/Clock.h"

#include <algorithm>
#include <limits>

namespace FareRow {

namespace {

int cellOf(int listPosition, int cells) {
    const int cell = listPosition + 1;
    if (cell < 0 || cell > cells) throw K40Error(K40Error::SubscriptOutOfRange);
    return cell;
}

} // namespace

DateMode dateModeOf(const SettingsRecord& r) {
    if (r.ticketDate == TicketDate::EachPrint) return DateMode::EachPrint;
    if (r.ticketDate == TicketDate::AtRouteSet) return DateMode::AtRouteSet;
    return DateMode::Fixed; // also with nothing chosen
}

Options optionsOf(const SettingsRecord& r, qint16 companyIndex) {
    // A check box counts as ticked in its third state too.
    Options o;
    o.lateNight = r.lateNight;
    o.infoSectionOn = isOn(r.infoSection.on);
    o.infoSectionCell = positionOrNone(r.infoSection.cell);
    o.infoSectionFromZero = isOn(r.infoSectionFromZero);
    o.infoTicketOn = isOn(r.infoTicket.on);
    o.infoTicketCell = positionOrNone(r.infoTicket.cell);
    o.infoRouteOn = isOn(r.infoRoute.on);
    o.infoRouteCell = positionOrNone(r.infoRoute.cell);
    o.infoColumnOn = isOn(r.infoColumn.on);
    o.infoColumnCell = positionOrNone(r.infoColumn.cell);
    o.infoColumnNo = positionOrNone(r.infoColumnNumber);
    o.dateMode = dateModeOf(r);
    o.fixedDate = r.fixedDate;
    o.usePreview = isOn(r.useTicketPreview);
    o.pluginPath = r.ticketPlugin;
    o.companyIndex = companyIndex;
    o.prefixMode = positionOrNone(r.prefixMode);
    o.cells = r.board.cells();
    return o;
}

std::vector<int> pages(const FareData::RouteTable& table, int row, int startSection, int cells) {
    int lastTicket = 0;
    for (int r = 1; r <= FareData::MaxRows; ++r)
        lastTicket = std::max<int>(lastTicket, table.row(r).ticket);
    lastTicket = std::min(lastTicket, FareData::ValueCount);
    const FareData::RouteRow& fares = table.row(row);
    std::vector<int> firsts{1};
    for (int first = 1 + cells; first <= lastTicket; first += cells)
        for (int t = std::max(first, startSection); t < first + cells && t <= lastTicket; ++t)
            if (fares.value(t) > 0) {
                firsts.push_back(first);
                break;
            }
    return firsts;
}

QString ticketDate(const Clock& clock) { return clock.now().date().toString(u"MM-dd-yyyy"); }

Display compute(int row, const FareData::RouteTable& table, const FareData::RouteState& state,
                const Options& options, const Clock& clock) {
    const FareData::RouteRow& r = table.row(row); // error 9 outside 1..301
    Display d;

    // Fares of the cells from the start section on.
    const int offset = options.firstTicket - 1;
    for (int i = std::max<int>(state.startSection - offset, 1); i <= options.cells; ++i) {
        qint64 f = i + offset <= FareData::ValueCount ? r.value(i + offset) : 0;
        if (options.lateNight && f != -1) f *= 2;
        d.writes.push_back({i, DigitValue(f)});
    }

    // Information digits, over the fares, in this order.
    if (options.infoSectionOn)
        d.writes.push_back({cellOf(options.infoSectionCell, options.cells),
                            DigitValue(qint64{options.infoSectionFromZero ? row - 1 : row})});
    if (options.infoTicketOn)
        d.writes.push_back({cellOf(options.infoTicketCell, options.cells), DigitValue(qint64{r.ticket})});
    if (options.infoRouteOn)
        d.writes.push_back({cellOf(options.infoRouteCell, options.cells), DigitValue(state.routeText)});
    if (options.infoColumnOn) {
        const int column = options.infoColumnNo + 1;
        if (column < 1 || column > FareData::ValueCount)
            throw K40Error(K40Error::SubscriptOutOfRange);
        d.writes.push_back({cellOf(options.infoColumnCell, options.cells), DigitValue(qint64{r.value(column)})});
    }

    switch (options.dateMode) {
    case DateMode::EachPrint: d.dateText = ticketDate(clock); break;
    case DateMode::AtRouteSet: d.dateText = state.ticketDateText; break;
    case DateMode::Fixed: d.dateText = options.fixedDate; break;
    }
    d.timeText = clock.now().time().toString(u"HH:mm:ss");

    d.drawTicket = options.usePreview;
    if (d.drawTicket) {
        const qint64 route = FareData::leadingNumber(state.routeText);
        d.ticket = TicketDrawing{options.pluginPath,
                                 r.name,
                                 d.dateText,
                                 d.timeText,
                                 static_cast<qint32>(std::clamp<qint64>(
                                     route, std::numeric_limits<qint32>::min(),
                                     std::numeric_limits<qint32>::max())),
                                 r.ticket,
                                 static_cast<qint16>(row),
                                 options.companyIndex};
    }

    d.stopName = r.name;
    d.prefixModeAfter = options.prefixMode;
    if (row < 2) {
        d.updateSavedPrefixMode = true;
        d.namePrefixMode = 0;
    } else {
        d.namePrefixMode = options.prefixMode;
    }
    return d;
}

} // namespace FareRow
