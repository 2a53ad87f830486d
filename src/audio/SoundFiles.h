#pragma once
// The sounds of files for a sound output, at the output's rate: wave files
// decoded by SoundDecoder, MIDI files rendered by a MidiRenderer of its own.
// Decoded sounds are kept, by file, format and the file's size and time, so
// that playing a sound again costs no decoding.
//
// decode() may run on a thread of its own (one at a time: the MIDI
// synthesiser is not shared); kept() and keep() stay on the caller's thread.

#include "model/SoundOutput.h"

#include <QString>
#include <memory>
#include <vector>

class QFileInfo;
class MidiRenderer;

class SoundFiles {
public:
    explicit SoundFiles(int rate);
    ~SoundFiles();
    SoundFiles(const SoundFiles&) = delete;
    SoundFiles& operator=(const SoundFiles&) = delete;

    // The kept sound of a file, when the file has not changed since.
    std::shared_ptr<const PcmSound> kept(const QFileInfo& file, SoundOutput::Format format);
    // Decodes a file in full; nullptr, with failure set, when it cannot play.
    std::shared_ptr<const PcmSound> decode(const QString& path, SoundOutput::Format format,
                                           SoundOutput::Result& failure);
    // Keeps a decoded sound, unless the file changed from before meanwhile.
    void keep(const QFileInfo& before, SoundOutput::Format format,
              std::shared_ptr<const PcmSound> sound);

    // The kept sounds take at most this many bytes.
    static constexpr qint64 MaxKeptBytes = 256 * 1024 * 1024;

private:
    struct Kept {
        QString key;
        qint64 size = 0;
        qint64 modified = 0;
        std::shared_ptr<const PcmSound> sound;
    };
    QString key(const QFileInfo& file, SoundOutput::Format format) const;

    int rate_;
    std::unique_ptr<MidiRenderer> midi_;
    std::vector<Kept> kept_; // the most recently used last
};
