#pragma once
// The settings of K40 while it runs. One settings record is the live store
// of every option of the options dialog, of the colour chooser's custom
// colours and of the console's switches (scroll bars, entry panel, preview,
// late night). The options dialog edits a copy and commits it; the board and
// the console read the record and are told when it changes. The window
// positions and the fare cells' digit options belong to the windows and join
// the record when it is saved.
//
// A record read from the settings file is taken as the options dialog's
// controls take values: field by field in file order, each checked as its
// control checks it. The first value that no control accepts raises error
// 380; the fields before it are taken and the rest stay as they were.

#include "model/SettingsRecord.h"

#include <QDate>
#include <QObject>
#include <functional>

// How many entries the lists of the options dialog have, and so which list
// positions a setting can hold (0 .. count - 1, or -1 for none).
namespace OptionLists {
constexpr int TicketLayouts = 12; // SeiriNumStyle
constexpr int Cells = 24;         // the Info...Cell settings
constexpr int Columns = 150;      // InfoColumnNo, StepSoundColumn
constexpr int NameFonts = 5;      // ChimeiFontMode
constexpr int PrefixModes = 3;    // ChimeiTsugiwaMode
constexpr int PrefixFonts = 4;    // ChimeiTsugiwaFontMode
} // namespace OptionLists

class Settings : public QObject {
    Q_OBJECT
public:
    // The settings of a first start: the record's defaults, the fixed ticket
    // date today, and the console's scroll bars at 30 and 1500.
    explicit Settings(const QDate& today, QObject* parent = nullptr);

    const SettingsRecord& record() const { return record_; }

    // The options dialog's OK: the options and custom colours of edited
    // replace the live ones.
    void commitOptions(const SettingsRecord& edited);

    // The console's switches.
    void setScrollSpeed(qint32 speed);
    void setScrollWait(qint32 ms);
    // 0: the keypad in front, 1: the digit lists in front.
    void setEntryPage(qint16 page);
    void setPreviewOpen(bool open);
    void setLateNight(bool on);

    // Taking a record read from the settings file.
    void takeCustomColors(const SettingsRecord& stored);
    // The options, in file order; afterPanelPictures runs once the panel
    // picture settings have been taken.
    void takeOptions(const SettingsRecord& stored, const std::function<void()>& afterPanelPictures);
    // The console's switches (its position is the window's own).
    void takeConsoleState(const SettingsRecord& stored);

signals:
    // The options changed through the options dialog.
    void optionsCommitted();
    // A switch of the console changed.
    void consoleStateChanged();

private:
    SettingsRecord record_;
};
