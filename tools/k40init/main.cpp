// k40init: writes a first settings file for K40 whose folders point at the
// sample route and whose sounds are the sample chimes, so that the first
// run is seen and heard; given a ticket plug-in, the ticket preview is open
// with it. An existing settings file is left as it is.
//   k40init <settings.in4> <fare and announcement folder> <sound folder> [plug-in]

#include "model/SafeFile.h"
#include "model/StarterSettings.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
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
    // Written whole or not at all: an empty file left by a full disk would stay,
    // as the next run leaves an existing settings file alone.
    const SafeFile::Writing written = SafeFile::write(target, SettingsCodec::encode(r));
    if (!written.ok()) {
        err << SafeFile::describeInEnglish(target, written) << '\n';
        return 1;
    }
    return 0;
}
