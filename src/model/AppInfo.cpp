#include "model/AppInfo.h"

#include <QCoreApplication>
#include <QFileInfo>

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

void setExecutablePath(const QString& path) { overridePath() = path; }

int versionMajor() { return K40_VERSION_MAJOR; }
int versionMinor() { return K40_VERSION_MINOR; }
int versionRevision() { return K40_VERSION_PATCH; }

} // namespace AppInfo
