#pragma once
// The text-to-speech engine of the announcement tape.

#include <QString>

class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    // Creates the engine; false when no engine can be had.
    virtual bool create() = 0;
    // Starts speaking a Japanese text and returns at once.
    virtual void speak(const QString& text) = 0;
    // Silences the engine at once.
    virtual void stop() = 0;
    virtual bool isSpeaking() const = 0;
    virtual void release() = 0;
};
