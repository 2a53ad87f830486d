#include "options/OptionsDialog.h"

#include "app/K40Windows.h"
#include "console/ConsoleWindow.h"
#include "widgets/StopNameDisplay.h"
#include "widgets/SegmentDisplay.h"
#include "board/BoardWindow.h"
#include "board/BoardStartup.h"
#include "model/K40Error.h"
#include "model/Clock.h"
#include "model/MessageBoxService.h"
#include "app/Services.h"
#include "widgets/TicketEngine.h"
#include "options/ColorButton.h"
#include "options/PageButton.h"
#include "model/SettingsRecord.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Value conversions between the controls and the settings record, with the
// checks that the controls make when a value is assigned.

qint16 checkValue(const QCheckBox* c) {
    switch (c->checkState()) {
    case Qt::Unchecked: return 0;
    case Qt::Checked: return 1;
    default: return 2;
    }
}

void setCheckValue(QCheckBox* c, qint16 v) {
    if (v < 0 || v > 2) throw K40Error(K40Error::InvalidPropertyValue);
    c->setCheckState(v == 0 ? Qt::Unchecked : v == 1 ? Qt::Checked : Qt::PartiallyChecked);
}

qint16 flagValue(const QRadioButton* r) { return r->isChecked() ? -1 : 0; }

void setFlagValue(QRadioButton* r, qint16 v) { r->setChecked(v != 0); }

qint16 listIndex(const QComboBox* c) { return static_cast<qint16>(c->currentIndex()); }

void setListIndex(QComboBox* c, qint16 v) {
    if (v < -1 || v >= c->count()) throw K40Error(K40Error::InvalidPropertyValue);
    c->setCurrentIndex(v);
}

QLabel* wrapLabel(const QString& text, QWidget* parent = nullptr) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}

QPushButton* dotsButton() {
    auto* b = new QPushButton(QStringLiteral("..."));
    b->setFixedWidth(32);
    return b;
}

QComboBox* dropDown() {
    auto* c = new QComboBox;
    c->setEditable(false);
    return c;
}

// The page and sub-page buttons.
QRadioButton* pageButton(const QString& caption) { return new PageButton(caption); }

const QString kSoundFilter = QStringLiteral("Waveサウンド(*.wav);;MIDIサウンド(*.mid)");
const QString kPanelFilter =
    QStringLiteral("ビットマップ(*.bmp);;GIF画像(*.gif);;JPEG画像(*.jpg)");
const QString kPluginFilter = QStringLiteral("整理券プラグイン(*.4SP)");

} // namespace

OptionsDialog::OptionsDialog(K40Windows& host, QWidget* parent)
    : QDialog(parent), host_(host) {
    setWindowTitle(QStringLiteral("オプション"));
    setModal(true);
    openFolder = [](const QString& path) {
        return !path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };

    auto* outer = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    outer->addLayout(body);

    static const char16_t* const kButtons[6] = {
        u"運賃データと　放送用データ", u"パネルと整理券番号表示", u"デジタル部品と情報用数字",
        u"停名の設定", u"サウンド", u"　　整理券　　　プレビュー"};
    static const char16_t* const kFrames[6] = {
        u"運賃データと放送用データ", u"パネルと整理券番号表示", u"デジタル部品と情報用数字",
        u"停名の設定", u"サウンド（鳴らさなくてもいい項目にはファイル名を入れないで下さい）",
        u"整理券プレビュー"};
    auto* selector = new QVBoxLayout;
    auto* pageGroup = new QButtonGroup(this);
    pages_ = new QStackedWidget;
    for (int i = 0; i < 6; ++i) {
        Option1[size_t(i)] = pageButton(QString::fromUtf16(kButtons[i]));
        Option1[size_t(i)]->setFixedWidth(130);
        pageGroup->addButton(Option1[size_t(i)], i);
        selector->addWidget(Option1[size_t(i)]);
        Frame1[size_t(i)] = new QGroupBox(QString::fromUtf16(kFrames[i]));
        pages_->addWidget(Frame1[size_t(i)]);
        connect(Option1[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) pages_->setCurrentIndex(i);
        });
    }
    selector->addStretch();
    body->addLayout(selector);
    body->addWidget(pages_, 1);

    buildPage0();
    buildPage1();
    buildPage2();
    buildPage3();
    buildPage4();
    buildPage5();

    Command4 = new QPushButton(QStringLiteral("OK"));
    Command4->setDefault(true);
    Command4->setFixedWidth(100);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command4);
    outer->addLayout(buttons);
    connect(Command4, &QPushButton::clicked, this, [this] {
        SetProp();
        hide();
    });

    // The load routine.
    M_Degit1->setDigitSize(0);
    for (int n = 1; n <= 24; ++n)
        for (int k = 0; k < 4; ++k) Combo4[size_t(k)]->addItem(QString::number(n));
    for (int k = 0; k < 4; ++k) Combo4[size_t(k)]->setCurrentIndex(0);
    for (int n = 1; n <= 150; ++n) {
        Combo1->addItem(QString::number(n));
        Combo4[4]->addItem(QString::number(n));
    }
    Combo1->setCurrentIndex(0);
    Combo4[4]->setCurrentIndex(0);
    AddComboItem();
    Label10->setText(host_.services().clock->now().date().toString(u"yyyy/MM/dd"));

    // Text boxes hold any length; the settings file decides what it can store.
    for (QLineEdit* e : findChildren<QLineEdit*>()) e->setMaxLength(1 << 20);

    Option1[0]->setChecked(true);
    Option5[1]->setChecked(true);
    applyEnablingRules();
    updatePreviewDigit();
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::showPage(int i) { Option1[size_t(i)]->setChecked(true); }

// ---- Pages --------------------------------------------------------------------

void OptionsDialog::buildPage0() {
    auto* v = new QVBoxLayout(Frame1[0]);
    static const char16_t* const kLabels[2] = {u"運賃データ(*.hy3)のあるフォルダー：",
                                               u"放送用データ(*****Tp.csv)のあるフォルダー："};
    static const char16_t* const kOpen[2] = {u"上記運賃データの場所をエクスプローラで開く",
                                             u"上記放送用データの場所をエクスプローラで開く"};
    for (int i = 0; i < 2; ++i) {
        Label3[size_t(i)] = new QLabel(QString::fromUtf16(kLabels[i]));
        Text2[size_t(i)] = new QLineEdit;
        Command3[size_t(i)] = dotsButton();
        Command10[size_t(i)] = new QPushButton(QString::fromUtf16(kOpen[i]));
        auto* row = new QHBoxLayout;
        row->addWidget(Text2[size_t(i)], 1);
        row->addWidget(Command3[size_t(i)]);
        auto* open = new QHBoxLayout;
        open->addStretch();
        open->addWidget(Command10[size_t(i)]);
        v->addWidget(Label3[size_t(i)]);
        v->addLayout(row);
        v->addLayout(open);
        v->addSpacing(12);
        connect(Command3[size_t(i)], &QPushButton::clicked, this, [this, i] {
            const QString path = GetPathString();
            if (!path.isEmpty()) Text2[size_t(i)]->setText(path);
        });
        connect(Command10[size_t(i)], &QPushButton::clicked, this,
                [this, i] { openFolder(Text2[size_t(i)]->text()); });
    }
    v->addStretch();
}

void OptionsDialog::buildPage1() {
    auto* v = new QVBoxLayout(Frame1[1]);
    Check1 = new QCheckBox(QStringLiteral("整理券番号自動表示機能を使用"));
    v->addWidget(Check1);

    Frame3 = new QGroupBox;
    auto* g = new QGridLayout(Frame3);
    Combo2 = dropDown();
    g->addWidget(new QLabel(QStringLiteral("整理券番号表示設定")), 0, 0);
    g->addWidget(Combo2, 0, 1, 1, 5);
    g->addWidget(new QLabel(QStringLiteral("整理券番号のバックライトカラー(文字色)")), 1, 0, 1, 6);
    static const char16_t* const kModes[3] = {u"OFF：", u"ON1：", u"ON2："};
    for (int i = 0; i < 3; ++i) {
        Command5[size_t(i)] = new ColorButton;
        g->addWidget(new QLabel(QString::fromUtf16(kModes[i])), 2, 2 * i, Qt::AlignRight);
        g->addWidget(Command5[size_t(i)], 2, 2 * i + 1);
        connect(Command5[size_t(i)], &QPushButton::clicked, this,
                [this, i] { GetBtnColor(Command5[size_t(i)]); });
    }
    Check2 = new QCheckBox(QStringLiteral("数字が1桁の番号は頭に0を付け足す"));
    g->addWidget(Check2, 3, 0, 1, 6);
    g->addWidget(wrapLabel(QStringLiteral("※ユーザーパネルに直接番号をデザインしている場合には上記"
                                          "チェックをOFFにしてください。")),
                 4, 0, 1, 6);
    v->addWidget(Frame3);

    Frame4 = new QGroupBox(QStringLiteral("本体パネル"));
    auto* f4 = new QVBoxLayout(Frame4);
    Option3[0] = new QRadioButton(QStringLiteral("内蔵しているパネルを自動で割り当てる"));
    Option3[1] = new QRadioButton(QStringLiteral("個別に設定する"));
    f4->addWidget(Option3[0]);
    f4->addWidget(Option3[1]);
    // Per mode: frame caption, index of "内蔵", index of "ユーザーパネル".
    struct Slot {
        const char16_t* caption;
        int builtIn, user;
    };
    static const Slot kSlots[3] = {
        {u"バックライトOFF時の画像：", 7, 6}, {u"ON1の画像：", 3, 2}, {u"ON2の画像：", 4, 5}};
    for (int i = 0; i < 3; ++i) {
        Frame6[size_t(i)] = new QGroupBox(QString::fromUtf16(kSlots[i].caption));
        auto* h = new QHBoxLayout(Frame6[size_t(i)]);
        Option3[size_t(kSlots[i].builtIn)] = new QRadioButton(QStringLiteral("内蔵"));
        Option3[size_t(kSlots[i].user)] = new QRadioButton(QStringLiteral("ユーザーパネル"));
        txtSelectPanel[size_t(i)] = new QLineEdit;
        Command6[size_t(i)] = dotsButton();
        h->addWidget(Option3[size_t(kSlots[i].builtIn)]);
        h->addWidget(Option3[size_t(kSlots[i].user)]);
        h->addWidget(txtSelectPanel[size_t(i)], 1);
        h->addWidget(Command6[size_t(i)]);
        f4->addWidget(Frame6[size_t(i)]);
        connect(Command6[size_t(i)], &QPushButton::clicked, this, [this, i] { choosePanel(i); });
    }
    f4->addWidget(wrapLabel(QStringLiteral(
        "※ユーザーパネルには、現在の機種に対応の画像をご使用ください。大きいパネルの場合、はみ出た"
        "部分（右・下）が切り取られます。逆に小さいパネルの場合は左上から表示され、余白部分はグレー"
        "になりますのでご注意ください。")));
    v->addWidget(Frame4);
    v->addStretch();
    for (int i : {0, 7, 3, 4}) Option3[size_t(i)]->setChecked(true);

    connect(Check1, &QCheckBox::stateChanged, this, [this] { applyEnablingRules(); });
    for (QRadioButton* b : Option3)
        connect(b, &QRadioButton::toggled, this, [this] { applyEnablingRules(); });
}

void OptionsDialog::buildPage2() {
    auto* v = new QVBoxLayout(Frame1[2]);
    auto* colours = new QGroupBox(
        QStringLiteral("デジタル部品の背景色と文字色（時計つきの場合はこの部分も同色となります）"));
    auto* g = new QGridLayout(colours);
    static const char16_t* const kLabels[3] = {u"背景色：", u"未発光時の文字色：",
                                               u"発光時の文字色："};
    for (int i = 0; i < 3; ++i) {
        Command8[size_t(i)] = new ColorButton;
        g->addWidget(new QLabel(QString::fromUtf16(kLabels[i])), i, 0, Qt::AlignRight);
        g->addWidget(Command8[size_t(i)], i, 1);
        connect(Command8[size_t(i)], &QPushButton::clicked, this, [this, i] {
            GetBtnColor(Command8[size_t(i)]);
            updatePreviewDigit();
        });
    }
    Command8[0]->setBackColor(0x00808080);
    Command8[1]->setBackColor(0x00969696);
    Command8[2]->setBackColor(0x0072D2F8);
    M_Degit1 = new SegmentDisplay;
    M_Degit1->setUserSettable(false);
    g->addWidget(new QLabel(QStringLiteral("プレビュー")), 0, 2, Qt::AlignCenter);
    g->addWidget(M_Degit1, 1, 2, 2, 1, Qt::AlignCenter);
    g->setColumnStretch(3, 1);
    v->addWidget(colours);

    auto* info = new QGroupBox(QStringLiteral("情報用数字の設定"));
    auto* ig = new QGridLayout(info);
    for (int i = 0; i < 5; ++i) Combo4[size_t(i)] = dropDown();
    Check3[0] = new QCheckBox(QStringLiteral("停留所の順番（区間・個数）を、"));
    Check3[1] = new QCheckBox(QStringLiteral("整理券番号を、"));
    Check3[2] = new QCheckBox(QStringLiteral("系統番号を、"));
    Check3[3] = new QCheckBox(QStringLiteral("データの"));
    Check3[4] = new QCheckBox(QStringLiteral("0から数える"));
    auto cells = [] { return new QLabel(QStringLiteral("コマ目に表示する。")); };
    ig->addWidget(Check3[0], 0, 0, 1, 3);
    ig->addWidget(Combo4[0], 0, 3);
    ig->addWidget(cells(), 0, 4);
    ig->addWidget(Check3[4], 1, 1, 1, 4);
    ig->addWidget(Check3[1], 2, 0, 1, 3);
    ig->addWidget(Combo4[1], 2, 3);
    ig->addWidget(cells(), 2, 4);
    ig->addWidget(Check3[2], 3, 0, 1, 3);
    ig->addWidget(Combo4[2], 3, 3);
    ig->addWidget(cells(), 3, 4);
    ig->addWidget(Check3[3], 4, 0);
    ig->addWidget(Combo4[4], 4, 1);
    ig->addWidget(new QLabel(QStringLiteral("列目の値を、")), 4, 2);
    ig->addWidget(Combo4[3], 4, 3);
    ig->addWidget(cells(), 4, 4);
    ig->setColumnStretch(5, 1);
    v->addWidget(info);
    v->addWidget(wrapLabel(QStringLiteral(
        "デジタル数字の桁ずらし、ゼロ埋めの設定は各部品をダブルクリックして設定してください。また、"
        "これら情報用数字は運賃の表示よりも優先されます。")));
    v->addStretch();
    for (int i = 0; i < 4; ++i)
        connect(Check3[size_t(i)], &QCheckBox::stateChanged, this,
                [this] { applyEnablingRules(); });
}

void OptionsDialog::buildPage3() {
    auto* v = new QVBoxLayout(Frame1[3]);
    auto* name = new QGroupBox(QStringLiteral("停名部分の設定"));
    auto* g = new QGridLayout(name);
    Command9[0] = new ColorButton;
    Command9[1] = new ColorButton;
    Command9[2] = new ColorButton;
    Command9[0]->setBackColor(0x00808080);
    Command9[1]->setBackColor(0x0000FFFF);
    Command9[2]->setBackColor(0x0000FFFF);
    Combo3 = dropDown();
    Combo3->addItems({QStringLiteral("ゴシック体"), QStringLiteral("明朝体"),
                      QStringLiteral("漢字はゴシック、それ以外は明朝"),
                      QStringLiteral("漢字は明朝、それ以外はゴシック"),
                      QStringLiteral("英数字はゴシック、それ以外は明朝")});
    Check4 = new QCheckBox(QStringLiteral("太字（表示の不具合はサポート対象外）"));
    g->addWidget(new QLabel(QStringLiteral("背景色：")), 0, 0, Qt::AlignRight);
    g->addWidget(Command9[0], 0, 1);
    g->addWidget(new QLabel(QStringLiteral("文字色：")), 1, 0, Qt::AlignRight);
    g->addWidget(Command9[1], 1, 1);
    g->addWidget(new QLabel(QStringLiteral("フォントオプション：")), 2, 0, Qt::AlignRight);
    g->addWidget(Combo3, 2, 1, 1, 2);
    g->addWidget(Check4, 3, 1, 1, 2);
    g->setColumnStretch(2, 1);
    v->addWidget(name);

    auto* prefix = new QGroupBox(
        QStringLiteral("「次は」の表示設定(データの最初は「次は」は表示されません)"));
    auto* p = new QGridLayout(prefix);
    Combo6 = dropDown();
    Combo6->addItems({QStringLiteral("「次は」表示なし"),
                      QStringLiteral("「次は」を表示（「は」が小さい）"),
                      QStringLiteral("「次は」を表示（同じ大きさ）")});
    Combo5 = dropDown();
    Combo5->addItems({QStringLiteral("すべてゴシック体"), QStringLiteral("「は」だけ明朝体"),
                      QStringLiteral("すべて明朝体"), QStringLiteral("「は」だけゴシック体")});
    Check5 = new QCheckBox(QStringLiteral("太字（表示の不具合はサポート対象外）"));
    p->addWidget(new QLabel(QStringLiteral("「次は」表示オプション：")), 0, 0, Qt::AlignRight);
    p->addWidget(Combo6, 0, 1, 1, 2);
    p->addWidget(new QLabel(QStringLiteral("「次は」の文字色：")), 1, 0, Qt::AlignRight);
    p->addWidget(Command9[2], 1, 1);
    p->addWidget(new QLabel(QStringLiteral("フォントオプション：")), 2, 0, Qt::AlignRight);
    p->addWidget(Combo5, 2, 1, 1, 2);
    p->addWidget(Check5, 3, 1, 1, 2);
    p->setColumnStretch(2, 1);
    v->addWidget(prefix);
    v->addStretch();
    for (QComboBox* c : {Combo3, Combo5, Combo6}) c->setCurrentIndex(-1);
    for (int i = 0; i < 3; ++i)
        connect(Command9[size_t(i)], &QPushButton::clicked, this,
                [this, i] { GetBtnColor(Command9[size_t(i)]); });
}

void OptionsDialog::buildPage4() {
    auto* v = new QVBoxLayout(Frame1[4]);
    auto soundRow = [this](int index, QGridLayout* g, int row, int column, const QString& label) {
        txtSelectSound[size_t(index)] = new QLineEdit;
        cmdSelectSound[size_t(index)] = dotsButton();
        if (!label.isEmpty()) g->addWidget(new QLabel(label), row, column, Qt::AlignRight);
        g->addWidget(txtSelectSound[size_t(index)], row, column + 1);
        g->addWidget(cmdSelectSound[size_t(index)], row, column + 2);
        connect(cmdSelectSound[size_t(index)], &QPushButton::clicked, this,
                [this, index] { chooseSound(index); });
    };
    auto* top = new QGridLayout;
    soundRow(0, top, 0, 0, QStringLiteral("系統設定時のサウンド："));
    soundRow(1, top, 1, 0, QStringLiteral("リセット時のサウンド："));
    top->setColumnStretch(1, 1);
    v->addLayout(top);

    Option5[0] = pageButton(QStringLiteral("放送前のサウンド..."));
    Option5[1] = pageButton(QStringLiteral("送り・戻し時のサウンド..."));
    auto* sub = new QHBoxLayout;
    sub->addWidget(Option5[0]);
    sub->addWidget(Option5[1]);
    sub->addStretch();
    v->addLayout(sub);
    soundPages_ = new QStackedWidget;
    v->addWidget(soundPages_);

    // Frame2(1): stepping sounds.
    Frame2[1] = new QGroupBox(QStringLiteral("送り・戻し時のサウンド"));
    auto* s = new QVBoxLayout(Frame2[1]);
    auto* play = new QGroupBox(QStringLiteral("再生方法"));
    auto* pv = new QVBoxLayout(play);
    Option6[0] = new QRadioButton(
        QStringLiteral("同期再生(サウンドが完全に再生された後で運賃切り替え)"));
    Option6[1] = new QRadioButton(
        QStringLiteral("非同期再生(サウンドを再生しながら運賃切り替え)"));
    pv->addWidget(Option6[0]);
    pv->addWidget(Option6[1]);
    s->addWidget(play);
    auto* choice = new QWidget; // the two choices form one group
    auto* cg = new QGridLayout(choice);
    cg->setContentsMargins(0, 0, 0, 0);
    Option2[0] = new QRadioButton(QStringLiteral("常に右記のサウンドを鳴らす"));
    cg->addWidget(Option2[0], 0, 0);
    soundRow(7, cg, 0, 0, QString());
    Option2[1] = new QRadioButton;
    auto* byColumn = wrapLabel(QStringLiteral(
        "運賃データ(*.hy3)の特定の列のデータから判断して、以下の指定したサウンドを鳴らす（指定した"
        "列のデータの内容が1～3以外の場合はサウンドは鳴りません）"));
    cg->addWidget(Option2[1], 1, 0, Qt::AlignTop);
    cg->addWidget(byColumn, 1, 1, 1, 2);
    Option2[1]->setText(QString());
    Option2[1]->setAccessibleName(byColumn->text());
    Combo1 = dropDown();
    auto* column = new QHBoxLayout;
    column->addWidget(new QLabel(QStringLiteral("運賃データの")));
    column->addWidget(Combo1);
    column->addWidget(new QLabel(QStringLiteral("列目のデータが、")));
    column->addStretch();
    cg->addLayout(column, 2, 1, 1, 2);
    static const char16_t* const kCases[3] = {u"「1」の場合", u"「2」の場合", u"「3」の場合"};
    for (int i = 0; i < 3; ++i) soundRow(8 + i, cg, 3 + i, 0, QString::fromUtf16(kCases[i]));
    cg->setColumnStretch(1, 1);
    s->addWidget(choice);
    s->addStretch();

    // Frame2(0): sounds before an announcement.
    Frame2[0] = new QGroupBox(QStringLiteral("放送前のサウンド：※音声合成放送機能が有効でない場合は"
                                             "以下の設定は意味を持ちません。"));
    auto* t = new QVBoxLayout(Frame2[0]);
    auto* tplay = new QGroupBox(QStringLiteral("再生方法"));
    auto* tv = new QVBoxLayout(tplay);
    Option7[0] = new QRadioButton(QStringLiteral("同期再生(サウンドが完全に再生された後で放送開始)"));
    Option7[1] = new QRadioButton(QStringLiteral("非同期再生(サウンドを再生しながら放送開始)"));
    tv->addWidget(Option7[0]);
    tv->addWidget(Option7[1]);
    t->addWidget(tplay);
    auto* tchoice = new QWidget;
    auto* tg = new QGridLayout(tchoice);
    tg->setContentsMargins(0, 0, 0, 0);
    Option2[2] = new QRadioButton(QStringLiteral("常に右記のサウンドを鳴らす"));
    tg->addWidget(Option2[2], 0, 0);
    soundRow(3, tg, 0, 0, QString());
    Option2[3] = new QRadioButton;
    auto* byFlag = wrapLabel(QStringLiteral(
        "放送データ(*.Tp.csv)内のフラグから判断して、以下の指定したサウンドを鳴らす（フラグの内容"
        "が1～3以外の場合はサウンドは鳴りません）"));
    Option2[3]->setAccessibleName(byFlag->text());
    tg->addWidget(Option2[3], 1, 0, Qt::AlignTop);
    tg->addWidget(byFlag, 1, 1, 1, 2);
    for (int i = 0; i < 3; ++i) soundRow(4 + i, tg, 2 + i, 0, QString::fromUtf16(kCases[i]));
    tg->setColumnStretch(1, 1);
    t->addWidget(tchoice);
    t->addWidget(wrapLabel(QStringLiteral("「放送前のサウンド」再生時は、停名のスクロールが停止する"
                                          "ことがありますので、あらかじめご了承ください。")));
    t->addStretch();

    soundPages_->addWidget(Frame2[0]);
    soundPages_->addWidget(Frame2[1]);
    for (int i = 0; i < 2; ++i)
        connect(Option5[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) soundPages_->setCurrentIndex(i);
        });
    Option2[0]->setChecked(true);
    Option2[2]->setChecked(true);
    Option6[1]->setChecked(true);
    Option7[0]->setChecked(true);
}

void OptionsDialog::buildPage5() {
    auto* v = new QVBoxLayout(Frame1[5]);
    chkUseSeiriPrev = new QCheckBox(QStringLiteral("整理券プレビュー機能を使用する"));
    v->addWidget(chkUseSeiriPrev);

    Frame10 = new QGroupBox(QStringLiteral("整理券プラグイン設定"));
    auto* p = new QGridLayout(Frame10);
    p->addWidget(wrapLabel(QStringLiteral("整理券プラグイン（整理券プレビューを使用しない場合は、"
                                          "何も入れないでください）：")),
                 0, 0, 1, 3);
    txtSeiriPlgDir = new QLineEdit;
    Command1 = dotsButton();
    Command11 = new QPushButton(QStringLiteral("×"));
    Command11->setFixedWidth(28);
    Command11->setToolTip(QStringLiteral("プラグインの指定を解除"));
    p->addWidget(txtSeiriPlgDir, 1, 0);
    p->addWidget(Command1, 1, 1);
    p->addWidget(Command11, 1, 2);
    p->addWidget(new QLabel(QStringLiteral("上記プラグインのプロパティ：")), 2, 0, 1, 3);
    List1 = new QListWidget;
    List1->setMinimumHeight(90);
    p->addWidget(List1, 3, 0, 1, 3);
    p->addWidget(new QLabel(QStringLiteral("上記プラグインの特記事項：")), 4, 0, 1, 3);
    txtPlginComment = new QPlainTextEdit;
    txtPlginComment->setReadOnly(true);
    txtPlginComment->setMaximumHeight(60);
    p->addWidget(txtPlginComment, 5, 0, 1, 3);
    p->setColumnStretch(0, 1);
    v->addWidget(Frame10);

    Frame7 = new QGroupBox(
        QStringLiteral("日付の設定（整理券プラグインが日付の印字をサポートしているときに有効）"));
    auto* d = new QGridLayout(Frame7);
    Option4[0] = new QRadioButton(
        QStringLiteral("システムの日付を使用（整理券印字と同時に日付を更新、デフォルト）"));
    Option4[1] =
        new QRadioButton(QStringLiteral("システムの日付を使用（系統設定した時点の日付を保持）"));
    Option4[2] = new QRadioButton(QStringLiteral("右記の日付に固定"));
    Label10 = new QLabel;
    Command7 = new QPushButton(QStringLiteral("日付選択..."));
    d->addWidget(Option4[0], 0, 0, 1, 3);
    d->addWidget(Option4[1], 1, 0, 1, 3);
    auto* note = wrapLabel(QStringLiteral("系統設定した際の日付が保持され、日付が途中で変わっても次回"
                                          "系統設定するまで整理券の日付変更を行いません。"));
    note->setContentsMargins(20, 0, 0, 0);
    d->addWidget(note, 2, 0, 1, 3);
    d->addWidget(Option4[2], 3, 0);
    d->addWidget(Label10, 3, 1);
    d->addWidget(Command7, 3, 2);
    d->setColumnStretch(1, 1);
    v->addWidget(Frame7);
    v->addStretch();
    Option4[0]->setChecked(true);

    connect(chkUseSeiriPrev, &QCheckBox::stateChanged, this, [this] { applyEnablingRules(); });
    connect(Command1, &QPushButton::clicked, this, [this] { choosePlugin(); });
    connect(Command11, &QPushButton::clicked, this, [this] {
        txtSeiriPlgDir->clear();
        List1->clear();
        txtPlginComment->clear();
    });
    connect(Command7, &QPushButton::clicked, this, [this] { chooseDate(); });
}

// ---- Rules ----------------------------------------------------------------------

void OptionsDialog::applyEnablingRules() {
    Frame3->setEnabled(Check1->isChecked());
    Combo4[0]->setEnabled(Check3[0]->isChecked());
    Check3[4]->setEnabled(Check3[0]->isChecked());
    Combo4[1]->setEnabled(Check3[1]->isChecked());
    Combo4[2]->setEnabled(Check3[2]->isChecked());
    Combo4[3]->setEnabled(Check3[3]->isChecked());
    Combo4[4]->setEnabled(Check3[3]->isChecked());
    const bool manual = !Option3[0]->isChecked();
    for (QGroupBox* f : Frame6) {
        f->setEnabled(manual);
        f->setVisible(manual);
    }
    const bool preview = chkUseSeiriPrev->isChecked();
    for (QGroupBox* f : {Frame10, Frame7}) {
        f->setEnabled(preview);
        f->setVisible(preview);
    }
}

void OptionsDialog::updatePreviewDigit() {
    M_Degit1->setBackColor(Command8[0]->backColor());
    M_Degit1->setUnlitColor(Command8[1]->backColor());
    M_Degit1->setLitColor(Command8[2]->backColor());
    M_Degit1->setDigitCount(3);
    M_Degit1->setValue(DigitValue(u"123"_qs));
}

void OptionsDialog::closeEvent(QCloseEvent* event) {
    // The dialog holds the settings: closing it only hides it.
    event->ignore();
    hide();
}

// ---- Choosers ---------------------------------------------------------------------

QString OptionsDialog::GetPathString() {
    return host_.services().dialogs->chooseFolder(this, QStringLiteral("フォルダーを選択してください"));
}

void OptionsDialog::GetBtnColor(ColorButton* button) {
    BgrColor colour = button->backColor();
    if (host_.services().dialogs->chooseColor(this, colour, CustomColors))
        button->setBackColor(colour);
}

void OptionsDialog::chooseSound(int index) {
    const QString path = host_.services().dialogs->chooseFile(this, kSoundFilter,
                                                              QStringLiteral("サウンドの選択"));
    if (!path.isEmpty()) txtSelectSound[size_t(index)]->setText(path);
}

void OptionsDialog::choosePanel(int index) {
    const QString path = host_.services().dialogs->chooseFile(this, kPanelFilter,
                                                              QStringLiteral("パネル画像の選択"));
    if (!path.isEmpty()) txtSelectPanel[size_t(index)]->setText(path);
}

void OptionsDialog::chooseDate() {
    const std::optional<QDate> date = host_.services().dialogs->chooseDate(this);
    if (!date) return;
    Label10->setText(QStringLiteral("%1/%2/%3")
                         .arg(date->year())
                         .arg(date->month(), 2, 10, QChar(u'0'))
                         .arg(date->day(), 2, 10, QChar(u'0')));
}

void OptionsDialog::choosePlugin() {
    const QString path = host_.services().dialogs->chooseFile(this, kPluginFilter,
                                                              QStringLiteral("プラグインの選択"));
    host_.console().Combo1->clear();
    if (SetPlgin(path) != 0) {
        txtSeiriPlgDir->setText(path);
        return;
    }
    host_.services().messages->show(QStringLiteral("指定したファイルはプラグインでないか、内容が不正です"),
                                    QStringLiteral("プラグインロードエラー"), MsgIcon::Critical,
                                    MsgButtons::Ok);
}

qint32 OptionsDialog::SetPlgin(const QString& path) {
    if (path.isEmpty()) return 0;
    TicketEngine* engine = host_.services().tickets;
    TicketPluginInfo info{};
    if (!engine || !engine->pluginInfo(path, info)) return 0;
    txtPlginComment->setPlainText(engine->remarks(path));
    auto can = [](qint32 f) { return f == 1 ? QStringLiteral("---> 可能") : QStringLiteral("---> 不可"); };
    List1->clear();
    List1->addItem(QStringLiteral("日付の印字 ") + can(info[3]));
    List1->addItem(QStringLiteral("時刻の印字 ") + can(info[4]));
    List1->addItem(QStringLiteral("系統番号の印字 ") + can(info[5]));
    List1->addItem(QStringLiteral("停名の印字 ") + can(info[6]));
    List1->addItem(QStringLiteral("バーコード印字 ") + can(info[7]));
    if (info[7] == 1) {
        List1->addItem(QStringLiteral("バーコード本数 ---> ") + QString::number(info[8]));
        List1->addItem(QStringLiteral("バーコード系統方式 ") +
                       (info[10] == 1 ? QStringLiteral("---> 連番式")
                                      : QStringLiteral("---> 系統番号＋往復フラグ")));
        List1->addItem(QStringLiteral("設定可能な系統範囲 ") + QStringLiteral("---> 1 ～ ") +
                       QString::number(info[9]));
        List1->addItem(QStringLiteral("停留所認識範囲 ---> ") + QString::number(info[11]) +
                       QStringLiteral(" ～ ") + QString::number(info[12]));
    }
    List1->addItem(QStringLiteral("社名切り替え:") +
                   (info[13] >= 1 ? QStringLiteral("---> 可能") : QStringLiteral("---> 不可")));
    host_.console().setPreviewSize(info[1], info[2]);
    if (info[13] >= 1) host_.console().Combo1->addItems(engine->companyNames(path));
    return 2;
}

void OptionsDialog::AddComboItem() {
    static const char16_t* const kPatterns[12] = {
        u"1,2,3...", u"0,1,2...", u"「なし」、1,2...", u"「なし」、2,3...",
        u"「無券」、1,2...", u"「無券」、2,3...", u"「券なし」、1,2...", u"「券なし」、2,3...",
        u"「券無し」、1,2...", u"「券無し」、2,3...", u"(無地)、1,2...", u"(無地)、2,3..."};
    static const int kCounts[12] = {24, 23, 23, 24, 23, 24, 23, 24, 23, 24, 23, 24};
    for (int i = 0; i < 12; ++i) {
        QString text = QString::fromUtf16(kPatterns[i]) + QString::number(kCounts[i]);
        if (i == 0) text += QStringLiteral(" （既定の表示）");
        Combo2->addItem(text);
    }
    Combo2->setCurrentIndex(0);
}

// ---- Applying -----------------------------------------------------------------------

void OptionsDialog::SetProp() {
    BoardWindow& panel = host_.panel();
    ConsoleWindow& console = host_.console();
    const bool show = Check1->checkState() != Qt::Unchecked;
    for (int i = 1; i <= 24; ++i) panel.lblSeiriNum[size_t(i)]->setVisible(show);

    BoardStartup::SeirikenNumSet(panel, listIndex(Combo2), checkValue(Check2),
                               *host_.services().messages);

    const int mode = console.backlightMode();
    const BgrColor colour = Command5[size_t(mode)]->backColor();
    for (int i = 1; i <= 24; ++i) BoardStartup::setLabelColour(*panel.lblSeiriNum[size_t(i)], colour);

    auto colourDigit = [this](SegmentDisplay* d) {
        d->setBackColor(Command8[0]->backColor());
        d->setUnlitColor(Command8[1]->backColor());
        d->setLitColor(Command8[2]->backColor());
    };
    for (int i = 1; i <= 24; ++i) colourDigit(panel.Degit[size_t(i)]);
    for (SegmentDisplay* d : panel.TimeDegit) colourDigit(d);

    StopNameDisplay* strip = panel.ChimeiCtl;
    strip->setBackColor(Command9[0]->backColor());
    strip->setDotColor(Command9[1]->backColor());
    strip->setFontMode(listIndex(Combo3));
    strip->setFontBold(Check4->checkState() == Qt::Checked);
    strip->setPrefixMode(listIndex(Combo6));
    strip->setPrefixColor(Command9[2]->backColor());
    strip->setPrefixFontMode(listIndex(Combo5));
    strip->setPrefixBold(Check5->checkState() == Qt::Checked);

    console.Option4_Click(mode);
}

// ---- Settings record ----------------------------------------------------------------

namespace {

// Reads the controls into the record.
struct Collect {
    void text(QLineEdit* e, QString& v) { v = e->text(); }
    void check(QCheckBox* c, qint16& v) { v = checkValue(c); }
    void flag(QRadioButton* r, qint16& v) { v = flagValue(r); }
    void list(QComboBox* c, qint16& v) { v = listIndex(c); }
    void colour(ColorButton* b, qint32& v) { v = static_cast<qint32>(b->backColor()); }
    void label(QLabel* l, QString& v) { v = l->text(); }
    void afterPanelFiles() {}
    void afterDigitColours() {}
};

// Writes the record into the controls, with the checks the controls make.
struct Distribute {
    std::function<void()> panelFiles, digitColours;
    void text(QLineEdit* e, const QString& v) { e->setText(v); }
    void check(QCheckBox* c, qint16 v) { setCheckValue(c, v); }
    void flag(QRadioButton* r, qint16 v) { setFlagValue(r, v); }
    void list(QComboBox* c, qint16 v) { setListIndex(c, v); }
    void colour(ColorButton* b, qint32 v) { b->setBackColor(static_cast<BgrColor>(v)); }
    void label(QLabel* l, const QString& v) { l->setText(v); }
    void afterPanelFiles() { panelFiles(); }
    void afterDigitColours() { digitColours(); }
};

} // namespace

// Blocks 1 to 6 in file order, for both directions. R is SettingsRecord or
// const SettingsRecord.
template <typename Op, typename R> void OptionsDialog::transfer(Op& op, R& r) const {
    op.text(Text2[0], r.FareDataDir);
    op.text(Text2[1], r.TapeDataDir);

    op.check(Check1, r.UseSeiriNum);
    op.colour(Command5[0], r.SeiriNumColorOff);
    op.colour(Command5[1], r.SeiriNumColorOn1);
    op.colour(Command5[2], r.SeiriNumColorOn2);
    op.list(Combo2, r.SeiriNumStyle);
    op.check(Check2, r.SeiriNumZeroPad);
    op.flag(Option3[0], r.PanelAuto);
    op.flag(Option3[1], r.PanelManual);
    op.flag(Option3[7], r.PanelOffBuiltIn);
    op.flag(Option3[6], r.PanelOffUser);
    op.flag(Option3[3], r.PanelOn1BuiltIn);
    op.flag(Option3[2], r.PanelOn1User);
    op.flag(Option3[4], r.PanelOn2BuiltIn);
    op.flag(Option3[5], r.PanelOn2User);
    op.text(txtSelectPanel[0], r.PanelOffFile);
    op.text(txtSelectPanel[1], r.PanelOn1File);
    op.text(txtSelectPanel[2], r.PanelOn2File);
    op.afterPanelFiles();

    op.colour(Command8[0], r.DegitBackColor);
    op.colour(Command8[1], r.DegitBaseForeColor);
    op.colour(Command8[2], r.DegitForeColor);
    op.afterDigitColours();
    op.check(Check3[0], r.InfoSectionOn);
    op.list(Combo4[0], r.InfoSectionCell);
    op.check(Check3[4], r.InfoSectionFromZero);
    op.check(Check3[1], r.InfoSeiriOn);
    op.list(Combo4[1], r.InfoSeiriCell);
    op.check(Check3[2], r.InfoRouteOn);
    op.list(Combo4[2], r.InfoRouteCell);
    op.check(Check3[3], r.InfoColumnOn);
    op.list(Combo4[4], r.InfoColumnNo);
    op.list(Combo4[3], r.InfoColumnCell);

    op.colour(Command9[0], r.ChimeiBackColor);
    op.colour(Command9[1], r.ChimeiForeColor);
    op.list(Combo3, r.ChimeiFontMode);
    op.check(Check4, r.ChimeiFontBold);
    op.list(Combo6, r.ChimeiTsugiwaMode);
    op.colour(Command9[2], r.ChimeiTsugiwaColor);
    op.list(Combo5, r.ChimeiTsugiwaFontMode);
    op.check(Check5, r.ChimeiTsugiwaBold);

    op.text(txtSelectSound[0], r.RouteSetSound);
    op.text(txtSelectSound[1], r.ResetSound);
    op.flag(Option2[0], r.StepSoundAlways);
    op.flag(Option2[1], r.StepSoundByColumn);
    op.flag(Option6[0], r.StepSoundSync);
    op.flag(Option6[1], r.StepSoundAsync);
    op.text(txtSelectSound[7], r.StepSoundFile);
    op.list(Combo1, r.StepSoundColumn);
    op.text(txtSelectSound[8], r.StepSound1);
    op.text(txtSelectSound[9], r.StepSound2);
    op.text(txtSelectSound[10], r.StepSound3);
    op.flag(Option2[2], r.TapeSoundAlways);
    op.flag(Option2[3], r.TapeSoundByFlag);
    op.flag(Option7[0], r.TapeSoundSync);
    op.flag(Option7[1], r.TapeSoundAsync);
    op.text(txtSelectSound[3], r.TapeSoundFile);
    op.text(txtSelectSound[4], r.TapeSound1);
    op.text(txtSelectSound[5], r.TapeSound2);
    op.text(txtSelectSound[6], r.TapeSound3);

    op.check(chkUseSeiriPrev, r.UseSeiriPrev);
    op.text(txtSeiriPlgDir, r.SeiriPlgFile);
    op.flag(Option4[0], r.DateEachPrint);
    op.flag(Option4[1], r.DateAtRouteSet);
    op.flag(Option4[2], r.DateFixed);
    op.label(Label10, r.FixedDate);
}

void OptionsDialog::GetOptionInfo(SettingsRecord& r) const {
    Collect op;
    transfer(op, r);
}

void OptionsDialog::SetOptionInfo(const SettingsRecord& r) {
    Distribute op;
    // Changed panel pictures show at once; the preview digit takes the colours.
    op.panelFiles = [this] { host_.console().Option4_Click(host_.console().backlightMode()); };
    op.digitColours = [this] { updatePreviewDigit(); };
    transfer(op, r);
    SetPlgin(txtSeiriPlgDir->text());
}

// ---- Reads for the other windows ------------------------------------------------------

QString OptionsDialog::fareDataDir() const { return Text2[0]->text(); }
QString OptionsDialog::tapeDataDir() const { return Text2[1]->text(); }

QString OptionsDialog::soundFile(int index) const {
    const QLineEdit* e = txtSelectSound[size_t(index)];
    return e ? e->text() : QString();
}

FareRow::DateMode OptionsDialog::dateMode() const {
    if (Option4[0]->isChecked()) return FareRow::DateMode::EachPrint;
    if (Option4[1]->isChecked()) return FareRow::DateMode::AtRouteSet;
    return FareRow::DateMode::Fixed;
}

QString OptionsDialog::fixedDate() const { return Label10->text(); }

FareRow::Options OptionsDialog::displayOptions(bool lateNight, qint16 companyIndex) const {
    FareRow::Options o;
    o.lateNight = lateNight;
    o.infoSectionOn = Check3[0]->isChecked();
    o.infoSectionCell = Combo4[0]->currentIndex();
    o.infoSectionFromZero = Check3[4]->isChecked();
    o.infoTicketOn = Check3[1]->isChecked();
    o.infoTicketCell = Combo4[1]->currentIndex();
    o.infoRouteOn = Check3[2]->isChecked();
    o.infoRouteCell = Combo4[2]->currentIndex();
    o.infoColumnOn = Check3[3]->isChecked();
    o.infoColumnCell = Combo4[3]->currentIndex();
    o.infoColumnNo = Combo4[4]->currentIndex();
    o.dateMode = dateMode();
    o.fixedDate = fixedDate();
    o.usePreview = chkUseSeiriPrev->isChecked();
    o.pluginPath = txtSeiriPlgDir->text();
    o.companyIndex = companyIndex;
    o.prefixMode = static_cast<qint16>(Combo6->currentIndex());
    return o;
}
