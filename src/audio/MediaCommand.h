#pragma once
// The command texts of the sound channels' media command interface, parsed.
//
//   open "<file>" [type waveaudio|sequencer] [alias <name>] [wait] [notify]
//   play <name> [from <ms>] [wait] [notify]
//   stop <name> [wait] [notify]
//   close <name>|all [wait] [notify]
//
// Words are separated by blanks; a word in double quotes may hold blanks.
// Command words and keywords are taken in any letter case. Errors are
// reported with the numbers of the classic media control interface.

#include <QString>
#include <optional>

namespace MediaError {
constexpr qint32 None = 0;
constexpr qint32 UnrecognizedKeyword = 259;
constexpr qint32 UnrecognizedCommand = 261;
constexpr qint32 Hardware = 262;          // no audio output
constexpr qint32 InvalidDeviceName = 263; // no open device of that name
constexpr qint32 CannotLoadDriver = 266;  // no MIDI synthesiser (no sound font)
constexpr qint32 MissingCommandString = 267;
constexpr qint32 MissingStringArgument = 269;
constexpr qint32 BadInteger = 270;
constexpr qint32 FileNotFound = 275;
constexpr qint32 ExtensionNotFound = 281; // open without type, unknown extension
constexpr qint32 OutOfRange = 282;
constexpr qint32 DuplicateAlias = 289;
constexpr qint32 MissingDeviceName = 292;
constexpr qint32 NoClosingQuote = 294;
constexpr qint32 InvalidFile = 296; // unreadable or damaged sound file
} // namespace MediaError

struct MediaCommand {
    enum class Verb { Open, Play, Stop, Close };
    Verb verb = Verb::Close;
    // open: the file; play, stop, close: the device name (alias) or "all".
    QString device;
    // open: "waveaudio", "sequencer" (lower case), or empty when not given.
    QString type;
    // open: the alias, or empty when not given.
    QString alias;
    // play: the start position in milliseconds.
    std::optional<qint64> fromMs;
    bool wait = false;
};

// Parses one command text into out; returns MediaError::None or an error
// number.
qint32 parseMediaCommand(const QString& text, MediaCommand& out);
