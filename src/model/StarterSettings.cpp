#include "model/StarterSettings.h"

#include <QDir>
#include <QFileInfo>

namespace StarterSettings {

SettingsRecord record(const QString& routeFolder, const QString& soundFolder,
                      const QString& plugin, const QDate& today) {
    const QString data = QDir(routeFolder).absolutePath();
    const QString sounds = QDir(soundFolder).absolutePath() + u'/';

    SettingsRecord r;
    r.fareFolder = data;
    r.announcementFolder = data;
    r.routeSetSound = sounds + QStringLiteral("route.wav");
    r.keySound = sounds + QStringLiteral("key.wav");
    // Step chimes chosen by a data column above the fares (1 to 3).
    r.stepSoundChoice = StepSoundChoice::ByColumn;
    r.stepSound = sounds + QStringLiteral("step1.wav");
    r.stepSoundColumn = StepChimeColumn - 1;
    r.infoColumnNumber = InfoColumn - 1;
    r.stepSoundsByValue = {sounds + QStringLiteral("step1.wav"), sounds + QStringLiteral("step2.wav"),
                           sounds + QStringLiteral("step3.wav")};
    // Announcement chimes by the announcement's flag; the terminal plays a melody.
    r.tapeSoundChoice = TapeSoundChoice::ByFlag;
    r.tapeSound = sounds + QStringLiteral("announce.wav");
    r.tapeSoundsByFlag = {sounds + QStringLiteral("announce.wav"),
                          sounds + QStringLiteral("announce.wav"),
                          sounds + QStringLiteral("melody.mid")};
    // An amber strip with the "次は" prefix, as on most buses.
    r.stripBackColor = 0x00202020;
    r.stripDotColor = 0x0000A5FF;
    r.stripFont = 0;
    r.prefixMode = 1;
    r.prefixColor = 0x0000D7FF;
    r.prefixFont = 0;
    r.digitBackColor = 0x00101010;
    r.digitUnlitColor = 0x00303030;
    r.fixedDate = today.toString(u"yyyy/MM/dd");
    r.scrollSpeed = 30;
    r.scrollWait = 1500;
    // The ticket preview open with the plug-in given.
    if (!plugin.isEmpty()) {
        r.useTicketPreview = Check::Checked;
        r.ticketPlugin = QFileInfo(plugin).absoluteFilePath();
        r.previewOpen = true;
    }
    // The console below the board.
    r.consoleLeft = 0;
    r.consoleTop = 300 * 15;
    return r;
}

} // namespace StarterSettings
