#include "model/VoiceSettingsFile.h"

#include "model/AppInfo.h"

#include <QSettings>
#include <cmath>

namespace VoiceSettingsFile {

QString path() {
    QString dir = AppInfo::settingsDir();
    if (!dir.endsWith(u'/')) dir += u'/';
    return dir + AppInfo::modelName() + QStringLiteral("-voice.ini");
}

namespace {
// A number of the file, or def for one that is missing, not a number or
// outside low..high.
double number(const QSettings& file, const QString& key, double def, double low, double high) {
    bool ok = false;
    const double v = file.value(key).toDouble(&ok);
    return ok && std::isfinite(v) && v >= low && v <= high ? v : def;
}
} // namespace

VoiceSettings read(const QString& path) {
    const QSettings file(path, QSettings::IniFormat);
    VoiceSettings v;
    v.voice = file.value(QStringLiteral("voice")).toString();
    v.speed = number(file, QStringLiteral("speed"), 1.0, 0.5, 2.0);
    v.pitch = number(file, QStringLiteral("pitch"), 0.0, -12.0, 12.0);
    v.volume = number(file, QStringLiteral("volume"), 0.0, -20.0, 20.0);
    return v;
}

bool write(const QString& path, const VoiceSettings& v) {
    QSettings file(path, QSettings::IniFormat);
    file.setValue(QStringLiteral("voice"), v.voice);
    file.setValue(QStringLiteral("speed"), v.speed);
    file.setValue(QStringLiteral("pitch"), v.pitch);
    file.setValue(QStringLiteral("volume"), v.volume);
    file.sync();
    return file.status() == QSettings::NoError;
}

} // namespace VoiceSettingsFile
