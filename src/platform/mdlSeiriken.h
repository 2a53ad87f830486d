#pragma once
// The ticket plug-in engine of the companion library: plug-ins (.4SP files)
// describe and draw a boarding ticket. Only the path of a plug-in is handled
// by the rest of the system.

#include <QString>
#include <array>

class QComboBox;
class QPaintDevice;
class QPlainTextEdit;

// What KT4_GetPlgInfo reports about a plug-in: 14 signed 32-bit fields.
//  1 width and 2 height of the ticket preview, 3 date, 4 time, 5 route number,
//  6 stop name and 7 barcode printing (1 = supported), 8 number of barcodes,
//  9 highest route number, 10 barcode route scheme (1 = sequential),
//  11 and 12 the recognised stop range, 13 company switching (1 or more).
using PlgInfo = std::array<qint32, 14>;

class TicketPluginEngine {
public:
    virtual ~TicketPluginEngine() = default;

    // Nonzero when path is a valid ticket plug-in; fills info.
    virtual qint32 KT4_GetPlgInfo(const QString& path, PlgInfo& info) = 0;

    // Places the plug-in's remarks into the text box.
    virtual qint32 KT4_SetPlgComment(const QString& path, QPlainTextEdit* box) = 0;

    // Adds the plug-in's company names to the combo box.
    virtual qint32 KT4_SetCorpAddList(const QString& path, QComboBox* combo) = 0;

    // Draws the boarding ticket into device. stopName and dateText are
    // writable buffers: whatever the engine leaves in them is taken back by
    // the caller.
    virtual qint32 KT4_DrawSeiriken(const QString& path, QPaintDevice* device, QString& stopName,
                                    QString& dateText, QString& timeText, qint32 routeNumber,
                                    qint16 ticketNumber, qint16 section, qint16 companyIndex) = 0;
};
