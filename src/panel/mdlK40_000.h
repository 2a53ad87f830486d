#pragma once
// Start-up routines of the fare panel and the ticket-number layout.

#include "platform/OleColor.h"

#include <QString>

class Form1;
class K40Windows;
class MessageBoxService;
class QLabel;

namespace mdlK40_000 {

// Every fare cell 1..24 shows 0.
void InitFareCells(Form1& panel);

// Ticket numbers shown, their default colours per backlight mode, the
// built-in picture in all three backlight slots, then the options applied.
void InitPanelDefaults(K40Windows& host);

// Writes the captions of the 24 ticket-number labels in layout 0..11, with a
// leading zero on one-digit numbers when zeroPad is nonzero. An error ends it
// with the error box of seirikenErrorText; captions written stay.
void SeirikenNumSet(Form1& panel, qint16 layout, qint16 zeroPad, MessageBoxService& messages);

// The text of that error box.
QString seirikenErrorText(int number, const QString& description);

// The text colour of a ticket-number label.
void setLabelColour(QLabel& label, OleColor colour);
OleColor labelColour(const QLabel& label);

} // namespace mdlK40_000

namespace ApiLib {
// True when path names an existing file.
bool FileExists(const QString& path);
} // namespace ApiLib
