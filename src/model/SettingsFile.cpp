#include "model/SettingsFile.h"

#include "model/AppInfo.h"
#include "model/K40Error.h"

#include "model/SafeFile.h"

namespace SettingsFile {

QString path() {
    QString dir = AppInfo::settingsDir();
    if (!dir.endsWith(u'/')) dir += u'/';
    return dir + AppInfo::modelName() + QStringLiteral(".in4");
}

SettingsCodec::Decoded read(const QString& path) {
    const SafeFile::Reading file = SafeFile::read(path, MaxFileBytes);
    switch (file.status) {
    case SafeFile::Reading::Status::Read:
        break;
    case SafeFile::Reading::Status::NotFound:
        throw K40Error(K40Error::FileNotFound);
    case SafeFile::Reading::Status::TooLarge:
        throw K40Error(K40Error::OutOfMemory,
                       QStringLiteral("設定ファイルが大きすぎます（%1 バイト、上限 %2 バイト）。")
                           .arg(file.size)
                           .arg(MaxFileBytes));
    case SafeFile::Reading::Status::Failed:
        throw K40Error(K40Error::DeviceIoError, SafeFile::describe(path, file));
    case SafeFile::Reading::Status::NotRegular:
        throw K40Error(K40Error::PathFileAccessError, SafeFile::describe(path, file));
    case SafeFile::Reading::Status::Unreadable:
        throw K40Error(K40Error::PathFileAccessError);
    }
    return SettingsCodec::decode(file.bytes);
}

void write(const QString& path, const SettingsRecord& record) {
    const QByteArray bytes = SettingsCodec::encode(record);
    const SafeFile::Writing written = SafeFile::write(path, bytes);
    switch (written.status) {
    case SafeFile::Writing::Status::Written:
        return;
    case SafeFile::Writing::Status::NoFolder:
        throw K40Error(K40Error::PathNotFound);
    case SafeFile::Writing::Status::NotRegular:
    case SafeFile::Writing::Status::CannotCreate:
        throw K40Error(K40Error::PathFileAccessError, SafeFile::describe(path, written));
    case SafeFile::Writing::Status::Failed:
        break;
    }
    throw K40Error(K40Error::DeviceIoError, SafeFile::describe(path, written));
}

QString errorText(int number, const QString& description) {
    return QStringLiteral("エラー Code:%1\r\n内容:").arg(number) + description;
}

} // namespace SettingsFile
