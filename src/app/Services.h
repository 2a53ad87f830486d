#pragma once
// Everything K40 needs from the outside world, in one bundle: created once by
// main() and handed to the application object; tests hand in fakes.

class Clock;
class CompanionDialogs;
class SoundOutput;
class MessageBoxService;
class SpeechEngine;
class TicketEngine;
class WindowPlacement;

struct Services {
    MessageBoxService* messages = nullptr;
    CompanionDialogs* dialogs = nullptr;
    TicketEngine* tickets = nullptr;   // none: no ticket plug-in is accepted
    SoundOutput* sound = nullptr;      // none: every sound is silent
    SpeechEngine* speech = nullptr;    // none: announcements are unavailable
    Clock* clock = nullptr;
    WindowPlacement* windows = nullptr; // none: Qt's own
};
