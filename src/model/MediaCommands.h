#pragma once
// The media command interface of the sound channels: one command text in
// ("open", "play", "stop", "close"; see audio/MediaCommand.h), a result code
// out (0 = success). The real one plays through the audio output; tests
// record the commands.

#include <QString>

class MediaCommands {
public:
    virtual ~MediaCommands() = default;
    virtual qint32 sendString(const QString& command) = 0;
};
