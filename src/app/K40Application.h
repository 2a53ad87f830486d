#pragma once
// The application object: creates the settings, the route session, the tape
// and the three windows with the services they use, wires them together, and
// runs what concerns more than one window: the start-up order, the settings
// file, the options dialog, the version box and the exit. It is the only
// place that knows all three windows.

#include "app/Services.h"
#include "model/StartOptions.h"

#include <QObject>
#include <functional>
#include <memory>

class AnnouncementTape;
class BoardWindow;
class ConsoleWindow;
class InputHold;
class OptionsDialog;
class RouteSession;
class Settings;
class SoundChannels;
class WindowPlacement;

class K40Application : public QObject {
    Q_OBJECT
public:
    explicit K40Application(const Services& services);
    ~K40Application() override;

    // The start-up order: the options applied to the board, the console shown
    // with the speech engine created, the windows placed and shaped, and the
    // settings file read last; the board full screen last of all, if so.
    // The command line's options hold over the board's file for this start.
    void start(const StartOptions& options = {});

    // The options dialog, modal over both windows; OK commits its settings
    // and shows the stop name again.
    void openOptions();
    void showVersion();
    // The voice settings of the tape, modal over both windows; OK keeps the
    // voice in the voice settings file at once.
    void openVoiceSettings();
    // Asks whether to end; on Yes ends as end() does. Returns whether the
    // program ends.
    bool requestExit();
    // Ends without asking, as when the desktop session ends or the process
    // is told to end: blanks the strip, closes the sound channels, releases
    // the speech engine, writes the settings file and ends. A failed save is
    // told on standard error, since nobody may be there to answer a box.
    // Nothing happens once the program has ended.
    void end();

    // The settings file, read at start and written at exit. A missing file
    // is silent (an installed K40 then starts on its shipped samples); any
    // other failure shows the error box, or is written to standard error.
    // A file that was there but could not be read is never written over: the
    // first save moves it aside (K40.in4.bak, or a name with the date and
    // time when that is taken) and says so once.
    enum class Report { ByBox, OnStandardError };
    void loadSettings();
    void saveSettings(Report report = Report::ByBox);

    BoardWindow& board() { return *board_; }
    ConsoleWindow& console() { return *console_; }
    OptionsDialog& options() { return *options_; }
    RouteSession& session() { return *session_; }
    Settings& settings() { return *settings_; }
    AnnouncementTape& tape() { return *tape_; }
    InputHold& inputHold() { return *inputHold_; }

    // How long after the start the windows are fitted on the screen again,
    // with their frames.
    static constexpr int FrameSettleMs = 1000;

    // What ending the program does; by default the event loop quits.
    std::function<void()> onEnd;
    bool ended() const { return ended_; }

private:
    void applyScrollSettings();
    // The board's own file (the board chosen and its size); a failure is told.
    void saveBoardChoice();
    // Moves window so that its frame is wholly on a screen.
    void keepOnScreen(QWidget& window);
    void showError(int number, const QString& description);
    void endProgram(Report report);
    void tell(Report report, const QString& text);
    // Moves the settings file that could not be read out of the way of the
    // save; false when it must stay where it is.
    bool keepUnreadSettings(Report report);

    Services services_;
    std::unique_ptr<WindowPlacement> ownPlacement_;
    WindowPlacement* placement_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<SoundChannels> sounds_;
    std::unique_ptr<AnnouncementTape> tape_;
    std::unique_ptr<RouteSession> session_;
    std::unique_ptr<BoardWindow> board_;
    std::unique_ptr<ConsoleWindow> console_;
    std::unique_ptr<OptionsDialog> options_;
    std::unique_ptr<InputHold> inputHold_;
    bool ended_ = false;
    bool settingsUnread_ = false; // the file at start could not be read
};
