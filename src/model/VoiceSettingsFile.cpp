#include "model/VoiceSettingsFile.h"

#include "model/AppInfo.h"
#include "model/IniText.h"
#include "model/SafeFile.h"

#include <QStringList>
#include <cmath>

namespace VoiceSettingsFile {

QString path() {
    QString dir = AppInfo::settingsDir();
    if (!dir.endsWith(u'/')) dir += u'/';
    return dir + AppInfo::modelName() + QStringLiteral("-voice.ini");
}

namespace {

// A number, or def for one that is missing, not a number or outside low..high.
double number(const QString& text, double def, double low, double high) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) && v >= low && v <= high ? v : def;
}

} // namespace

VoiceSettings read(const QString& path) {
    const QHash<QString, QString> values = IniText::read(path);
    VoiceSettings v;
    v.voice = values.value(QStringLiteral("voice"));
    v.speed = number(values.value(QStringLiteral("speed")), 1.0, 0.5, 2.0);
    v.pitch = number(values.value(QStringLiteral("pitch")), 0.0, -12.0, 12.0);
    v.volume = number(values.value(QStringLiteral("volume")), 0.0, -20.0, 20.0);
    return v;
}

bool write(const QString& path, const VoiceSettings& v) {
    const QString text = QStringLiteral("[General]\nvoice=%1\nspeed=%2\npitch=%3\nvolume=%4\n")
                             .arg(IniText::quoted(v.voice))
                             .arg(v.speed)
                             .arg(v.pitch)
                             .arg(v.volume);
    return SafeFile::write(path, text.toUtf8()).ok();
}

} // namespace VoiceSettingsFile
