#include "model/AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString& overridePath() {
    static QString path;
    return path;
}

QString executablePath() {
    if (!overridePath().isEmpty()) return overridePath();
    return QCoreApplication::applicationFilePath();
}
} // namespace

namespace AppInfo {

QString title() { return QStringLiteral("カルテラVer4"); }

QString modelName() { return QFileInfo(executablePath()).completeBaseName(); }

QString executableDir() { return QFileInfo(executablePath()).absolutePath(); }

QString installedDataDir() {
    const QDir exe(executableDir());
    if (exe.dirName() != u"bin") return QString();
    const QString data = QDir::cleanPath(exe.absoluteFilePath(QStringLiteral("../share/k40")));
    return QFileInfo(data).isDir() ? data : QString();
}

bool isInstalled() { return !installedDataDir().isEmpty(); }

QString dataDir() {
    const QString installed = installedDataDir();
    return installed.isEmpty() ? executableDir() : installed;
}

QString settingsDir() {
    if (!isInstalled()) return executableDir();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           modelName();
}

QString userVoicesDir() {
    if (!isInstalled()) return executableDir() + QStringLiteral("/voices");
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u'/' +
           modelName() + QStringLiteral("/voices");
}

void setExecutablePath(const QString& path) { overridePath() = path; }

int versionMajor() { return K40_VERSION_MAJOR; }
int versionMinor() { return K40_VERSION_MINOR; }
int versionRevision() { return K40_VERSION_PATCH; }

} // namespace AppInfo
