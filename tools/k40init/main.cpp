// k40init: writes a first settings file for K40 whose folders point at the
// sample route and whose sounds are the sample chimes, so that the first
// run is seen and heard; given a ticket plug-in, the ticket preview is open
// with it. An existing settings file is left as it is.
//   k40init <settings.in4> <fare and announcement folder> <sound folder> [plug-in]

#include "model/StarterSettings.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 4 && args.size() != 5) {
        err << "usage: k40init <settings.in4> <data folder> <sound folder> [ticket plug-in]\n";
        return 2;
    }
    const QString target = args[1];
    if (QFileInfo::exists(target)) return 0;
    const SettingsRecord r = StarterSettings::record(args[2], args[3], args.value(4),
                                                     QDate::currentDate());
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(SettingsCodec::encode(r)) < 0 ||
        !file.commit()) {
        err << target << ": cannot write: " << file.errorString() << '\n';
        return 1;
    }
    return 0;
}
