#include "sound/mdlSndAPI.h"

#include "platform/AppInfo.h"

#include <QFileInfo>

namespace mdlSndAPI {

QString Alias(const QString& channel) {
    return AppInfo::modelName() + channel;
}

QString DeviceType(const QString& file) {
    const QString extension = file.right(3).toUpper().trimmed();
    if (extension == u"WAV") return QStringLiteral("waveaudio");
    if (extension == u"MID") return QStringLiteral("sequencer");
    return {};
}

void PlaySnd(MediaCommands& mci, Clock& clock, const QString& file, const QString& channel,
             bool sync, qint16 waitMs) {
    if (file.isEmpty() || !QFileInfo(file).isFile()) return;
    const QString alias = Alias(channel);
    mci.sendString(u"close "_qs + alias);
    const QString type = DeviceType(file);
    if (type.isEmpty()) return;
    mci.sendString(u"open \""_qs + file + u"\" type "_qs + type + u" alias "_qs + alias +
                   u" wait"_qs);
    if (sync) {
        mci.sendString(u"play "_qs + alias + u" from 0 wait"_qs);
        // A negative pause counts as none.
        clock.wait(qMax<int>(waitMs, 0));
    } else {
        mci.sendString(u"stop "_qs + alias);
        mci.sendString(u"play "_qs + alias + u" from 0"_qs);
        clock.wait(0);
    }
}

void CloseAllSnd(MediaCommands& mci) {
    for (const char* channel : {"S1", "S2", "S3", "S4"})
        mci.sendString(u"close "_qs + Alias(QString::fromLatin1(channel)));
}

} // namespace mdlSndAPI
