#include "model/Settings.h"

#include "model/K40Error.h"

#include <initializer_list>
#include <utility>

namespace {

// The checks of the options dialog's controls.
// Error 380, naming the field of the settings file and the value it holds.
[[noreturn]] void outOfRange(const char* field, qint32 value) {
    throw K40Error(K40Error::InvalidPropertyValue,
                   K40Error::standardDescription(K40Error::InvalidPropertyValue) +
                       QStringLiteral("（設定ファイルの %1 が %2）")
                           .arg(QLatin1StringView(field))
                           .arg(value));
}

qint16 check(qint16 v, const char* field) {
    if (v < 0 || v > 2) outOfRange(field, v);
    return v; // 2 is a check box in its third state
}

qint16 listPosition(qint16 v, const char* field, int count) {
    if (v < -1 || v >= count) outOfRange(field, v);
    return v;
}

// A group of option buttons: the chosen one's flag is -1, the others' 0.
// Stored flags choose the last button whose flag is not 0; a group stored
// all 0 has no button chosen, and is saved so again.
void takeGroup(std::initializer_list<std::pair<qint16*, qint16>> flags) {
    qint16* chosen = nullptr;
    for (const auto& [live, stored] : flags)
        if (stored != 0) chosen = live;
    for (const auto& [live, stored] : flags) *live = live == chosen ? -1 : 0;
}

} // namespace

Settings::Settings(const QDate& today, QObject* parent) : QObject(parent) {
    record_.FixedDate = today.toString(u"yyyy/MM/dd");
    record_.ScrollSpeed = 30;
    record_.ScrollWait = 1500;
}

void Settings::commitOptions(const SettingsRecord& edited) {
    SettingsRecord next = edited;
    // What the options dialog does not edit stays.
    next.CtrlPage = record_.CtrlPage;
    next.ScrollSpeed = record_.ScrollSpeed;
    next.ScrollWait = record_.ScrollWait;
    next.LateNight = record_.LateNight;
    next.PreviewOpen = record_.PreviewOpen;
    next.CtrlLeft = record_.CtrlLeft;
    next.CtrlTop = record_.CtrlTop;
    next.PanelLeft = record_.PanelLeft;
    next.PanelTop = record_.PanelTop;
    next.DigitCellSettings = record_.DigitCellSettings;
    record_ = next;
    emit optionsCommitted();
}

void Settings::setScrollSpeed(qint32 speed) {
    if (record_.ScrollSpeed == speed) return;
    record_.ScrollSpeed = speed;
    emit consoleStateChanged();
}

void Settings::setScrollWait(qint32 ms) {
    if (record_.ScrollWait == ms) return;
    record_.ScrollWait = ms;
    emit consoleStateChanged();
}

void Settings::setEntryPage(qint16 page) {
    const qint16 p = page == 0 ? 0 : 1;
    if (record_.CtrlPage == p) return;
    record_.CtrlPage = p;
    emit consoleStateChanged();
}

void Settings::setPreviewOpen(bool open) {
    if ((record_.PreviewOpen == 1) == open) return;
    record_.PreviewOpen = open ? 1 : 0;
    emit consoleStateChanged();
}

void Settings::setLateNight(bool on) {
    if ((record_.LateNight == 1) == on) return;
    record_.LateNight = on ? 1 : 0;
    emit consoleStateChanged();
}

void Settings::takeCustomColors(const SettingsRecord& stored) {
    record_.CustomColors = stored.CustomColors;
}

void Settings::takeOptions(const SettingsRecord& s,
                           const std::function<void()>& afterPanelPictures) {
    SettingsRecord& r = record_;
    // Folders.
    r.FareDataDir = s.FareDataDir;
    r.TapeDataDir = s.TapeDataDir;
    // Ticket numbers and panel pictures.
    r.UseSeiriNum = check(s.UseSeiriNum, "UseSeiriNum");
    r.SeiriNumColorOff = s.SeiriNumColorOff;
    r.SeiriNumColorOn1 = s.SeiriNumColorOn1;
    r.SeiriNumColorOn2 = s.SeiriNumColorOn2;
    r.SeiriNumStyle = listPosition(s.SeiriNumStyle, "SeiriNumStyle", OptionLists::TicketLayouts);
    r.SeiriNumZeroPad = check(s.SeiriNumZeroPad, "SeiriNumZeroPad");
    takeGroup({{&r.PanelAuto, s.PanelAuto}, {&r.PanelManual, s.PanelManual}});
    takeGroup({{&r.PanelOffBuiltIn, s.PanelOffBuiltIn}, {&r.PanelOffUser, s.PanelOffUser}});
    takeGroup({{&r.PanelOn1BuiltIn, s.PanelOn1BuiltIn}, {&r.PanelOn1User, s.PanelOn1User}});
    takeGroup({{&r.PanelOn2BuiltIn, s.PanelOn2BuiltIn}, {&r.PanelOn2User, s.PanelOn2User}});
    r.PanelOffFile = s.PanelOffFile;
    r.PanelOn1File = s.PanelOn1File;
    r.PanelOn2File = s.PanelOn2File;
    if (afterPanelPictures) afterPanelPictures();
    // Digit colours and information digits.
    r.DigitBackColor = s.DigitBackColor;
    r.DigitBaseForeColor = s.DigitBaseForeColor;
    r.DigitForeColor = s.DigitForeColor;
    r.InfoSectionOn = check(s.InfoSectionOn, "InfoSectionOn");
    r.InfoSectionCell = listPosition(s.InfoSectionCell, "InfoSectionCell", OptionLists::Cells);
    r.InfoSectionFromZero = check(s.InfoSectionFromZero, "InfoSectionFromZero");
    r.InfoSeiriOn = check(s.InfoSeiriOn, "InfoSeiriOn");
    r.InfoSeiriCell = listPosition(s.InfoSeiriCell, "InfoSeiriCell", OptionLists::Cells);
    r.InfoRouteOn = check(s.InfoRouteOn, "InfoRouteOn");
    r.InfoRouteCell = listPosition(s.InfoRouteCell, "InfoRouteCell", OptionLists::Cells);
    r.InfoColumnOn = check(s.InfoColumnOn, "InfoColumnOn");
    r.InfoColumnNo = listPosition(s.InfoColumnNo, "InfoColumnNo", OptionLists::Columns);
    r.InfoColumnCell = listPosition(s.InfoColumnCell, "InfoColumnCell", OptionLists::Cells);
    // Stop-name display.
    r.ChimeiBackColor = s.ChimeiBackColor;
    r.ChimeiForeColor = s.ChimeiForeColor;
    r.ChimeiFontMode = listPosition(s.ChimeiFontMode, "ChimeiFontMode", OptionLists::NameFonts);
    r.ChimeiFontBold = check(s.ChimeiFontBold, "ChimeiFontBold");
    r.ChimeiTsugiwaMode = listPosition(s.ChimeiTsugiwaMode, "ChimeiTsugiwaMode", OptionLists::PrefixModes);
    r.ChimeiTsugiwaColor = s.ChimeiTsugiwaColor;
    r.ChimeiTsugiwaFontMode = listPosition(s.ChimeiTsugiwaFontMode, "ChimeiTsugiwaFontMode", OptionLists::PrefixFonts);
    r.ChimeiTsugiwaBold = check(s.ChimeiTsugiwaBold, "ChimeiTsugiwaBold");
    // Sounds.
    r.RouteSetSound = s.RouteSetSound;
    r.ResetSound = s.ResetSound;
    takeGroup({{&r.StepSoundAlways, s.StepSoundAlways}, {&r.StepSoundByColumn, s.StepSoundByColumn}});
    takeGroup({{&r.StepSoundSync, s.StepSoundSync}, {&r.StepSoundAsync, s.StepSoundAsync}});
    r.StepSoundFile = s.StepSoundFile;
    r.StepSoundColumn = listPosition(s.StepSoundColumn, "StepSoundColumn", OptionLists::Columns);
    r.StepSound1 = s.StepSound1;
    r.StepSound2 = s.StepSound2;
    r.StepSound3 = s.StepSound3;
    takeGroup({{&r.TapeSoundAlways, s.TapeSoundAlways}, {&r.TapeSoundByFlag, s.TapeSoundByFlag}});
    takeGroup({{&r.TapeSoundSync, s.TapeSoundSync}, {&r.TapeSoundAsync, s.TapeSoundAsync}});
    r.TapeSoundFile = s.TapeSoundFile;
    r.TapeSound1 = s.TapeSound1;
    r.TapeSound2 = s.TapeSound2;
    r.TapeSound3 = s.TapeSound3;
    // Ticket preview.
    r.UseSeiriPrev = check(s.UseSeiriPrev, "UseSeiriPrev");
    r.SeiriPlgFile = s.SeiriPlgFile;
    takeGroup({{&r.DateEachPrint, s.DateEachPrint},
               {&r.DateAtRouteSet, s.DateAtRouteSet},
               {&r.DateFixed, s.DateFixed}});
    r.FixedDate = s.FixedDate;
}

void Settings::takeConsoleState(const SettingsRecord& s) {
    const auto within = [](qint32 v, const char* field, qint32 low, qint32 high) {
        if (v < low || v > high) outOfRange(field, v);
        return v;
    };
    try {
        record_.ScrollSpeed = within(s.ScrollSpeed, "ScrollSpeed", 1, 2000);
        record_.ScrollWait = within(s.ScrollWait, "ScrollWait", 0, 3000);
        within(s.PreviewOpen, "PreviewOpen", 0, 1);
        within(s.LateNight, "LateNight", 0, 2);
    } catch (const K40Error&) {
        emit consoleStateChanged(); // what was taken before shows all the same
        throw;
    }
    record_.CtrlPage = s.CtrlPage == 0 ? 0 : 1;
    record_.PreviewOpen = s.PreviewOpen;
    record_.LateNight = s.LateNight == 1 ? 1 : 0; // the third state shows unticked
    emit consoleStateChanged();
}
