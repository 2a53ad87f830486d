#include "controls/ChimeiCtl_DX.h"

#include "controls/ChimeiLayout.h"
#include "controls/PropertyBag.h"
#include "platform/QtServices.h"

#include <QPaintEvent>
#include <QPainter>
#include <limits>

namespace {

using ChimeiLayout::FrameHeight;
using ChimeiLayout::FrameWidth;
using ChimeiLayout::StripHeight;

// The strip's and the frame's own colours before any property is applied.
constexpr OleColor StripDesignBack = 0x404040;
constexpr OleColor StripDesignFore = 0x80C0FF;

// Values of a control placed in a window for the first time.
namespace NewInstance {
constexpr OleColor BackColor = 0x404040;
constexpr OleColor ForeColor = 0x80C0FF;
} // namespace NewInstance

// Values taken when saved design data lacks a key (and never written).
namespace Missing {
constexpr OleColor BackColor = 0x808080;
constexpr OleColor ForeColor = 0x00BEFF;
constexpr qint16 Speed = 5;
constexpr qint32 ScrollStartWait = 1500;
constexpr qint16 Mode = 0;
constexpr qint16 Appearance = 1;
constexpr qint16 FontMode = 0;
constexpr bool FontBold = false;
constexpr qint16 TsugiwaMode = 0;
constexpr OleColor TsugiwaColor = 0x79B9FF;
constexpr qint16 TsugiwaFontMode = 0;
constexpr bool TsugiwaBold = false;
} // namespace Missing

// Prefix type sizes in points.
constexpr double PrefixSize = 14;
constexpr double SmallHaSize = 12;
constexpr int SmallHaTop = 4;

QRgb rgbOf(OleColor c) {
    return toQColor(c).rgb();
}

} // namespace

ChimeiCtl_DX::ChimeiCtl_DX(QWidget* parent, const PropertyBag* designData, Clock* clock)
    : QWidget(parent), backColor_(StripDesignBack), foreColor_(StripDesignFore),
      // The frame takes the strip's background when the control is created.
      frameBackColor_(StripDesignBack), appearance_(Missing::Appearance), speed_(Missing::Speed),
      scrollStartWait_(Missing::ScrollStartWait), mode_(Missing::Mode),
      fontMode_(Missing::FontMode), fontBold_(Missing::FontBold),
      tsugiwaMode_(Missing::TsugiwaMode), tsugiwaColor_(Missing::TsugiwaColor),
      tsugiwaFontMode_(Missing::TsugiwaFontMode), tsugiwaBold_(Missing::TsugiwaBold),
      scroll_(FrameWidth) {
    setFixedSize(ControlWidth, ControlHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setClock(clock);
    if (designData) {
        loadProperties(*designData);
    } else {
        backColor_ = NewInstance::BackColor;
        foreColor_ = NewInstance::ForeColor;
        frameBackColor_ = backColor_;
    }
    strip_ = QImage(FrameWidth, StripHeight, QImage::Format_RGB32);
    clearStrip();
    frameTimer_.setInterval(FrameIntervalMs);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, &ChimeiCtl_DX::advanceScroll);
}

ChimeiCtl_DX::~ChimeiCtl_DX() = default;

void ChimeiCtl_DX::loadProperties(const PropertyBag& bag) {
    // Colours and the frame's look go straight to the surfaces; the rest is
    // stored as read, without the setters' checks.
    backColor_ = bag.ReadColour(QStringLiteral("BackColor"), Missing::BackColor);
    frameBackColor_ = backColor_;
    foreColor_ = bag.ReadColour(QStringLiteral("ForeColor"), Missing::ForeColor);
    appearance_ = bag.ReadInt16(QStringLiteral("Appearance"), Missing::Appearance);
    speed_ = bag.ReadInt16(QStringLiteral("Speed"), Missing::Speed);
    scrollStartWait_ = bag.ReadInt32(QStringLiteral("ScrollStartWait"), Missing::ScrollStartWait);
    mode_ = bag.ReadInt16(QStringLiteral("Mode"), Missing::Mode);
    fontMode_ = bag.ReadInt16(QStringLiteral("FontMode"), Missing::FontMode);
    fontBold_ = bag.ReadBool(QStringLiteral("FontBold"), Missing::FontBold);
    tsugiwaMode_ = bag.ReadInt16(QStringLiteral("TsugiwaMode"), Missing::TsugiwaMode);
    tsugiwaColor_ = bag.ReadColour(QStringLiteral("TsugiwaColor"), Missing::TsugiwaColor);
    tsugiwaFontMode_ = bag.ReadInt16(QStringLiteral("TsugiwaFontMode"), Missing::TsugiwaFontMode);
    tsugiwaBold_ = bag.ReadBool(QStringLiteral("TsugiwaBold"), Missing::TsugiwaBold);
}

void ChimeiCtl_DX::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("BackColor"), QVariant::fromValue(backColor_),
                      QVariant::fromValue(Missing::BackColor));
    bag.WriteProperty(QStringLiteral("ForeColor"), QVariant::fromValue(foreColor_),
                      QVariant::fromValue(Missing::ForeColor));
    bag.WriteProperty(QStringLiteral("Speed"), QVariant::fromValue(speed_),
                      QVariant::fromValue(Missing::Speed));
    bag.WriteProperty(QStringLiteral("ScrollStartWait"), QVariant::fromValue(scrollStartWait_),
                      QVariant::fromValue(Missing::ScrollStartWait));
    bag.WriteProperty(QStringLiteral("Mode"), QVariant::fromValue(mode_),
                      QVariant::fromValue(Missing::Mode));
    bag.WriteProperty(QStringLiteral("Appearance"), QVariant::fromValue(appearance_),
                      QVariant::fromValue(Missing::Appearance));
    bag.WriteProperty(QStringLiteral("FontMode"), QVariant::fromValue(fontMode_),
                      QVariant::fromValue(Missing::FontMode));
    bag.WriteProperty(QStringLiteral("FontBold"), fontBold_, Missing::FontBold);
    bag.WriteProperty(QStringLiteral("TsugiwaMode"), QVariant::fromValue(tsugiwaMode_),
                      QVariant::fromValue(Missing::TsugiwaMode));
    bag.WriteProperty(QStringLiteral("TsugiwaColor"), QVariant::fromValue(tsugiwaColor_),
                      QVariant::fromValue(Missing::TsugiwaColor));
    bag.WriteProperty(QStringLiteral("TsugiwaFontMode"), QVariant::fromValue(tsugiwaFontMode_),
                      QVariant::fromValue(Missing::TsugiwaFontMode));
    bag.WriteProperty(QStringLiteral("TsugiwaBold"), tsugiwaBold_, Missing::TsugiwaBold);
}

void ChimeiCtl_DX::setClock(Clock* clock) {
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

void ChimeiCtl_DX::changed(const char* name) {
    emit PropertyChanged(QLatin1String(name));
}

void ChimeiCtl_DX::setBackColor(OleColor value) {
    backColor_ = value;
    frameBackColor_ = value;
    clearStrip();
    update();
    changed("BackColor");
}

void ChimeiCtl_DX::setForeColor(OleColor value) {
    foreColor_ = value;
    changed("ForeColor");
}

void ChimeiCtl_DX::setSpeed(qint16 value) {
    speed_ = value;
    changed("Speed");
}

void ChimeiCtl_DX::setScrollStartWait(qint32 value) {
    scrollStartWait_ = value;
    changed("ScrollStartWait");
}

void ChimeiCtl_DX::setMode(qint16 value) {
    mode_ = value;
    changed("Mode");
}

void ChimeiCtl_DX::setAppearance(qint16 value) {
    // The frame has no border, so its look does not show; the size stays.
    appearance_ = value;
    update();
    changed("Appearance");
}

void ChimeiCtl_DX::setFontMode(qint16 value) {
    fontMode_ = value;
    changed("FontMode");
}

void ChimeiCtl_DX::setFontBold(bool value) {
    fontBold_ = value;
    glyph_.setBold(value);
    changed("FontBold");
}

void ChimeiCtl_DX::setTsugiwaMode(qint16 value) {
    tsugiwaMode_ = value < 0 || value > 2 ? qint16{0} : value;
    changed("TsugiwaMode");
}

void ChimeiCtl_DX::setTsugiwaColor(OleColor value) {
    tsugiwaColor_ = value;
    changed("TsugiwaColor");
}

void ChimeiCtl_DX::setTsugiwaFontMode(qint16 value) {
    tsugiwaFontMode_ = value;
    changed("TsugiwaFontMode");
}

void ChimeiCtl_DX::setTsugiwaBold(bool value) {
    tsugiwaBold_ = value;
    changed("TsugiwaBold");
}

void ChimeiCtl_DX::clearStrip() {
    strip_.fill(rgbOf(backColor_));
}

void ChimeiCtl_DX::Refresh() {
    update();
}

void ChimeiCtl_DX::SetChimei(const QString& strText) {
    clearStrip();
    frameBackColor_ = backColor_;
    update();
    // The empty text only blanks the strip; a running scroll goes on moving it.
    if (strText.isEmpty()) return;

    const ChimeiLayout::Layout layout = ChimeiLayout::layoutName(strText, tsugiwaMode_);
    stopScroll();
    stripLeft_ = layout.stripLeft;
    if (strip_.width() != layout.stripWidth) {
        strip_ = QImage(layout.stripWidth, StripHeight, QImage::Format_RGB32);
        clearStrip();
    }
    if (layout.prefix) DrawTsugiwa();
    for (const ChimeiLayout::Unit& unit : layout.units)
        DrawDot54(unit.x, 0, unit.text);
    if (layout.scrolls) startScroll();
}

void ChimeiCtl_DX::DrawDot54(int x, int y, const QString& text) {
    glyph_.clear();
    if (text.isEmpty()) return;
    const QString shown = ChimeiLayout::substitute(text);
    const ChimeiLayout::Face face =
        ChimeiLayout::nameFace(fontMode_, ChimeiLayout::unitCode(shown));
    glyph_.setFamily(ChimeiLayout::faceFamily(face));
    glyph_.setBold(fontBold_);
    const ChimeiGlyph::DotPattern dots = glyph_.dots(ChimeiGlyph::drawableText(shown));
    ChimeiGlyph::fillDots(strip_, x, y, dots, rgbOf(foreColor_));
    update();
}

void ChimeiCtl_DX::DrawTsugiwa() {
    const QRgb colour = rgbOf(tsugiwaColor_);
    const auto applyFace = [this](bool ha) {
        if (const auto face = ChimeiLayout::prefixFace(tsugiwaFontMode_, ha))
            glyph_.setFamily(ChimeiLayout::faceFamily(*face));
    };

    glyph_.clear();
    glyph_.setPoints(PrefixSize);
    glyph_.setTop(0);
    glyph_.setBold(tsugiwaBold_);
    applyFace(false);
    ChimeiGlyph::fillDots(strip_, 0, 0, glyph_.dots(QStringLiteral("次")), colour);

    glyph_.clear();
    if (tsugiwaMode_ == 1) {
        glyph_.setPoints(SmallHaSize);
        glyph_.setTop(SmallHaTop);
    } else {
        glyph_.setPoints(PrefixSize);
        glyph_.setTop(0);
    }
    applyFace(true);
    glyph_.setBold(tsugiwaBold_);
    ChimeiGlyph::fillDots(strip_, ChimeiLayout::CellWidth, 0, glyph_.dots(QStringLiteral("は")),
                          colour);

    glyph_.setPoints(PrefixSize);
    glyph_.setTop(0);
    glyph_.setBold(false);
    update();
}

bool ChimeiCtl_DX::isScrolling() const {
    return scroll_.running();
}

bool ChimeiCtl_DX::isScrollPausing() const {
    return scroll_.phase() == ChimeiScroll::Phase::Pausing;
}

void ChimeiCtl_DX::startScroll() {
    update();
    if (speed_ == 0) setSpeed(1);
    scroll_.start(clock_->monotonicMs());
    stripLeft_ = scroll_.left();
    frameTimer_.start();
}

void ChimeiCtl_DX::stopScroll() {
    frameTimer_.stop();
    if (scroll_.running()) {
        scroll_.stop();
        stripLeft_ = 0;
        update();
    }
}

void ChimeiCtl_DX::advanceScroll() {
    if (!scroll_.running()) return;
    scroll_.advance(clock_->monotonicMs(), [this] {
        return ChimeiScroll::Params{speed_, scrollStartWait_, strip_.width()};
    });
    if (scroll_.left() != stripLeft_) {
        stripLeft_ = scroll_.left();
        update();
    }
}

void ChimeiCtl_DX::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setClipRegion(event->region());
    const QRect frame(0, 0, FrameWidth, FrameHeight);
    p.fillRect(frame, toQColor(frameBackColor_));
    // Only the part of the strip that lies in the frame is drawn.
    const qint64 left = stripLeft_;
    if (left >= FrameWidth || left + strip_.width() <= 0) return;
    const QRect stripRect(stripLeft_, -1, strip_.width(), strip_.height());
    const QRect shown = stripRect.intersected(frame);
    p.drawImage(shown, strip_, shown.translated(-stripRect.topLeft()));
}
