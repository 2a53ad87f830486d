#pragma once
// The settings of K40 while it runs. One settings record is the live store
// of every option of the options dialog, of the colour chooser's custom
// colours, of the console's switches (scroll bars, entry panel, preview,
// late night) and of the fare cells' digit options. The options dialog edits
// a copy and commits it; the board and the console read the record and are
// told when it changes. The window positions belong to the windows and join
// the record when it is saved.
//
// A record read from the settings file is taken as the options dialog's
// controls take values: field by field in file order. The first value that
// no control accepts raises error 380, naming the field; the fields before it
// are taken and the rest stay as they were.

#include "model/SettingsRecord.h"

#include <QDate>
#include <QObject>

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
    // Which entry panel lies behind the other.
    void setKeypadBehind(bool behind);
    void setPreviewOpen(bool open);
    void setLateNight(bool on);

    // The board shown, as its own file gives it (at start-up, before the
    // windows apply the settings).
    void setBoard(const BoardChoice& board) { record_.board = board; }
    // The board window's size in percent, held to what a board can be shown
    // at (BoardChoice::MinScale to MaxScale).
    void setBoardScale(int percent);
    void setBoardFullScreen(bool on);
    // The screen of the full-screen board, from 0 (-1: where the board stands).
    void setBoardScreen(int screen);

    // The digit options of the 24 fare cells, as the cells show them.
    void setDigitCells(const std::array<DigitCellOptions, 24>& cells);

    // Takes a record read from the settings file: the custom colours
    // whatever else it holds, and the other fields in file order up to the
    // first that no control takes (the cells' digit options come through the
    // cells, setDigitCells()). Raises error 380
    // for that field, after taking what comes before it.
    void take(const SettingsCodec::Decoded& stored);
    // Whether the last take() reached the field of a stored name.
    bool took(const QString& field) const;

signals:
    // The options changed through the options dialog.
    void optionsCommitted();
    // A switch of the console changed.
    void consoleStateChanged();
    // The board window's size, full screen or screen changed.
    void boardViewChanged();

private:
    SettingsRecord record_;
    int fieldsTaken_ = 0;
};
