#pragma once
// What one row of the route table puts on the board: the fare cells and
// information digits, the date and time of the ticket, the arguments of the
// ticket drawing, and the stop name with its "次は" prefix handling. A pure
// computation; the route session applies the result to the board.

#include "model/DigitValue.h"
#include "model/FareData.h"
#include "model/SettingsRecord.h"

#include <QString>
#include <vector>

class Clock;

namespace FareRow {

enum class DateMode { EachPrint, AtRouteSet, Fixed };

// The date mode of the ticket chosen in the settings.
DateMode dateModeOf(const SettingsRecord& settings);

// The settings that the fare display reads. List positions are 0-based, -1
// for none, as the lists give them.
struct Options {
    bool lateNight = false;           // "深夜料金"

    bool infoSectionOn = false;       // section number in a cell
    int infoSectionCell = 0;          //   cell list position (cell = position + 1)
    bool infoSectionFromZero = false; //   "0から数える"
    bool infoTicketOn = false;        // ticket number in a cell
    int infoTicketCell = 0;
    bool infoRouteOn = false;         // route text in a cell
    int infoRouteCell = 0;
    bool infoColumnOn = false;        // value of a data column in a cell
    int infoColumnCell = 0;
    int infoColumnNo = 0;             //   column list position (column = position + 1)

    DateMode dateMode = DateMode::EachPrint;
    QString fixedDate;                // "yyyy/mm/dd"

    bool usePreview = false;          // "整理券プレビュー機能を使用する"
    QString pluginPath;
    qint16 companyIndex = -1;         // company list position

    qint16 prefixMode = -1;           // "次は" option position

    int cells = 24;                   // the board's fare cells
    int firstTicket = 1;              // the ticket of cell 1: the page shown
};

// The options of settings, with the company chosen on the console, for the
// first page of the board.
Options optionsOf(const SettingsRecord& settings, qint16 companyIndex);

// The first tickets of the pages of row `row` of table that the board shows
// with cells cells: the first page always, and each later one that holds a
// fare (a value above 0) of a ticket from the start section on, up to the
// highest ticket number of the route. Columns above it are no one's fares:
// the step chime and the information digits live there.
std::vector<int> pages(const FareData::RouteTable& table, int row, int startSection, int cells);

struct CellWrite {
    int cell; // 0..cells; 0 is the hidden spare cell that a list position of -1 selects
    DigitValue value;
    bool operator==(const CellWrite&) const = default;
};

struct TicketDrawing {
    QString pluginPath;
    QString stopName;
    QString dateText;
    QString timeText;
    qint32 routeNumber = 0;
    qint16 ticketNumber = 0;
    qint16 section = 0;
    qint16 companyIndex = -1;
};

struct Display {
    // Fare cells from the start section to the last cell, each showing the
    // fare of ticket firstTicket - 1 + cell (blank past v150), then the
    // information digits in their order; applied in this order, a later
    // write to a cell wins.
    std::vector<CellWrite> writes;
    QString dateText;       // the ticket's date text
    QString timeText;       // hh:mm:ss
    bool drawTicket = false;
    TicketDrawing ticket;   // the drawing's arguments when drawTicket

    // The stop name: set the prefix mode to namePrefixMode, show stopName,
    // then set the prefix mode to prefixModeAfter. On row 1 the name is shown
    // without the prefix and the saved prefix mode is updated first.
    QString stopName;
    qint16 namePrefixMode = 0;
    qint16 prefixModeAfter = 0;
    bool updateSavedPrefixMode = false;
};

// The display of row (1..301) of table. Raises error 9 for a row outside
// 1..301, an information cell outside 0..cells or a data column outside 1..150.
// Late-night fares are doubled in 32-bit arithmetic, so no fare can overflow.
Display compute(int row, const FareData::RouteTable& table, const FareData::RouteState& state,
                const Options& options, const Clock& clock);

// Today's date as the ticket wants it: mm-dd-yyyy.
QString ticketDate(const Clock& clock);

} // namespace FareRow
