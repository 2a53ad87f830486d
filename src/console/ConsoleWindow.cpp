#include "console/ConsoleWindow.h"

#include "console/EntryPanel.h"
#include "console/TicketPreviewBox.h"
#include "console/WrapButton.h"
#include "model/AnnouncementTape.h"
#include "model/AppInfo.h"
#include "model/Settings.h"
#include "widgets/TicketEngine.h"
#include "widgets/Units.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {

constexpr int ClosedWidth = 5385, OpenWidth = 9000; // twips, without and with the preview
constexpr int Height = 2640;                        // twips

QPushButton* keyButton(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(geometry);
    b->setFocusPolicy(Qt::NoFocus);
    // The rounded key: (2, 2)-(28, 25) with a 2 x 2 corner ellipse.
    b->setMask(QRegion(3, 2, 24, 23) | QRegion(2, 3, 26, 21));
    return b;
}

// A list of the digits 0 to 9, all of them in sight: rows of DigitRowHeight
// pixels, so that each can be clicked without scrolling.
constexpr int DigitRowHeight = 10;

QListWidget* digitList(QWidget* parent, const QRect& geometry) {
    auto* l = new QListWidget(parent);
    QFont f = l->font();
    f.setPixelSize(DigitRowHeight - 1);
    l->setFont(f);
    for (int d = 0; d <= 9; ++d) {
        auto* item = new QListWidgetItem(QString::number(d), l);
        item->setTextAlignment(Qt::AlignCenter);
        item->setSizeHint(QSize(geometry.width() - 2, DigitRowHeight));
    }
    l->setUniformItemSizes(true);
    l->setFrameStyle(QFrame::Box | QFrame::Plain);
    l->setLineWidth(1);
    l->setGeometry(geometry.adjusted(0, 0, 0, 10 * DigitRowHeight + 2 - geometry.height()));
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return l;
}

// A button in a colour of its own. Disabled, it shows that colour dimmed
// into the background behind it, with faint text, as a disabled button of
// the standard colours does.
void setButtonColor(QWidget* w, const QColor& c, const QColor& behind) {
    const auto mix = [](const QColor& a, const QColor& b, double share) {
        return QColor::fromRgbF(float(a.redF() * share + b.redF() * (1 - share)),
                                float(a.greenF() * share + b.greenF() * (1 - share)),
                                float(a.blueF() * share + b.blueF() * (1 - share)));
    };
    QPalette p = w->palette();
    p.setColor(QPalette::Active, QPalette::Button, c);
    p.setColor(QPalette::Inactive, QPalette::Button, c);
    p.setColor(QPalette::Disabled, QPalette::Button, mix(c, behind, 0.35));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, mix(Qt::white, behind, 0.45));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace

ConsoleWindow::ConsoleWindow(RouteSession& session, Settings& settings,
                             const AnnouncementTape& tape, TicketEngine* tickets, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), session_(session),
      settings_(settings), tape_(tape), tickets_(tickets) {
    setWindowTitle(QStringLiteral("集中操作盤"));
    setFixedSize(Units::px(ClosedWidth), Units::px(Height));
    buildEntryPanels();
    buildControls();
    addKeys();

    connect(&session_, &RouteSession::keypadChanged, this, [this] {
        routeReadout->setText(session_.typedRoute());
        sectionReadout->setText(session_.typedSection());
    });
    connect(&session_, &RouteSession::controlsChanged, this, &ConsoleWindow::showRouteControls);
    // What was pressed during an operation, from the event loop once it has ended.
    connect(&session_, &RouteSession::busyChanged, this, [this](bool busy) {
        if (busy || heldCommands_.empty()) return;
        QMetaObject::invokeMethod(this, [this] {
            const std::vector<ConsoleCommand> held = std::exchange(heldCommands_, {});
            for (ConsoleCommand c : held) press(c);
        }, Qt::QueuedConnection);
    });
    connect(&tape_, &AnnouncementTape::controlsChanged, this, &ConsoleWindow::showTapeControls);
    connect(&settings_, &Settings::consoleStateChanged, this, &ConsoleWindow::showConsoleState);
    showRouteControls();
    showTapeControls();
    showConsoleState();
}

ConsoleWindow::~ConsoleWindow() = default;

// ---- Construction -------------------------------------------------------------------

void ConsoleWindow::buildEntryPanels() {
    digitListPanel = new EntryPanel(this);
    keypadPanel = new EntryPanel(this);
    for (EntryPanel* panel : {digitListPanel, keypadPanel}) {
        panel->setGeometry(Units::rect(30, -60, 1995, 2625));
        panel->setFrameShape(QFrame::Box);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setAutoFillBackground(true);
        // The panel double-clicked goes behind the other.
        connect(panel, &EntryPanel::doubleClicked, this,
                [this, panel] { settings_.setKeypadBehind(panel == keypadPanel); });
    }

    // The digit lists.
    QWidget* lists = digitListPanel;
    // Every digit of the lists in sight: the lists take the panel's height.
    auto* title = new QLabel(QStringLiteral("系統設定"), lists);
    title->move(Units::px(225), Units::px(90));
    auto* routeCaption = new QLabel(QStringLiteral("系　統"), lists);
    routeCaption->setGeometry(Units::rect(90, 375, 975, 225));
    routeCaption->setAlignment(Qt::AlignCenter);
    auto* sectionCaption = new QLabel(QStringLiteral("区間"), lists);
    sectionCaption->setGeometry(Units::rect(1230, 375, 675, 225));
    sectionCaption->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < 5; ++i)
        routeLists[size_t(i)] = digitList(lists, Units::rect(90 + 195 * i, 615, 195, 1530));
    for (int i = 0; i < 3; ++i)
        sectionLists[size_t(i)] = digitList(lists, Units::rect(1230 + 240 * i, 615, 225, 1530));
    // The selection sounds when it changes, by the mouse or by the keys.
    for (QListWidget* l : routeLists)
        connect(l, &QListWidget::currentRowChanged, &session_, &RouteSession::playListSound);
    for (QListWidget* l : sectionLists)
        connect(l, &QListWidget::currentRowChanged, &session_, &RouteSession::playListSound);
    listResetButton = new QPushButton(QStringLiteral("リセット"), lists);
    listResetButton->setGeometry(Units::rect(105, 2235, 1845, 300));
    connect(listResetButton, &QPushButton::clicked, this, [this] {
        session_.setRoute(selectedDigits(routeLists.data(), 5),
                          selectedDigits(sectionLists.data(), 3));
    });

    // The keypad: 7 8 9 / 4 5 6 / 1 2 3 / 0 系統 区間.
    QWidget* keypad = keypadPanel;
    static const int Lefts[3] = {330, 810, 1290};
    static const int Tops[4] = {570, 975, 1395, 1815};
    static const int Keys[4][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}, {0, 10, 11}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) {
            const int key = Keys[r][c];
            const QString caption = key < 10 ? QString::number(key)
                                    : key == RouteSession::RouteKey ? QStringLiteral("系統")
                                                                    : QStringLiteral("区間");
            auto* button = keyButton(keypad, caption,
                                     Units::rect(Lefts[c], Tops[r], 450, key == 0 ? 405 : 390));
            connect(button, &QPushButton::clicked, this, [this, key] { session_.pressKey(key); });
            if (key < 10) digitKeys[size_t(key)] = button;
            else if (key == RouteSession::RouteKey) routeKey = button;
            else sectionKey = button;
        }
    QFont digits = font();
    digits.setPixelSize(16);
    digits.setBold(true);
    routeReadout = new QLabel(keypad);
    routeReadout->setGeometry(Units::rect(225, 180, 885, 300));
    routeReadout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* separator = new QLabel(QStringLiteral("-"), keypad);
    separator->setGeometry(Units::rect(1125, 180, 150, 300));
    separator->setAlignment(Qt::AlignCenter);
    sectionReadout = new QLabel(keypad);
    sectionReadout->setGeometry(Units::rect(1290, 180, 570, 300));
    sectionReadout->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (QLabel* l : {routeReadout, separator, sectionReadout}) l->setFont(digits);
    keypadResetButton = new QPushButton(QStringLiteral("リセット"), keypad);
    keypadResetButton->setGeometry(Units::rect(330, 2250, 1380, 315));
    connect(keypadResetButton, &QPushButton::clicked, &session_,
            &RouteSession::setRouteFromKeypad);
}

void ConsoleWindow::buildControls() {
    stepBackButton = new WrapButton(QStringLiteral("データ戻し"), this);
    stepBackButton->setGeometry(Units::rect(2070, 495, 645, 750));
    connect(stepBackButton, &QPushButton::clicked, this,
            [this] { session_.step(RouteSession::Direction::Back); });
    stepForwardButton = new WrapButton(QStringLiteral("データ送り"), this);
    stepForwardButton->setGeometry(Units::rect(2730, 495, 690, 750));
    connect(stepForwardButton, &QPushButton::clicked, this,
            [this] { session_.step(RouteSession::Direction::Forward); });
    clearDisplayCheck = new QCheckBox(QStringLiteral("表示消去"), this);
    clearDisplayCheck->setGeometry(Units::rect(2130, 75, 1275, 375));
    connect(clearDisplayCheck, &QCheckBox::clicked, &session_, &RouteSession::setDisplayCleared);

    backlightGroup = new QGroupBox(QStringLiteral("バックライト"), this);
    backlightGroup->setGeometry(Units::rect(3465, 60, 1695, 720));
    auto* backlight = new QButtonGroup(this);
    static const char16_t* const Modes[3] = {u"OFF", u"ON1", u"ON2"};
    static const int Lefts[3] = {75, 615, 1140};
    for (int i = 0; i < 3; ++i) {
        QPushButton* b = new QPushButton(QString::fromUtf16(Modes[i]), backlightGroup);
        b->setCheckable(true);
        b->setGeometry(Units::rect(Lefts[i], 330, 510, 330));
        backlight->addButton(b, i);
        connect(b, &QPushButton::clicked, this,
                [this, i] { emit backlightChosen(static_cast<Backlight>(i)); });
        backlightButtons[size_t(i)] = b;
    }
    backlightButtons[size_t(Backlight::On2)]->setChecked(true);

    scrollGroup = new QGroupBox(this);
    scrollGroup->setGeometry(Units::rect(3450, 780, 1725, 1410));
    lateNightCheck = new QCheckBox(QStringLiteral("深夜料金"), scrollGroup);
    lateNightCheck->setGeometry(Units::rect(105, 1125, 1515, 270));
    connect(lateNightCheck, &QCheckBox::toggled, &settings_, &Settings::setLateNight);
    static const char16_t* const Bars[2] = {u"ｽｸﾛｰﾙ速度", u"ｽｸﾛｰﾙ間隔"};
    static const int BarGeometry[2][4] = {{120, 405, 1440, 180}, {135, 900, 1410, 180}};
    std::array<QScrollBar*, 2> bars{};
    std::array<QLabel*, 2> values{};
    for (int i = 0; i < 2; ++i) {
        const int* g = BarGeometry[i];
        auto* caption = new QLabel(QString::fromUtf16(Bars[i]), scrollGroup);
        caption->setGeometry(Units::rect(g[0], g[1] - 240, 900, 225));
        values[size_t(i)] = new QLabel(scrollGroup);
        values[size_t(i)]->setGeometry(Units::rect(g[0] + 900, g[1] - 240, g[2] - 900, 225));
        values[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        bars[size_t(i)] = new QScrollBar(Qt::Horizontal, scrollGroup);
        bars[size_t(i)]->setGeometry(Units::rect(g[0], g[1], g[2], g[3]));
    }
    scrollSpeedBar = bars[0];
    scrollIntervalBar = bars[1];
    scrollSpeedValue = values[0];
    scrollIntervalValue = values[1];
    scrollSpeedBar->setRange(1, 2000);
    scrollSpeedBar->setPageStep(100);
    scrollIntervalBar->setRange(0, 3000);
    scrollIntervalBar->setPageStep(250);
    connect(scrollSpeedBar, &QScrollBar::valueChanged, &settings_, &Settings::setScrollSpeed);
    connect(scrollIntervalBar, &QScrollBar::valueChanged, &settings_, &Settings::setScrollWait);

    tapeGroup = new QGroupBox(QStringLiteral("音合使用不可"), this);
    tapeGroup->setGeometry(Units::rect(2085, 1260, 1290, 1275));
    const QColor tapeBackground(0x96, 0x96, 0x96);
    tapeGroup->setStyleSheet(QStringLiteral("QGroupBox { background: #969696; color: #ffff00; }"
                                            "QGroupBox::title { color: #ffff00; }"));
    tapeBackButton = new QPushButton(QStringLiteral("戻し"), tapeGroup);
    tapeBackButton->setGeometry(Units::rect(75, 225, 585, 690));
    tapeNextButton = new QPushButton(QStringLiteral("送り"), tapeGroup);
    tapeNextButton->setGeometry(Units::rect(660, 225, 570, 690));
    for (QPushButton* b : {tapeBackButton, tapeNextButton})
        setButtonColor(b, QColor(0, 0xC0, 0), tapeBackground);
    tapeStopButton = new QPushButton(QStringLiteral("■"), tapeGroup);
    tapeStopButton->setGeometry(Units::rect(75, 930, 585, 300));
    voiceSettingsButton = new QPushButton(QStringLiteral("調整"), tapeGroup);
    voiceSettingsButton->setGeometry(Units::rect(660, 930, 570, 300));
    connect(tapeNextButton, &QPushButton::clicked, this,
            [this] { session_.playTape(RouteSession::Direction::Forward); });
    connect(tapeBackButton, &QPushButton::clicked, this,
            [this] { session_.playTape(RouteSession::Direction::Back); });
    connect(tapeStopButton, &QPushButton::clicked, &session_, &RouteSession::stopTape);
    connect(voiceSettingsButton, &QPushButton::clicked, this,
            &ConsoleWindow::voiceSettingsRequested);

    optionsButton = new QPushButton(QStringLiteral("設定..."), this);
    optionsButton->setGeometry(Units::rect(3450, 2250, 840, 300));
    connect(optionsButton, &QPushButton::clicked, this, &ConsoleWindow::optionsRequested);
    versionButton = new QPushButton(QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), this);
    versionButton->setGeometry(Units::rect(4290, 2250, 870, 300));
    connect(versionButton, &QPushButton::clicked, this, &ConsoleWindow::versionRequested);

    previewToggle = new QPushButton(this);
    previewToggle->setCheckable(true);
    previewToggle->setGeometry(Units::rect(4935, 45, 330, 300));
    connect(previewToggle, &QPushButton::toggled, &settings_, &Settings::setPreviewOpen);
    auto* previewCaption = new QLabel(QStringLiteral("整理券プレビュー"), this);
    previewCaption->setGeometry(Units::rect(5415, 90, 3300, 270));
    ticketPreview = new TicketPreviewBox(this);
    ticketPreview->setGeometry(Units::rect(5415, 390, 3300, 1395));
    ticketPreview->clear();
    companyList = new QComboBox(this);
    companyList->setGeometry(Units::rect(5430, 2160, 3000, 315));
    connect(companyList, &QComboBox::currentIndexChanged, this,
            [this](int i) { session_.setCompanyIndex(static_cast<qint16>(i)); });

    previewMenu_ = new QMenu(this);
    copyAction = previewMenu_->addAction(QStringLiteral("コピー(&C)"));
    connect(copyAction, &QAction::triggered, this, &ConsoleWindow::copyTicket);
    connect(ticketPreview, &TicketPreviewBox::rightClicked, previewMenu_,
            [this](const QPoint& at) { previewMenu_->popup(at); });
}

void ConsoleWindow::addKeys() {
    for (const CommandKeys& k : commandKeys()) {
        auto* action = new QAction(this);
        action->setShortcuts(QList<QKeySequence>(k.keys.begin(), k.keys.end()));
        connect(action, &QAction::triggered, this, [this, c = k.command] { press(c); });
        addAction(action);
    }
}

QAbstractButton* ConsoleWindow::buttonOf(ConsoleCommand command) const {
    switch (command) {
    case ConsoleCommand::StepForward: return stepForwardButton;
    case ConsoleCommand::StepBack: return stepBackButton;
    case ConsoleCommand::TapeNext: return tapeNextButton;
    case ConsoleCommand::TapeBack: return tapeBackButton;
    case ConsoleCommand::TapeStop: return tapeStopButton;
    case ConsoleCommand::RouteKey: return routeKey;
    case ConsoleCommand::SectionKey: return sectionKey;
    case ConsoleCommand::KeypadReset: return keypadResetButton;
    default: return digitKeys[size_t(int(command) - int(ConsoleCommand::Digit0))];
    }
}

void ConsoleWindow::press(ConsoleCommand command) {
    // A key reaches its shortcut before the input hold sees it; it is held here.
    if (session_.isBusy()) return heldCommands_.push_back(command);
    // click() does nothing on a disabled button.
    buttonOf(command)->click();
}

// ---- What the session, the tape and the settings hold -----------------------------------

void ConsoleWindow::showRouteControls() {
    const bool cleared = session_.isDisplayCleared();
    for (QWidget* w : {static_cast<QWidget*>(digitListPanel), static_cast<QWidget*>(keypadPanel),
                       static_cast<QWidget*>(scrollGroup)})
        w->setEnabled(!cleared);
    stepBackButton->setEnabled(session_.canStep() && !cleared);
    stepForwardButton->setEnabled(session_.canStep() && !cleared);
    clearDisplayCheck->setEnabled(session_.canStep());
    clearDisplayCheck->setChecked(cleared);
}

void ConsoleWindow::showTapeControls() {
    tapeGroup->setTitle(tape_.speechAvailable() ? QStringLiteral("音合使用可")
                                                : QStringLiteral("音合使用不可"));
    tapeGroup->setEnabled(tape_.controlsEnabled());
    for (QPushButton* b : {tapeNextButton, tapeBackButton, tapeStopButton, voiceSettingsButton})
        b->setEnabled(tape_.buttonsEnabled());
}

void ConsoleWindow::showConsoleState() {
    const SettingsRecord& r = settings_.record();
    const QSignalBlocker blockSpeed(scrollSpeedBar), blockInterval(scrollIntervalBar),
        blockLateNight(lateNightCheck), blockPreview(previewToggle);
    scrollSpeedBar->setValue(r.scrollSpeed);
    scrollIntervalBar->setValue(r.scrollWait);
    scrollSpeedValue->setText(QString::number(r.scrollSpeed));
    scrollIntervalValue->setText(QString::number(r.scrollWait));
    lateNightCheck->setChecked(r.lateNight);

    const bool open = r.previewOpen;
    previewToggle->setChecked(open);
    setFixedWidth(Units::px(open ? OpenWidth : ClosedWidth));
    previewToggle->setText(open ? QStringLiteral("<<") : QStringLiteral(">>"));
    previewToggle->setToolTip(open ? QStringLiteral("整理券プレビューを隠します")
                                   : QStringLiteral("整理券プレビューを開きます"));

    // The panel last double-clicked lies behind the other.
    (r.keypadBehind ? keypadPanel : digitListPanel)->lower();
}

// ---- The ticket preview ------------------------------------------------------------------

bool ConsoleWindow::loadTicketPlugin(const QString& path) {
    TicketPluginInfo info{};
    if (path.isEmpty() || !tickets_ || !tickets_->pluginInfo(path, info)) return false;
    ticketPreview->resize(std::max(1, Units::px(info[1])), std::max(1, Units::px(info[2])));
    if (info[13] >= 1) {
        companyList->addItems(tickets_->companyNames(path));
        // Filling the list would choose its first entry: no company is
        // chosen until the user picks one.
        companyList->setCurrentIndex(-1);
    }
    return true;
}

void ConsoleWindow::clearCompanies() { companyList->clear(); }

void ConsoleWindow::clear() { ticketPreview->clear(); }

void ConsoleWindow::draw(FareRow::TicketDrawing& ticket) {
    if (!tickets_) return;
    tickets_->drawTicket(&ticketPreview->image(), ticket);
    ticketPreview->update();
}

void ConsoleWindow::copyTicket() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(ticketPreview->image());
}

QString ConsoleWindow::versionText() {
    return QStringLiteral("機種：") + AppInfo::modelName() + QStringLiteral("\r\n") +
           QStringLiteral("バージョン：%1.%2.%3")
               .arg(AppInfo::versionMajor())
               .arg(AppInfo::versionMinor())
               .arg(AppInfo::versionRevision()) +
           QStringLiteral("  ServiceRelease 1\r\n\r\n") +
           QStringLiteral("運賃表示器シミュレーター\r\n"
                          "Qt %1 / 音源: SDL2 + FluidSynth\r\n"
                          "書体: IPAフォント, DSEG, ayu 18ドット, 東雲 16ドット\r\n"
                          "音声合成: Open JTalk\r\n"
                          "音声: HTS voice \"Mei\" (CC BY 3.0)\r\n"
                          "  MMDAgent Project Team, 名古屋工業大学")
               .arg(QString::fromLatin1(qVersion()));
}

// ---- Helpers ------------------------------------------------------------------------------

QString ConsoleWindow::selectedDigits(const QListWidget* const* lists, int count) const {
    QString s;
    for (int i = 0; i < count; ++i)
        if (const QListWidgetItem* item = lists[i]->currentItem(); item && item->isSelected())
            s += item->text();
    return s;
}

void ConsoleWindow::closeEvent(QCloseEvent* event) {
    event->ignore(); // the program ends by the application's exit, or not at all
    emit exitRequested();
}
