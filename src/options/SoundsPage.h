#pragma once
// Options page "サウンド": the sounds of the route setting and the keys, and
// two sub-pages, the sound before an announcement and the step sound: each
// played to its end first or along, and either always the same sound or
// chosen by a value of 1, 2 or 3 (the announcement's flag, or a data column
// of the fare data).

#include "options/OptionsPage.h"

#include <array>

class QGridLayout;
class QStackedWidget;

class SoundsPage : public OptionsPage {
    Q_OBJECT
public:
    explicit SoundsPage(OptionsContext& context);


    PathRow routeSetSound; // "系統設定時のサウンド："
    PathRow keySound;      // "リセット時のサウンド："
    QRadioButton* announcementSoundsButton = nullptr; // "放送前のサウンド..."
    QRadioButton* stepSoundsButton = nullptr;         // "送り・戻し時のサウンド..."

    // One of the two sub-pages.
    struct SoundChoice {
        QGroupBox* frame = nullptr;
        QRadioButton* sync = nullptr;  // "同期再生(...)"
        QRadioButton* async = nullptr; // "非同期再生(...)"
        QRadioButton* always = nullptr; // "常に右記のサウンドを鳴らす"
        PathRow alwaysSound;
        QRadioButton* byValue = nullptr; // by the data column or the flag
        std::array<PathRow, 3> byValueSounds; // for 1, 2 and 3
    };
    SoundChoice announcementSounds;
    SoundChoice stepSounds;
    QComboBox* stepColumn = nullptr; // the data column that chooses the step sound

private:
    // A sound file row at row of g, with its label (none for an empty text).
    PathRow soundRow(QGridLayout* g, int row, const QString& label);
    // Builds a sub-page; returns the grid of its choices.
    QGridLayout* buildChoice(SoundChoice& choice, const QString& caption,
                             const QString& byValueText, const QString& syncText,
                             const QString& asyncText);
    QStackedWidget* subPages_ = nullptr;
};
