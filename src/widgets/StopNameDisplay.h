#pragma once
// The stop-name display: the name of the coming stop as a strip of coloured
// dots imitating a dot-matrix sign, optionally preceded by "次は" in a colour
// of its own. A name of up to 8 characters (6 with the prefix) stands centred;
// a longer one is laid out at full pitch on a strip wider than the window and
// scrolls from right to left until the next name is set.
//
// The control is 432 × 56 pixels and is made of three surfaces: the frame
// (432 × 58 at (0, 0)) through which the strip is seen, the strip (56 high,
// as wide as the name needs, at (stripLeft, 1) in the frame) that keeps the
// dots, and the hidden 18 × 18 glyph surface on which each character is drawn
// and sampled.
//
// At another size than 100 % (the board's size, or a screen of more pixels
// to the point) the control is that many times as large and each dot is
// drawn as a dot of that size at that pitch, from the dots the strip holds.
//
// The scroll runs on a frame timer: setStopName() returns at once, and each
// frame applies the 1-ms steps that have passed on the clock since the
// previous one. The layout of a name and the scroll arithmetic are
// StopNameLayout and StopNameScroll; turning a character into dots is
// DotGlyph.

#include "model/BgrColor.h"
#include "model/StopNameScroll.h"
#include "widgets/DotGlyph.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

class Clock;

class StopNameDisplay : public QWidget {
    Q_OBJECT
public:
    static constexpr int ControlWidth = 432;
    static constexpr int ControlHeight = 56;
    static constexpr int FrameIntervalMs = 16;

    // How the names look: the strip's background and dots, the typeface
    // rule of the name and its weight, and the "次は" prefix: its mode (0
    // none, 1 with a small "は", 2 both the same size; anything else is 0),
    // colour, typeface rule and weight. A change shows from the next name,
    // but the background, which blanks the strip at once.
    struct Look {
        BgrColor backColor = 0x404040;
        BgrColor dotColor = 0x80C0FF;
        qint16 fontMode = 0;
        bool fontBold = false;
        qint16 prefixMode = 0;
        BgrColor prefixColor = 0x79B9FF;
        qint16 prefixFontMode = 0;
        bool prefixBold = false;
        bool operator==(const Look&) const = default;
    };

    explicit StopNameDisplay(QWidget* parent = nullptr, Clock* clock = nullptr);
    ~StopNameDisplay() override;

    void setClock(Clock* clock); // the scroll's time base (a SystemClock when none is set)
    // How many times its size at 100 % the control stands.
    qreal scale() const { return scale_; }
    void setScale(qreal scale);
    void setStopName(const QString& text);

    const Look& look() const { return look_; }
    void setLook(const Look& look);
    BgrColor backColor() const { return look_.backColor; }
    void setBackColor(BgrColor value);
    BgrColor dotColor() const { return look_.dotColor; }
    void setDotColor(BgrColor value) { look_.dotColor = value; }
    qint16 fontMode() const { return look_.fontMode; }
    void setFontMode(qint16 value) { look_.fontMode = value; }
    bool fontBold() const { return look_.fontBold; }
    void setFontBold(bool value) { look_.fontBold = value; }
    qint16 prefixMode() const { return look_.prefixMode; }
    void setPrefixMode(qint16 value) { look_.prefixMode = value < 0 || value > 2 ? 0 : value; }
    BgrColor prefixColor() const { return look_.prefixColor; }
    void setPrefixColor(BgrColor value) { look_.prefixColor = value; }
    qint16 prefixFontMode() const { return look_.prefixFontMode; }
    void setPrefixFontMode(qint16 value) { look_.prefixFontMode = value; }
    bool prefixBold() const { return look_.prefixBold; }
    void setPrefixBold(bool value) { look_.prefixBold = value; }

    // The scroll: Speed / 200 pixels per 1-ms step, twice (whole and
    // fraction), and the pause before each pass. Speed 0 becomes 1 when a
    // scroll starts.
    qint16 speed() const { return speed_; }
    void setSpeed(qint16 value) { speed_ = value; }
    qint32 scrollStartWait() const { return scrollStartWait_; }
    void setScrollStartWait(qint32 value) { scrollStartWait_ = value; }

    // Repaints the strip from its image.
    void refresh();
    // One character's dots with their top-left corner at (x, y) on the strip.
    void drawCharacter(int x, int y, const QString& text);
    // "次" at x = 0 and "は" at x = 54 on the strip.
    void drawPrefix();

    // Observation for tests and hosts:
    bool isScrolling() const;
    bool isScrollPausing() const;
    bool frameTimerActive() const { return frameTimer_.isActive(); }
    int stripLeft() const { return stripLeft_; }
    int stripWidth() const { return strip_.width(); }
    const QImage& stripImage() const { return strip_; }
    BgrColor frameBackColor() const { return frameBackColor_; }
    const DotGlyph::Surface& glyphSurface() const { return glyph_; }
    // Applies the steps elapsed on the clock; the frame timer calls it.
    void advanceScroll();

protected:
    void paintEvent(QPaintEvent* event) override;
    // The control takes its own mouse input: a press here never drags the
    // window it sits on.
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Puts dots on the strip, and keeps them for drawing at other sizes.
    void stamp(int x, int y, const DotGlyph::Pattern& dots, QRgb colour);
    // The strip as drawn at ratio times 100 %, made again when it changed.
    const QImage& stripAt(qreal ratio);
    void clearStrip();
    void startScroll();
    void stopScroll();

    Look look_;
    BgrColor frameBackColor_ = look_.backColor;
    qint16 speed_ = 5;
    qint32 scrollStartWait_ = 1500;

    QImage strip_;
    struct Stamp {
        int x, y;
        DotGlyph::Pattern dots;
        QRgb colour;
    };
    std::vector<Stamp> stamps_; // what the strip holds, dot by dot
    QImage drawnStrip_;         // the strip at drawnRatio_, or null when it is to be made
    qreal drawnRatio_ = 0;
    qreal scale_ = 1;
    int stripLeft_ = 0;
    DotGlyph::Surface glyph_;
    StopNameScroll scroll_;
    QTimer frameTimer_;
    Clock* clock_ = nullptr;
    std::unique_ptr<Clock> ownClock_;
};
