#include "model/FareRow.h"

#include "model/K40Error.h"
#include "model/Clock.h"

#include <algorithm>
#include <limits>

namespace FareRow {

namespace {

int cellOf(int listPosition) {
    const int cell = listPosition + 1;
    if (cell < 0 || cell > 24) throw K40Error(K40Error::SubscriptOutOfRange);
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
    return o;
}

QString ticketDate(const Clock& clock) { return clock.now().date().toString(u"MM-dd-yyyy"); }

Display compute(int row, const FareData::RouteTable& table, const FareData::RouteState& state,
                const Options& options, const Clock& clock) {
    const FareData::RouteRow& r = table.row(row); // error 9 outside 1..301
    Display d;

    // Fares of the cells from the start section on.
    for (int i = std::max<int>(state.startSection, 1); i <= 24; ++i) {
        qint64 f = r.value(i);
        if (options.lateNight && f != -1) f *= 2;
        d.writes.push_back({i, DigitValue(f)});
    }

    // Information digits, over the fares, in this order.
    if (options.infoSectionOn)
        d.writes.push_back({cellOf(options.infoSectionCell),
                            DigitValue(qint64{options.infoSectionFromZero ? row - 1 : row})});
    if (options.infoTicketOn)
        d.writes.push_back({cellOf(options.infoTicketCell), DigitValue(qint64{r.ticket})});
    if (options.infoRouteOn)
        d.writes.push_back({cellOf(options.infoRouteCell), DigitValue(state.routeText)});
    if (options.infoColumnOn) {
        const int column = options.infoColumnNo + 1;
        if (column < 1 || column > FareData::ValueCount)
            throw K40Error(K40Error::SubscriptOutOfRange);
        d.writes.push_back({cellOf(options.infoColumnCell), DigitValue(qint64{r.value(column)})});
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
