#pragma once
// The application object: creates the three windows with the services they
// use, runs the start-up order, and is the way the windows reach each other.

#include "app/K40Windows.h"
#include "app/Services.h"

#include <QObject>
#include <functional>
#include <memory>

class BoardWindow;
class ConsoleWindow;
class OptionsDialog;

class K40Application : public QObject, public K40Windows {
    Q_OBJECT
public:
    explicit K40Application(const Services& services);
    ~K40Application() override;

    // The start-up order: fare cells, panel defaults (the options applied),
    // the console shown and loaded, the windows placed and shaped, and the
    // settings file read last.
    void start();

    BoardWindow& panel() override { return *panel_; }
    ConsoleWindow& console() override { return *console_; }
    OptionsDialog& options() override { return *options_; }
    Services& services() override { return services_; }
    void saveSettings() override;
    void endProgram() override;

    // What ending the program does; by default the event loop quits.
    std::function<void()> onEnd;
    bool ended() const { return ended_; }

private:
    Services services_;
    std::unique_ptr<BoardWindow> panel_;
    std::unique_ptr<OptionsDialog> options_;
    std::unique_ptr<ConsoleWindow> console_;
    bool ended_ = false;
};
