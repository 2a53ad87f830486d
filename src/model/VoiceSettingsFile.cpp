#include "model/VoiceSettingsFile.h"

#include "model/AppInfo.h"
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

// A voice file is a few short lines; anything larger is not one.
constexpr qint64 MaxFileBytes = 64 * 1024;

// The value of an INI line: quoted (with \" and \\ inside) or as it stands.
QString valueOf(QStringView raw) {
    raw = raw.trimmed();
    if (!raw.startsWith(u'"')) return raw.toString();
    QString v;
    for (qsizetype i = 1; i < raw.size() && raw[i] != u'"'; ++i) {
        if (raw[i] == u'\\' && i + 1 < raw.size()) ++i;
        v += raw[i];
    }
    return v;
}

QString quoted(const QString& text) {
    QString q = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'"' || c == u'\\') q += u'\\';
        if (c == u'\n' || c == u'\r') c = u' ';
        q += c;
    }
    return q + u'"';
}

// A number, or def for one that is missing, not a number or outside low..high.
double number(const QString& text, double def, double low, double high) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) && v >= low && v <= high ? v : def;
}

} // namespace

VoiceSettings read(const QString& path) {
    // Lines "key=value", as an INI file has them; sections and comments are
    // passed over. A file that is missing, no regular file or too large gives
    // the default voice.
    const SafeFile::Reading file = SafeFile::read(path, MaxFileBytes);
    QString voice, speed, pitch, volume;
    if (file.ok()) {
        const QString text = QString::fromUtf8(file.bytes);
        for (QStringView line : QStringView(text).split(u'\n')) {
            const qsizetype eq = line.indexOf(u'=');
            if (eq < 0 || line.trimmed().startsWith(u'[') || line.trimmed().startsWith(u';'))
                continue;
            const QStringView key = line.left(eq).trimmed();
            const QString value = valueOf(line.mid(eq + 1));
            if (key == u"voice") voice = value;
            else if (key == u"speed") speed = value;
            else if (key == u"pitch") pitch = value;
            else if (key == u"volume") volume = value;
        }
    }
    VoiceSettings v;
    v.voice = voice;
    v.speed = number(speed, 1.0, 0.5, 2.0);
    v.pitch = number(pitch, 0.0, -12.0, 12.0);
    v.volume = number(volume, 0.0, -20.0, 20.0);
    return v;
}

bool write(const QString& path, const VoiceSettings& v) {
    const QString text = QStringLiteral("[General]\nvoice=%1\nspeed=%2\npitch=%3\nvolume=%4\n")
                             .arg(quoted(v.voice))
                             .arg(v.speed)
                             .arg(v.pitch)
                             .arg(v.volume);
    return SafeFile::write(path, text.toUtf8()).ok();
}

} // namespace VoiceSettingsFile
