#include "options/StopNamePage.h"

#include "model/SettingsRecord.h"
#include "options/ColorButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

StopNamePage::StopNamePage(OptionsContext& context)
    : OptionsPage(QStringLiteral("停名の設定"), context) {
    auto* v = new QVBoxLayout(this);
    const QString bold = QStringLiteral("太字（表示の不具合はサポート対象外）");
    const QString fontOption = QStringLiteral("フォントオプション：");

    auto* name = new QGroupBox(QStringLiteral("停名部分の設定"));
    auto* g = new QGridLayout(name);
    backColor = colorButton();
    dotColor = colorButton();
    nameFont = dropDown({QStringLiteral("ゴシック体"), QStringLiteral("明朝体"),
                         QStringLiteral("漢字はゴシック、それ以外は明朝"),
                         QStringLiteral("漢字は明朝、それ以外はゴシック"),
                         QStringLiteral("英数字はゴシック、それ以外は明朝")});
    nameBold = new QCheckBox(bold);
    g->addWidget(new QLabel(QStringLiteral("背景色：")), 0, 0, Qt::AlignRight);
    g->addWidget(backColor, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("文字色：")), 1, 0, Qt::AlignRight);
    g->addWidget(dotColor, 1, 1);
    g->addWidget(new QLabel(fontOption), 2, 0, Qt::AlignRight);
    g->addWidget(nameFont, 2, 1, 1, 2);
    g->addWidget(nameBold, 3, 1, 1, 2);
    g->setColumnStretch(2, 1);
    v->addWidget(name);

    auto* prefix = new QGroupBox(
        QStringLiteral("「次は」の表示設定(データの最初は「次は」は表示されません)"));
    auto* p = new QGridLayout(prefix);
    prefixMode = dropDown({QStringLiteral("「次は」表示なし"),
                           QStringLiteral("「次は」を表示（「は」が小さい）"),
                           QStringLiteral("「次は」を表示（同じ大きさ）")});
    prefixColor = colorButton();
    prefixFont = dropDown({QStringLiteral("すべてゴシック体"), QStringLiteral("「は」だけ明朝体"),
                           QStringLiteral("すべて明朝体"), QStringLiteral("「は」だけゴシック体")});
    prefixBold = new QCheckBox(bold);
    p->addWidget(new QLabel(QStringLiteral("「次は」表示オプション：")), 0, 0, Qt::AlignRight);
    p->addWidget(prefixMode, 0, 1, 1, 2);
    p->addWidget(new QLabel(QStringLiteral("「次は」の文字色：")), 1, 0, Qt::AlignRight);
    p->addWidget(prefixColor, 1, 1);
    p->addWidget(new QLabel(fontOption), 2, 0, Qt::AlignRight);
    p->addWidget(prefixFont, 2, 1, 1, 2);
    p->addWidget(prefixBold, 3, 1, 1, 2);
    p->setColumnStretch(2, 1);
    v->addWidget(prefix);
    v->addStretch();
    bind("ChimeiBackColor", backColor);
    bind("ChimeiForeColor", dotColor);
    bind("ChimeiFontMode", nameFont);
    bind("ChimeiFontBold", nameBold);
    bind("ChimeiTsugiwaMode", prefixMode);
    bind("ChimeiTsugiwaColor", prefixColor);
    bind("ChimeiTsugiwaFontMode", prefixFont);
    bind("ChimeiTsugiwaBold", prefixBold);
}

