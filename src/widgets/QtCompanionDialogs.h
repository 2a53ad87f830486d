#pragma once
// The dialogs and choosers on Qt: DigitSettingsDialog, a version box, a
// calendar for the fixed date, Qt's file, folder and colour dialogs.

#include "widgets/CompanionDialogs.h"

#include <QColor>
#include <QList>

class Clock;
class QDialog;
class QDialogButtonBox;

class QtCompanionDialogs : public CompanionDialogs {
public:
    // clock gives "today" for the date chooser; without one the system date
    // is used.
    explicit QtCompanionDialogs(const Clock* clock = nullptr) : clock_(clock) {}

    bool editDigitOptions(QWidget* owner, qint16 digitCount, DigitOptions& options) override;
    void showVersion(QWidget* owner, const QString& text) override;
    std::optional<QDate> chooseDate(QWidget* owner) override;
    QString chooseFile(QWidget* owner, const QString& filter, const QString& title) override;
    QString chooseFolder(QWidget* owner, const QString& prompt) override;
    bool chooseColor(QWidget* owner, BgrColor& color, CustomColorTable& customColors) override;

    // OK and "キャンセル" buttons that accept and reject dialog.
    static QDialogButtonBox* okCancel(QDialog* dialog);

    // The 16 custom colours of Qt's colour dialog from the first 16 entries of
    // the table, and back; the 17th entry is never touched.
    static QList<QColor> customColorsFromTable(const CustomColorTable& table);
    static void customColorsToTable(const QList<QColor>& colors, CustomColorTable& table);

private:
    QDate today() const;
    const Clock* clock_;
};
