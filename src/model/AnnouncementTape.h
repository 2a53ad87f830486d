#pragma once
// The announcement tape of the console: the announcements of the route
// (<route>tp.csv), the position of the tape, the speech engine that reads
// them aloud, and whether the tape controls can be used. TapeFile reads the
// file.

#include "model/SoundChannels.h"
#include "model/TapeFile.h"

#include <QObject>
#include <QString>
#include <vector>

class SpeechEngine;
struct SettingsRecord;

class AnnouncementTape : public QObject {
    Q_OBJECT
public:
    explicit AnnouncementTape(SpeechEngine* engine, QObject* parent = nullptr);


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
