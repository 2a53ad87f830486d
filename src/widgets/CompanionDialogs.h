#pragma once
// The dialogs and choosers that K40's windows open: the digit options of a
// fare cell, the version box, the fixed-date chooser and the file, folder and
// colour choosers. Each is modal to its owner and returns when the user has
// closed it. The real ones are QtCompanionDialogs; tests hand in fakes that
// answer as scripted.

#include "model/BgrColor.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>

class QWidget;

// The options of a digit display that its settings dialog edits.
struct DigitOptions {
    qint16 zeroMode = 0;
    qint16 shift = 0;
    qint16 fillZero = 0;
    bool operator==(const DigitOptions&) const = default;
};

// The 17-entry custom-colour table of the colour chooser (0x00BBGGRR each),
// kept in the settings file.
using CustomColorTable = std::array<BgrColor, 17>;

class CompanionDialogs {
public:
    virtual ~CompanionDialogs() = default;

    // "数字表示の設定" for a display of digitCount digits. On OK returns true
    // with the chosen options; on cancel returns false and leaves them.
    virtual bool editDigitOptions(QWidget* owner, qint16 digitCount, DigitOptions& options) = 0;

    // The version box, showing text.
    virtual void showVersion(QWidget* owner, const QString& text) = 0;

    // The fixed-date chooser: the chosen date, or nothing on cancel.
    virtual std::optional<QDate> chooseDate(QWidget* owner) = 0;

    // An existing file of the kinds of filter (Qt's form:
    // "Waveサウンド(*.wav);;MIDIサウンド(*.mid)"), as a full path; empty on
    // cancel.
    virtual QString chooseFile(QWidget* owner, const QString& filter, const QString& title) = 0;

    // A folder, or empty on cancel.
    virtual QString chooseFolder(QWidget* owner, const QString& prompt) = 0;

    // The colour chooser, starting from color. True when a colour was chosen;
    // color then holds it. customColors is shown and takes back the user's
    // custom colours either way.
    virtual bool chooseColor(QWidget* owner, BgrColor& color, CustomColorTable& customColors) = 0;
};
