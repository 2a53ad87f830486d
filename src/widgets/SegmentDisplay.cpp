#include "widgets/SegmentDisplay.h"

#include "model/DigitText.h"
#include "widgets/QColorOf.h"
#include "widgets/Typefaces.h"

#include <QFontMetricsF>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// ---- Digit glyphs -----------------------------------------------------------
//
// Every character is drawn into a cell of the size variant's width and height,
// whatever advance the face gives it: the segment face is scaled so that its
// "8" fills the cell with a small margin, and every other character sits where
// it would sit in a character of the 8's advance, so that its segments fall
// exactly on the 8's. The images are made once per face, cell, character and
// colour and then only copied.

constexpr int ReferencePixels = 100; // outlines are taken at this size, then scaled

struct FitKey {
    QString family;
    int width, height;
    bool operator==(const FitKey&) const = default;
};
size_t qHash(const FitKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.family, k.width, k.height);
}

// How the reference outlines map into a cell.
struct Fit {
    QFont font;
    qreal advance8 = 0; // the 8's advance at the reference size
    QTransform toCell;  // reference outline of a character of the 8's advance -> cell
};

struct GlyphKey {
    FitKey fit;
    char32_t code;
    QRgb colour;
    bool operator==(const GlyphKey&) const = default;
};
size_t qHash(const GlyphKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.fit, static_cast<uint>(k.code), k.colour);
}

Fit makeFit(const FitKey& key) {
    Fit fit;
    fit.font = Typefaces::digitFont(key.family, true);
    fit.font.setPixelSize(ReferencePixels);
    fit.advance8 = QFontMetricsF(fit.font).horizontalAdvance(QLatin1Char('8'));
    QPainterPath eight;
    eight.addText(0, 0, fit.font, QStringLiteral("8"));
    QRectF ink = eight.boundingRect();
    if (ink.isEmpty()) ink = QRectF(0, -ReferencePixels, fit.advance8, ReferencePixels);

    // The cell is drawn one pixel above the control's top edge, so the ink is
    // placed one pixel low in the cell to stand centred in the control.
    const int marginY = qMax(1, qRound(key.height * 0.07));
    const int marginX = qMax(1, qRound(key.width * 0.12));
    const qreal inkHeight = key.height - 2 * marginY;
    const qreal scaleY = inkHeight / ink.height();
    // Narrowed where the cell is slimmer than the face, never widened.
    const qreal scaleX = qMin(scaleY, (key.width - 2 * marginX) / ink.width());
    const qreal inkLeft = qRound((key.width - ink.width() * scaleX) / 2);
    const qreal inkTop = marginY + 1;
    fit.toCell =
        QTransform::fromScale(scaleX, scaleY) *
        QTransform::fromTranslate(inkLeft - ink.left() * scaleX, inkTop - ink.top() * scaleY);
    return fit;
}

class GlyphCache {
public:
    const QImage& glyph(const FitKey& fitKey, char32_t code, QRgb colour) {
        const GlyphKey key{fitKey, code, colour};
        auto it = glyphs_.constFind(key);
        if (it != glyphs_.constEnd()) return *it;
        if (glyphs_.size() >= MaxGlyphs) glyphs_.clear(); // a crude bound for odd texts
        return *glyphs_.insert(key, render(fitFor(fitKey), fitKey, code, colour));
    }

private:
    static constexpr qsizetype MaxGlyphs = 4096;

    const Fit& fitFor(const FitKey& key) {
        auto it = fits_.constFind(key);
        if (it == fits_.constEnd()) it = fits_.insert(key, makeFit(key));
        return *it;
    }

    static QImage render(const Fit& fit, const FitKey& key, char32_t code, QRgb colour) {
        QImage img(key.width, key.height, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        const QString text = QString::fromUcs4(&code, 1);
        QPainterPath path;
        path.addText(0, 0, fit.font, text);
        if (path.isEmpty()) return img;
        // A character of another advance is centred on the 8's advance.
        const qreal advance = QFontMetricsF(fit.font).horizontalAdvance(text);
        path.translate((fit.advance8 - advance) / 2, 0);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromRgb(colour));
        p.setClipRect(img.rect());
        p.drawPath(fit.toCell.map(path));
        return img;
    }

    QHash<FitKey, Fit> fits_;
    QHash<GlyphKey, QImage> glyphs_;
};

GlyphCache& glyphCache() {
    static GlyphCache cache;
    return cache;
}

qint16 validDigitCount(qint16 count) {
    return count < 1 || count > 15 ? SegmentDisplay::DefaultDigitCount : count;
}

} // namespace

// ---- Creation -------------------------------------------------------------------

SegmentDisplay::SegmentDisplay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The digit count is still 0 here: this only clears the surface.
    drawDigits(DigitValue(QStringLiteral("0")), unlitColor_, litColor_);
    unlitColor_ = DefaultUnlitColor;
    litColor_ = DefaultLitColor;
    digitCount_ = DefaultDigitCount;
    value_ = DigitValue(0);
    applySize();
    image_.fill(toQColor(backColor_));
}

QSize SegmentDisplay::cellSize(qint16 digitSize) {
    switch (digitSize) {
    case 1:
        return {17, 26}; // 255 x 390 twips
    case 2:
        return {19, 29}; // 285 x 435 twips
    case 3:
        return {11, 15}; // 165 x 225 twips
    default:
        return {13, 20}; // 195 x 300 twips
    }
}

QSize SegmentDisplay::sizeHint() const {
    const QSize cell = cellSize(digitSize_);
    return {qRound(cell.width() * validDigitCount(digitCount_) * scale_),
            qRound(cell.height() * scale_)};
}

// ---- Properties -----------------------------------------------------------------

void SegmentDisplay::setUnlitColor(BgrColor colour) {
    unlitColor_ = colour;
    redraw();
}

void SegmentDisplay::setLitColor(BgrColor colour) {
    litColor_ = colour;
    redraw();
}

void SegmentDisplay::setFillZero(qint16 width) {
    fillZero_ = width > digitCount_ ? digitCount_ : width;
}

void SegmentDisplay::setZeroMode(qint16 mode) {
    zeroMode_ = mode >= 4 ? 0 : mode;
}

void SegmentDisplay::setShift(qint16 cells) {
    qint32 s = cells;
    if (s > digitCount_ - 1) s = digitCount_ - 1;
    if (s < 0) s = 0;
    shift_ = static_cast<qint16>(s);
}

void SegmentDisplay::setDigitCount(qint16 count) {
    digitCount_ = validDigitCount(count);
    applySize();
    redraw();
}

void SegmentDisplay::setDigitSize(qint16 size) {
    digitSize_ = size >= 1 && size <= 3 ? size : 0;
    applySize();
    redraw();
}

void SegmentDisplay::setDigitStyle(qint16 style) {
    digitStyle_ = style;
    redraw();
}

void SegmentDisplay::setValue(const DigitValue& value) {
    value_ = value;
    redraw();
}

void SegmentDisplay::setUserSettable(bool on) {
    userSettable_ = on;
}

void SegmentDisplay::setScale(qreal scale) {
    if (scale <= 0 || scale == scale_) return;
    scale_ = scale;
    redraw();
}

void SegmentDisplay::setBackColor(BgrColor colour) {
    backColor_ = colour;
    image_.fill(toQColor(backColor_));
    redraw();
}

// ---- Operations -----------------------------------------------------------------

bool SegmentDisplay::showSettingsDialog() {
    if (!dialogs_) return false;
    DigitOptions options{zeroMode_, shift_, fillZero_};
    const bool accepted = dialogs_->editDigitOptions(this, digitCount_, options);
    shift_ = options.shift;
    fillZero_ = options.fillZero;
    zeroMode_ = options.zeroMode;
    redraw();
    return accepted;
}

void SegmentDisplay::resetDigits(bool allLit) {
    const qint16 shift = shift_;
    const qint16 zeroMode = zeroMode_;
    const qint16 fillZero = fillZero_;
    setShift(0);
    setZeroMode(0);
    setFillZero(0);
    setValue(allLit ? DigitValue(QString(qMax<qint16>(digitCount_, 0), u'8')) : DigitValue(QString()));
    setShift(shift);
    setZeroMode(zeroMode);
    setFillZero(fillZero);
}

// ---- Drawing --------------------------------------------------------------------

void SegmentDisplay::applySize() {
    resize(sizeHint());
    fitSurface();
}

void SegmentDisplay::fitSurface() {
    const qreal ratio = pixelRatio();
    const QSize want = (QSizeF(size()) * ratio).toSize().expandedTo(QSize(0, 0));
    if (image_.size() == want && !image_.isNull() && image_.devicePixelRatio() == ratio) return;
    QImage next(want, QImage::Format_RGB32);
    next.setDevicePixelRatio(ratio);
    next.fill(toQColor(backColor_));
    if (!image_.isNull() && !next.isNull()) {
        QPainter p(&next);
        p.drawImage(0, 0, image_);
    }
    image_ = std::move(next);
}

void SegmentDisplay::drawDigits(const DigitValue& value, BgrColor unlit, BgrColor lit) {
    fitSurface();
    image_.fill(toQColor(backColor_));
    if (digitCount_ <= 0 || image_.isNull()) {
        update();
        return;
    }
    // In the image's own pixels: the cell and the advance at the scale and
    // the screen's pixel ratio, the digits drawn for that size.
    const qreal ratio = scale_ * image_.devicePixelRatio();
    const QSize base = cellSize(digitSize_);
    const QSize cell(qMax(1, qRound(base.width() * ratio)), qMax(1, qRound(base.height() * ratio)));
    const FitKey fit{Typefaces::digitFamily(digitStyle_), cell.width(), cell.height()};
    const int advance = cell.width();
    const int innerWidth = image_.width();
    const int top = -qRound(ratio);
    GlyphCache& glyphs = glyphCache();

    QPainter p(&image_);
    p.scale(1 / image_.devicePixelRatio(), 1 / image_.devicePixelRatio());
    // Unlit eights from the left edge, one pixel (at 100 %) above the top.
    const QImage& eight = glyphs.glyph(fit, U'8', toQColor(unlit).rgb());
    for (int i = 0, x = 0; i < digitCount_ && x < innerWidth; ++i, x += advance)
        p.drawImage(x, top, eight);

    // The lit text, ending at the right edge.
    const QString shown = DigitText::shownText(value, zeroMode_, fillZero_, shift_, digitCount_);
    const QList<uint> codes = shown.toUcs4();
    const QRgb litRgb = toQColor(lit).rgb();
    int x = innerWidth - static_cast<int>(codes.size()) * advance;
    for (const uint code : codes) {
        if (code != U' ' && x + cell.width() > 0 && x < innerWidth)
            p.drawImage(x, top, glyphs.glyph(fit, static_cast<char32_t>(code), litRgb));
        x += advance;
    }
    p.end();
    update();
}

// ---- Events ---------------------------------------------------------------------

void SegmentDisplay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect all = rect();
    p.drawImage(0, 0, image_);
    const QSize drawn = image_.deviceIndependentSize().toSize();
    if (drawn.width() < all.width() || drawn.height() < all.height()) {
        const QColor back = toQColor(backColor_);
        p.fillRect(QRect(drawn.width(), 0, all.width() - drawn.width(), all.height()), back);
        p.fillRect(QRect(0, drawn.height(), all.width(), all.height() - drawn.height()), back);
    }
}

void SegmentDisplay::resizeEvent(QResizeEvent*) {
    fitSurface();
}

void SegmentDisplay::mousePressEvent(QMouseEvent* event) {
    // The control takes its own mouse input: a press here never drags the
    // window it sits on.
    event->accept();
}

void SegmentDisplay::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit doubleClicked();
}
