#pragma once
// The ticket engine of K40: reads .4SP plug-ins (TicketPlugin) and draws their
// tickets with QPainter. A plug-in is read once and kept until its file
// changes, so drawing a ticket at every step costs no file reading. The
// engine never rewrites the stop name or the date it is given.

#include "widgets/TicketEngine.h"

#include <QDateTime>
#include <QHash>
#include <optional>

class QPainter;

class PluginTicketEngine : public TicketEngine {
public:
    bool pluginInfo(const QString& path, TicketPluginInfo& info) override;
    QString remarks(const QString& path) override;
    QStringList companyNames(const QString& path) override;
    void drawTicket(QPaintDevice* device, FareRow::TicketDrawing& ticket) override;

    // Draws the ticket of plugin for ticket onto painter, over an area of size.
    // Once the texts drawn hold TicketPlugin::MaxTicketText characters, a text
    // that would pass that is left out.
    static void draw(const TicketPlugin& plugin, const FareRow::TicketDrawing& ticket,
                     QPainter& painter, const QSizeF& size);

    // The typeface of texts that name none.
    static QString standardFont();

private:
    struct Entry {
        QDateTime modified;
        qint64 size = -1;
        std::optional<TicketPlugin> plugin;
    };
    // The plug-in at path, read again when its file changed; nullptr when the
    // file is none.
    const TicketPlugin* find(const QString& path);

    QHash<QString, Entry> plugins_;
};
