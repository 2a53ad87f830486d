#pragma once
// The ticket plug-in engine: a plug-in (.4SP file) describes a boarding
// ticket; the engine tells what a plug-in can print, gives its remarks and
// company names, and draws the ticket of a stop for the console's preview.
// Only the path of a plug-in is handled by the rest of the system.

#include "model/FareRow.h"
#include "model/TicketPlugin.h"

#include <QString>
#include <QStringList>

class QPaintDevice;

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
