#include "model/SoundChannels.h"

#include "model/AppInfo.h"
#include "model/MediaCommands.h"

#include <QFileInfo>

QString SoundChannels::alias(const QString& channel) { return AppInfo::modelName() + channel; }

QString SoundChannels::deviceType(const QString& file) {
    const QString extension = file.right(3).toUpper().trimmed();
    if (extension == u"WAV") return QStringLiteral("waveaudio");
    if (extension == u"MID") return QStringLiteral("sequencer");
    return {};
}

void SoundChannels::play(const QString& file, const QString& channel, Play how) const {
    if (!commands_ || file.isEmpty() || !QFileInfo(file).isFile()) return;
    const QString name = alias(channel);
    commands_->sendString(u"close "_qs + name);
    const QString type = deviceType(file);
    if (type.isEmpty()) return;
    commands_->sendString(u"open \""_qs + file + u"\" type "_qs + type + u" alias "_qs + name +
                          u" wait"_qs);
    if (how == Play::Sync) {
        commands_->sendString(u"play "_qs + name + u" from 0 wait"_qs);
    } else {
        commands_->sendString(u"stop "_qs + name);
        commands_->sendString(u"play "_qs + name + u" from 0"_qs);
    }
}

void SoundChannels::closeAll() const {
    if (!commands_) return;
    for (const char* channel : {"S1", "S2", "S3", "S4"})
        commands_->sendString(u"close "_qs + alias(QString::fromLatin1(channel)));
}
