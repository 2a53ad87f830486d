#pragma once
// The companion library: modal dialogs, choosers, two byte-string routines on
// the code-page-932 form of a text, and the name of the running system.
// The ticket plug-in engine of the same library is declared in mdlSeiriken.h.
//
// The dialogs are a service (tests replace them); the byte routines and
// GetOsInfo are plain functions.

#include <QString>
#include <array>

class QWidget;

// The system-time record handed to the date chooser: eight 16-bit fields.
struct SystemTime {
    qint16 wYear = 0;
    qint16 wMonth = 0;
    qint16 wDayOfWeek = 0;
    qint16 wDay = 0;
    qint16 wHour = 0;
    qint16 wMinute = 0;
    qint16 wSecond = 0;
    qint16 wMilliseconds = 0;
};

// The 17-entry custom-colour table of the colour chooser (0x00BBGGRR each).
using CustomColorTable = std::array<qint32, 17>;

class CompanionDialogs {
public:
    virtual ~CompanionDialogs() = default;

    // The digit-setting dialog of a digit display: shows the digit count and
    // lets the user choose zero mode, shift and zero-fill width. Returns 1 on
    // OK with the chosen values in the three arguments, 0 on cancel with the
    // values it was given.
    virtual qint32 Call_dlg100(QWidget* owner, qint16 keta, qint16& zeroMode, qint16& shift,
                               qint16& fillZero) = 0;

    // Shows text modally (kind is always 1: the version box) and returns after
    // the user has closed it.
    virtual qint32 Call_dlg110(QWidget* owner, qint32 kind, const QString& text) = 0;

    // The date chooser. date arrives zeroed; on a nonzero result its year,
    // month and day hold the chosen date.
    virtual qint32 Call_dlg111(QWidget* owner, SystemTime& date) = 0;

    // The file chooser. filter is description/pattern pairs, each ended by a
    // NUL character, plus a final NUL. Returns the chosen full path, or the
    // empty text on cancel.
    virtual QString Kt3FileDlg(QWidget* owner, qint32 flags, const QString& filter,
                               const QString& fileName, const QString& title) = 0;

    // The folder chooser: the chosen folder, or the empty text on cancel.
    virtual QString Kt3FolderDlg(QWidget* owner, const QString& prompt) = 0;

    // The colour chooser, starting from colour (0x00BBGGRR); on a nonzero
    // result colour holds the choice. customColors is read and written back.
    virtual qint32 Kt3ChooseColor(QWidget* owner, qint32& colour,
                                  CustomColorTable& customColors) = 0;
};

namespace KTP4Res {

// The name of the running operating system. Only the exact text
// "Windows Vista" has a meaning to the system (speech off); it never
// occurs here.
QString GetOsInfo();

// Length of the code-page-932 form of text, in bytes.
qint32 LenB_ASCII(const QString& text);

// count bytes of the code-page-932 form of text, from byte position start
// (counting from 1), as text. Empty beyond the end, for a start before the
// first byte and for a count below 1. A slice that cuts a two-byte
// character keeps the byte it holds: the text returned encodes back to
// exactly the bytes of the slice.
QString MidB_ASCII(const QString& text, qint32 start, qint32 count);

} // namespace KTP4Res
