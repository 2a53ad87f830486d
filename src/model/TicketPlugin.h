#pragma once
// A ticket plug-in: a .4SP file that describes a boarding ticket. It tells
// what the ticket prints, has remarks for the user, may offer company names,
// and lists the elements that draw the ticket: paper, frame, texts with
// placeholders, lines, rectangles and NW-7 barcodes, in preview pixels.
//
// The file is a UTF-8 JSON document (docs/ticket-plugin.md). Reading it never
// runs anything; a file that is not such a document, or is of another format
// or version, larger than 1 MiB or with more than 1000 elements, is no
// plug-in.
//
// A filled text is at most MaxText characters long, however long the stop
// name or however often a text repeats it: what is beyond is left out, so
// that no text handed to the drawing can be long enough to freeze it. A
// ticket draws texts of at most MaxTicketText characters in all.

#include "model/FareRow.h"

#include <QLineF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

// What a plug-in reports about itself: 14 signed 32-bit fields.
//  0 the format's version, 1 width and 2 height of the ticket preview
//  (twips), 3 date, 4 time, 5 route number, 6 stop name and 7 barcode
//  printing (1 = supported), 8 number of barcodes, 9 highest route number,
//  10 barcode route scheme (1 = sequential, 2 = route number and a
//  round-trip flag), 11 and 12 the recognised stop range, 13 the number of
//  company names.
using TicketPluginInfo = std::array<qint32, 14>;

struct TicketElement {
    enum class Kind { Paper, Frame, Text, Line, Rect, Barcode };
    enum class Align { Left, Center, Right };

    Kind kind = Kind::Paper;
    QRectF box;        // text, rectangle, barcode; the frame's inset in x
    QLineF line;       // line
    QString content;   // text: its template; barcode: the data's template
    QString font;      // text: the typeface; empty for the standard one
    double size = 12;  // text: the pixel size of the type
    bool bold = false; // text
    Align align = Align::Left;
    double lineWidth = 1;       // frame, line, rectangle outline
    double ratio = 3;           // barcode: wide to narrow
    quint32 color = 0xFF000000; // ARGB: ink, outline, paper
    quint32 fill = 0;           // rectangle: ARGB, 0 for none
    bool operator==(const TicketElement&) const = default;
};

struct TicketPlugin {
    static constexpr qint64 MaxBytes = 1 << 20;
    static constexpr int MaxElements = 1000;
    // The most characters of a filled text; a barcode whose data could be
    // longer is no plug-in.
    static constexpr int MaxText = 256;
    // The most characters a ticket draws; a text beyond them is left out.
    static constexpr int MaxTicketText = 4096;
    static constexpr const char* Format = "K40 ticket plug-in";
    static constexpr int Version = 1;

    QString name;
    QString remarks;
    TicketPluginInfo info{};
    QStringList companies;
    std::vector<TicketElement> elements;

    // The plug-in a document describes; nothing (and the reason in error)
    // when it is none.
    static std::optional<TicketPlugin> parse(const QByteArray& document, QString* error = nullptr);
    // The plug-in of a file; nothing when the file cannot be read or is none.
    // Only a regular file is read: a FIFO, a device or a folder is none.
    static std::optional<TicketPlugin> load(const QString& path, QString* error = nullptr);

    // The company name at index, empty for -1 or one the plug-in lacks.
    QString company(int index) const;

    // A template with its placeholders filled from a drawing: {stop}, {date},
    // {time}, {route}, {ticket}, {row}, {company}, and {year}, {month},
    // {day}, {hour}, {minute} taken from the date and time texts. A width
    // may follow a colon: {ticket:03} pads with zeros, {row:3} with spaces.
    // "{{" and "}}" stand for braces. The template must have passed
    // isValidTemplate(). The text is cut after MaxText characters, or one
    // before, so as not to part a surrogate pair.
    QString fill(const QString& templateText, const FareRow::TicketDrawing& ticket) const;

    // Whether every placeholder of a template is known and well formed; with
    // numericOnly, only the placeholders that give digits are allowed, and
    // only with zeros as padding.
    static bool isValidTemplate(const QString& templateText, bool numericOnly = false);
};
