#pragma once
// The text-to-speech engine of the announcement tape, and the voice it speaks
// with.

#include <QString>
#include <QStringList>

// The voice the engine speaks with: one of the voices it found, its speed
// (1 is normal), pitch (half-tones up or down) and volume (dB).
struct VoiceSettings {
    QString voice; // a name from SpeechEngine::voices(); empty: the first
    double speed = 1.0;
    double pitch = 0.0;
    double volume = 0.0;
    bool operator==(const VoiceSettings&) const = default;
};

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

    // The voices the engine can speak with, by name.
    virtual QStringList voices() const = 0;
    virtual VoiceSettings voice() const = 0;
    virtual void setVoice(const VoiceSettings& voice) = 0;
};
