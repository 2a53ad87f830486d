#pragma once
// The field table of the settings file: every field of SettingsRecord in file
// order, with the name it is stored under and the limits of its value. See
// SettingsRecord.h for the visitor's calls. Included by SettingsRecord.h.

#include "model/SettingsRecord.h"

template <typename V, typename R> void forEachField(V& v, R& r) {
    using namespace OptionLists;
    // Block 1
    v.text("FareDataDir", 1, r.fareFolder);
    v.text("TapeDataDir", 1, r.announcementFolder);
    // Block 2
    v.check("UseSeiriNum", 2, r.showTicketNumbers);
    v.color("SeiriNumColorOff", 2, r.ticketNumberColors[0]);
    v.color("SeiriNumColorOn1", 2, r.ticketNumberColors[1]);
    v.color("SeiriNumColorOn2", 2, r.ticketNumberColors[2]);
    v.position("SeiriNumStyle", 2, r.ticketNumberLayout, TicketLayouts);
    v.check("SeiriNumZeroPad", 2, r.zeroPadTicketNumbers);
    v.group({"PanelAuto", "PanelManual"}, 2, r.panelPictures);
    v.group({"PanelOffBuiltIn", "PanelOffUser"}, 2, r.modePictures[0]);
    v.group({"PanelOn1BuiltIn", "PanelOn1User"}, 2, r.modePictures[1]);
    v.group({"PanelOn2BuiltIn", "PanelOn2User"}, 2, r.modePictures[2]);
    v.text("PanelOffFile", 2, r.modePictureFiles[0]);
    v.text("PanelOn1File", 2, r.modePictureFiles[1]);
    v.text("PanelOn2File", 2, r.modePictureFiles[2]);
    // Block 3
    v.color("DigitBackColor", 3, r.digitBackColor);
    v.color("DigitBaseForeColor", 3, r.digitUnlitColor);
    v.color("DigitForeColor", 3, r.digitLitColor);
    v.check("InfoSectionOn", 3, r.infoSection.on);
    v.position("InfoSectionCell", 3, r.infoSection.cell, Cells);
    v.check("InfoSectionFromZero", 3, r.infoSectionFromZero);
    v.check("InfoSeiriOn", 3, r.infoTicket.on);
    v.position("InfoSeiriCell", 3, r.infoTicket.cell, Cells);
    v.check("InfoRouteOn", 3, r.infoRoute.on);
    v.position("InfoRouteCell", 3, r.infoRoute.cell, Cells);
    v.check("InfoColumnOn", 3, r.infoColumn.on);
    v.position("InfoColumnNo", 3, r.infoColumnNumber, Columns);
    v.position("InfoColumnCell", 3, r.infoColumn.cell, Cells);
    // Block 4
    v.color("ChimeiBackColor", 4, r.stripBackColor);
    v.color("ChimeiForeColor", 4, r.stripDotColor);
    v.position("ChimeiFontMode", 4, r.stripFont, NameFonts);
    v.check("ChimeiFontBold", 4, r.stripBold);
    v.position("ChimeiTsugiwaMode", 4, r.prefixMode, PrefixModes);
    v.color("ChimeiTsugiwaColor", 4, r.prefixColor);
    v.position("ChimeiTsugiwaFontMode", 4, r.prefixFont, PrefixFonts);
    v.check("ChimeiTsugiwaBold", 4, r.prefixBold);
    // Block 5
    v.text("RouteSetSound", 5, r.routeSetSound);
    v.text("ResetSound", 5, r.keySound);
    v.group({"StepSoundAlways", "StepSoundByColumn"}, 5, r.stepSoundChoice);
    v.group({"StepSoundSync", "StepSoundAsync"}, 5, r.stepSoundTiming);
    v.text("StepSoundFile", 5, r.stepSound);
    v.position("StepSoundColumn", 5, r.stepSoundColumn, Columns);
    v.text("StepSound1", 5, r.stepSoundsByValue[0]);
    v.text("StepSound2", 5, r.stepSoundsByValue[1]);
    v.text("StepSound3", 5, r.stepSoundsByValue[2]);
    v.group({"TapeSoundAlways", "TapeSoundByFlag"}, 5, r.tapeSoundChoice);
    v.group({"TapeSoundSync", "TapeSoundAsync"}, 5, r.tapeSoundTiming);
    v.text("TapeSoundFile", 5, r.tapeSound);
    v.text("TapeSound1", 5, r.tapeSoundsByFlag[0]);
    v.text("TapeSound2", 5, r.tapeSoundsByFlag[1]);
    v.text("TapeSound3", 5, r.tapeSoundsByFlag[2]);
    // Block 6
    v.check("UseSeiriPrev", 6, r.useTicketPreview);
    v.text("SeiriPlgFile", 6, r.ticketPlugin);
    v.group({"DateEachPrint", "DateAtRouteSet", "DateFixed"}, 6, r.ticketDate);
    v.text("FixedDate", 6, r.fixedDate);
    // Block 7
    v.nonZero("CtrlPage", 7, r.keypadBehind);
    v.number("ScrollSpeed", 7, r.scrollSpeed, 1, 2000);
    v.number("ScrollWait", 7, r.scrollWait, 0, 3000);
    v.tick("LateNight", 7, r.lateNight);
    v.onOff("PreviewOpen", 7, r.previewOpen);
    v.coordinate("CtrlLeft", 7, r.consoleLeft);
    v.coordinate("CtrlTop", 7, r.consoleTop);
    // Block 8
    v.coordinate("PanelLeft", 8, r.boardLeft);
    v.coordinate("PanelTop", 8, r.boardTop);
    // Block 9
    for (auto& c : r.customColors) v.color("CustomColors", 9, c);
    // Blocks 10 and 11
    v.cellCount(10);
    for (int i = 0; i < int(r.digitCells.size()); ++i) v.cell(i, 11, r.digitCells[size_t(i)]);
}
