#include "board/BoardWindow.h"

#include "app/K40Windows.h"
#include "console/ConsoleWindow.h"
#include "widgets/StopNameDisplay.h"
#include "widgets/SegmentDisplay.h"
#include "widgets/PropertyBag.h"
#include "app/Services.h"
#include "model/Clock.h"
#include "widgets/Units.h"
#include "model/SettingsRecord.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>
#include <cmath>

namespace {

// Grid of the fare cells and their labels, in twips.
constexpr int kCellLeft[8] = {720, 1686, 2652, 3618, 4584, 5550, 6516, 7485};
constexpr int kLabelLeft[8] = {757, 1723, 2689, 3655, 4621, 5587, 6553, 7522};
constexpr int kLabelTop[3] = {1620, 2430, 3225};
constexpr int kCellTop[3] = {1935, 2730, 3525};

QLabel* makeLabel(QWidget* parent, const QRect& geometry, const QFont& font) {
    auto* l = new QLabel(parent);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    l->setFont(font);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(p);
    return l;
}

} // namespace

BoardWindow::BoardWindow(K40Windows& host, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), host_(host) {
    setFixedSize(582, 292);
    setAttribute(Qt::WA_OpaquePaintEvent);

    const QFont labelFont = Units::font(QStringLiteral("ＭＳ Ｐゴシック"), 14.25, true);
    lblSeiriNum[0] = makeLabel(this, Units::rect(1185, 45, 780, 240),
                               Units::font(QStringLiteral("ヴェルトレン数字平体"), 12.75, true));
    lblSeiriNum[0]->hide();

    const PropertyBag spare;
    Degit[0] = new SegmentDisplay(this, &spare);
    Degit[0]->setGeometry(Units::rect(2100, 30, 780, 300));
    Degit[0]->hide();

    const PropertyBag fareCell{{QStringLiteral("Keta"), 3},
                               {QStringLiteral("DegitSize"), 2},
                               {QStringLiteral("DegitStyle"), 1}};
    for (int i = 1; i <= 24; ++i) {
        const int row = (i - 1) / 8, col = (i - 1) % 8;
        lblSeiriNum[size_t(i)] =
            makeLabel(this, Units::rect(kLabelLeft[col], kLabelTop[row], 780, 240), labelFont);
        Degit[size_t(i)] = new SegmentDisplay(this, &fareCell);
        Degit[size_t(i)]->setGeometry(Units::rect(kCellLeft[col], kCellTop[row], 855, 435));
        connect(Degit[size_t(i)], &SegmentDisplay::doubleClicked, this, [this, i] { Degit_DblClick(i); });
    }
    for (SegmentDisplay* d : Degit) d->setDialogs(host_.services().dialogs);

    const PropertyBag clock{{QStringLiteral("Keta"), 2}};
    for (int i = 0; i < 2; ++i) {
        TimeDegit[size_t(i)] = new SegmentDisplay(this, &clock);
        TimeDegit[size_t(i)]->setGeometry(Units::rect(i == 0 ? 5445 : 5850, 30, 390, 300));
        TimeDegit[size_t(i)]->hide();
    }

    const PropertyBag strip{{QStringLiteral("BackColor"), 0x404040},
                            {QStringLiteral("ForeColor"), 0x80C0FF}};
    ChimeiCtl = new StopNameDisplay(this, &strip, host_.services().clock);
    ChimeiCtl->move(Units::px(1635), Units::px(277));

    imgRes[0] = builtInPicture();
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &BoardWindow::Timer1_Timer);
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

void BoardWindow::applyRoundRegion() {
    // The rounded rectangle (0, 0)-(width, height) with a 3 x 3 corner
    // ellipse: one pixel is cut off each corner.
    const int w = width(), h = height();
    setMask(QRegion(1, 0, w - 2, h) | QRegion(0, 1, w, h - 2));
}

void BoardWindow::GetFormInfo(SettingsRecord& record) const {
    record.PanelLeft = Units::twips(x());
    record.PanelTop = Units::twips(y());
}

void BoardWindow::SetFormInfo(const SettingsRecord& record) {
    move(Units::px(record.PanelLeft), Units::px(record.PanelTop));
}

void BoardWindow::Timer1_Timer() {
    const QString t = host_.services().clock->now().time().toString(u"HH:mm:ss");
    TimeDegit[0]->setValue(DigitValue(qint64{t.mid(0, 2).toInt()}));
    TimeDegit[1]->setValue(DigitValue(qint64{t.mid(3, 2).toInt()}));
}

void BoardWindow::Degit_DblClick(int index) {
    SegmentDisplay* cell = Degit[size_t(index)];
    if (!cell->userSettable()) return;
    QWidget& console = host_.console();
    console.setEnabled(false);
    if (cell->showSettingsDialog() == 1) {
        const qint16 zeroMode = cell->zeroMode(), shift = cell->shift(),
                     fillZero = cell->fillZero();
        for (int i = 1; i <= 24; ++i) {
            SegmentDisplay* d = Degit[size_t(i)];
            const DigitValue v = d->value();
            d->setShift(shift);
            d->setFillZero(fillZero);
            d->setZeroMode(zeroMode);
            d->setValue(v);
        }
    }
    console.setEnabled(true);
}

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
    if (host_.console().isVisible()) event->ignore();
}
