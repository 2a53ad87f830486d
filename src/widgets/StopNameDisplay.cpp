#include "widgets/StopNameDisplay.h"

#include "model/StopNameLayout.h"
#include "model/SystemClock.h"
#include "widgets/QColorOf.h"

#include <QPaintEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>
#include <bit>
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

void StopNameDisplay::setScale(qreal scale) {
    if (scale <= 0 || scale == scale_) return;
    scale_ = scale;
    setFixedSize(qRound(ControlWidth * scale), qRound(ControlHeight * scale));
    update();
}

void StopNameDisplay::clearStrip() {
    strip_.fill(rgbOf(look_.backColor));
    stamps_.clear();
    drawnStrip_ = QImage();
}

void StopNameDisplay::stamp(int x, int y, const DotGlyph::Pattern& dots, QRgb colour) {
    DotGlyph::fillDots(strip_, x, y, dots, colour);
    stamps_.push_back({x, y, dots, colour});
    drawnStrip_ = QImage();
}

const QImage& StopNameDisplay::stripAt(qreal ratio) {
    if (!drawnStrip_.isNull() && drawnRatio_ == ratio) return drawnStrip_;
    drawnRatio_ = ratio;
    drawnStrip_ = QImage(qCeil(strip_.width() * ratio), qCeil(strip_.height() * ratio),
                         QImage::Format_RGB32);
    drawnStrip_.fill(rgbOf(look_.backColor));
    QPainter p(&drawnStrip_);
    // Every dot the same size, at the nearest pixel to its place.
    const int dot = qMax(1, qRound(DotGlyph::DotSize * ratio));
    for (const Stamp& st : stamps_)
        for (int r = 0; r < DotGlyph::Samples; ++r)
            for (quint32 rest = st.dots.rows[size_t(r)]; rest; rest &= rest - 1) {
                const int c = std::countr_zero(rest);
                p.fillRect(qRound((st.x + c * DotGlyph::DotPitch) * ratio),
                           qRound((st.y + r * DotGlyph::DotPitch) * ratio), dot, dot,
                           QColor::fromRgb(st.colour));
            }
    return drawnStrip_;
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
    stamp(x, y, dots, rgbOf(look_.dotColor));
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
    stamp(0, 0, glyph_.dots(QStringLiteral("次")), colour);

    if (look_.prefixMode == 1) {
        glyph_.setPoints(SmallHaSize);
        glyph_.setTop(SmallHaTop);
    } else {
        glyph_.setPoints(PrefixSize);
        glyph_.setTop(0);
    }
    applyFace(true);
    glyph_.setBold(look_.prefixBold);
    stamp(StopNameLayout::CellWidth, 0, glyph_.dots(QStringLiteral("は")), colour);

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
    const qreal pixelRatio = devicePixelRatioF(), ratio = scale_ * pixelRatio;
    const bool asHeld = ratio == 1;
    // In the screen's own pixels.
    p.scale(1 / pixelRatio, 1 / pixelRatio);
    const QRect frame(0, 0, qRound(FrameWidth * ratio), qRound(FrameHeight * ratio));
    p.fillRect(frame, toQColor(frameBackColor_));
    // Only the part of the strip that lies in the frame is drawn.
    const qint64 left = stripLeft_;
    if (left >= FrameWidth || left + strip_.width() <= 0) return;
    const QImage& strip = asHeld ? strip_ : stripAt(ratio);
    const QRect stripRect(qRound(stripLeft_ * ratio), qRound(StripTop * ratio), strip.width(),
                          strip.height());
    const QRect shown = stripRect.intersected(frame);
    p.drawImage(shown, strip, shown.translated(-stripRect.topLeft()));
}
