#include "options/SoundsPage.h"

#include "model/Settings.h"
#include "options/PageButton.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

SoundsPage::SoundsPage(OptionsContext& context)
    : OptionsPage(QStringLiteral("サウンド（鳴らさなくてもいい項目にはファイル名を入れないで下さい）"),
                  context) {
    auto* v = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    routeSetSound = soundRow(top, 0, QStringLiteral("系統設定時のサウンド："));
    keySound = soundRow(top, 1, QStringLiteral("リセット時のサウンド："));
    top->setColumnStretch(1, 1);
    v->addLayout(top);

    announcementSoundsButton = new PageButton(QStringLiteral("放送前のサウンド..."));
    stepSoundsButton = new PageButton(QStringLiteral("送り・戻し時のサウンド..."));
    auto* sub = new QHBoxLayout;
    sub->addWidget(announcementSoundsButton);
    sub->addWidget(stepSoundsButton);
    sub->addStretch();
    v->addLayout(sub);
    subPages_ = new QStackedWidget;
    v->addWidget(subPages_);

    QGridLayout* stepGrid = buildChoice(stepSounds, QStringLiteral("送り・戻し時のサウンド"),
                QStringLiteral("運賃データ(*.hy3)の特定の列のデータから判断して、以下の指定した"
                               "サウンドを鳴らす（指定した列のデータの内容が1～3以外の場合は"
                               "サウンドは鳴りません）"),
                QStringLiteral("同期再生(サウンドが完全に再生された後で運賃切り替え)"),
                QStringLiteral("非同期再生(サウンドを再生しながら運賃切り替え)"));
    auto* column = new QHBoxLayout;
    QStringList columns;
    for (int n = 1; n <= OptionLists::Columns; ++n) columns << QString::number(n);
    stepColumn = dropDown(columns);
    column->addWidget(new QLabel(QStringLiteral("運賃データの")));
    column->addWidget(stepColumn);
    column->addWidget(new QLabel(QStringLiteral("列目のデータが、")));
    column->addStretch();
    stepGrid->addLayout(column, 2, 1, 1, 2);

    buildChoice(announcementSounds,
                QStringLiteral("放送前のサウンド：※音声合成放送機能が有効でない場合は以下の設定は"
                               "意味を持ちません。"),
                QStringLiteral("放送データ(*.Tp.csv)内のフラグから判断して、以下の指定した"
                               "サウンドを鳴らす（フラグの内容が1～3以外の場合はサウンドは"
                               "鳴りません）"),
                QStringLiteral("同期再生(サウンドが完全に再生された後で放送開始)"),
                QStringLiteral("非同期再生(サウンドを再生しながら放送開始)"));
    qobject_cast<QVBoxLayout*>(announcementSounds.frame->layout())
        ->insertWidget(2, wrapLabel(QStringLiteral("「放送前のサウンド」再生時は、停名の"
                                                   "スクロールが停止することがありますので、"
                                                   "あらかじめご了承ください。")));

    subPages_->addWidget(announcementSounds.frame);
    subPages_->addWidget(stepSounds.frame);
    connect(announcementSoundsButton, &QRadioButton::toggled, this,
            [this](bool on) { if (on) subPages_->setCurrentIndex(0); });
    connect(stepSoundsButton, &QRadioButton::toggled, this,
            [this](bool on) { if (on) subPages_->setCurrentIndex(1); });
    stepSoundsButton->setChecked(true);

    // The defaults of a first start.
    stepSounds.always->setChecked(true);
    stepSounds.async->setChecked(true);
    announcementSounds.always->setChecked(true);
    announcementSounds.sync->setChecked(true);

    bind("RouteSetSound", routeSetSound.path);
    bind("ResetSound", keySound.path);
    bindGroup("StepSoundAlways", {stepSounds.always, stepSounds.byValue});
    bindGroup("StepSoundSync", {stepSounds.sync, stepSounds.async});
    bind("StepSoundFile", stepSounds.alwaysSound.path);
    bind("StepSoundColumn", stepColumn);
    bindGroup("TapeSoundAlways", {announcementSounds.always, announcementSounds.byValue});
    bindGroup("TapeSoundSync", {announcementSounds.sync, announcementSounds.async});
    bind("TapeSoundFile", announcementSounds.alwaysSound.path);
    static const char* const ByValue[2][3] = {{"StepSound1", "StepSound2", "StepSound3"},
                                              {"TapeSound1", "TapeSound2", "TapeSound3"}};
    for (int i = 0; i < 3; ++i) {
        bind(ByValue[0][i], stepSounds.byValueSounds[size_t(i)].path);
        bind(ByValue[1][i], announcementSounds.byValueSounds[size_t(i)].path);
    }
}

OptionsPage::PathRow SoundsPage::soundRow(QGridLayout* g, int row, const QString& label) {
    PathRow r = pathRow([this] {
        return chooseFile(QStringLiteral("Waveサウンド(*.wav);;MIDIサウンド(*.mid)"),
                          QStringLiteral("サウンドの選択"));
    });
    if (!label.isEmpty()) g->addWidget(new QLabel(label), row, 0, Qt::AlignRight);
    g->addWidget(r.path, row, 1);
    g->addWidget(r.choose, row, 2);
    return r;
}

QGridLayout* SoundsPage::buildChoice(SoundChoice& c, const QString& caption,
                                     const QString& byValueText, const QString& syncText,
                                     const QString& asyncText) {
    c.frame = new QGroupBox(caption);
    auto* v = new QVBoxLayout(c.frame);
    auto* play = new QGroupBox(QStringLiteral("再生方法"));
    auto* pv = new QVBoxLayout(play);
    c.sync = new QRadioButton(syncText);
    c.async = new QRadioButton(asyncText);
    pv->addWidget(c.sync);
    pv->addWidget(c.async);
    v->addWidget(play);

    auto* choices = new QWidget; // the two choices form one group
    auto* g = new QGridLayout(choices);
    g->setContentsMargins(0, 0, 0, 0);
    c.always = new QRadioButton(QStringLiteral("常に右記のサウンドを鳴らす"));
    g->addWidget(c.always, 0, 0);
    c.alwaysSound = soundRow(g, 0, QString());
    c.byValue = new QRadioButton;
    c.byValue->setAccessibleName(byValueText);
    g->addWidget(c.byValue, 1, 0, Qt::AlignTop);
    g->addWidget(captionOf(c.byValue, byValueText), 1, 1, 1, 2);
    static const char16_t* const Cases[3] = {u"「1」の場合", u"「2」の場合", u"「3」の場合"};
    for (int i = 0; i < 3; ++i)
        c.byValueSounds[size_t(i)] = soundRow(g, 3 + i, QString::fromUtf16(Cases[i]));
    g->setColumnStretch(1, 1);
    v->addWidget(choices);
    v->addStretch();
    return g;
}

