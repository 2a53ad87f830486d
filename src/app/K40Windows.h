#pragma once
// How the three windows reach each other: through the application object
// that created them.

class Form1;
class frmCtl;
class frmOption;
struct Services;

class K40Windows {
public:
    virtual ~K40Windows() = default;
    virtual Form1& panel() = 0;
    virtual frmCtl& console() = 0;
    virtual frmOption& options() = 0;
    virtual Services& services() = 0;
    // Writes the settings file (at the confirmed exit).
    virtual void saveSettings() = 0;
    // Ends the program at once.
    virtual void endProgram() = 0;
};
