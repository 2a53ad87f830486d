#pragma once
// Options page "パネルと整理券番号表示": whether the ticket numbers are shown,
// their layout, their colour in each backlight mode and a leading zero; and
// the panel picture of each backlight mode, built in or a picture file; and
// the board shown, 24 cells or a larger one, with or without paging.

#include "options/OptionsPage.h"

#include <array>

class QSpinBox;

class PanelPage : public OptionsPage {
    Q_OBJECT
public:
    explicit PanelPage(OptionsContext& context);


    QCheckBox* showTicketNumbers = nullptr; // "整理券番号自動表示機能を使用"
    QGroupBox* ticketNumberFrame = nullptr; // enabled while the numbers are shown
    QComboBox* layoutList = nullptr;        // the twelve numbering layouts
    std::array<ColorButton*, 3> numberColors{}; // by backlight mode: OFF, ON1, ON2
    QCheckBox* zeroPadCheck = nullptr;      // "数字が1桁の番号は頭に0を付け足す"

    QRadioButton* builtInPictures = nullptr; // "内蔵しているパネルを自動で割り当てる"
    QRadioButton* perModePictures = nullptr; // "個別に設定する"
    // The picture of one backlight mode: built in, or the user's file.
    struct PictureSlot {
        QGroupBox* frame = nullptr; // shown while the pictures are set per mode
        QRadioButton* builtIn = nullptr;
        QRadioButton* user = nullptr;
        PathRow file;
    };
    std::array<PictureSlot, 3> pictureSlots{}; // OFF, ON1, ON2

    QComboBox* boardList = nullptr;  // the boards, BoardChoice::gridTexts()
    QCheckBox* pagingCheck = nullptr; // tickets beyond the cells page by page
    QSpinBox* pageSeconds = nullptr;  // seconds a page stands

protected:
    void loaded(const SettingsRecord& record) override;
    void stored(SettingsRecord& record) const override;

private:
    void applyEnablingRules();
};
