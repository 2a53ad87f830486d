#include "board/BoardWindow.h"

#include "model/Clock.h"
#include "model/K40Error.h"
#include "model/MessageBoxService.h"
#include "model/SafeFile.h"
#include "model/Settings.h"
#include "model/TicketNumberLayout.h"
#include "widgets/QColorOf.h"
#include "widgets/SegmentDisplay.h"
#include "widgets/StopNameDisplay.h"
#include "widgets/BoardArt.h"
#include "widgets/BoardGeometry.h"
#include "widgets/Units.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QFileInfo>
#include <QHash>
#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace {

QLabel* ticketLabel(QWidget* parent, const QRect& geometry, const QFont& font) {
    auto* l = new QLabel(parent);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setAttribute(Qt::WA_TranslucentBackground);
    // A press on a label is its own: it does not drag the board.
    l->setAttribute(Qt::WA_NoMousePropagation);
    l->setFont(font);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(p);
    return l;
}

// The text of the error box of a panel picture that cannot be shown.
QString pictureErrorText(int number) {
    QString detail;
    switch (number) {
    case 53:
        detail = QStringLiteral("　画像ファイルが見つからないか、指定している場所が不正です。");
        break;
    case 57:
        detail = QStringLiteral("　デバイスエラーもしくは準備が出来ていません。");
        break;
    case 481:
        detail = QStringLiteral("　指定した画像の内容が不正です。この部分では扱えません。");
        break;
    default: break;
    }
    return QStringLiteral("エラーです。\r\n\r\nエラーコード：%1").arg(number) + detail;
}

} // namespace

BoardWindow::BoardWindow(Settings& settings, MessageBoxService& messages,
                         CompanionDialogs* dialogs, Clock* clock, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), settings_(settings), messages_(messages),
      clock_(clock), dialogs_(dialogs),
      labelFont_(Units::font(QStringLiteral("ＭＳ Ｐゴシック"), 14.25, true)) {
    setAttribute(Qt::WA_OpaquePaintEvent);

    ticketLabels.push_back(ticketLabel(this, Units::rect(1185, 45, 780, 240),
                                       Units::font(QStringLiteral("ヴェルトレン数字平体"), 12.75,
                                                   true)));
    ticketLabels[0]->hide();

    fareCells.push_back(new SegmentDisplay(this));
    fareCells[0]->setGeometry(Units::rect(2100, 30, 780, 300));
    fareCells[0]->hide();
    fareCells[0]->setDialogs(dialogs);

    for (int i = 0; i < 2; ++i) {
        clockDigits[size_t(i)] = new SegmentDisplay(this);
        clockDigits[size_t(i)]->setDigitCount(2);
        clockDigits[size_t(i)]->setGeometry(Units::rect(i == 0 ? 5445 : 5850, 30, 390, 300));
        clockDigits[size_t(i)]->hide();
    }

    stopNameDisplay = new StopNameDisplay(this, clock);

    clockTimer = new QTimer(this);
    clockTimer->setInterval(1000);
    connect(clockTimer, &QTimer::timeout, this, &BoardWindow::showTime);

    makeCells(BoardChoice());
    buildMenu();
}

void BoardWindow::buildMenu() {
    menu = new QMenu(this);
    QMenu* tape = nullptr;
    for (const CommandKeys& k : commandKeys()) {
        if (!k.onBoard) continue;
        QString caption;
        switch (k.command) {
        case ConsoleCommand::StepForward: caption = QStringLiteral("データ送り"); break;
        case ConsoleCommand::StepBack: caption = QStringLiteral("データ戻し"); break;
        case ConsoleCommand::TapeNext: caption = QStringLiteral("送り"); break;
        case ConsoleCommand::TapeBack: caption = QStringLiteral("戻し"); break;
        default: caption = QStringLiteral("■"); break;
        }
        const bool onTape = k.command != ConsoleCommand::StepForward &&
                            k.command != ConsoleCommand::StepBack;
        if (onTape && !tape) tape = menu->addMenu(QStringLiteral("放送"));
        QAction* action = (onTape ? tape : menu)->addAction(caption);
        action->setShortcuts(QList<QKeySequence>(k.keys.begin(), k.keys.end()));
        connect(action, &QAction::triggered, this,
                [this, c = k.command] { emit commandChosen(c); });
        addAction(action); // its keys work without the menu open
    }

    // The board's size: the sizes offered, larger, smaller and 100 %.
    menu->addSeparator();
    QMenu* sizes = menu->addMenu(QStringLiteral("表示倍率"));
    scaleGroup_ = new QActionGroup(this);
    for (int percent : BoardChoice::Scales) {
        QAction* a = sizes->addAction(QStringLiteral("%1 %").arg(percent));
        a->setCheckable(true);
        a->setData(percent);
        a->setActionGroup(scaleGroup_);
        connect(a, &QAction::triggered, this, [this, percent] { settings_.setBoardScale(percent); });
    }
    sizes->addSeparator();
    const auto zoom = [&](const QString& caption, const QList<QKeySequence>& keys, int step) {
        QAction* a = sizes->addAction(caption);
        a->setShortcuts(keys);
        connect(a, &QAction::triggered, this, [this, step] {
            const int now = grid_.scalePercent;
            settings_.setBoardScale(step == 0 ? 100 : BoardChoice::nextScale(now, step > 0));
        });
        addAction(a);
    };
    zoom(QStringLiteral("拡大"), {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, 1);
    zoom(QStringLiteral("縮小"), {QKeySequence::ZoomOut}, -1);
    zoom(QStringLiteral("100 %"), {QKeySequence(Qt::CTRL | Qt::Key_0)}, 0);
    for (QAction* a : scaleGroup_->actions()) a->setChecked(a->data().toInt() == 100);

    // Full screen, on a screen of the user's choice; Esc leaves it too.
    fullScreenAction_ = menu->addAction(QStringLiteral("全画面表示"));
    fullScreenAction_->setCheckable(true);
    fullScreenAction_->setShortcut(QKeySequence(Qt::Key_F11));
    connect(fullScreenAction_, &QAction::triggered, this,
            [this](bool on) { settings_.setBoardFullScreen(on); });
    addAction(fullScreenAction_);
    auto* leave = new QAction(this);
    leave->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(leave, &QAction::triggered, this, [this] { settings_.setBoardFullScreen(false); });
    addAction(leave);
    screensMenu_ = menu->addMenu(QStringLiteral("全画面表示の画面"));
    connect(menu, &QMenu::aboutToShow, this, &BoardWindow::listScreens);
    listScreens();
}

void BoardWindow::listScreens() {
    screensMenu_->clear();
    auto* group = new QActionGroup(screensMenu_);
    const QList<QScreen*> screens = QGuiApplication::screens();
    const int chosen = settings_.record().board.screen;
    const auto add = [&](const QString& caption, int index) {
        QAction* a = screensMenu_->addAction(caption);
        a->setCheckable(true);
        a->setChecked(index == chosen || (index == -1 && !screens.value(chosen)));
        a->setActionGroup(group);
        connect(a, &QAction::triggered, this, [this, index] { settings_.setBoardScreen(index); });
    };
    add(QStringLiteral("表示器のある画面"), -1);
    for (int i = 0; i < screens.size(); ++i)
        add(QStringLiteral("画面 %1（%2 × %3）")
                .arg(i + 1)
                .arg(screens[i]->geometry().width())
                .arg(screens[i]->geometry().height()),
            i);
}

BoardWindow::~BoardWindow() = default;

void BoardWindow::makeCells(const BoardChoice& board) {
    // The digit options are the same in every cell; the new cells keep them.
    const SegmentDisplay* first = fareCells.size() > 1 ? fareCells[1] : nullptr;
    const DigitCellOptions options =
        first ? DigitCellOptions{first->shift(), first->zeroMode(), first->fillZero()}
              : DigitCellOptions{};
    for (size_t i = 1; i < fareCells.size(); ++i) {
        delete ticketLabels[i];
        delete fareCells[i];
    }
    ticketLabels.resize(1);
    fareCells.resize(1);

    grid_ = board;
    for (int i = 1; i <= board.cells(); ++i) {
        ticketLabels.push_back(ticketLabel(this, {}, labelFont_));
        auto* cell = new SegmentDisplay(this);
        cell->setDigitCount(3);
        cell->setDigitSize(2);
        cell->setDigitStyle(1);
        cell->setDialogs(dialogs_);
        if (first) {
            cell->setShift(options.shift);
            cell->setFillZero(options.fillZero);
            cell->setZeroMode(options.zeroMode);
        }
        cell->setValue(DigitValue(0));
        cell->show();
        connect(cell, &SegmentDisplay::doubleClicked, this, [this, i] { editCellOptions(i); });
        fareCells.push_back(cell);
    }
    picture_ = builtInPicture();
    builtInShown_ = true;
    drawnArt_ = QPixmap();
    layOut();
}

void BoardWindow::applyView() {
    const BoardChoice& c = settings_.record().board;
    grid_.scalePercent = c.scalePercent, grid_.fullScreen = c.fullScreen, grid_.screen = c.screen;
    fullScreenAction_->setChecked(c.fullScreen);
    if (!c.fullScreen) {
        const bool was = fullScreen_;
        fullScreen_ = false;
        origin_ = {};
        scale_ = c.scalePercent / 100.0;
        ++pointerGeneration_;
        setMouseTracking(false);
        unsetCursor();
        layOut();
        if (was) {
            showNormal();
            move(windowedPos_);
        }
        return;
    }
    QScreen* on = QGuiApplication::screens().value(c.screen, nullptr);
    if (!on) on = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!fullScreen_) windowedPos_ = pos();
    fullScreen_ = true;
    clearMask();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QRect area = on->geometry();
    const QSize base = BoardGeometry::size(grid_);
    scale_ = std::min(area.width() / qreal(base.width()), area.height() / qreal(base.height()));
    const QSize board = BoardGeometry::size(grid_, scale_);
    origin_ = QPoint((area.width() - board.width()) / 2, (area.height() - board.height()) / 2);
    if (windowHandle()) windowHandle()->setScreen(on);
    setGeometry(area);
    layOut();
    if (isVisible()) showFullScreen();
    setMouseTracking(true);
    if (windowHandle()) {
        windowHandle()->removeEventFilter(this);
        windowHandle()->installEventFilter(this);
    }
    showPointer();
}

void BoardWindow::showPointer() {
    unsetCursor();
    if (!fullScreen_ || !clock_) return;
    clock_->after(PointerHideMs, this, [this, g = ++pointerGeneration_] {
        if (g == pointerGeneration_ && fullScreen_) setCursor(Qt::BlankCursor);
    });
}

void BoardWindow::layOut() {
    const qreal s = scale_;
    const int columns = grid_.columns();
    if (!fullScreen_) setFixedSize(BoardGeometry::size(grid_, s));
    QFont label = labelFont_;
    label.setPixelSize(qRound(labelFont_.pixelSize() * s));
    for (int i = 1; i < int(fareCells.size()); ++i) {
        ticketLabels[size_t(i)]->setGeometry(
            BoardGeometry::labelRect(i, columns, s).translated(origin_));
        if (i > 1) ticketLabels[size_t(i)]->setFont(label);
        fareCells[size_t(i)]->setGeometry(BoardGeometry::cellRect(i, columns, s).translated(origin_));
        fareCells[size_t(i)]->setScale(s);
    }
    QFont first = ticketLabels[1]->font();
    first.setPixelSize(qRound((firstLabelPixels_ ? firstLabelPixels_ : labelFont_.pixelSize()) * s));
    ticketLabels[1]->setFont(first);
    for (int i = 0; i < 2; ++i) {
        clockDigits[size_t(i)]->setGeometry(
            BoardGeometry::rect(i == 0 ? 5445 : 5850, 30, 390, 300, s).translated(origin_));
        clockDigits[size_t(i)]->setScale(s);
    }
    stopNameDisplay->setScale(s);
    stopNameDisplay->move(BoardGeometry::stripPosition(grid_, s) + origin_);
    if (roundShape_ && !fullScreen_) applyRoundShape();
    if (scaleGroup_)
        for (QAction* a : scaleGroup_->actions())
            a->setChecked(a->data().toInt() == grid_.scalePercent);
    update();
}

QPixmap BoardWindow::builtInPicture() const {
    static const QPixmap board(QStringLiteral(":/k40/board.png"));
    if (grid_.grid == BoardChoice::Grid::Standard) return board;
    static QHash<int, QPixmap> drawn; // each larger board's, drawn when first chosen
    auto it = drawn.find(int(grid_.grid));
    if (it == drawn.end())
        it = drawn.insert(int(grid_.grid), QPixmap::fromImage(BoardArt::draw(grid_)));
    return *it;
}

void BoardWindow::setPicture(const QPixmap& picture) {
    picture_ = picture;
    builtInShown_ = false;
    update();
}

void BoardWindow::applyRoundShape() {
    // The rounded rectangle (0, 0)-(width, height) with a 3 x 3 corner
    // ellipse at 100 %: one pixel is cut off each corner.
    roundShape_ = true;
    if (fullScreen_) return;
    const int w = width(), h = height(), k = qMax(1, qRound(scale_));
    setMask(QRegion(k, 0, w - 2 * k, h) | QRegion(0, k, w, h - 2 * k));
}

// ---- Settings ----------------------------------------------------------------------

void BoardWindow::applyAppearance() {
    const SettingsRecord& r = settings_.record();
    if (r.board.grid != grid_.grid) makeCells(r.board);
    grid_.paging = r.board.paging, grid_.pageSeconds = r.board.pageSeconds;
    if (fullScreen_) {
        applyView(); // the largest that fits, for this board
    } else {
        grid_.scalePercent = r.board.scalePercent;
        scale_ = r.board.scalePercent / 100.0;
        layOut();
    }
    for (size_t i = 1; i < ticketLabels.size(); ++i)
        ticketLabels[i]->setVisible(isOn(r.showTicketNumbers));
    showTicketNumbers(positionOrNone(r.ticketNumberLayout), qint16(r.zeroPadTicketNumbers), 1);

    for (size_t i = 1; i < fareCells.size(); ++i) colorDigits(*fareCells[i], r);
    for (SegmentDisplay* d : clockDigits) colorDigits(*d, r);

    stopNameDisplay->setLook(stripLook(r));

    setBacklight(backlight_);
}

void BoardWindow::showTicketNumbers(qint16 layout, qint16 zeroPad, int firstTicket) {
    const int labels = int(ticketLabels.size()) - 1;
    const TicketNumberLayout::Layout l =
        TicketNumberLayout::compute(layout, zeroPad, labels, firstTicket);
    for (int i = 1; i <= labels; ++i)
        if (l.caption[size_t(i)]) ticketLabels[size_t(i)]->setText(*l.caption[size_t(i)]);
    QLabel* first = ticketLabels[1];
    QFont f = first->font();
    f.setFamily(QStringLiteral("ＭＳ Ｐゴシック"));
    firstLabelPixels_ = Units::font(f.family(), l.firstLabelPointSize).pixelSize();
    f.setPixelSize(qRound(firstLabelPixels_ * scale_));
    first->setFont(f);
}

void BoardWindow::setBacklight(Backlight mode) {
    backlight_ = mode;
    const BacklightLook look = backlightLook(settings_.record(), mode);
    if (!look.userPicture) {
        setPicture(builtInPicture());
        builtInShown_ = true;
    } else if (QFileInfo(look.pictureFile).isFile()) {
        // Read whole from a regular file of at most MaxPictureBytes, then
        // decoded from memory, within Qt's own limit on the image's size.
        const SafeFile::Reading file = SafeFile::read(look.pictureFile, MaxPictureBytes);
        QBuffer bytes;
        bytes.setData(file.bytes);
        QImageReader reader(&bytes);
        const QImage picture = file.ok() ? reader.read() : QImage();
        if (!picture.isNull()) {
            setPicture(QPixmap::fromImage(picture));
        } else {
            const int number = file.status == SafeFile::Reading::Status::NotFound
                                   ? K40Error::FileNotFound
                               : file.status == SafeFile::Reading::Status::Failed
                                   ? K40Error::DeviceIoError
                                   : K40Error::InvalidPicture;
            messages_.show(pictureErrorText(number), QStringLiteral("エラー"), MsgIcon::Critical,
                           MsgButtons::Ok);
        }
    }
    colorTicketNumbers(look.numberColor);
}

void BoardWindow::colorTicketNumbers(BgrColor color) {
    for (size_t i = 1; i < ticketLabels.size(); ++i) {
        QLabel* label = ticketLabels[i];
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, toQColor(color));
        label->setPalette(p);
    }
}

BgrColor BoardWindow::ticketNumberColor(int i) const {
    return fromQColor(ticketLabels[size_t(i)]->palette().color(QPalette::WindowText));
}

void BoardWindow::colorDigits(SegmentDisplay& d, const SettingsRecord& r) {
    d.setBackColor(r.digitBackColor);
    d.setUnlitColor(r.digitUnlitColor);
    d.setLitColor(r.digitLitColor);
}

void BoardWindow::takeStoredDisplays(const SettingsRecord& r) {
    for (size_t i = 1; i < fareCells.size(); ++i) {
        SegmentDisplay* d = fareCells[i];
        // Cells beyond the 24 the file keeps take the options of cell 24.
        const DigitCellOptions& c = r.digitCells[std::min<size_t>(i, 24) - 1];
        d->setZeroMode(c.zeroMode);
        d->setShift(c.shift);
        d->setFillZero(c.fillZero);
        colorDigits(*d, r);
        d->setValue(DigitValue(QStringLiteral(" ")));
    }
    for (SegmentDisplay* d : clockDigits) colorDigits(*d, r);
    stopNameDisplay->setLook(stripLook(r));
    // The cells hold their options to what they can show; so are they kept.
    settings_.setDigitCells(cellOptions());
}

StopNameDisplay::Look BoardWindow::stripLook(const SettingsRecord& r) {
    StopNameDisplay::Look look;
    look.backColor = r.stripBackColor;
    look.dotColor = r.stripDotColor;
    look.fontMode = positionOrNone(r.stripFont);
    look.fontBold = r.stripBold == Check::Checked;
    look.prefixMode = positionOrNone(r.prefixMode);
    look.prefixColor = r.prefixColor;
    look.prefixFontMode = positionOrNone(r.prefixFont);
    look.prefixBold = r.prefixBold == Check::Checked;
    return look;
}

std::array<DigitCellOptions, 24> BoardWindow::cellOptions() const {
    std::array<DigitCellOptions, 24> cells;
    for (int i = 1; i <= 24; ++i) {
        const SegmentDisplay* d = fareCells[size_t(i)];
        cells[size_t(i - 1)] = {d->shift(), d->zeroMode(), d->fillZero()};
    }
    return cells;
}

void BoardWindow::editCellOptions(int i) {
    SegmentDisplay* cell = fareCells[size_t(i)];
    if (!cell->userSettable()) return;
    emit cellDialogOpen(true);
    if (cell->showSettingsDialog()) {
        const qint16 zeroMode = cell->zeroMode(), shift = cell->shift(),
                     fillZero = cell->fillZero();
        for (size_t k = 1; k < fareCells.size(); ++k) {
            SegmentDisplay* d = fareCells[k];
            const DigitValue v = d->value();
            d->setShift(shift);
            d->setFillZero(fillZero);
            d->setZeroMode(zeroMode);
            d->setValue(v);
        }
        settings_.setDigitCells(cellOptions());
    }
    emit cellDialogOpen(false);
}

// ---- What the route session shows ----------------------------------------------------

void BoardWindow::setCellValue(int cell, const DigitValue& value) {
    if (cell >= 0 && size_t(cell) < fareCells.size()) fareCells[size_t(cell)]->setValue(value);
}

void BoardWindow::resetCells(bool allLit) {
    for (size_t i = 1; i < fareCells.size(); ++i) fareCells[i]->resetDigits(allLit);
}

void BoardWindow::showTicketPage(int firstTicket) {
    const SettingsRecord& r = settings_.record();
    showTicketNumbers(positionOrNone(r.ticketNumberLayout), qint16(r.zeroPadTicketNumbers),
                      firstTicket);
}

void BoardWindow::setClockRunning(bool running) {
    if (!running) {
        clockTimer->stop();
        for (SegmentDisplay* d : clockDigits) d->setValue(DigitValue(QString()));
    } else if (clockDigits[0]->isVisible()) {
        clockTimer->start();
    }
}

qint16 BoardWindow::prefixMode() const { return stopNameDisplay->prefixMode(); }

void BoardWindow::setPrefixMode(qint16 mode) { stopNameDisplay->setPrefixMode(mode); }

void BoardWindow::showStopName(const QString& name) { stopNameDisplay->setStopName(name); }

void BoardWindow::showTime() {
    const QTime t = clock_->now().time();
    clockDigits[0]->setValue(DigitValue(qint64{t.hour()}));
    clockDigits[1]->setValue(DigitValue(qint64{t.minute()}));
}

// ---- Events -------------------------------------------------------------------------

void BoardWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (fullScreen_) p.fillRect(rect(), Qt::black);
    p.translate(origin_);
    p.fillRect(QRect(QPoint(), BoardGeometry::size(grid_, scale_)), QColor(0x80, 0x80, 0x80));
    if (picture_.isNull()) return;
    const qreal ratio = scale_ * devicePixelRatioF();
    if (ratio == 1 && !fullScreen_) return p.drawPixmap(0, 0, picture_);
    if (builtInShown_) {
        // Drawn again at the size, in the screen's pixels.
        if (drawnArtRatio_ != ratio || drawnArt_.isNull()) {
            drawnArt_ = QPixmap::fromImage(BoardArt::draw(grid_, ratio));
            drawnArt_.setDevicePixelRatio(devicePixelRatioF());
            drawnArtRatio_ = ratio;
        }
        return p.drawPixmap(0, 0, drawnArt_);
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(QRectF(0, 0, picture_.width() * scale_, picture_.height() * scale_), picture_,
                 QRectF(picture_.rect()));
}

void BoardWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // Dragged like a caption bar; where the window system refuses, by hand.
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    manualDrag_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

bool BoardWindow::eventFilter(QObject* watched, QEvent* event) {
    if (fullScreen_ && watched == windowHandle() && event->type() == QEvent::MouseMove)
        showPointer();
    return QWidget::eventFilter(watched, event);
}

void BoardWindow::mouseMoveEvent(QMouseEvent* event) {
    if (manualDrag_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - dragOffset_);
}

void BoardWindow::mouseReleaseEvent(QMouseEvent*) { manualDrag_ = false; }

void BoardWindow::contextMenuEvent(QContextMenuEvent* event) { menu->popup(event->globalPos()); }

void BoardWindow::closeEvent(QCloseEvent* event) {
    // The program ends from the console, never by closing the board.
    event->ignore();
}
