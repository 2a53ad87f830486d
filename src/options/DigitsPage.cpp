#include "options/DigitsPage.h"

#include "model/Settings.h"
#include "options/ColorButton.h"
#include "widgets/SegmentDisplay.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
QStringList numbers(int count) {
    QStringList out;
    for (int n = 1; n <= count; ++n) out << QString::number(n);
    return out;
}
} // namespace

DigitsPage::DigitsPage(OptionsContext& context)
    : OptionsPage(QStringLiteral("デジタル部品と情報用数字"), context) {
    auto* v = new QVBoxLayout(this);
    auto* colors = new QGroupBox(
        QStringLiteral("デジタル部品の背景色と文字色（時計つきの場合はこの部分も同色となります）"));
    auto* g = new QGridLayout(colors);
    backColor = colorButton([this] { showPreview(); });
    unlitColor = colorButton([this] { showPreview(); });
    litColor = colorButton([this] { showPreview(); });
    static const char16_t* const Labels[3] = {u"背景色：", u"未発光時の文字色：",
                                              u"発光時の文字色："};
    ColorButton* const buttons[3] = {backColor, unlitColor, litColor};
    for (int i = 0; i < 3; ++i) {
        g->addWidget(new QLabel(QString::fromUtf16(Labels[i])), i, 0, Qt::AlignRight);
        g->addWidget(buttons[i], i, 1);
    }
    preview = new SegmentDisplay;
    preview->setUserSettable(false);
    preview->setDigitSize(0);
    g->addWidget(new QLabel(QStringLiteral("プレビュー")), 0, 2, Qt::AlignCenter);
    g->addWidget(preview, 1, 2, 2, 1, Qt::AlignCenter);
    g->setColumnStretch(3, 1);
    v->addWidget(colors);

    auto* info = new QGroupBox(QStringLiteral("情報用数字の設定"));
    auto* ig = new QGridLayout(info);
    sectionCell = dropDown(numbers(OptionLists::Cells));
    ticketCell = dropDown(numbers(OptionLists::Cells));
    routeCell = dropDown(numbers(OptionLists::Cells));
    columnCell = dropDown(numbers(OptionLists::Cells));
    columnList = dropDown(numbers(OptionLists::Columns));
    sectionCheck = new QCheckBox(QStringLiteral("停留所の順番（区間・個数）を、"));
    ticketCheck = new QCheckBox(QStringLiteral("整理券番号を、"));
    routeCheck = new QCheckBox(QStringLiteral("系統番号を、"));
    columnCheck = new QCheckBox(QStringLiteral("データの"));
    fromZeroCheck = new QCheckBox(QStringLiteral("0から数える"));
    const auto cells = [] { return new QLabel(QStringLiteral("コマ目に表示する。")); };
    ig->addWidget(sectionCheck, 0, 0, 1, 3);
    ig->addWidget(sectionCell, 0, 3);
    ig->addWidget(cells(), 0, 4);
    ig->addWidget(fromZeroCheck, 1, 1, 1, 4);
    ig->addWidget(ticketCheck, 2, 0, 1, 3);
    ig->addWidget(ticketCell, 2, 3);
    ig->addWidget(cells(), 2, 4);
    ig->addWidget(routeCheck, 3, 0, 1, 3);
    ig->addWidget(routeCell, 3, 3);
    ig->addWidget(cells(), 3, 4);
    ig->addWidget(columnCheck, 4, 0);
    ig->addWidget(columnList, 4, 1);
    ig->addWidget(new QLabel(QStringLiteral("列目の値を、")), 4, 2);
    ig->addWidget(columnCell, 4, 3);
    ig->addWidget(cells(), 4, 4);
    ig->setColumnStretch(5, 1);
    v->addWidget(info);
    v->addWidget(wrapLabel(QStringLiteral(
        "デジタル数字の桁ずらし、ゼロ埋めの設定は各部品をダブルクリックして設定してください。また、"
        "これら情報用数字は運賃の表示よりも優先されます。")));
    v->addStretch();
    bind("DigitBackColor", backColor);
    bind("DigitBaseForeColor", unlitColor);
    bind("DigitForeColor", litColor);
    bind("InfoSectionOn", sectionCheck);
    bind("InfoSectionCell", sectionCell);
    bind("InfoSectionFromZero", fromZeroCheck);
    bind("InfoSeiriOn", ticketCheck);
    bind("InfoSeiriCell", ticketCell);
    bind("InfoRouteOn", routeCheck);
    bind("InfoRouteCell", routeCell);
    bind("InfoColumnOn", columnCheck);
    bind("InfoColumnNo", columnList);
    bind("InfoColumnCell", columnCell);
    for (QCheckBox* c : {sectionCheck, ticketCheck, routeCheck, columnCheck})
        connect(c, &QCheckBox::stateChanged, this, &DigitsPage::applyEnablingRules);
    applyEnablingRules();
}

void DigitsPage::applyEnablingRules() {
    sectionCell->setEnabled(sectionCheck->isChecked());
    fromZeroCheck->setEnabled(sectionCheck->isChecked());
    ticketCell->setEnabled(ticketCheck->isChecked());
    routeCell->setEnabled(routeCheck->isChecked());
    columnCell->setEnabled(columnCheck->isChecked());
    columnList->setEnabled(columnCheck->isChecked());
}

void DigitsPage::showPreview() {
    preview->setBackColor(backColor->backColor());
    preview->setUnlitColor(unlitColor->backColor());
    preview->setLitColor(litColor->backColor());
    preview->setDigitCount(3);
    preview->setValue(DigitValue(u"123"_qs));
}

void DigitsPage::loaded(const SettingsRecord&) { showPreview(); }
