#include "widgets/StopNameDisplay.h"

#include "model/StopNameLayout.h"
#include "model/SystemClock.h"
#include "widgets/PropertyBag.h"
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

// The strip's and the frame's own colours before any property is applied.
constexpr BgrColor StripDesignBack = 0x404040;
constexpr BgrColor StripDesignFore = 0x80C0FF;

// Values of a control placed in a window for the first time.
namespace NewInstance {
constexpr BgrColor BackColor = 0x404040;
constexpr BgrColor DotColor = 0x80C0FF;
} // namespace NewInstance

// Values taken when saved design data lacks a key (and never written).
namespace Missing {
constexpr BgrColor BackColor = 0x808080;
constexpr BgrColor DotColor = 0x00BEFF;
constexpr qint16 Speed = 5;
constexpr qint32 ScrollStartWait = 1500;
constexpr qint16 Mode = 0;
constexpr qint16 Appearance = 1;
constexpr qint16 FontMode = 0;
constexpr bool FontBold = false;
constexpr qint16 PrefixMode = 0;
constexpr BgrColor PrefixColor = 0x79B9FF;
constexpr qint16 PrefixFontMode = 0;
constexpr bool PrefixBold = false;
} // namespace Missing

// Prefix type sizes in points.
constexpr double PrefixSize = 14;
constexpr double SmallHaSize = 12;
constexpr int SmallHaTop = 4;

QRgb rgbOf(BgrColor c) {
    return toQColor(c).rgb();
}

} // namespace

StopNameDisplay::StopNameDisplay(QWidget* parent, const PropertyBag* designData, Clock* clock)
    : QWidget(parent), backColor_(StripDesignBack), dotColor_(StripDesignFore),
      // The frame takes the strip's background when the control is created.
      frameBackColor_(StripDesignBack), appearance_(Missing::Appearance), speed_(Missing::Speed),
      scrollStartWait_(Missing::ScrollStartWait), mode_(Missing::Mode),
      fontMode_(Missing::FontMode), fontBold_(Missing::FontBold),
      prefixMode_(Missing::PrefixMode), prefixColor_(Missing::PrefixColor),
      prefixFontMode_(Missing::PrefixFontMode), prefixBold_(Missing::PrefixBold),
      scroll_(FrameWidth) {
    setFixedSize(ControlWidth, ControlHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setClock(clock);
    if (designData) {
        loadProperties(*designData);
    } else {
        backColor_ = NewInstance::BackColor;
        dotColor_ = NewInstance::DotColor;
        frameBackColor_ = backColor_;
    }
    strip_ = QImage(FrameWidth, StripHeight, QImage::Format_RGB32);
    clearStrip();
    frameTimer_.setInterval(FrameIntervalMs);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, &StopNameDisplay::advanceScroll);
}

StopNameDisplay::~StopNameDisplay() = default;

void StopNameDisplay::loadProperties(const PropertyBag& bag) {
    // Colours and the frame's look go straight to the surfaces; the rest is
    // stored as read, without the setters' checks.
    backColor_ = bag.readColor(QStringLiteral("BackColor"), Missing::BackColor);
    frameBackColor_ = backColor_;
    dotColor_ = bag.readColor(QStringLiteral("ForeColor"), Missing::DotColor);
    appearance_ = bag.readInt16(QStringLiteral("Appearance"), Missing::Appearance);
    speed_ = bag.readInt16(QStringLiteral("Speed"), Missing::Speed);
    scrollStartWait_ = bag.readInt32(QStringLiteral("ScrollStartWait"), Missing::ScrollStartWait);
    mode_ = bag.readInt16(QStringLiteral("Mode"), Missing::Mode);
    fontMode_ = bag.readInt16(QStringLiteral("FontMode"), Missing::FontMode);
    fontBold_ = bag.readBool(QStringLiteral("FontBold"), Missing::FontBold);
    prefixMode_ = bag.readInt16(QStringLiteral("TsugiwaMode"), Missing::PrefixMode);
    prefixColor_ = bag.readColor(QStringLiteral("TsugiwaColor"), Missing::PrefixColor);
    prefixFontMode_ = bag.readInt16(QStringLiteral("TsugiwaFontMode"), Missing::PrefixFontMode);
    prefixBold_ = bag.readBool(QStringLiteral("TsugiwaBold"), Missing::PrefixBold);
}

void StopNameDisplay::writeProperties(PropertyBag& bag) const {
    bag.write(QStringLiteral("BackColor"), QVariant::fromValue(backColor_),
                      QVariant::fromValue(Missing::BackColor));
    bag.write(QStringLiteral("ForeColor"), QVariant::fromValue(dotColor_),
                      QVariant::fromValue(Missing::DotColor));
    bag.write(QStringLiteral("Speed"), QVariant::fromValue(speed_),
                      QVariant::fromValue(Missing::Speed));
    bag.write(QStringLiteral("ScrollStartWait"), QVariant::fromValue(scrollStartWait_),
                      QVariant::fromValue(Missing::ScrollStartWait));
    bag.write(QStringLiteral("Mode"), QVariant::fromValue(mode_),
                      QVariant::fromValue(Missing::Mode));
    bag.write(QStringLiteral("Appearance"), QVariant::fromValue(appearance_),
                      QVariant::fromValue(Missing::Appearance));
    bag.write(QStringLiteral("FontMode"), QVariant::fromValue(fontMode_),
                      QVariant::fromValue(Missing::FontMode));
    bag.write(QStringLiteral("FontBold"), fontBold_, Missing::FontBold);
    bag.write(QStringLiteral("TsugiwaMode"), QVariant::fromValue(prefixMode_),
                      QVariant::fromValue(Missing::PrefixMode));
    bag.write(QStringLiteral("TsugiwaColor"), QVariant::fromValue(prefixColor_),
                      QVariant::fromValue(Missing::PrefixColor));
    bag.write(QStringLiteral("TsugiwaFontMode"), QVariant::fromValue(prefixFontMode_),
                      QVariant::fromValue(Missing::PrefixFontMode));
    bag.write(QStringLiteral("TsugiwaBold"), prefixBold_, Missing::PrefixBold);
}

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

void StopNameDisplay::changed(const char* name) {
    emit propertyChanged(QLatin1String(name));
}

void StopNameDisplay::setBackColor(BgrColor value) {
    backColor_ = value;
    frameBackColor_ = value;
    clearStrip();
    update();
    changed("BackColor");
}

void StopNameDisplay::setDotColor(BgrColor value) {
    dotColor_ = value;
    changed("ForeColor");
}

void StopNameDisplay::setSpeed(qint16 value) {
    speed_ = value;
    changed("Speed");
}

void StopNameDisplay::setScrollStartWait(qint32 value) {
    scrollStartWait_ = value;
    changed("ScrollStartWait");
}

void StopNameDisplay::setMode(qint16 value) {
    mode_ = value;
    changed("Mode");
}

void StopNameDisplay::setAppearance(qint16 value) {
    // The frame has no border, so its look does not show; the size stays.
    appearance_ = value;
    update();
    changed("Appearance");
}

void StopNameDisplay::setFontMode(qint16 value) {
    fontMode_ = value;
    changed("FontMode");
}

void StopNameDisplay::setFontBold(bool value) {
    fontBold_ = value;
    glyph_.setBold(value);
    changed("FontBold");
}

void StopNameDisplay::setPrefixMode(qint16 value) {
    prefixMode_ = value < 0 || value > 2 ? qint16{0} : value;
    changed("TsugiwaMode");
}

void StopNameDisplay::setPrefixColor(BgrColor value) {
    prefixColor_ = value;
    changed("TsugiwaColor");
}

void StopNameDisplay::setPrefixFontMode(qint16 value) {
    prefixFontMode_ = value;
    changed("TsugiwaFontMode");
}

void StopNameDisplay::setPrefixBold(bool value) {
    prefixBold_ = value;
    changed("TsugiwaBold");
}

void StopNameDisplay::clearStrip() {
    strip_.fill(rgbOf(backColor_));
}

void StopNameDisplay::refresh() {
    update();
}

void StopNameDisplay::setStopName(const QString& text) {
    clearStrip();
    frameBackColor_ = backColor_;
    update();
    // The empty text only blanks the strip; a running scroll goes on moving it.
    if (text.isEmpty()) return;

    const StopNameLayout::Layout layout = StopNameLayout::layoutName(text, prefixMode_);
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
        StopNameLayout::nameFace(fontMode_, StopNameLayout::unitCode(shown));
    glyph_.setFace(face);
    glyph_.setBold(fontBold_);
    const DotGlyph::Pattern dots = glyph_.dots(DotGlyph::drawableText(shown));
    DotGlyph::fillDots(strip_, x, y, dots, rgbOf(dotColor_));
    update();
}

void StopNameDisplay::drawPrefix() {
    const QRgb colour = rgbOf(prefixColor_);
    const auto applyFace = [this](bool ha) {
        if (const auto face = StopNameLayout::prefixFace(prefixFontMode_, ha))
            glyph_.setFace(*face);
    };

    glyph_.setPoints(PrefixSize);
    glyph_.setTop(0);
    glyph_.setBold(prefixBold_);
    applyFace(false);
    DotGlyph::fillDots(strip_, 0, 0, glyph_.dots(QStringLiteral("次")), colour);

    if (prefixMode_ == 1) {
        glyph_.setPoints(SmallHaSize);
        glyph_.setTop(SmallHaTop);
    } else {
        glyph_.setPoints(PrefixSize);
        glyph_.setTop(0);
    }
    applyFace(true);
    glyph_.setBold(prefixBold_);
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
