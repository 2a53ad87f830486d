#include "controls/M_Degit.h"

#include "controls/DegitText.h"
#include "platform/Typefaces.h"

#include <QFontMetricsF>
#include <QHash>
#include <QMouseEvent>
#include <QOperatingSystemVersion>
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
    QString face;
    bool bold;
    int width, height;
    bool operator==(const FitKey&) const = default;
};
size_t qHash(const FitKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.face, k.bold, k.width, k.height);
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
    fit.font = Typefaces::digitFont(key.face, key.bold);
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

// ---- Design data --------------------------------------------------------------

const QString KeyBaseForeColor = QStringLiteral("BaseForeColor");
const QString KeyDegitForeColor = QStringLiteral("DegitForeColor");
const QString KeyFillZero = QStringLiteral("FillZero");
const QString KeyZeroMode = QStringLiteral("ZeroMode");
const QString KeyShift = QStringLiteral("Shift");
const QString KeyKeta = QStringLiteral("Keta");
const QString KeyDegitSize = QStringLiteral("DegitSize");
const QString KeyDegitStyle = QStringLiteral("DegitStyle");
const QString KeyValue = QStringLiteral("Value");
const QString KeyUserSet = QStringLiteral("UserSet");
const QString KeyBackColor = QStringLiteral("BackColor");

qint16 validKeta(qint16 keta) {
    return keta < 1 || keta > 15 ? M_Degit::DefaultKeta : keta;
}

} // namespace

// ---- Creation -------------------------------------------------------------------

M_Degit::M_Degit(QWidget* parent, const PropertyBag* designData)
    : M_Degit(runningSystemVariant(), parent, designData) {}

M_Degit::M_Degit(const RenderingVariant& variant, QWidget* parent, const PropertyBag* designData)
    : QWidget(parent), variant_(variant) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Keta is still 0 here: this only clears the surface.
    DrawDegit(DegitValue(QStringLiteral("0")), baseForeColor_, degitForeColor_);
    if (designData)
        ReadProperties(*designData);
    else
        InitProperties();
    applySize();
    image_.fill(toQColor(backColor_));
}

void M_Degit::InitProperties() {
    baseForeColor_ = DefaultBaseForeColor;
    degitForeColor_ = DefaultDegitForeColor;
    fillZero_ = 0;
    zeroMode_ = 0;
    shift_ = 0;
    keta_ = DefaultKeta;
    degitSize_ = 0;
    degitStyle_ = 0;
    value_ = DegitValue(0);
    userSet_ = true;
}

void M_Degit::ReadProperties(const PropertyBag& bag) {
    baseForeColor_ = bag.ReadColour(KeyBaseForeColor, DefaultBaseForeColor);
    degitForeColor_ = bag.ReadColour(KeyDegitForeColor, DefaultDegitForeColor);
    fillZero_ = bag.ReadInt16(KeyFillZero, 0);
    zeroMode_ = bag.ReadInt16(KeyZeroMode, 0);
    shift_ = bag.ReadInt16(KeyShift, 0);
    keta_ = bag.ReadInt16(KeyKeta, DefaultKeta);
    degitSize_ = bag.ReadInt16(KeyDegitSize, 0);
    degitStyle_ = bag.ReadInt16(KeyDegitStyle, 0);
    value_ = DegitValue::fromVariant(bag.ReadProperty(KeyValue, QVariant(qint64{0})));
    userSet_ = bag.ReadBool(KeyUserSet, true);
    backColor_ = bag.ReadColour(KeyBackColor, DefaultBackColor);
}

void M_Degit::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(KeyBaseForeColor, QVariant(uint{baseForeColor_}),
                      QVariant(uint{DefaultBaseForeColor}));
    bag.WriteProperty(KeyDegitForeColor, QVariant(uint{degitForeColor_}),
                      QVariant(uint{DefaultDegitForeColor}));
    bag.WriteProperty(KeyFillZero, QVariant(int{fillZero_}), QVariant(0));
    bag.WriteProperty(KeyZeroMode, QVariant(int{zeroMode_}), QVariant(0));
    bag.WriteProperty(KeyShift, QVariant(int{shift_}), QVariant(0));
    bag.WriteProperty(KeyKeta, QVariant(int{keta_}), QVariant(int{DefaultKeta}));
    bag.WriteProperty(KeyDegitSize, QVariant(int{degitSize_}), QVariant(0));
    bag.WriteProperty(KeyDegitStyle, QVariant(int{degitStyle_}), QVariant(0));
    if (value_.isNumber())
        bag.WriteProperty(KeyValue, value_.toVariant(), QVariant(qint64{0}));
    else
        bag.WriteProperty(KeyValue, value_.toVariant()); // a text is never the default
    bag.WriteProperty(KeyUserSet, QVariant(userSet_), QVariant(true));
    bag.WriteProperty(KeyBackColor, QVariant(uint{backColor_}), QVariant(uint{DefaultBackColor}));
}

M_Degit::RenderingVariant M_Degit::renderingVariantFor(qint32 platformId, qint32 majorVersion) {
    if (platformId == 1 || majorVersion == 4) return {1, false};
    return {0, true};
}

M_Degit::RenderingVariant M_Degit::runningSystemVariant() {
    // Only the old Windows families draw the other way; their version
    // information cannot come from any system this program runs on, which all
    // count as "every other system".
    const QOperatingSystemVersion os = QOperatingSystemVersion::current();
    if (os.type() == QOperatingSystemVersion::Windows)
        return renderingVariantFor(2, os.majorVersion());
    return renderingVariantFor(0, 0);
}

QSize M_Degit::cellSize(qint16 degitSize) {
    switch (degitSize) {
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

QSize M_Degit::sizeHint() const {
    const QSize cell = cellSize(degitSize_);
    return {cell.width() * validKeta(keta_), cell.height()};
}

WId M_Degit::hwnd() const {
    return winId();
}

// ---- Properties -----------------------------------------------------------------

void M_Degit::setBaseForeColor(OleColor colour) {
    baseForeColor_ = colour;
    redraw();
    emit PropertyChanged(KeyBaseForeColor);
}

void M_Degit::setDegitForeColor(OleColor colour) {
    degitForeColor_ = colour;
    redraw();
    emit PropertyChanged(KeyDegitForeColor);
}

void M_Degit::setFillZero(qint16 width) {
    fillZero_ = width > keta_ ? keta_ : width;
    emit PropertyChanged(KeyFillZero);
}

void M_Degit::setZeroMode(qint16 mode) {
    zeroMode_ = mode >= 4 ? 0 : mode;
    emit PropertyChanged(KeyZeroMode);
}

void M_Degit::setShift(qint16 cells) {
    qint32 s = cells;
    if (s > keta_ - 1) s = keta_ - 1;
    if (s < 0) s = 0;
    shift_ = static_cast<qint16>(s);
    emit PropertyChanged(KeyShift);
}

void M_Degit::setKeta(qint16 count) {
    keta_ = validKeta(count);
    applySize();
    redraw();
    emit PropertyChanged(KeyKeta);
}

void M_Degit::setDegitSize(qint16 size) {
    degitSize_ = size >= 1 && size <= 3 ? size : 0;
    applySize();
    redraw();
    emit PropertyChanged(KeyDegitSize);
}

void M_Degit::setDegitStyle(qint16 style) {
    degitStyle_ = style;
    redraw();
    emit PropertyChanged(KeyDegitStyle);
}

void M_Degit::setValue(const DegitValue& value) {
    value_ = value;
    redraw();
    emit PropertyChanged(KeyValue);
}

void M_Degit::setUserSet(bool on) {
    userSet_ = on;
    emit PropertyChanged(KeyUserSet);
}

void M_Degit::setBackColor(OleColor colour) {
    backColor_ = colour;
    image_.fill(toQColor(backColor_));
    redraw();
    emit PropertyChanged(KeyBackColor);
}

// ---- Operations -----------------------------------------------------------------

qint32 M_Degit::ShowSetDlg() {
    if (!dialogs_) return 0;
    qint16 zeroMode = zeroMode_;
    qint16 shift = shift_;
    qint16 fillZero = fillZero_;
    const qint32 result = dialogs_->Call_dlg100(this, keta_, zeroMode, shift, fillZero);
    shift_ = shift;
    fillZero_ = fillZero;
    zeroMode_ = zeroMode;
    redraw();
    return result;
}

void M_Degit::ResetDegit(bool nMode) {
    const qint16 shift = shift_;
    const qint16 zeroMode = zeroMode_;
    const qint16 fillZero = fillZero_;
    setShift(0);
    setZeroMode(0);
    setFillZero(0);
    setValue(nMode ? DegitValue(QString(qMax<qint16>(keta_, 0), u'8')) : DegitValue(QString()));
    setShift(shift);
    setZeroMode(zeroMode);
    setFillZero(fillZero);
}

// ---- Drawing --------------------------------------------------------------------

void M_Degit::applySize() {
    resize(sizeHint());
    fitSurface();
}

void M_Degit::fitSurface() {
    const QSize want = size().expandedTo(QSize(0, 0));
    if (image_.size() == want && !image_.isNull()) return;
    QImage next(want, QImage::Format_RGB32);
    next.fill(toQColor(backColor_));
    if (!image_.isNull() && !next.isNull()) {
        QPainter p(&next);
        p.drawImage(0, 0, image_);
    }
    image_ = std::move(next);
}

void M_Degit::DrawDegit(const DegitValue& value, OleColor unlit, OleColor lit) {
    fitSurface();
    image_.fill(toQColor(backColor_));
    if (keta_ <= 0 || image_.isNull()) {
        update();
        return;
    }
    const QSize cell = cellSize(degitSize_);
    const FitKey fit{Typefaces::digitFaceName(degitStyle_), variant_.BoldDigits, cell.width(),
                     cell.height()};
    const int advance = qMax(1, cell.width() + variant_.CharExtra);
    const int innerWidth = image_.width();
    GlyphCache& glyphs = glyphCache();

    QPainter p(&image_);
    // Unlit eights from the left edge, one pixel above the top.
    const QImage& eight = glyphs.glyph(fit, U'8', toQColor(unlit).rgb());
    for (int i = 0, x = 0; i < keta_ && x < innerWidth; ++i, x += advance)
        p.drawImage(x, -1, eight);

    // The lit text, ending at the right edge.
    const QString shown = DegitText::shownText(value, zeroMode_, fillZero_, shift_, keta_);
    const QList<uint> codes = shown.toUcs4();
    const QRgb litRgb = toQColor(lit).rgb();
    int x = innerWidth - static_cast<int>(codes.size()) * advance;
    for (const uint code : codes) {
        if (code != U' ' && x + cell.width() > 0 && x < innerWidth)
            p.drawImage(x, -1, glyphs.glyph(fit, static_cast<char32_t>(code), litRgb));
        x += advance;
    }
    p.end();
    update();
}

// ---- Events ---------------------------------------------------------------------

void M_Degit::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect all = rect();
    p.drawImage(0, 0, image_);
    if (image_.width() < all.width() || image_.height() < all.height()) {
        const QColor back = toQColor(backColor_);
        p.fillRect(QRect(image_.width(), 0, all.width() - image_.width(), all.height()), back);
        p.fillRect(QRect(0, image_.height(), all.width(), all.height() - image_.height()), back);
    }
}

void M_Degit::resizeEvent(QResizeEvent*) {
    fitSurface();
}

void M_Degit::mousePressEvent(QMouseEvent* event) {
    // The control takes its own mouse input: a press here never drags the
    // window it sits on.
    event->accept();
}

void M_Degit::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit DblClick();
}
