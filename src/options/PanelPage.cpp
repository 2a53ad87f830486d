#include "options/PanelPage.h"

#include "model/SettingsRecord.h"
#include "model/TicketNumberLayout.h"
#include "options/ColorButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

PanelPage::PanelPage(OptionsContext& context)
    : OptionsPage(QStringLiteral("パネルと整理券番号表示"), context) {
    auto* v = new QVBoxLayout(this);
    showTicketNumbers = new QCheckBox(QStringLiteral("整理券番号自動表示機能を使用"));
    v->addWidget(showTicketNumbers);

    ticketNumberFrame = new QGroupBox;
    auto* g = new QGridLayout(ticketNumberFrame);
    layoutList = dropDown(TicketNumberLayout::listTexts());
    g->addWidget(new QLabel(QStringLiteral("整理券番号表示設定")), 0, 0);
    g->addWidget(layoutList, 0, 1, 1, 5);
    g->addWidget(new QLabel(QStringLiteral("整理券番号のバックライトカラー(文字色)")), 1, 0, 1, 6);
    static const char16_t* const Modes[3] = {u"OFF：", u"ON1：", u"ON2："};
    for (int i = 0; i < 3; ++i) {
        numberColors[size_t(i)] = colorButton();
        g->addWidget(new QLabel(QString::fromUtf16(Modes[i])), 2, 2 * i, Qt::AlignRight);
        g->addWidget(numberColors[size_t(i)], 2, 2 * i + 1);
    }
    zeroPadCheck = new QCheckBox(QStringLiteral("数字が1桁の番号は頭に0を付け足す"));
    g->addWidget(zeroPadCheck, 3, 0, 1, 6);
    g->addWidget(wrapLabel(QStringLiteral("※ユーザーパネルに直接番号をデザインしている場合には上記"
                                          "チェックをOFFにしてください。")),
                 4, 0, 1, 6);
    v->addWidget(ticketNumberFrame);

    auto* pictures = new QGroupBox(QStringLiteral("本体パネル"));
    auto* p = new QVBoxLayout(pictures);
    builtInPictures = new QRadioButton(QStringLiteral("内蔵しているパネルを自動で割り当てる"));
    perModePictures = new QRadioButton(QStringLiteral("個別に設定する"));
    p->addWidget(builtInPictures);
    p->addWidget(perModePictures);
    static const char16_t* const Captions[3] = {u"バックライトOFF時の画像：", u"ON1の画像：",
                                                u"ON2の画像："};
    const QString filter =
        QStringLiteral("ビットマップ(*.bmp);;GIF画像(*.gif);;JPEG画像(*.jpg)");
    for (int i = 0; i < 3; ++i) {
        PictureSlot& slot = pictureSlots[size_t(i)];
        slot.frame = new QGroupBox(QString::fromUtf16(Captions[i]));
        slot.builtIn = new QRadioButton(QStringLiteral("内蔵"));
        slot.user = new QRadioButton(QStringLiteral("ユーザーパネル"));
        slot.file = pathRow(
            [this, filter] { return chooseFile(filter, QStringLiteral("パネル画像の選択")); });
        auto* h = new QHBoxLayout(slot.frame);
        h->addWidget(slot.builtIn);
        h->addWidget(slot.user);
        h->addWidget(slot.file.path, 1);
        h->addWidget(slot.file.choose);
        p->addWidget(slot.frame);
        slot.builtIn->setChecked(true);
    }
    p->addWidget(wrapLabel(QStringLiteral(
        "※ユーザーパネルには、現在の機種に対応の画像をご使用ください。大きいパネルの場合、はみ出た"
        "部分（右・下）が切り取られます。逆に小さいパネルの場合は左上から表示され、余白部分はグレー"
        "になりますのでご注意ください。")));
    v->addWidget(pictures);

    auto* board = new QGroupBox(QStringLiteral("表示器の大きさ"));
    auto* b = new QGridLayout(board);
    boardList = dropDown(BoardChoice::gridTexts());
    b->addWidget(new QLabel(QStringLiteral("運賃表示の区画数")), 0, 0);
    b->addWidget(boardList, 0, 1, 1, 2);
    pagingCheck = new QCheckBox(QStringLiteral("区画より多い整理券番号は、ページを切り替えて表示する"));
    b->addWidget(pagingCheck, 1, 0, 1, 3);
    pageSeconds = new QSpinBox;
    pageSeconds->setRange(BoardChoice::MinPageSeconds, BoardChoice::MaxPageSeconds);
    pageSeconds->setFixedWidth(80);
    b->addWidget(new QLabel(QStringLiteral("切り替えの間隔")), 2, 0);
    b->addWidget(pageSeconds, 2, 1);
    b->addWidget(new QLabel(QStringLiteral("秒")), 2, 2);
    v->addWidget(board);
    v->addStretch();
    builtInPictures->setChecked(true);

    bind("UseSeiriNum", showTicketNumbers);
    bind("SeiriNumColorOff", numberColors[0]);
    bind("SeiriNumColorOn1", numberColors[1]);
    bind("SeiriNumColorOn2", numberColors[2]);
    bind("SeiriNumStyle", layoutList);
    bind("SeiriNumZeroPad", zeroPadCheck);
    bindGroup("PanelAuto", {builtInPictures, perModePictures});
    static const char* const Slots[3][2] = {{"PanelOffBuiltIn", "PanelOffFile"},
                                            {"PanelOn1BuiltIn", "PanelOn1File"},
                                            {"PanelOn2BuiltIn", "PanelOn2File"}};
    for (int i = 0; i < 3; ++i) {
        bindGroup(Slots[i][0], {pictureSlots[size_t(i)].builtIn, pictureSlots[size_t(i)].user});
        bind(Slots[i][1], pictureSlots[size_t(i)].file.path);
    }

    connect(showTicketNumbers, &QCheckBox::stateChanged, this, &PanelPage::applyEnablingRules);
    connect(pagingCheck, &QCheckBox::stateChanged, this, &PanelPage::applyEnablingRules);
    for (QRadioButton* b : {builtInPictures, perModePictures})
        connect(b, &QRadioButton::toggled, this, &PanelPage::applyEnablingRules);
    applyEnablingRules();
}

void PanelPage::loaded(const SettingsRecord& r) {
    boardList->setCurrentIndex(int(r.board.grid));
    pagingCheck->setChecked(r.board.paging);
    pageSeconds->setValue(r.board.pageSeconds);
}

void PanelPage::stored(SettingsRecord& r) const {
    r.board.grid = BoardChoice::Grid(std::max(boardList->currentIndex(), 0));
    r.board.paging = pagingCheck->isChecked();
    r.board.pageSeconds = pageSeconds->value();
}

void PanelPage::applyEnablingRules() {
    ticketNumberFrame->setEnabled(showTicketNumbers->isChecked());
    pageSeconds->setEnabled(pagingCheck->isChecked());
    const bool perMode = !builtInPictures->isChecked();
    for (const PictureSlot& slot : pictureSlots) {
        slot.frame->setEnabled(perMode);
        slot.frame->setVisible(perMode);
    }
}

