#pragma once
// Everything K40 needs from the outside world, in one bundle: created once by
// main() and handed to the application object; tests hand in fakes.

class Clock;
class CompanionDialogs;
class MediaCommands;
class MessageBoxService;
class SpeechEngine;
class TicketEngine;

struct Services {
    MessageBoxService* messages = nullptr;
    CompanionDialogs* dialogs = nullptr;
    TicketEngine* tickets = nullptr;
    MediaCommands* sound = nullptr;
    SpeechEngine* speech = nullptr;
    Clock* clock = nullptr;
};
