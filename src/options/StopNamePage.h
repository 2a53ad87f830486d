#pragma once
// Options page "停名の設定": the colours, typeface rule and weight of the
// stop-name strip, and how the "次は" prefix is shown.

#include "options/OptionsPage.h"

class StopNamePage : public OptionsPage {
    Q_OBJECT
public:
    explicit StopNamePage(OptionsContext& context);


    ColorButton* backColor = nullptr;   // "背景色："
    ColorButton* dotColor = nullptr;    // "文字色："
    QComboBox* nameFont = nullptr;      // the typeface rule of the name
    QCheckBox* nameBold = nullptr;
    QComboBox* prefixMode = nullptr;    // "「次は」表示オプション："
    ColorButton* prefixColor = nullptr; // "「次は」の文字色："
    QComboBox* prefixFont = nullptr;
    QCheckBox* prefixBold = nullptr;
};
