#pragma once
// The ticket plug-in engine: a plug-in (.4SP file) describes a boarding
// ticket; the engine tells what a plug-in can print, gives its remarks and
// company names, and draws the ticket of a stop for the console's preview.
// Only the path of a plug-in is handled by the rest of the system.

#include "model/FareRow.h"

#include <QString>
#include <QStringList>
#include <array>

class QPaintDevice;

// What a plug-in reports about itself: 14 signed 32-bit fields.
//  1 width and 2 height of the ticket preview (twips), 3 date, 4 time,
//  5 route number, 6 stop name and 7 barcode printing (1 = supported),
//  8 number of barcodes, 9 highest route number, 10 barcode route scheme
//  (1 = sequential), 11 and 12 the recognised stop range, 13 company
//  switching (1 or more). Field 0 is the engine's own.
using TicketPluginInfo = std::array<qint32, 14>;

class TicketEngine {
public:
    virtual ~TicketEngine() = default;

    // True when path is a valid ticket plug-in; fills info.
    virtual bool pluginInfo(const QString& path, TicketPluginInfo& info) = 0;

    // The plug-in's remarks.
    virtual QString remarks(const QString& path) = 0;

    // The company names the plug-in offers.
    virtual QStringList companyNames(const QString& path) = 0;

    // Draws the boarding ticket into device. The stop name and the date text
    // of ticket may be rewritten by the engine; the caller takes them back.
    virtual void drawTicket(QPaintDevice* device, FareRow::TicketDrawing& ticket) = 0;
};
