#pragma once
// The companion library's dialogs and choosers, on Qt dialogs: the digit
// setting dialog, the version box, the date chooser, the file and folder
// choosers and the colour chooser. Every dialog is modal to its owner and
// returns when it is closed.
//
// The conversions between the library's arguments and Qt's (filter texts,
// custom-colour tables, system-time records) are plain functions here.

#include "platform/KTP4Res.h"

#include <QColor>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class Clock;

class QtCompanionDialogs : public CompanionDialogs {
public:
    // clock gives "today" for the date chooser; without one the system date
    // is used.
    explicit QtCompanionDialogs(const Clock* clock = nullptr) : clock_(clock) {}

    qint32 Call_dlg100(QWidget* owner, qint16 keta, qint16& zeroMode, qint16& shift,
                       qint16& fillZero) override;
    qint32 Call_dlg110(QWidget* owner, qint32 kind, const QString& text) override;
    qint32 Call_dlg111(QWidget* owner, SystemTime& date) override;
    QString Kt3FileDlg(QWidget* owner, qint32 flags, const QString& filter, const QString& fileName,
                       const QString& title) override;
    QString Kt3FolderDlg(QWidget* owner, const QString& prompt) override;
    qint32 Kt3ChooseColor(QWidget* owner, qint32& colour, CustomColorTable& customColors) override;

    // The texts of the four zero modes in the digit setting dialog, by mode.
    static QStringList zeroModeDescriptions();

    // A filter of description/pattern pairs, each ended by NUL, as a Qt name
    // filter: "Waveサウンド(*.wav)\0*.wav\0" gives "Waveサウンド(*.wav) (*.wav)";
    // pairs are joined by ";;", patterns separated by ";" become separated by
    // spaces. A description without a pattern matches every file; an empty
    // description is replaced by its pattern. An empty filter gives the empty
    // text (every file).
    static QString qtNameFilters(const QString& filter);

    // The 16 custom colours of the colour chooser from the first 16 entries
    // of the table, and back; the 17th entry is never touched.
    static QList<QColor> customColorsFromTable(const CustomColorTable& table);
    static void customColorsToTable(const QList<QColor>& colours, CustomColorTable& table);

    // Fills year, month, day and day of week (0 = Sunday) of the record with
    // date; the time fields stay as they are.
    static void fillSystemTime(SystemTime& record, const QDate& date);
    // The date a record holds, or today when it holds none (a zeroed record).
    static QDate dateOfSystemTime(const SystemTime& record, const QDate& today);

private:
    QDate today() const;
    const Clock* clock_;
};
