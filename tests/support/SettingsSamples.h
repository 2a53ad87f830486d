#pragma once
// Settings used by the tests of the settings file.

#include "model/SettingsRecord.h"

// A record with every field away from its default that the windows accept.
inline SettingsRecord unusualSettings(const QString& folder) {
    SettingsRecord r;
    r.FareDataDir = folder;
    r.TapeDataDir = u"放送"_qs;
    r.UseSeiriNum = 0;
    r.SeiriNumColorOff = 0x010203;
    r.SeiriNumColorOn1 = 0x040506;
    r.SeiriNumColorOn2 = 0x070809;
    r.SeiriNumStyle = 7;
    r.SeiriNumZeroPad = 1;
    r.PanelAuto = 0;
    r.PanelManual = -1;
    r.PanelOffBuiltIn = 0;
    r.PanelOffUser = -1;
    r.PanelOn1BuiltIn = 0;
    r.PanelOn1User = -1;
    r.PanelOn2BuiltIn = 0;
    r.PanelOn2User = -1;
    r.PanelOffFile = u"off.bmp"_qs;
    r.PanelOn1File = u"on1.gif"_qs;
    r.PanelOn2File = u"on2.jpg"_qs;
    r.DigitBackColor = 0x112233;
    r.DigitBaseForeColor = 0x445566;
    r.DigitForeColor = 0x778899;
    r.InfoSectionOn = 1;
    r.InfoSectionCell = 23;
    r.InfoSectionFromZero = 1;
    r.InfoSeiriOn = 1;
    r.InfoSeiriCell = 22;
    r.InfoRouteOn = 1;
    r.InfoRouteCell = 21;
    r.InfoColumnOn = 1;
    r.InfoColumnNo = 149;
    r.InfoColumnCell = 20;
    r.ChimeiBackColor = 0x202020;
    r.ChimeiForeColor = 0x00FF00;
    r.ChimeiFontMode = 4;
    r.ChimeiFontBold = 1;
    r.ChimeiTsugiwaMode = 2;
    r.ChimeiTsugiwaColor = 0x0000FF;
    r.ChimeiTsugiwaFontMode = 3;
    r.ChimeiTsugiwaBold = 1;
    r.RouteSetSound = u"route.wav"_qs;
    r.ResetSound = u"key.wav"_qs;
    r.StepSoundAlways = 0;
    r.StepSoundByColumn = -1;
    r.StepSoundSync = -1;
    r.StepSoundAsync = 0;
    r.StepSoundFile = u"step.wav"_qs;
    r.StepSoundColumn = 29;
    r.StepSound1 = u"1.wav"_qs;
    r.StepSound2 = u"2.wav"_qs;
    r.StepSound3 = u"3.mid"_qs;
    r.TapeSoundAlways = 0;
    r.TapeSoundByFlag = -1;
    r.TapeSoundSync = 0;
    r.TapeSoundAsync = -1;
    r.TapeSoundFile = u"ピンポン.wav"_qs;
    r.TapeSound1 = u"a.wav"_qs;
    r.TapeSound2 = u"b.wav"_qs;
    r.TapeSound3 = u"c.wav"_qs;
    r.UseSeiriPrev = 1;
    r.SeiriPlgFile = u"みなと.4SP"_qs;
    r.DateEachPrint = 0;
    r.DateAtRouteSet = 0;
    r.DateFixed = -1;
    r.FixedDate = u"2023/12/24"_qs;
    r.CtrlPage = 1;
    r.ScrollSpeed = 2000;
    r.ScrollWait = 3000;
    r.LateNight = 1;
    r.PreviewOpen = 1;
    r.CtrlLeft = 1500;
    r.CtrlTop = 3000;
    r.PanelLeft = 150;
    r.PanelTop = 300;
    for (int i = 0; i < 17; ++i) r.CustomColors[size_t(i)] = 0x030201 * (i + 1);
    for (int i = 0; i < 24; ++i)
        r.DigitCellSettings[size_t(i)] = {qint16(i % 3), qint16(i % 4), qint16(-i)};
    return r;
}
