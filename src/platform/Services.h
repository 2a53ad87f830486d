#pragma once
// The small interfaces through which the system reaches the outside world:
// message boxes, the clock (and every blocking wait), the media command
// interface of the sound channels and the speech engine. They are created once
// by the application object and handed to whoever needs them; tests hand in
// recording fakes instead.

#include <QDateTime>
#include <QString>

class QWidget;
class CompanionDialogs;
class TicketPluginEngine;

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows a modal message box owned by owner (may be null) and returns the
    // button the user chose.
    virtual MsgAnswer show(QWidget* owner, const QString& text, const QString& title, MsgIcon icon,
                           MsgButtons buttons) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // The local date and time.
    virtual QDateTime now() const = 0;
    // A monotonic count of milliseconds, for pacing animations.
    virtual qint64 monotonicMs() const = 0;
    // Blocks for ms milliseconds; windows stay painted but user input is held
    // back until the wait ends.
    virtual void wait(int ms) = 0;
};

// The media command interface of the sound channels: one command text in,
// a result code out (0 = success).
class MediaCommands {
public:
    virtual ~MediaCommands() = default;
    virtual qint32 sendString(const QString& command) = 0;
};

// The text-to-speech engine of the announcement tape.
class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    // Creates the engine; false when no engine can be had.
    virtual bool create() = 0;
    // Starts speaking a Japanese text and returns at once.
    virtual void speak(const QString& text) = 0;
    virtual void stopSpeaking() = 0;
    virtual bool speakingFlag() const = 0;
    // The engine's own voice settings dialog, modal to owner.
    virtual void settingsDialog(QWidget* owner, const QString& title) = 0;
    virtual void release() = 0;
};

// Everything the windows and modules need from outside, in one bundle.
struct Services {
    MessageBoxService* messages = nullptr;
    CompanionDialogs* dialogs = nullptr;
    TicketPluginEngine* tickets = nullptr;
    MediaCommands* sound = nullptr;
    SpeechEngine* speech = nullptr;
    Clock* clock = nullptr;
};
