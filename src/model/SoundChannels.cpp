#include "model/SoundChannels.h"

#include <QFileInfo>

QString channelName(SoundOutput::Channel channel) {
    switch (channel) {
    case SoundOutput::Channel::S1: return QStringLiteral("S1");
    case SoundOutput::Channel::S2: return QStringLiteral("S2");
    case SoundOutput::Channel::S3: return QStringLiteral("S3");
    case SoundOutput::Channel::S4: return QStringLiteral("S4");
    case SoundOutput::Channel::Voice: break;
    }
    return QStringLiteral("Voice");
}

std::optional<SoundOutput::Format> SoundChannels::formatOf(const QString& file) {
    const QString extension = file.right(3).toUpper().trimmed();
    if (extension == u"WAV") return SoundOutput::Format::Wave;
    if (extension == u"MID") return SoundOutput::Format::Midi;
    return std::nullopt;
}

void SoundChannels::play(const QString& file, Channel channel, Play how) const {
    if (!output_ || file.isEmpty() || !QFileInfo(file).isFile()) return;
    const std::optional<SoundOutput::Format> format = formatOf(file);
    if (!format) {
        output_->close(channel);
        return;
    }
    output_->play(channel, file, *format,
                  how == Play::Sync ? SoundOutput::Wait::ForEnd : SoundOutput::Wait::ForStart);
}

void SoundChannels::closeAll() const {
    if (!output_) return;
    for (Channel c : {Channel::S1, Channel::S2, Channel::S3, Channel::S4}) output_->close(c);
}
