#pragma once
// Options page "デジタル部品と情報用数字": the colours of the segment digits,
// with a preview, and the information digits that replace a fare cell's fare:
// the section (the row), the ticket number, the route, or a data column.

#include "options/OptionsPage.h"

#include <array>

class SegmentDisplay;

class DigitsPage : public OptionsPage {
    Q_OBJECT
public:
    explicit DigitsPage(OptionsContext& context);


    ColorButton* backColor = nullptr;  // "背景色："
    ColorButton* unlitColor = nullptr; // "未発光時の文字色："
    ColorButton* litColor = nullptr;   // "発光時の文字色："
    SegmentDisplay* preview = nullptr; // "123" in the three colours

    // Each information row: a check box and the list of the cell it uses.
    QCheckBox* sectionCheck = nullptr;  // "停留所の順番（区間・個数）を、"
    QComboBox* sectionCell = nullptr;
    QCheckBox* fromZeroCheck = nullptr; // "0から数える"
    QCheckBox* ticketCheck = nullptr;   // "整理券番号を、"
    QComboBox* ticketCell = nullptr;
    QCheckBox* routeCheck = nullptr;    // "系統番号を、"
    QComboBox* routeCell = nullptr;
    QCheckBox* columnCheck = nullptr;   // "データの"
    QComboBox* columnList = nullptr;    //   which data column
    QComboBox* columnCell = nullptr;

private:
    void loaded(const SettingsRecord&) override;
    void applyEnablingRules();
    void showPreview();
};
