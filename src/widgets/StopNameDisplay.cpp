#include "widgets/StopNameDisplay.h"

#include "model/StopNameLayout.h"
#include "model/SystemClock.h"
#include "widgets/QColorOf.h"

#include <QPaintEvent>
#include <QMouseEvent>
#include <QPainter>
#include <limits>

namespace {

using StopNameLayout::FrameHeight;
using StopNameLayout::FrameWidth;
using StopNameLayout::StripHeight;
using StopNameLayout::StripTop;

// Prefix type sizes in points.
constexpr double PrefixSize = 14;
constexpr double SmallHaSize = 12;
constexpr int SmallHaTop = 4;

QRgb rgbOf(BgrColor c) {
    return toQColor(c).rgb();
}

} // namespace

StopNameDisplay::StopNameDisplay(QWidget* parent, Clock* clock)
    : QWidget(parent), scroll_(FrameWidth) {
    setFixedSize(ControlWidth, ControlHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setClock(clock);
    strip_ = QImage(FrameWidth, StripHeight, QImage::Format_RGB32);
    clearStrip();
    frameTimer_.setInterval(FrameIntervalMs);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, &StopNameDisplay::advanceScroll);
}

StopNameDisplay::~StopNameDisplay() = default;

void StopNameDisplay::setClock(Clock* clock) {
    if (clock) {
        clock_ = clock;
        ownClock_.reset();
    } else if (!ownClock_ || clock_ != ownClock_.get()) {
        ownClock_ = std::make_unique<SystemClock>();
        clock_ = ownClock_.get();
    }
    // A scroll in progress goes on from the new clock's present.
    if (scroll_.running()) scroll_.resync(clock_->monotonicMs());
}

void StopNameDisplay::setLook(const Look& look) {
    const qint16 prefixMode = look.prefixMode;
    look_ = look;
    setPrefixMode(prefixMode);
    setBackColor(look.backColor);
}

void StopNameDisplay::setBackColor(BgrColor value) {
    look_.backColor = value;
    frameBackColor_ = value;
    clearStrip();
    update();
}

void StopNameDisplay::clearStrip() {
    strip_.fill(rgbOf(look_.backColor));
}

void StopNameDisplay::refresh() {
    update();
}

void StopNameDisplay::setStopName(const QString& text) {
    clearStrip();
    frameBackColor_ = look_.backColor;
    update();
    // The empty text only blanks the strip; a running scroll goes on moving it.
    if (text.isEmpty()) return;

    const StopNameLayout::Layout layout = StopNameLayout::layoutName(text, look_.prefixMode);
    stopScroll();
    stripLeft_ = layout.stripLeft;
    if (strip_.width() != layout.stripWidth) {
        strip_ = QImage(layout.stripWidth, StripHeight, QImage::Format_RGB32);
        clearStrip();
    }
    if (layout.prefix) drawPrefix();
    for (const StopNameLayout::Unit& unit : layout.units)
        drawCharacter(unit.x, 0, unit.text);
    if (layout.scrolls) startScroll();
}

void StopNameDisplay::drawCharacter(int x, int y, const QString& text) {
    if (text.isEmpty()) return;
    const QString shown = StopNameLayout::substitute(text);
    const StopNameLayout::Face face =
        StopNameLayout::nameFace(look_.fontMode, StopNameLayout::unitCode(shown));
    glyph_.setFace(face);
    glyph_.setBold(look_.fontBold);
    const DotGlyph::Pattern dots = glyph_.dots(DotGlyph::drawableText(shown));
    DotGlyph::fillDots(strip_, x, y, dots, rgbOf(look_.dotColor));
    update();
}

void StopNameDisplay::drawPrefix() {
    const QRgb colour = rgbOf(look_.prefixColor);
    const auto applyFace = [this](bool ha) {
        if (const auto face = StopNameLayout::prefixFace(look_.prefixFontMode, ha))
            glyph_.setFace(*face);
    };

    glyph_.setPoints(PrefixSize);
    glyph_.setTop(0);
    glyph_.setBold(look_.prefixBold);
    applyFace(false);
    DotGlyph::fillDots(strip_, 0, 0, glyph_.dots(QStringLiteral("次")), colour);

    if (look_.prefixMode == 1) {
        glyph_.setPoints(SmallHaSize);
        glyph_.setTop(SmallHaTop);
    } else {
        glyph_.setPoints(PrefixSize);
        glyph_.setTop(0);
    }
    applyFace(true);
    glyph_.setBold(look_.prefixBold);
    DotGlyph::fillDots(strip_, StopNameLayout::CellWidth, 0, glyph_.dots(QStringLiteral("は")),
                          colour);

    glyph_.setPoints(PrefixSize);
    glyph_.setTop(0);
    glyph_.setBold(false);
    update();
}

void StopNameDisplay::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

bool StopNameDisplay::isScrolling() const {
    return scroll_.running();
}

bool StopNameDisplay::isScrollPausing() const {
    return scroll_.phase() == StopNameScroll::Phase::Pausing;
}

void StopNameDisplay::startScroll() {
    update();
    if (speed_ == 0) setSpeed(1);
    scroll_.start(clock_->monotonicMs());
    stripLeft_ = scroll_.left();
    frameTimer_.start();
}

void StopNameDisplay::stopScroll() {
    frameTimer_.stop();
    if (scroll_.running()) {
        scroll_.stop();
        stripLeft_ = 0;
        update();
    }
}

void StopNameDisplay::advanceScroll() {
    if (!scroll_.running()) return;
    scroll_.advance(clock_->monotonicMs(), [this] {
        return StopNameScroll::Params{speed_, scrollStartWait_, strip_.width()};
    });
    if (scroll_.left() != stripLeft_) {
        stripLeft_ = scroll_.left();
        update();
    }
}

void StopNameDisplay::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setClipRegion(event->region());
    const QRect frame(0, 0, FrameWidth, FrameHeight);
    p.fillRect(frame, toQColor(frameBackColor_));
    // Only the part of the strip that lies in the frame is drawn.
    const qint64 left = stripLeft_;
    if (left >= FrameWidth || left + strip_.width() <= 0) return;
    const QRect stripRect(stripLeft_, StripTop, strip_.width(), strip_.height());
    const QRect shown = stripRect.intersected(frame);
    p.drawImage(shown, strip_, shown.translated(-stripRect.topLeft()));
}
