#pragma once
// Start-up routines of the fare panel and the ticket-number layout.

#include "model/BgrColor.h"
#include "widgets/QColorOf.h"

#include <QString>

class BoardWindow;
class K40Windows;
class MessageBoxService;
class QLabel;

namespace BoardStartup {

// Every fare cell 1..24 shows 0.
void InitFareCells(BoardWindow& panel);

// Ticket numbers shown, their default colours per backlight mode, the
// built-in picture in all three backlight slots, then the options applied.
void InitPanelDefaults(K40Windows& host);

// Writes the captions of the 24 ticket-number labels in layout 0..11, with a
// leading zero on one-digit numbers when zeroPad is nonzero. An error ends it
// with the error box of seirikenErrorText; captions written stay.
void SeirikenNumSet(BoardWindow& panel, qint16 layout, qint16 zeroPad, MessageBoxService& messages);

// The text of that error box.
QString seirikenErrorText(int number, const QString& description);

// The text colour of a ticket-number label.
void setLabelColour(QLabel& label, BgrColor colour);
BgrColor labelColour(const QLabel& label);

} // namespace BoardStartup

namespace ApiLib {
// True when path names an existing file.
bool FileExists(const QString& path);
} // namespace ApiLib
