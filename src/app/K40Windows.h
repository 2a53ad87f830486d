#pragma once
// How the three windows reach each other: through the application object
// that created them.

class BoardWindow;
class ConsoleWindow;
class OptionsDialog;
struct Services;

class K40Windows {
public:
    virtual ~K40Windows() = default;
    virtual BoardWindow& panel() = 0;
    virtual ConsoleWindow& console() = 0;
    virtual OptionsDialog& options() = 0;
    virtual Services& services() = 0;
    // Writes the settings file (at the confirmed exit).
    virtual void saveSettings() = 0;
    // Ends the program at once.
    virtual void endProgram() = 0;
};
