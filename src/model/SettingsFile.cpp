#include "model/SettingsFile.h"

#include "model/AppInfo.h"
#include "model/K40Error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SettingsFile {

QString path() {
    QString dir = AppInfo::settingsDir();
    if (!dir.endsWith(u'/')) dir += u'/';
    return dir + AppInfo::modelName() + QStringLiteral(".in4");
}

SettingsRecord read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo::exists(path)) throw K40Error(K40Error::FileNotFound);
        throw K40Error(K40Error::PathFileAccessError);
    }
    if (file.size() > MaxFileBytes)
        throw K40Error(K40Error::OutOfMemory,
                       QStringLiteral("設定ファイルが大きすぎます（%1 バイト、上限 %2 バイト）。")
                           .arg(file.size())
                           .arg(MaxFileBytes));
    SettingsRecord record;
    SettingsCodec::decode(file.readAll(), record);
    return record;
}

void write(const QString& path, const SettingsRecord& record) {
    const QByteArray bytes = SettingsCodec::encode(record);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw K40Error(QFileInfo(QFileInfo(path).path()).isDir() ? K40Error::PathFileAccessError
                                                                 : K40Error::PathNotFound);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw K40Error(K40Error::DeviceIoError);
}

QString errorText(int number, const QString& description) {
    return QStringLiteral("エラー Code:%1\r\n内容:").arg(number) + description;
}

} // namespace SettingsFile
