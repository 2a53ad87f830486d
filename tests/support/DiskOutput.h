#pragma once
// A real audio output that SDL's "disk" driver writes to a file, in real
// time, so that tests can see what reached the output: two 32-bit float
// channels interleaved, at the output's rate.

#include "TestFiles.h"
#include "audio/SdlSoundOutput.h"

#include <QFileInfo>
#include <cstring>
#include <memory>
#include <vector>

struct DiskOutput {
    explicit DiskOutput(const QString& file) : path(file) {
        const QByteArray previous = qgetenv("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(file));
        output = std::make_unique<SdlSoundOutput>();
        qputenv("SDL_AUDIODRIVER", previous);
    }

    // The frames written so far.
    qint64 framesWritten() const { return QFileInfo(path).size() / 8; }

    // The left channel of everything written (after the output is closed, all).
    std::vector<float> left() const {
        const QByteArray raw = readFile(path);
        std::vector<float> samples(static_cast<size_t>(raw.size()) / 8);
        for (size_t i = 0; i < samples.size(); ++i)
            std::memcpy(&samples[i], raw.constData() + 8 * i, 4);
        return samples;
    }

    QString path;
    std::unique_ptr<SdlSoundOutput> output;
};
