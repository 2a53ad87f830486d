#pragma once
// The announcement tape of the console: the announcements of the route
// (<route>tp.csv), the position of the tape, the speech engine that reads
// them aloud, and whether the tape controls can be used.
//
// The announcement file is CP932 text with one "text,step flag,sound flag"
// record per line (CR LF or LF). The step flag 1 makes the tape buttons also
// step the fare display; the sound flag 1, 2 or 3 chooses the chime played
// before the row.

#include "model/SoundChannels.h"

#include <QObject>
#include <QString>
#include <vector>

class SpeechEngine;
struct SettingsRecord;

struct TapeRow {
    QString text;
    qint16 stepFlag = 0;
    qint16 soundFlag = 0;
    bool operator==(const TapeRow&) const = default;
};

// Something wrong with an announcement file, and where: the line (from 1; 0
// for the file as a whole) and the field on that line (from 1; 0 for the
// whole line).
struct TapeProblem {
    int line = 0;
    int field = 0;
    QString message;
    // The number of the error the tape raises for it, refusing the file; 0
    // for a warning: the file loads, though likely not as its author meant.
    int error = 0;
};

// An announcement file as the tape reads it, with all that is wrong with it.
struct TapeReading {
    std::vector<TapeRow> rows;
    // The line each row's record begins on; 0 for a row left without one.
    std::vector<int> recordLines;
    // In the order of the file. Reading goes on after an error to find the
    // rest; the rows are then incomplete.
    std::vector<TapeProblem> problems;
    bool loads() const;
};

class AnnouncementTape : public QObject {
    Q_OBJECT
public:
    explicit AnnouncementTape(SpeechEngine* engine, QObject* parent = nullptr);

    // Reads an announcement file image. The tape has one row per line (a last
    // line without its line end counts; a file ending in CR LF has no extra
    // row). Fields run on from line to line, commas and line ends both ending
    // a field; a field may be quoted, blanks around an unquoted field are
    // dropped; the flags are whole numbers that fit 16 bits. Raises error 13
    // for a flag that is not a number, 6 for one beyond 16 bits, 62 when the
    // file ends inside a record and 9 for more records than lines.
    static std::vector<TapeRow> parse(const QByteArray& bytes);
    // Reads a file image as parse() does, finding every error parse() would
    // raise, in order, and what is likely a mistake though the tape takes it:
    // lines of other than three fields, flags of no meaning, empty texts,
    // bytes that are no CP932 text (UTF-8 most likely), LF line ends, stray
    // quotes.
    static TapeReading read(const QByteArray& bytes);
    // A larger announcement file is not read (as a bad one).
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

    // Creates the speech engine (once, when the console starts) and releases
    // it (at exit). Without an engine announcements are unavailable.
    void createSpeech();
    void releaseSpeech();
    bool speechAvailable() const { return speechAvailable_; }

    // Loads folder + route + "tp.csv" (the name matched without regard to
    // case) and puts the tape before its first row. A missing or bad file
    // disables the tape controls, silently, and keeps the previous rows.
    // Returns whether the file was read.
    bool load(const QString& folderWithSeparator, const QString& route);

    int count() const { return static_cast<int>(rows_.size()); }
    int position() const { return position_; }
    const std::vector<TapeRow>& rows() const { return rows_; }
    // The flags of row p (1..count); 0 outside.
    qint16 stepFlag(int p) const;
    qint16 soundFlag(int p) const;

    // The next row: its chime on "S3" (the one chosen for every row, or the
    // row's own by its sound flag), then it is spoken. At the end of the tape
    // nothing happens.
    void next(const SoundChannels& sounds, const SettingsRecord& settings);
    // The row before: its own chime on "S2", then it is spoken. At the first
    // row nothing happens (and the tape stands at row 1).
    void back(const SoundChannels& sounds, const SettingsRecord& settings);
    // Speaks row p (stopping what was being said).
    void speakRow(int p);
    // Silences the speech.
    void stop();

    // The tape controls of the console: the group and its four buttons. The
    // group opens when speech is available, the buttons with the first good
    // announcement file; a bad file and the display clear close the group.
    bool controlsEnabled() const { return controlsEnabled_; }
    bool buttonsEnabled() const { return buttonsEnabled_; }
    // Switching the clear off opens the group again, unless the last route
    // setting failed to read its file: the previous route's rows stay out
    // of reach until a good file is read.
    void setDisplayCleared(bool cleared);

signals:
    void controlsChanged();

private:
    void setControls(bool group, bool buttons);
    static const QString* chimeFor(const SettingsRecord& settings, qint16 flag);
    static SoundChannels::Play chimePlay(const SettingsRecord& settings);

    SpeechEngine* engine_;
    bool speechAvailable_ = false;
    std::vector<TapeRow> rows_;
    int position_ = 0;
    bool controlsEnabled_ = false;
    bool buttonsEnabled_ = false;
    bool lastLoadFailed_ = false;
};
