#pragma once
// The application object: creates the three windows with the services they
// use, runs the start-up order, and is the way the windows reach each other.

#include "app/K40Windows.h"
#include "platform/Services.h"

#include <QObject>
#include <functional>
#include <memory>

class Form1;
class frmCtl;
class frmOption;

class K40App : public QObject, public K40Windows {
    Q_OBJECT
public:
    explicit K40App(const Services& services);
    ~K40App() override;

    // The start-up order: fare cells, panel defaults (the options applied),
    // the console shown and loaded, the windows placed and shaped, and the
    // settings file read last.
    void start();

    Form1& panel() override { return *panel_; }
    frmCtl& console() override { return *console_; }
    frmOption& options() override { return *options_; }
    Services& services() override { return services_; }
    void saveSettings() override;
    void endProgram() override;

    // What ending the program does; by default the event loop quits.
    std::function<void()> onEnd;
    bool ended() const { return ended_; }

private:
    Services services_;
    std::unique_ptr<Form1> panel_;
    std::unique_ptr<frmOption> options_;
    std::unique_ptr<frmCtl> console_;
    bool ended_ = false;
};
