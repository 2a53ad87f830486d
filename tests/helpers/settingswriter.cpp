// settingswriter: saves the settings file over and over, as the exit does,
// for the test that kills a save midway.
//   settingswriter <settings file>
// Two records take turns: every text of one is "A"s, of the other "B"s, and
// each is far longer than a block. "ready" is printed after the first save.
#include "model/SettingsFile.h"

#include <QCoreApplication>
#include <QTextStream>

SettingsRecord filled(QChar c) {
    SettingsRecord r;
    const QString text(20000, c);
    r.fareFolder = text;
    r.announcementFolder = text;
    r.modePictureFiles[0] = text;
    r.stepSound = text;
    r.fixedDate = QString(10, c);
    return r;
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const SettingsRecord records[2] = {filled(u'A'), filled(u'B')};
    SettingsFile::write(path, records[0]);
    QTextStream(stdout) << "ready" << Qt::endl;
    for (int i = 1;; ++i)
        SettingsFile::write(path, records[i % 2]);
}
