// k40init: writes a first settings file for K40 whose folders point at the
// sample route and whose sounds are the sample chimes, so that the first
// run is seen and heard; given a ticket plug-in, the ticket preview is open
// with it. An existing settings file is left as it is.
//   k40init <settings.in4> <fare and announcement folder> <sound folder> [plug-in]

#include "model/SettingsRecord.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
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
    const QString data = QDir(args[2]).absolutePath();
    const QString sounds = QDir(args[3]).absolutePath() + u'/';

    SettingsRecord r;
    r.FareDataDir = data;
    r.TapeDataDir = data;
    r.RouteSetSound = sounds + QStringLiteral("route.wav");
    r.ResetSound = sounds + QStringLiteral("key.wav");
    // Step chimes chosen by data column 30 of the sample route (1 to 3).
    r.StepSoundAlways = 0;
    r.StepSoundByColumn = -1;
    r.StepSoundFile = sounds + QStringLiteral("step1.wav");
    r.StepSoundColumn = 29;
    r.StepSound1 = sounds + QStringLiteral("step1.wav");
    r.StepSound2 = sounds + QStringLiteral("step2.wav");
    r.StepSound3 = sounds + QStringLiteral("step3.wav");
    // Announcement chimes by the announcement's flag; the terminal plays a melody.
    r.TapeSoundAlways = 0;
    r.TapeSoundByFlag = -1;
    r.TapeSoundFile = sounds + QStringLiteral("announce.wav");
    r.TapeSound1 = sounds + QStringLiteral("announce.wav");
    r.TapeSound2 = sounds + QStringLiteral("announce.wav");
    r.TapeSound3 = sounds + QStringLiteral("melody.mid");
    // An amber strip with the "次は" prefix, as on most buses.
    r.ChimeiBackColor = 0x00202020;
    r.ChimeiForeColor = 0x0000A5FF;
    r.ChimeiFontMode = 0;
    r.ChimeiTsugiwaMode = 1;
    r.ChimeiTsugiwaColor = 0x0000D7FF;
    r.ChimeiTsugiwaFontMode = 0;
    r.DegitBackColor = 0x00101010;
    r.DegitBaseForeColor = 0x00303030;
    r.FixedDate = QDate::currentDate().toString(u"yyyy/MM/dd");
    r.ScrollSpeed = 30;
    r.ScrollWait = 1500;
    // The ticket preview open with the plug-in given.
    if (args.size() == 5) {
        r.UseSeiriPrev = 1;
        r.SeiriPlgFile = QFileInfo(args[4]).absoluteFilePath();
        r.PreviewOpen = 1;
    }
    // The console below the board.
    r.CtrlLeft = 0;
    r.CtrlTop = 300 * 15;

    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(SettingsCodec::encode(r)) < 0 ||
        !file.commit()) {
        err << target << ": cannot write: " << file.errorString() << '\n';
        return 1;
    }
    return 0;
}
