// settingswriter <settings file>: saves two records in turn, as the exit
// does, until it is killed. Every text of one is "A"s, of the other "B"s, each
// far longer than a block; "ready" is printed after the first save.
#include "model/SettingsFile.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    SettingsRecord records[2];
    for (int i = 0; i < 2; ++i) {
        SettingsRecord& r = records[i];
        r.fareFolder = r.announcementFolder = r.modePictureFiles[0] = r.stepSound =
            QString(20000, QChar(u'A' + i));
        r.fixedDate = QString(10, QChar(u'A' + i));
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    SettingsFile::write(path, records[0]);
    QTextStream(stdout) << "ready" << Qt::endl;
    for (int i = 1;; ++i) SettingsFile::write(path, records[i % 2]);
}
