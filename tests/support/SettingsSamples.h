#pragma once
// Settings used by the tests of the settings file.

#include "model/Cp932.h"
#include "model/SettingsRecord.h"

#include <QtEndian>
#include <cstring>

// A record with every field away from its default that the windows accept.
inline SettingsRecord unusualSettings(const QString& folder) {
    SettingsRecord r;
    r.fareFolder = folder;
    r.announcementFolder = u"放送"_qs;
    r.showTicketNumbers = Check::Unchecked;
    r.ticketNumberColors = {0x010203, 0x040506, 0x070809};
    r.ticketNumberLayout = 7;
    r.zeroPadTicketNumbers = r.infoSectionFromZero = r.stripBold = r.prefixBold = Check::Checked;
    r.panelPictures = PanelPictures::PerMode;
    r.modePictures = {ModePicture::User, ModePicture::User, ModePicture::User};
    r.modePictureFiles = {u"off.bmp"_qs, u"on1.gif"_qs, u"on2.jpg"_qs};
    r.digitBackColor = 0x112233, r.digitUnlitColor = 0x445566, r.digitLitColor = 0x778899;
    r.infoSection = {Check::Checked, 23}, r.infoTicket = {Check::Checked, 22};
    r.infoRoute = {Check::Checked, 21}, r.infoColumn = {Check::Checked, 20};
    r.infoColumnNumber = 149;
    r.stripBackColor = 0x202020, r.stripDotColor = 0x00FF00, r.prefixColor = 0x0000FF;
    r.stripFont = 4, r.prefixMode = 2, r.prefixFont = 3;
    r.routeSetSound = u"route.wav"_qs, r.keySound = u"key.wav"_qs, r.stepSound = u"step.wav"_qs;
    r.stepSoundChoice = StepSoundChoice::ByColumn;
    r.stepSoundTiming = SoundTiming::Sync;
    r.stepSoundColumn = 29;
    r.stepSoundsByValue = {u"1.wav"_qs, u"2.wav"_qs, u"3.mid"_qs};
    r.tapeSoundChoice = TapeSoundChoice::ByFlag;
    r.tapeSoundTiming = SoundTiming::Async;
    r.tapeSound = u"ピンポン.wav"_qs;
    r.tapeSoundsByFlag = {u"a.wav"_qs, u"b.wav"_qs, u"c.wav"_qs};
    r.useTicketPreview = Check::Checked;
    r.ticketPlugin = u"みなと.4SP"_qs;
    r.ticketDate = TicketDate::Fixed;
    r.fixedDate = u"2023/12/24"_qs;
    r.keypadBehind = r.lateNight = r.previewOpen = true;
    r.scrollSpeed = 2000, r.scrollWait = 3000;
    r.consoleLeft = 1500, r.consoleTop = 3000, r.boardLeft = 150, r.boardTop = 300;
    for (int i = 0; i < 17; ++i) r.customColors[size_t(i)] = BgrColor(0x030201 * (i + 1));
    for (int i = 0; i < 24; ++i)
        r.digitCells[size_t(i)] = {qint16(i % 3), qint16(i % 4), qint16(-i)};
    return r;
}

// Finds where a field of the settings file of a record is: its byte offset and
// its width (2 or 4; of a group, the button of that name).
class FieldFinder {
public:
    explicit FieldFinder(const char* wanted) : wanted_(wanted) {}
    qsizetype offset = -1;
    int width = 0;
    void text(const char* n, int, const QString& t) { add(n, 2 + Cp932::encode(t).size(), 2); }
    void color(const char* n, int, BgrColor) { add(n, 4, 4); }
    void number(const char* n, int, qint32, qint32, qint32) { add(n, 4, 4); }
    void coordinate(const char* n, int, qint32) { add(n, 4, 4); }
    // check, tick, onOff, nonZero and position: a 16-bit value.
    template <typename... T> void check(const char* n, int, const T&...) { add(n, 2, 2); }
    template <typename... T> void tick(const char* n, int, const T&...) { add(n, 2, 2); }
    template <typename... T> void onOff(const char* n, int, const T&...) { add(n, 2, 2); }
    template <typename... T> void nonZero(const char* n, int, const T&...) { add(n, 2, 2); }
    template <typename... T> void position(const char* n, int, const T&...) { add(n, 2, 2); }
    template <typename E> void group(std::initializer_list<const char*> names, int, const E&) {
        for (const char* n : names) add(n, 2, 2);
    }
    void cellCount(int) { add("", 2, 2); }
    void cell(int, int, const DigitCellOptions&) { add("", 6, 2); }

private:
    void add(const char* n, qsizetype size, int w) {
        if (offset < 0 && std::strcmp(n, wanted_) == 0) offset = pos_, width = w;
        pos_ += size;
    }
    const char* wanted_;
    qsizetype pos_ = 0;
};

// The settings file of record with the value stored for one field replaced
// (a field of 2 or 4 bytes; of a group, the button of that name; "": block 10).
inline QByteArray storedWith(const SettingsRecord& record, const char* field, qint32 value) {
    FieldFinder f(field);
    forEachField(f, record);
    QByteArray bytes = SettingsCodec::encode(record);
    if (f.width == 2) qToLittleEndian(qint16(value), bytes.data() + f.offset);
    if (f.width == 4) qToLittleEndian(value, bytes.data() + f.offset);
    return bytes;
}
