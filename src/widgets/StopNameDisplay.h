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
// The scroll runs on a frame timer: setStopName() returns at once, and each
// frame applies the 1-ms steps that have passed on the clock since the
// previous one. The layout of a name and the scroll arithmetic are
// StopNameLayout and StopNameScroll; turning a character into dots is
// DotGlyph.
//
// The properties are saved in the host's design data under the names
// "BackColor", "ForeColor" (the dots), "Speed", "ScrollStartWait", "Mode",
// "Appearance", "FontMode", "FontBold", "TsugiwaMode" (the "次は" prefix),
// "TsugiwaColor", "TsugiwaFontMode" and "TsugiwaBold".

#include "model/BgrColor.h"
#include "model/StopNameScroll.h"
#include "widgets/DotGlyph.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>

class Clock;
class PropertyBag;

class StopNameDisplay : public QWidget {
    Q_OBJECT
public:
    static constexpr int ControlWidth = 432;
    static constexpr int ControlHeight = 56;
    static constexpr int FrameIntervalMs = 16;

    // designData null: a new instance with the "new instance" values;
    // otherwise loaded from saved design data with the "missing key" defaults.
    explicit StopNameDisplay(QWidget* parent = nullptr, const PropertyBag* designData = nullptr,
                             Clock* clock = nullptr);
    ~StopNameDisplay() override;

    void setClock(Clock* clock); // the scroll's time base (a SystemClock when none is set)
    void setStopName(const QString& text);

    BgrColor backColor() const { return backColor_; }
    void setBackColor(BgrColor value);
    BgrColor dotColor() const { return dotColor_; }
    void setDotColor(BgrColor value);
    qint16 speed() const { return speed_; }
    void setSpeed(qint16 value);
    qint32 scrollStartWait() const { return scrollStartWait_; }
    void setScrollStartWait(qint32 value);
    qint16 mode() const { return mode_; }
    void setMode(qint16 value);
    qint16 appearance() const { return appearance_; }
    void setAppearance(qint16 value);
    qint16 fontMode() const { return fontMode_; }
    void setFontMode(qint16 value);
    bool fontBold() const { return fontBold_; }
    void setFontBold(bool value);
    qint16 prefixMode() const { return prefixMode_; }
    void setPrefixMode(qint16 value);
    BgrColor prefixColor() const { return prefixColor_; }
    void setPrefixColor(BgrColor value);
    qint16 prefixFontMode() const { return prefixFontMode_; }
    void setPrefixFontMode(qint16 value);
    bool prefixBold() const { return prefixBold_; }
    void setPrefixBold(bool value);

    // Repaints the strip from its image.
    void refresh();
    // One character's dots with their top-left corner at (x, y) on the strip.
    void drawCharacter(int x, int y, const QString& text);
    // "次" at x = 0 and "は" at x = 54 on the strip.
    void drawPrefix();
    void writeProperties(PropertyBag& bag) const;

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

signals:
    void propertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    // The control takes its own mouse input: a press here never drags the
    // window it sits on.
    void mousePressEvent(QMouseEvent* event) override;

private:
    void loadProperties(const PropertyBag& bag);
    void clearStrip();
    void startScroll();
    void stopScroll();
    void changed(const char* name);

    // Strip (its background and foreground) and frame.
    BgrColor backColor_;
    BgrColor dotColor_;
    BgrColor frameBackColor_;
    qint16 appearance_;
    // Stored properties.
    qint16 speed_;
    qint32 scrollStartWait_;
    qint16 mode_;
    qint16 fontMode_;
    bool fontBold_;
    qint16 prefixMode_;
    BgrColor prefixColor_;
    qint16 prefixFontMode_;
    bool prefixBold_;

    QImage strip_;
    int stripLeft_ = 0;
    DotGlyph::Surface glyph_;
    StopNameScroll scroll_;
    QTimer frameTimer_;
    Clock* clock_ = nullptr;
    std::unique_ptr<Clock> ownClock_;
};
