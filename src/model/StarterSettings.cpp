#include "model/StarterSettings.h"

#include <QDir>
#include <QFileInfo>

namespace StarterSettings {

SettingsRecord record(const QString& routeFolder, const QString& soundFolder,
                      const QString& plugin, const QDate& today) {
    const QString data = QDir(routeFolder).absolutePath();
    const QString sounds = QDir(soundFolder).absolutePath() + u'/';

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
    r.DigitBackColor = 0x00101010;
    r.DigitBaseForeColor = 0x00303030;
    r.FixedDate = today.toString(u"yyyy/MM/dd");
    r.ScrollSpeed = 30;
    r.ScrollWait = 1500;
    // The ticket preview open with the plug-in given.
    if (!plugin.isEmpty()) {
        r.UseSeiriPrev = 1;
        r.SeiriPlgFile = QFileInfo(plugin).absoluteFilePath();
        r.PreviewOpen = 1;
    }
    // The console below the board.
    r.CtrlLeft = 0;
    r.CtrlTop = 300 * 15;
    return r;
}

} // namespace StarterSettings
