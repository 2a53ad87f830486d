#include "model/Settings.h"

#include "model/K40Error.h"

#include <algorithm>

Settings::Settings(const QDate& today, QObject* parent) : QObject(parent) {
    record_.fixedDate = today.toString(u"yyyy/MM/dd");
    record_.scrollSpeed = 30;
    record_.scrollWait = 1500;
}

void Settings::commitOptions(const SettingsRecord& edited) {
    // What the options dialog does not edit (the console, the windows, the
    // cells) stays.
    SettingsCodec::copyFields(edited, record_, SettingsCodec::fieldCount(), {1, 2, 3, 4, 5, 6, 9});
    record_.board = edited.board;
    emit optionsCommitted();
}

void Settings::setScrollSpeed(qint32 speed) {
    if (record_.scrollSpeed == speed) return;
    record_.scrollSpeed = speed;
    emit consoleStateChanged();
}

void Settings::setScrollWait(qint32 ms) {
    if (record_.scrollWait == ms) return;
    record_.scrollWait = ms;
    emit consoleStateChanged();
}

void Settings::setKeypadBehind(bool behind) {
    if (record_.keypadBehind == behind) return;
    record_.keypadBehind = behind;
    emit consoleStateChanged();
}

void Settings::setPreviewOpen(bool open) {
    if (record_.previewOpen == open) return;
    record_.previewOpen = open;
    emit consoleStateChanged();
}

void Settings::setLateNight(bool on) {
    if (record_.lateNight == on) return;
    record_.lateNight = on;
    emit consoleStateChanged();
}

void Settings::setBoardScale(int percent) {
    percent = std::clamp(percent, BoardChoice::MinScale, BoardChoice::MaxScale);
    if (record_.board.scalePercent == percent) return;
    record_.board.scalePercent = percent;
    emit boardViewChanged();
}

void Settings::setBoardFullScreen(bool on) {
    if (record_.board.fullScreen == on) return;
    record_.board.fullScreen = on;
    emit boardViewChanged();
}

void Settings::setBoardScreen(int screen) {
    if (screen < -1) screen = -1;
    if (record_.board.screen == screen) return;
    record_.board.screen = screen;
    emit boardViewChanged();
}

void Settings::setDigitCells(const std::array<DigitCellOptions, 24>& cells) {
    record_.digitCells = cells;
}

void Settings::take(const SettingsCodec::Decoded& stored) {
    record_.customColors = stored.record.customColors;
    SettingsCodec::copyFields(stored.record, record_, stored.fieldsTaken, {1, 2, 3, 4, 5, 6, 7, 8});
    fieldsTaken_ = stored.fieldsTaken;
    emit consoleStateChanged(); // what was taken shows, also when a field stopped the rest
    if (stored.problem)
        throw K40Error(K40Error::InvalidPropertyValue,
                       K40Error::standardDescription(K40Error::InvalidPropertyValue) +
                           QStringLiteral("（設定ファイルの %1 が %2）")
                               .arg(stored.problem->field)
                               .arg(stored.problem->value));
}

bool Settings::took(const QString& field) const {
    const int i = SettingsCodec::fieldIndex(field);
    return i >= 0 && i < fieldsTaken_;
}
