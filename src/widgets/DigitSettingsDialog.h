#pragma once
// "数字表示の設定": the digit count of a fare cell, and its zero mode, digit
// shift and zero-fill width to choose. A zero mode outside the four that the
// dialog offers is handed back as it came unless the user chooses one.

#include "widgets/CompanionDialogs.h"

#include <QButtonGroup>
#include <QDialog>
#include <QStringList>

class QSpinBox;

class DigitSettingsDialog : public QDialog {
    Q_OBJECT
public:
    DigitSettingsDialog(QWidget* owner, qint16 digitCount, const DigitOptions& options);

    DigitOptions options() const;

    // The texts of the four zero modes, by mode.
    static QStringList zeroModeDescriptions();

private:
    qint16 givenZeroMode_;
    QButtonGroup zeroModes_;
    QSpinBox* shift_ = nullptr;
    QSpinBox* fillZero_ = nullptr;
};
