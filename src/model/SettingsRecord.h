#pragma once
// The settings record: every setting K40 keeps, as typed values, and the
// byte codec of the settings file that keeps them.
//
// The file holds eleven blocks, in the record's order. Little-endian, I16
// and I32 signed, no padding, no header, no checksum; with every text empty
// it is 392 bytes long:
//   - a text is an unsigned 16-bit byte count and that many bytes of CP932;
//   - a colour is an I32 0x00BBGGRR (all 32 bits kept);
//   - a check box is an I16 0, 1 or 2 (its third, greyed state);
//   - a list position is an I16 from 0, -1 for nothing chosen;
//   - a group of option buttons is one I16 per button, -1 for the chosen one
//     and 0 for the others (all 0: nothing chosen);
//   - block 10 is the count of block 11's entries, written as 24, ignored
//     when read.
// Each field is known by the name it has in the file's documentation
// ("FareDataDir", "UseSeiriNum", ...); forEachField() walks them in file
// order, with their names, kinds and limits, so that decoding, encoding,
// checking and copying read one list.

#include "model/BgrColor.h"
#include "model/BoardChoice.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// A check box of the options dialog: ticked, unticked, or in its third,
// greyed state (which a settings file may hold).
enum class Check : qint16 { Unchecked = 0, Checked = 1, Greyed = 2 };
// Ticked or greyed: what most settings count as "on".
inline bool isOn(Check c) { return c != Check::Unchecked; }

// A position in a list of the options dialog, from 0; none when nothing is
// chosen.
using ListPosition = std::optional<qint16>;
// The value a list position is handed on as: -1 for none.
inline qint16 positionOrNone(ListPosition p) { return p.value_or(qint16(-1)); }

// The choices of the groups of option buttons; none when nothing is chosen.
enum class PanelPictures { BuiltIn, PerMode };     // "内蔵…を自動で割り当てる", "個別に設定する"
enum class ModePicture { BuiltIn, User };          // "内蔵", "ユーザーパネル"
enum class StepSoundChoice { Always, ByColumn };   // one sound, or by a data column's value
enum class TapeSoundChoice { Always, ByFlag };     // one chime, or by the row's sound flag
enum class SoundTiming { Sync, Async };            // wait for the sound's end, or not
enum class TicketDate { EachPrint, AtRouteSet, Fixed };

// A fare cell's digit options, as the digit settings dialog sets them.
struct DigitCellOptions {
    qint16 shift = 0;
    qint16 zeroMode = 0;
    qint16 fillZero = 0;
    bool operator==(const DigitCellOptions&) const = default;
};

// A number of the information digits: shown or not, and in which cell.
struct InfoDigit {
    Check on = Check::Unchecked;
    ListPosition cell = 0; // cell = position + 1
    bool operator==(const InfoDigit&) const = default;
};

struct SettingsRecord {
    // The backlight modes' entries of the per-mode arrays: OFF, ON1, ON2.
    static constexpr int Modes = 3;

    // Block 1, folders.
    QString fareFolder;         // FareDataDir
    QString announcementFolder; // TapeDataDir

    // Block 2, ticket numbers and panel pictures.
    Check showTicketNumbers = Check::Checked;                     // UseSeiriNum
    std::array<BgrColor, Modes> ticketNumberColors = {0x00FFFFFF, 0x00C0FFC0, 0x00C0FFC0};
    ListPosition ticketNumberLayout = 0;                          // SeiriNumStyle
    Check zeroPadTicketNumbers = Check::Unchecked;                // SeiriNumZeroPad
    std::optional<PanelPictures> panelPictures = PanelPictures::BuiltIn;
    std::array<std::optional<ModePicture>, Modes> modePictures = {
        ModePicture::BuiltIn, ModePicture::BuiltIn, ModePicture::BuiltIn};
    std::array<QString, Modes> modePictureFiles;

    // Block 3, digit colours and information digits.
    BgrColor digitBackColor = 0x00808080;  // DigitBackColor
    BgrColor digitUnlitColor = 0x00969696; // DigitBaseForeColor
    BgrColor digitLitColor = 0x0072D2F8;   // DigitForeColor
    InfoDigit infoSection;                 // the stop's place on the route
    Check infoSectionFromZero = Check::Unchecked;
    InfoDigit infoTicket;                  // the stop's ticket number
    InfoDigit infoRoute;                   // the route number
    InfoDigit infoColumn;                  // a data column's value
    ListPosition infoColumnNumber = 0;     // column = position + 1

    // Block 4, stop-name strip.
    BgrColor stripBackColor = 0x00808080;  // ChimeiBackColor
    BgrColor stripDotColor = 0x0000FFFF;   // ChimeiForeColor
    ListPosition stripFont;                // ChimeiFontMode
    Check stripBold = Check::Unchecked;    // ChimeiFontBold
    ListPosition prefixMode;               // ChimeiTsugiwaMode, the "次は" prefix
    BgrColor prefixColor = 0x0000FFFF;     // ChimeiTsugiwaColor
    ListPosition prefixFont;               // ChimeiTsugiwaFontMode
    Check prefixBold = Check::Unchecked;   // ChimeiTsugiwaBold

    // Block 5, sounds.
    QString routeSetSound; // RouteSetSound
    QString keySound;      // ResetSound
    std::optional<StepSoundChoice> stepSoundChoice = StepSoundChoice::Always;
    std::optional<SoundTiming> stepSoundTiming = SoundTiming::Async;
    QString stepSound;                     // StepSoundFile
    ListPosition stepSoundColumn = 0;      // column = position + 1
    std::array<QString, 3> stepSoundsByValue; // StepSound1..3
    std::optional<TapeSoundChoice> tapeSoundChoice = TapeSoundChoice::Always;
    std::optional<SoundTiming> tapeSoundTiming = SoundTiming::Sync;
    QString tapeSound;                     // TapeSoundFile
    std::array<QString, 3> tapeSoundsByFlag; // TapeSound1..3

    // Block 6, ticket preview.
    Check useTicketPreview = Check::Unchecked; // UseSeiriPrev
    QString ticketPlugin;                      // SeiriPlgFile
    std::optional<TicketDate> ticketDate = TicketDate::EachPrint;
    QString fixedDate; // "yyyy/mm/dd"; the options dialog puts today's date here

    // Block 7, console.
    bool keypadBehind = false;  // CtrlPage: the keypad lies behind the digit lists
    qint32 scrollSpeed = 0;     // 1..2000
    qint32 scrollWait = 0;      // 0..3000 ms
    bool lateNight = false;     // LateNight (a greyed box counts as unticked)
    bool previewOpen = false;   // PreviewOpen
    qint32 consoleLeft = 0;     // CtrlLeft, twips
    qint32 consoleTop = 0;      // CtrlTop

    // Block 8, fare board position (twips).
    qint32 boardLeft = 0; // PanelLeft
    qint32 boardTop = 0;  // PanelTop

    // Block 9, the colour chooser's custom colours.
    std::array<BgrColor, 17> customColors = {};

    // Block 11, the digit options of fare cells 1..24.
    std::array<DigitCellOptions, 24> digitCells = {};

    // Not in the settings file: the board shown, kept in a file of its own
    // beside it (BoardChoiceFile), and edited with the options.
    BoardChoice board;

    bool operator==(const SettingsRecord&) const = default;
};

// The lists of the options dialog, and so which positions a setting can hold.
namespace OptionLists {
constexpr int TicketLayouts = 12; // ticketNumberLayout
constexpr int Cells = 24;         // the information digits' cells
constexpr int Columns = 150;      // infoColumnNumber, stepSoundColumn
constexpr int NameFonts = 5;      // stripFont
constexpr int PrefixModes = 3;    // prefixMode
constexpr int PrefixFonts = 4;    // prefixFont
} // namespace OptionLists

// The fields of the record in file order. A visitor v is called once per
// field, with the field's stored name, its block (1..11), a reference to it
// and the limits its value must keep:
//   v.text(name, block, QString&)
//   v.color(name, block, BgrColor&)
//   v.check(name, block, Check&)                 0, 1 or 2
//   v.tick(name, block, bool&)                   0, 1 or 2; only 1 is true
//   v.onOff(name, block, bool&)                  0 or 1
//   v.nonZero(name, block, bool&)                any value; 0 is false
//   v.position(name, block, ListPosition&, count) -1 .. count - 1
//   v.number(name, block, qint32&, low, high)    an I32 within low..high
//   v.coordinate(name, block, qint32&)           any I32
//   v.group(names, block, std::optional<E>&)     one I16 per choice of E
//   v.cellCount(block)                           block 10
//   v.cell(index, block, DigitCellOptions&)      three I16: shift, zero mode, fill
// R is SettingsRecord or const SettingsRecord.
template <typename V, typename R> void forEachField(V& v, R& r);

// A field that no control would take: its name and the value stored.
struct SettingsProblem {
    QString field;
    qint32 value = 0;
};

namespace SettingsCodec {

// The file image of a record. A text longer than 65535 bytes raises error 6.
QByteArray encode(const SettingsRecord& record);

// A file image read into a record.
struct Decoded {
    SettingsRecord record;   // every field that holds a value its control takes
    int fieldsTaken = 0;     // how many fields, in file order, before the first that does not
    std::optional<SettingsProblem> problem; // that field
};
// Reads a file image. A file that ends before its layout does, or a text
// whose length runs past the end, raises error 62. Bytes after block 11 are
// ignored.
Decoded decode(const QByteArray& bytes);

// The number of fields that forEachField() walks.
int fieldCount();
// The position of the field of a stored name in file order; -1 for none.
int fieldIndex(const QString& name);

// Copies the fields of from into to whose index is below count, in file
// order; with blocks given, only the fields of those blocks.
void copyFields(const SettingsRecord& from, SettingsRecord& to, int count,
                std::initializer_list<int> blocks = {});

} // namespace SettingsCodec

#include "model/SettingsFields.h"
