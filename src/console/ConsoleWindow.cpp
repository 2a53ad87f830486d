#include "console/ConsoleWindow.h"

#include "app/K40Windows.h"
#include "console/ConsoleWidgets.h"
#include "model/FareRow.h"
#include "widgets/StopNameDisplay.h"
#include "widgets/SegmentDisplay.h"
#include "board/BoardWindow.h"
#include "board/BoardStartup.h"
#include "model/AppInfo.h"
#include "model/Clock.h"
#include "model/K40Error.h"
#include "widgets/CompanionDialogs.h"
#include "widgets/QColorOf.h"
#include "widgets/TicketEngine.h"
#include "model/MessageBoxService.h"
#include "model/SpeechEngine.h"
#include "app/Services.h"
#include "widgets/Units.h"
#include "widgets/TicketEngine.h"
#include "options/ColorButton.h"
#include "model/SettingsRecord.h"
#include "options/OptionsDialog.h"
#include "model/SoundChannels.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {

constexpr int kClosedWidth = 5385, kOpenWidth = 9000; // twips
constexpr int kHeight = 2640;                         // twips

QPushButton* keyButton(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(geometry);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QListWidget* digitList(QWidget* parent, const QRect& geometry) {
    auto* l = new QListWidget(parent);
    for (int d = 0; d <= 9; ++d) {
        auto* item = new QListWidgetItem(QString::number(d), l);
        item->setTextAlignment(Qt::AlignCenter);
    }
    l->setGeometry(geometry);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont f = l->font();
    f.setPixelSize(11);
    l->setFont(f);
    return l;
}

QString selectedDigits(const std::array<QListWidget*, 5>& lists, int count) {
    QString s;
    for (int i = 0; i < count; ++i)
        if (QListWidgetItem* item = lists[size_t(i)]->currentItem();
            item && item->isSelected())
            s += item->text();
    return s;
}

void setButtonColour(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Button, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace

ConsoleWindow::ConsoleWindow(K40Windows& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), tape(host.services().speech),
      host_(host) {
    setWindowTitle(QStringLiteral("集中操作盤"));
    setFixedSize(Units::px(kClosedWidth), Units::px(kHeight));
    buildEntryPanels();
    buildControls();
}

ConsoleWindow::~ConsoleWindow() = default;

// ---- Construction -----------------------------------------------------------------

void ConsoleWindow::buildEntryPanels() {
    for (int i = 0; i < 2; ++i) {
        Frame1[size_t(i)] = new DblClickFrame(this);
        Frame1[size_t(i)]->setGeometry(Units::rect(30, -60, 1995, 2625));
        Frame1[size_t(i)]->setFrameShape(QFrame::Box);
        Frame1[size_t(i)]->setFrameShadow(QFrame::Sunken);
        Frame1[size_t(i)]->setAutoFillBackground(true);
        connect(Frame1[size_t(i)], &DblClickFrame::doubleClicked, this,
                [this, i] { Frame1_DblClick(i); });
    }

    // The digit lists.
    QWidget* lists = Frame1[0];
    auto* title = new QLabel(QStringLiteral("系統設定"), lists);
    title->move(Units::px(225), Units::px(255));
    auto* routeCaption = new QLabel(QStringLiteral("系　統"), lists);
    routeCaption->setGeometry(Units::rect(90, 660, 975, 240));
    routeCaption->setAlignment(Qt::AlignCenter);
    auto* sectionCaption = new QLabel(QStringLiteral("区間"), lists);
    sectionCaption->setGeometry(Units::rect(1230, 660, 675, 240));
    sectionCaption->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < 5; ++i) {
        List2[size_t(i)] = digitList(lists, Units::rect(90 + 195 * i, 915, 195, 510));
        connect(List2[size_t(i)], &QListWidget::itemClicked, this, [this, i] { List2_Click(i); });
    }
    for (int i = 0; i < 3; ++i) {
        List3[size_t(i)] = digitList(lists, Units::rect(1230 + 240 * i, 915, 225, 510));
        connect(List3[size_t(i)], &QListWidget::itemClicked, this, [this, i] { List3_Click(i); });
    }
    Command1[0] = new QPushButton(QStringLiteral("リセット"), lists);
    Command1[0]->setGeometry(Units::rect(105, 1455, 1845, 315));

    // The keypad: 7 8 9 / 4 5 6 / 1 2 3 / 0 系統 区間.
    QWidget* keypad = Frame1[1];
    static const int kLefts[3] = {330, 810, 1290};
    static const int kTops[4] = {570, 975, 1395, 1815};
    static const int kLayout[4][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}, {0, 10, 11}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) {
            const int index = kLayout[r][c];
            const QString caption = index < 10  ? QString::number(index)
                                    : index == 10 ? QStringLiteral("系統")
                                                  : QStringLiteral("区間");
            const int height = index == 0 ? 405 : 390;
            CommandButton1[size_t(index)] = keyButton(
                keypad, caption, Units::rect(kLefts[c], kTops[r], 450, height));
            connect(CommandButton1[size_t(index)], &QPushButton::clicked, this,
                    [this, index] { CommandButton1_Click(index); });
        }
    QFont digits = font();
    digits.setPixelSize(16);
    digits.setBold(true);
    Label2[0] = new QLabel(keypad);
    Label2[0]->setGeometry(Units::rect(225, 180, 885, 300));
    Label2[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2[1] = new QLabel(QStringLiteral("-"), keypad);
    Label2[1]->setGeometry(Units::rect(1125, 180, 150, 300));
    Label2[1]->setAlignment(Qt::AlignCenter);
    Label2[2] = new QLabel(keypad);
    Label2[2]->setGeometry(Units::rect(1290, 180, 570, 300));
    Label2[2]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (QLabel* l : Label2) l->setFont(digits);
    Command1[1] = new QPushButton(QStringLiteral("リセット"), keypad);
    Command1[1]->setGeometry(Units::rect(330, 2250, 1380, 315));

    for (int i = 0; i < 2; ++i)
        connect(Command1[size_t(i)], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
}

void ConsoleWindow::buildControls() {
    Command2[0] = new WrapButton(QStringLiteral("データ戻し"), this);
    Command2[0]->setGeometry(Units::rect(2070, 495, 645, 750));
    Command2[1] = new WrapButton(QStringLiteral("データ送り"), this);
    Command2[1]->setGeometry(Units::rect(2730, 495, 690, 750));
    Check1 = new QCheckBox(QStringLiteral("表示消去"), this);
    Check1->setGeometry(Units::rect(2130, 75, 1275, 375));
    for (int i = 0; i < 2; ++i) {
        Command2[size_t(i)]->setEnabled(false);
        connect(Command2[size_t(i)], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
    }
    Check1->setEnabled(false);
    connect(Check1, &QCheckBox::clicked, this, [this] { Check1_Click(); });

    Frame2 = new QGroupBox(QStringLiteral("バックライト"), this);
    Frame2->setGeometry(Units::rect(3465, 60, 1695, 720));
    auto* backlight = new QButtonGroup(this);
    static const char16_t* const kModes[3] = {u"OFF", u"ON1", u"ON2"};
    static const int kLefts[3] = {75, 615, 1140};
    for (int i = 0; i < 3; ++i) {
        Option4[size_t(i)] = new QPushButton(QString::fromUtf16(kModes[i]), Frame2);
        Option4[size_t(i)]->setCheckable(true);
        Option4[size_t(i)]->setGeometry(Units::rect(kLefts[i], 330, 510, 330));
        backlight->addButton(Option4[size_t(i)], i);
        connect(Option4[size_t(i)], &QPushButton::clicked, this, [this, i] { Option4_Click(i); });
    }
    Option4[2]->setChecked(true);

    Frame6 = new QGroupBox(this);
    Frame6->setGeometry(Units::rect(3450, 780, 1725, 1410));
    Check2 = new QCheckBox(QStringLiteral("深夜料金"), Frame6);
    Check2->setGeometry(Units::rect(105, 1125, 1515, 270));
    static const char16_t* const kBars[2] = {u"ｽｸﾛｰﾙ速度", u"ｽｸﾛｰﾙ間隔"};
    static const int kBarGeometry[2][4] = {{120, 405, 1440, 180}, {135, 900, 1410, 180}};
    for (int i = 0; i < 2; ++i) {
        const int* g = kBarGeometry[i];
        Label3[size_t(i)] = new QLabel(QString::fromUtf16(kBars[i]), Frame6);
        Label3[size_t(i)]->setGeometry(Units::rect(g[0], g[1] - 240, 900, 225));
        Label1[size_t(i)] = new QLabel(Frame6);
        Label1[size_t(i)]->setGeometry(Units::rect(g[0] + 900, g[1] - 240, g[2] - 900, 225));
        Label1[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        HScroll1[size_t(i)] = new QScrollBar(Qt::Horizontal, Frame6);
        HScroll1[size_t(i)]->setGeometry(Units::rect(g[0], g[1], g[2], g[3]));
    }
    HScroll1[0]->setRange(1, 2000);
    HScroll1[1]->setRange(0, 3000);
    HScroll1[0]->setValue(30);
    HScroll1[1]->setValue(1500);
    HScroll1[0]->setPageStep(100);
    HScroll1[1]->setPageStep(250);
    for (int i = 0; i < 2; ++i)
        connect(HScroll1[size_t(i)], &QScrollBar::valueChanged, this,
                [this, i] { HScroll1_Change(i); });

    grpM_Tape = new QGroupBox(QStringLiteral("音合使用不可"), this);
    grpM_Tape->setGeometry(Units::rect(2085, 1260, 1290, 1275));
    grpM_Tape->setStyleSheet(QStringLiteral("QGroupBox { background: #969696; color: #ffff00; }"
                                            "QGroupBox::title { color: #ffff00; }"));
    cmdTapeBack = new QPushButton(QStringLiteral("戻し"), grpM_Tape);
    cmdTapeBack->setGeometry(Units::rect(75, 225, 585, 690));
    cmdTapeNext = new QPushButton(QStringLiteral("送り"), grpM_Tape);
    cmdTapeNext->setGeometry(Units::rect(660, 225, 570, 690));
    for (QPushButton* b : {cmdTapeBack, cmdTapeNext}) setButtonColour(b, QColor(0, 0xC0, 0));
    cmdTapeStop = new QPushButton(QStringLiteral("■"), grpM_Tape);
    cmdTapeStop->setGeometry(Units::rect(75, 930, 585, 300));
    cmdTapeSet = new QPushButton(QStringLiteral("調整"), grpM_Tape);
    cmdTapeSet->setGeometry(Units::rect(660, 930, 570, 300));
    for (QPushButton* b : {cmdTapeBack, cmdTapeNext, cmdTapeStop, cmdTapeSet}) b->setEnabled(false);
    grpM_Tape->setEnabled(false);

    Command4 = new QPushButton(QStringLiteral("設定..."), this);
    Command4->setGeometry(Units::rect(3450, 2250, 840, 300));
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    Command8 = new QPushButton(QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), this);
    Command8->setGeometry(Units::rect(4290, 2250, 870, 300));
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });

    Check4 = new QPushButton(QStringLiteral(">>"), this);
    Check4->setCheckable(true);
    Check4->setGeometry(Units::rect(4935, 45, 330, 300));
    Check4->setToolTip(QStringLiteral("整理券プレビューを開きます"));
    connect(Check4, &QPushButton::toggled, this, [this] { Check4_Click(); });

    Label4 = new QLabel(QStringLiteral("整理券プレビュー"), this);
    Label4->setGeometry(Units::rect(5415, 90, 3300, 270));
    picSeirikenPrev = new PictureBox(this);
    picSeirikenPrev->setGeometry(Units::rect(5415, 390, 3300, 1395));
    picSeirikenPrev->Cls();
    Combo1 = new QComboBox(this);
    Combo1->setGeometry(Units::rect(5430, 2160, 3000, 315));

    MnuHide = new QMenu(this);
    MnuHideCopy = MnuHide->addAction(QStringLiteral("コピー(&C)"));
    connect(MnuHideCopy, &QAction::triggered, this, [this] { MnuHideCopy_Click(); });
    connect(picSeirikenPrev, &PictureBox::mousePressed, this,
            [this](Qt::MouseButton button, const QPoint& at) {
                if (button == Qt::RightButton) MnuHide->popup(at);
            });
}

// ---- Load and the keypad ------------------------------------------------------------

void ConsoleWindow::Form_Load() {
    host_.panel().setWindowTitle(QStringLiteral("カルテラ - 型番:") + AppInfo::modelName());
    for (int i = 0; i < 12; ++i) {
        // The rounded key: (2, 2)-(28, 25) with a 2 x 2 corner ellipse.
        keyRegions[size_t(i)] = QRegion(3, 2, 24, 23) | QRegion(2, 3, 26, 21);
        CommandButton1[size_t(i)]->setMask(keyRegions[size_t(i)]);
    }
    InitSpeech();
    // The strip starts with the scroll values the bars show.
    HScroll1_Change(0);
    HScroll1_Change(1);
}

void ConsoleWindow::CommandButton1_Click(int index) {
    playSound(host_.options().soundFile(1), QStringLiteral("S1"), false);
    if (index == 10) {
        entryTarget = EntryTarget::Route;
        Label2[0]->clear();
    } else if (index == 11) {
        entryTarget = EntryTarget::Section;
        Label2[2]->clear();
    } else if (index >= 0 && index <= 9) {
        QLabel* target = entryTarget == EntryTarget::Route ? Label2[0] : Label2[2];
        const int limit = entryTarget == EntryTarget::Route ? 5 : 3;
        if (target->text().size() < limit) target->setText(target->text() + QString::number(index));
    }
}

void ConsoleWindow::List2_Click(int) { playSound(host_.options().soundFile(1), QStringLiteral("S1"), false); }

void ConsoleWindow::List3_Click(int) { playSound(host_.options().soundFile(1), QStringLiteral("S1"), false); }

void ConsoleWindow::Frame1_DblClick(int index) {
    frontPanelMode = static_cast<qint16>(index == 0 ? 0 : 1);
    Frame1[size_t(index == 0 ? 0 : 1)]->lower();
}

// ---- Route setting --------------------------------------------------------------------

void ConsoleWindow::Command1_Click(int index) {
    OptionsDialog& options = host_.options();
    BoardWindow& panel = host_.panel();
    Services& services = host_.services();

    const QString fareFolder = FareData::withTrailingSeparator(options.fareDataDir());
    const QString tapeFolder = FareData::withTrailingSeparator(options.tapeDataDir());
    playSound(options.soundFile(0), QStringLiteral("S1"), false);

    QString sectionText;
    if (index == 0) {
        routeState.routeText = selectedDigits(List2, 5);
        std::array<QListWidget*, 5> sections{List3[0], List3[1], List3[2], nullptr, nullptr};
        sectionText = selectedDigits(sections, 3);
    } else {
        routeState.routeText = Label2[0]->text();
        sectionText = Label2[2]->text();
    }
    routeState.startSection = FareData::sectionFromText(sectionText);
    const QString routeName = FareData::routeFileName(routeState.routeText);

    try {
        LoadTape(tapeFolder, routeName);
        if (FareData::loadRouteFares(fareFolder, routeName, routeState, routeTable,
                                  *services.messages) != FareData::FareLoadOutcome::Loaded)
            return;

        StopNameDisplay& strip = *panel.ChimeiCtl;
        routeState.savedPrefixMode = strip.prefixMode();
        strip.setPrefixMode(0);
        strip.setStopName(QStringLiteral("系統選別中"));
        strip.setPrefixMode(routeState.savedPrefixMode);

        for (int i = 1; i <= 24; ++i) panel.Degit[size_t(i)]->resetDigits(true);
        QCoreApplication::processEvents();
        services.clock->wait(3000);
        for (int i = 1; i <= 24; ++i) panel.Degit[size_t(i)]->setValue(DigitValue(0));

        Command2[0]->setEnabled(true);
        Command2[1]->setEnabled(true);
        Check1->setEnabled(true);

        routeState.ticketDateText = options.dateMode() == FareRow::DateMode::Fixed
                                        ? options.fixedDate()
                                        : FareRow::ticketDate(*services.clock);
        strip.setPrefixMode(routeState.savedPrefixMode);
        DispData(routeState.currentRow);
    } catch (const K40Error& e) {
        showError(e.description());
    }
}

// ---- Stepping, display clear, scroll bars ----------------------------------------------------

void ConsoleWindow::Command2_Click(int index) {
    FareData::RouteState& st = routeState;
    // Stepping stays within the rows the table really holds: a failed route
    // setting may leave a record count (0, negative, or another route's) that
    // does not describe the table, which keeps the previous route.
    const int last = std::min<int>(st.loadedRows, FareData::MaxRows);
    if (index == 0) {
        if (st.currentRow <= 1) return;
        st.currentRow = static_cast<qint16>(std::min<int>(st.currentRow - 1, std::max(last, 1)));
    } else {
        if (st.currentRow >= last) return;
        st.currentRow = static_cast<qint16>(st.currentRow + 1);
    }

    OptionsDialog& options = host_.options();
    QString sound;
    if (options.Option2[0]->isChecked()) {
        sound = options.soundFile(7);
    } else {
        const int column = options.Combo1->currentIndex() + 1;
        if (column >= 1 && column <= FareData::ValueCount) {
            const qint16 v = routeTable.row(st.currentRow).value(column);
            if (v >= 1 && v <= 3) sound = options.soundFile(7 + v);
        }
    }
    if (!sound.isEmpty())
        playSound(sound, QStringLiteral("S2"), options.Option6[0]->isChecked());
    redraw();
}

void ConsoleWindow::Check1_Click() {
    BoardWindow& panel = host_.panel();
    const bool clear = Check1->isChecked();
    if (clear) {
        panel.ChimeiCtl->setStopName(QString());
        for (int i = 1; i <= 24; ++i) panel.Degit[size_t(i)]->resetDigits(false);
        panel.Timer1->stop();
        for (SegmentDisplay* d : panel.TimeDegit) d->setValue(DigitValue(QString()));
    }
    for (QWidget* w : {static_cast<QWidget*>(Frame1[0]), static_cast<QWidget*>(Frame1[1]),
                       static_cast<QWidget*>(Command2[0]), static_cast<QWidget*>(Command2[1]),
                       static_cast<QWidget*>(Frame6)})
        w->setEnabled(!clear);
    if (clear) {
        tape.setDisplayCleared(true);
        grpM_Tape->setEnabled(false);
        return;
    }
    if (panel.TimeDegit[0]->isVisible()) panel.Timer1->start();
    tape.setDisplayCleared(false);
    grpM_Tape->setEnabled(tape.controlsEnabled());
    redraw();
}

void ConsoleWindow::HScroll1_Change(int index) {
    Label1[size_t(index)]->setText(QString::number(HScroll1[size_t(index)]->value()));
    StopNameDisplay& strip = *host_.panel().ChimeiCtl;
    strip.setSpeed(static_cast<qint16>(HScroll1[0]->value()));
    strip.setScrollStartWait(HScroll1[1]->value());
}

// ---- Backlight ------------------------------------------------------------------------------

int ConsoleWindow::backlightMode() const {
    if (Option4[0]->isChecked()) return 0;
    if (Option4[1]->isChecked()) return 1;
    return 2;
}

void ConsoleWindow::Option4_Click(int index) {
    if (index < 0 || index > 2) return;
    Option4[size_t(index)]->setChecked(true);
    OptionsDialog& o = host_.options();
    BoardWindow& panel = host_.panel();
    const BgrColor colour = o.Command5[size_t(index)]->backColor();
    try {
        // Per mode: the "ユーザーパネル" option and its file.
        static const int kUser[3] = {6, 2, 5};
        if (o.Option3[1]->isChecked() && o.Option3[size_t(kUser[index])]->isChecked()) {
            const QString path = o.txtSelectPanel[size_t(index)]->text();
            if (ApiLib::FileExists(path)) {
                QImageReader reader(path);
                const QImage picture = reader.read();
                if (picture.isNull())
                    throw K40Error(reader.error() == QImageReader::FileNotFoundError
                                       ? K40Error::FileNotFound
                                       : K40Error::InvalidPicture);
                panel.setPicture(QPixmap::fromImage(picture));
            }
        } else {
            panel.setPicture(panel.imgRes[size_t(index)]);
        }
    } catch (const K40Error& e) {
        QString detail;
        switch (e.number()) {
        case 7: case 28: case 51:
            detail = QStringLiteral("　内部的なエラーです。とれもろ鉄道へ報告してください。"
                                    "エラー場所：ConsoleWindow.Option4_Click()");
            break;
        case 53: case 75: case 76:
            detail = QStringLiteral("　画像ファイルが見つからないか、指定している場所が不正です。");
            break;
        case 57: case 68:
            detail = QStringLiteral("　デバイスエラーもしくは準備が出来ていません。");
            break;
        case 481:
            detail = QStringLiteral("　指定した画像の内容が不正です。この部分では扱えません。");
            break;
        default: break;
        }
        host_.services().messages->show(QStringLiteral("エラーです。\r\n\r\nエラーコード：%1").arg(e.number()) + detail,
            QStringLiteral("エラー"), MsgIcon::Critical, MsgButtons::Ok);
    }
    for (int i = 1; i <= 24; ++i) BoardStartup::setLabelColour(*panel.lblSeiriNum[size_t(i)], colour);
}

// ---- Options, version, preview ---------------------------------------------------------------

void ConsoleWindow::Command4_Click() {
    BoardWindow& panel = host_.panel();
    panel.setEnabled(false);
    setEnabled(false);
    host_.options().exec();
    panel.setEnabled(true);
    setEnabled(true);
    panel.ChimeiCtl->setStopName(QString());
    const int row = std::clamp<int>(routeState.currentRow, 1, FareData::MaxRows);
    panel.ChimeiCtl->setStopName(routeTable.row(row).name);
}

QString ConsoleWindow::versionText() {
    return QStringLiteral("機種：") + AppInfo::modelName() + QStringLiteral("\r\n") +
           QStringLiteral("バージョン：%1.%2.%3")
               .arg(AppInfo::versionMajor())
               .arg(AppInfo::versionMinor())
               .arg(AppInfo::versionRevision()) +
           QStringLiteral("  ServiceRelease 1\r\n\r\n") +
           QStringLiteral("運賃表示器シミュレーター\r\n"
                          "Qt %1 / 音声: eSpeak NG + MeCab / 音源: SDL2 + FluidSynth")
               .arg(QString::fromLatin1(qVersion()));
}

void ConsoleWindow::Command8_Click() {
    BoardWindow& panel = host_.panel();
    panel.setEnabled(false);
    host_.services().dialogs->showVersion(this, versionText());
    panel.setEnabled(true);
}

void ConsoleWindow::setPreviewOpen(bool open) {
    setFixedWidth(Units::px(open ? kOpenWidth : kClosedWidth));
    Check4->setText(open ? QStringLiteral("<<") : QStringLiteral(">>"));
    Check4->setToolTip(open ? QStringLiteral("整理券プレビューを隠します")
                            : QStringLiteral("整理券プレビューを開きます"));
}

void ConsoleWindow::Check4_Click() { setPreviewOpen(Check4->isChecked()); }

void ConsoleWindow::setPreviewSize(qint32 widthTwips, qint32 heightTwips) {
    picSeirikenPrev->resize(std::max(1, Units::px(widthTwips)), std::max(1, Units::px(heightTwips)));
}

void ConsoleWindow::MnuHideCopy_Click() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(picSeirikenPrev->image());
}

// ---- The fare display ------------------------------------------------------------------------

void ConsoleWindow::redraw() {
    // An information cell or data column that the options cannot address
    // (a list left without a selection) is reported instead of ending the
    // program.
    try {
        DispData(routeState.currentRow);
    } catch (const K40Error& e) {
        showError(e.description());
    }
}

void ConsoleWindow::DispData(int row) {
    BoardWindow& panel = host_.panel();
    Services& services = host_.services();
    const FareRow::Options options =
        host_.options().displayOptions(Check2->isChecked(), static_cast<qint16>(Combo1->currentIndex()));
    const FareRow::Display d = FareRow::compute(row, routeTable, routeState, options, *services.clock);
    for (const FareRow::CellWrite& w : d.writes) panel.Degit[size_t(w.cell)]->setValue(w.value);

    picSeirikenPrev->Cls();
    if (d.drawTicket && services.tickets) {
        FareRow::TicketDrawing t = d.ticket;
        services.tickets->drawTicket(&picSeirikenPrev->image(), t);
        routeTable.row(row).name = t.stopName; // the engine may rewrite its buffers
        picSeirikenPrev->update();
    }
    QCoreApplication::processEvents();

    StopNameDisplay& strip = *panel.ChimeiCtl;
    if (d.updateSavedPrefixMode) routeState.savedPrefixMode = d.prefixModeAfter;
    strip.setPrefixMode(d.namePrefixMode);
    strip.setStopName(routeTable.row(row).name);
    strip.setPrefixMode(d.prefixModeAfter);
}

// ---- Settings transfer -----------------------------------------------------------------------

void ConsoleWindow::GetCtrlDataInfo(SettingsRecord& r) const {
    r.CtrlLeft = Units::twips(x());
    r.CtrlTop = Units::twips(y());
    r.ScrollSpeed = HScroll1[0]->value();
    r.ScrollWait = HScroll1[1]->value();
    r.CtrlPage = frontPanelMode;
    r.PreviewOpen = Check4->isChecked() ? 1 : 0;
    r.LateNight = Check2->isChecked() ? 1 : 0;
}

void ConsoleWindow::SetCtrlDataInfo(const SettingsRecord& r) {
    move(Units::px(r.CtrlLeft), Units::px(r.CtrlTop));
    auto setBar = [](QScrollBar* bar, qint32 v) {
        if (v < bar->minimum() || v > bar->maximum())
            throw K40Error(K40Error::InvalidPropertyValue);
        bar->setValue(v);
    };
    setBar(HScroll1[0], r.ScrollSpeed);
    setBar(HScroll1[1], r.ScrollWait);
    frontPanelMode = r.CtrlPage;
    if (r.PreviewOpen < 0 || r.PreviewOpen > 1 || r.LateNight < 0 || r.LateNight > 2)
        throw K40Error(K40Error::InvalidPropertyValue);
    Check4->setChecked(r.PreviewOpen == 1);
    Check2->setChecked(r.LateNight == 1);
    Frame1_DblClick(frontPanelMode);
}

// ---- Closing ---------------------------------------------------------------------------------

bool ConsoleWindow::Form_QueryUnload() {
    Services& services = host_.services();
    if (services.messages->show(QStringLiteral("カルテラを終了しますか？"),
                                QStringLiteral("カルテラの終了確認"), MsgIcon::Question,
                                MsgButtons::YesNo) != MsgAnswer::Yes)
        return false;
    BoardWindow& panel = host_.panel();
    panel.ChimeiCtl->setStopName(QString());
    panel.DeleteRgn();
    for (QRegion& r : keyRegions) r = QRegion();
    SoundChannels(services.sound).closeAll();
    ReleaseSpeech();
    host_.saveSettings();
    host_.endProgram();
    return true;
}

void ConsoleWindow::closeEvent(QCloseEvent* event) {
    event->ignore(); // the program ends through endProgram(), or not at all
    Form_QueryUnload();
}

// ---- Speech and the tape ----------------------------------------------------------------------

void ConsoleWindow::InitSpeech() {
    tape.createSpeech();
    grpM_Tape->setTitle(tape.speechAvailable() ? QStringLiteral("音合使用可")
                                               : QStringLiteral("音合使用不可"));
    grpM_Tape->setEnabled(tape.controlsEnabled());
}

void ConsoleWindow::ReleaseSpeech() { tape.releaseSpeech(); }

void ConsoleWindow::LoadTape(const QString& folderWithSeparator, const QString& route) {
    tape.load(folderWithSeparator, route);
    grpM_Tape->setEnabled(tape.controlsEnabled());
    for (QPushButton* b : {cmdTapeNext, cmdTapeBack, cmdTapeStop, cmdTapeSet})
        b->setEnabled(tape.buttonsEnabled());
}

// ---- Helpers -----------------------------------------------------------------------------------

void ConsoleWindow::playSound(const QString& file, const QString& channel, bool sync) {
    Services& s = host_.services();
    SoundChannels(s.sound).play(file, channel, sync ? SoundChannels::Play::Sync : SoundChannels::Play::Async);
}

void ConsoleWindow::showError(const QString& text) {
    host_.services().messages->show(text, AppInfo::title(), MsgIcon::None, MsgButtons::Ok);
}
