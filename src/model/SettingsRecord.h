#pragma once
// The settings record: the eleven blocks of the settings file, in file order,
// and its byte codec.
//
// Encoding: little-endian; I16 and I32 signed; a flag is an I16 of -1
// (option chosen) or 0; a check is an I16 of 0 or 1; an index is an I16 list
// position, -1 for none; a colour is an I32 0x00BBGGRR; a text is an unsigned
// 16-bit byte count followed by that many bytes of CP932, no terminator.
// No padding, no header, no checksum. With every text empty the file is 392
// bytes long.

#include <QByteArray>
#include <QString>
#include <array>

struct DigitCellSetting {
    qint16 Shift = 0;
    qint16 ZeroMode = 0;
    qint16 FillZero = 0;
    bool operator==(const DigitCellSetting&) const = default;
};

struct SettingsRecord {
    // Block 1, folders
    QString FareDataDir;
    QString TapeDataDir;

    // Block 2, ticket numbers and panel pictures
    qint16 UseSeiriNum = 1;
    qint32 SeiriNumColorOff = 0x00FFFFFF;
    qint32 SeiriNumColorOn1 = 0x00C0FFC0;
    qint32 SeiriNumColorOn2 = 0x00C0FFC0;
    qint16 SeiriNumStyle = 0;
    qint16 SeiriNumZeroPad = 0;
    qint16 PanelAuto = -1;
    qint16 PanelManual = 0;
    qint16 PanelOffBuiltIn = -1;
    qint16 PanelOffUser = 0;
    qint16 PanelOn1BuiltIn = -1;
    qint16 PanelOn1User = 0;
    qint16 PanelOn2BuiltIn = -1;
    qint16 PanelOn2User = 0;
    QString PanelOffFile;
    QString PanelOn1File;
    QString PanelOn2File;

    // Block 3, digit colours and information digits
    qint32 DigitBackColor = 0x00808080;
    qint32 DigitBaseForeColor = 0x00969696;
    qint32 DigitForeColor = 0x0072D2F8;
    qint16 InfoSectionOn = 0;
    qint16 InfoSectionCell = 0;
    qint16 InfoSectionFromZero = 0;
    qint16 InfoSeiriOn = 0;
    qint16 InfoSeiriCell = 0;
    qint16 InfoRouteOn = 0;
    qint16 InfoRouteCell = 0;
    qint16 InfoColumnOn = 0;
    qint16 InfoColumnNo = 0;
    qint16 InfoColumnCell = 0;

    // Block 4, stop-name display
    qint32 ChimeiBackColor = 0x00808080;
    qint32 ChimeiForeColor = 0x0000FFFF;
    qint16 ChimeiFontMode = -1;
    qint16 ChimeiFontBold = 0;
    qint16 ChimeiTsugiwaMode = -1;
    qint32 ChimeiTsugiwaColor = 0x0000FFFF;
    qint16 ChimeiTsugiwaFontMode = -1;
    qint16 ChimeiTsugiwaBold = 0;

    // Block 5, sounds
    QString RouteSetSound;
    QString ResetSound;
    qint16 StepSoundAlways = -1;
    qint16 StepSoundByColumn = 0;
    qint16 StepSoundSync = 0;
    qint16 StepSoundAsync = -1;
    QString StepSoundFile;
    qint16 StepSoundColumn = 0;
    QString StepSound1;
    QString StepSound2;
    QString StepSound3;
    qint16 TapeSoundAlways = -1;
    qint16 TapeSoundByFlag = 0;
    qint16 TapeSoundSync = -1;
    qint16 TapeSoundAsync = 0;
    QString TapeSoundFile;
    QString TapeSound1;
    QString TapeSound2;
    QString TapeSound3;

    // Block 6, ticket preview
    qint16 UseSeiriPrev = 0;
    QString SeiriPlgFile;
    qint16 DateEachPrint = -1;
    qint16 DateAtRouteSet = 0;
    qint16 DateFixed = 0;
    QString FixedDate; // "yyyy/mm/dd"; the options dialog puts today's date here

    // Block 7, console
    qint16 CtrlPage = 0;
    qint32 ScrollSpeed = 0;
    qint32 ScrollWait = 0;
    qint16 LateNight = 0;
    qint16 PreviewOpen = 0;
    qint32 CtrlLeft = 0;
    qint32 CtrlTop = 0;

    // Block 8, fare panel position (twips)
    qint32 PanelLeft = 0;
    qint32 PanelTop = 0;

    // Block 9, the colour chooser's custom colours
    std::array<qint32, 17> CustomColors = {};

    // Block 10 is the entry count of block 11, always written as 24 and
    // ignored when read. Block 11, the digit options of fare cells 1..24:
    std::array<DigitCellSetting, 24> DigitCellSettings = {};

    bool operator==(const SettingsRecord&) const = default;
};

namespace SettingsCodec {

// The file image of a record. Texts are stored in CP932; a text longer than
// 65535 bytes raises error 6.
QByteArray encode(const SettingsRecord& record);

// Reads a file image into record, in file order. A file that ends before
// its layout does, or a text whose length runs past the end, raises error 62;
// record then holds the fields read before the end. Bytes after block 11
// are ignored.
void decode(const QByteArray& bytes, SettingsRecord& record);

} // namespace SettingsCodec
