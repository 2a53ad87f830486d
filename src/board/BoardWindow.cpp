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
#include "widgets/BoardGeometry.h"
#include "widgets/Units.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
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
      clock_(clock) {
    setFixedSize(BoardGeometry::WidthPx, BoardGeometry::HeightPx);
    setAttribute(Qt::WA_OpaquePaintEvent);

    const QFont labelFont = Units::font(QStringLiteral("ＭＳ Ｐゴシック"), 14.25, true);
    ticketLabels[0] = ticketLabel(this, Units::rect(1185, 45, 780, 240),
                                  Units::font(QStringLiteral("ヴェルトレン数字平体"), 12.75, true));
    ticketLabels[0]->hide();

    fareCells[0] = new SegmentDisplay(this);
    fareCells[0]->setGeometry(Units::rect(2100, 30, 780, 300));
    fareCells[0]->hide();

    for (int i = 1; i <= 24; ++i) {
        ticketLabels[size_t(i)] = ticketLabel(this, BoardGeometry::labelRect(i), labelFont);
        fareCells[size_t(i)] = new SegmentDisplay(this);
        fareCells[size_t(i)]->setDigitCount(3);
        fareCells[size_t(i)]->setDigitSize(2);
        fareCells[size_t(i)]->setDigitStyle(1);
        fareCells[size_t(i)]->setGeometry(BoardGeometry::cellRect(i));
        connect(fareCells[size_t(i)], &SegmentDisplay::doubleClicked, this,
                [this, i] { editCellOptions(i); });
    }
    for (SegmentDisplay* d : fareCells) d->setDialogs(dialogs);

    for (int i = 0; i < 2; ++i) {
        clockDigits[size_t(i)] = new SegmentDisplay(this);
        clockDigits[size_t(i)]->setDigitCount(2);
        clockDigits[size_t(i)]->setGeometry(Units::rect(i == 0 ? 5445 : 5850, 30, 390, 300));
        clockDigits[size_t(i)]->hide();
    }

    stopNameDisplay = new StopNameDisplay(this, clock);
    stopNameDisplay->move(BoardGeometry::stripPosition());

    clockTimer = new QTimer(this);
    clockTimer->setInterval(1000);
    connect(clockTimer, &QTimer::timeout, this, &BoardWindow::showTime);

    for (int i = 1; i <= 24; ++i) fareCells[size_t(i)]->setValue(DigitValue(0));
    picture_ = builtInPicture();
}

BoardWindow::~BoardWindow() = default;

QPixmap BoardWindow::builtInPicture() {
    static const QPixmap board(QStringLiteral(":/k40/board.png"));
    return board;
}

void BoardWindow::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void BoardWindow::applyRoundShape() {
    // The rounded rectangle (0, 0)-(width, height) with a 3 x 3 corner
    // ellipse: one pixel is cut off each corner.
    const int w = width(), h = height();
    setMask(QRegion(1, 0, w - 2, h) | QRegion(0, 1, w, h - 2));
}

// ---- Settings ----------------------------------------------------------------------

void BoardWindow::applyAppearance() {
    const SettingsRecord& r = settings_.record();
    for (int i = 1; i <= 24; ++i) ticketLabels[size_t(i)]->setVisible(isOn(r.showTicketNumbers));
    showTicketNumbers(positionOrNone(r.ticketNumberLayout), qint16(r.zeroPadTicketNumbers));

    for (int i = 1; i <= 24; ++i) colorDigits(*fareCells[size_t(i)], r);
    for (SegmentDisplay* d : clockDigits) colorDigits(*d, r);

    stopNameDisplay->setLook(stripLook(r));

    setBacklight(backlight_);
}

void BoardWindow::showTicketNumbers(qint16 layout, qint16 zeroPad) {
    const TicketNumberLayout::Layout l = TicketNumberLayout::compute(layout, zeroPad);
    for (int i = 1; i <= 24; ++i)
        if (l.caption[size_t(i)]) ticketLabels[size_t(i)]->setText(*l.caption[size_t(i)]);
    QLabel* first = ticketLabels[1];
    QFont f = first->font();
    f.setFamily(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(Units::font(f.family(), l.firstLabelPointSize).pixelSize());
    first->setFont(f);
}

void BoardWindow::setBacklight(Backlight mode) {
    backlight_ = mode;
    const BacklightLook look = backlightLook(settings_.record(), mode);
    if (!look.userPicture) {
        setPicture(builtInPicture());
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
    for (int i = 1; i <= 24; ++i) {
        QLabel* label = ticketLabels[size_t(i)];
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
    for (int i = 1; i <= 24; ++i) {
        SegmentDisplay* d = fareCells[size_t(i)];
        const DigitCellOptions& c = r.digitCells[size_t(i - 1)];
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
        for (int k = 1; k <= 24; ++k) {
            SegmentDisplay* d = fareCells[size_t(k)];
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
    fareCells[size_t(cell)]->setValue(value);
}

void BoardWindow::resetCells(bool allLit) {
    for (int i = 1; i <= 24; ++i) fareCells[size_t(i)]->resetDigits(allLit);
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
    p.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    if (!picture_.isNull()) p.drawPixmap(0, 0, picture_);
}

void BoardWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // Dragged like a caption bar; where the window system refuses, by hand.
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    manualDrag_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void BoardWindow::mouseMoveEvent(QMouseEvent* event) {
    if (manualDrag_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - dragOffset_);
}

void BoardWindow::mouseReleaseEvent(QMouseEvent*) { manualDrag_ = false; }

void BoardWindow::closeEvent(QCloseEvent* event) {
    // The program ends from the console, never by closing the board.
    event->ignore();
}
