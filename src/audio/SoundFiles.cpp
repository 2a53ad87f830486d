#include "audio/SoundFiles.h"

#include "audio/SoundDecoder.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>

SoundFiles::SoundFiles(int rate) : rate_(rate), midi_(std::make_unique<MidiRenderer>(rate)) {}

SoundFiles::~SoundFiles() = default;

QString SoundFiles::key(const QFileInfo& file, SoundOutput::Format format) const {
    return QString::number(int(format)) + u'|' + QString::number(rate_) + u'|' +
           file.absoluteFilePath();
}

std::shared_ptr<const PcmSound> SoundFiles::decode(const QString& path, SoundOutput::Format format,
                                                   SoundOutput::Result& failure) {
    std::shared_ptr<const PcmSound> sound;
    failure = SoundOutput::Result::Unplayable;
    if (format == SoundOutput::Format::Midi) {
        if (!midi_->available())
            failure = SoundOutput::Result::NoSynthesiser;
        else
            sound = midi_->render(path);
    } else {
        sound = SoundDecoder::decodeWave(path, rate_);
    }
    return sound;
}

std::shared_ptr<const PcmSound> SoundFiles::kept(const QFileInfo& file,
                                                 SoundOutput::Format format) {
    const QString k = key(file, format);
    const auto it = std::find_if(kept_.begin(), kept_.end(), [&](const Kept& e) { return e.key == k; });
    if (it == kept_.end()) return nullptr;
    if (it->size != file.size() || it->modified != file.lastModified().toMSecsSinceEpoch()) {
        kept_.erase(it); // the file changed
        return nullptr;
    }
    Kept e = std::move(*it);
    kept_.erase(it);
    kept_.push_back(std::move(e)); // the most recently used
    return kept_.back().sound;
}

void SoundFiles::keep(const QFileInfo& before, SoundOutput::Format format,
                      std::shared_ptr<const PcmSound> sound) {
    const QString k = key(before, format);
    std::erase_if(kept_, [&](const Kept& e) { return e.key == k; });
    // A file changed while it was decoded is not kept as it was.
    const QFileInfo file(before.absoluteFilePath());
    if (!file.isFile() || file.size() != before.size() ||
        file.lastModified() != before.lastModified())
        return;
    kept_.push_back({k, file.size(), file.lastModified().toMSecsSinceEpoch(), std::move(sound)});
    const auto bytes = [](const Kept& e) { return qint64(e.sound->samples.size() * sizeof(float)); };
    qint64 total = 0;
    for (const Kept& e : kept_) total += bytes(e);
    while (total > MaxKeptBytes && kept_.size() > 1) {
        total -= bytes(kept_.front());
        kept_.erase(kept_.begin());
    }
}
