#include "model/IniText.h"

#include "model/SafeFile.h"

namespace IniText {

namespace {

// Such a file is a few short lines; anything larger is not one.
constexpr qint64 MaxFileBytes = 64 * 1024;

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

} // namespace

QHash<QString, QString> read(const QString& path) {
    QHash<QString, QString> values;
    const SafeFile::Reading file = SafeFile::read(path, MaxFileBytes);
    if (!file.ok()) return values;
    const QString text = QString::fromUtf8(file.bytes);
    for (QStringView line : QStringView(text).split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || line.trimmed().startsWith(u'[') || line.trimmed().startsWith(u';'))
            continue;
        values.insert(line.left(eq).trimmed().toString(), valueOf(line.mid(eq + 1)));
    }
    return values;
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

} // namespace IniText
