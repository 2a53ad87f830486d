#pragma once
// The stop-name display: the name of the coming stop as a strip of coloured
// dots imitating a dot-matrix sign, optionally preceded by "次は" in a colour
// of its own. A name of up to 8 characters (6 with the prefix) stands centred;
// a longer one is laid out at full pitch on a strip wider than the window and
// scrolls from right to left until the next name is set.
//
// The control is 432 × 56 pixels and is made of three surfaces: the frame
// (432 × 58 at (0, 0)) through which the strip is seen, the strip (56 high,
// as wide as the name needs, at (stripLeft, −1) in the frame) that keeps the
// dots, and the hidden 18 × 18 glyph surface on which each character is drawn
// and sampled.
//
// The scroll runs on a frame timer: SetChimei returns at once, and each frame
// applies the 1-ms steps that have passed on the clock since the previous one.

#include "controls/ChimeiGlyph.h"
#include "controls/ChimeiScroll.h"
#include "platform/OleColor.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>

class Clock;
class PropertyBag;

class ChimeiCtl_DX : public QWidget {
    Q_OBJECT
public:
    static constexpr int ControlWidth = 432;
    static constexpr int ControlHeight = 56;
    static constexpr int FrameIntervalMs = 16;

    // designData null: a new instance with the "new instance" values;
    // otherwise loaded from saved design data with the "missing key" defaults.
    explicit ChimeiCtl_DX(QWidget* parent = nullptr, const PropertyBag* designData = nullptr,
                          Clock* clock = nullptr);
    ~ChimeiCtl_DX() override;

    void setClock(Clock* clock); // the scroll's time base (a SystemClock when none is set)
    void SetChimei(const QString& strText);

    OleColor BackColor() const { return backColor_; }
    void setBackColor(OleColor value);
    OleColor ForeColor() const { return foreColor_; }
    void setForeColor(OleColor value);
    qint16 Speed() const { return speed_; }
    void setSpeed(qint16 value);
    qint32 ScrollStartWait() const { return scrollStartWait_; }
    void setScrollStartWait(qint32 value);
    qint16 Mode() const { return mode_; }
    void setMode(qint16 value);
    qint16 Appearance() const { return appearance_; }
    void setAppearance(qint16 value);
    qint16 FontMode() const { return fontMode_; }
    void setFontMode(qint16 value);
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool value);
    qint16 TsugiwaMode() const { return tsugiwaMode_; }
    void setTsugiwaMode(qint16 value);
    OleColor TsugiwaColor() const { return tsugiwaColor_; }
    void setTsugiwaColor(OleColor value);
    qint16 TsugiwaFontMode() const { return tsugiwaFontMode_; }
    void setTsugiwaFontMode(qint16 value);
    bool TsugiwaBold() const { return tsugiwaBold_; }
    void setTsugiwaBold(bool value);

    // Repaints the strip from its image.
    void Refresh();
    // One character's dots with their top-left corner at (x, y) on the strip.
    void DrawDot54(int x, int y, const QString& text);
    // "次" at x = 0 and "は" at x = 54 on the strip.
    void DrawTsugiwa();
    void WriteProperties(PropertyBag& bag) const;

    // Observation for tests and hosts:
    bool isScrolling() const;
    bool isScrollPausing() const;
    bool frameTimerActive() const { return frameTimer_.isActive(); }
    int stripLeft() const { return stripLeft_; }
    int stripWidth() const { return strip_.width(); }
    const QImage& stripImage() const { return strip_; }
    OleColor frameBackColor() const { return frameBackColor_; }
    const ChimeiGlyphSurface& glyphSurface() const { return glyph_; }
    // Applies the steps elapsed on the clock; the frame timer calls it.
    void advanceScroll();

signals:
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void loadProperties(const PropertyBag& bag);
    void clearStrip();
    void startScroll();
    void stopScroll();
    void changed(const char* name);

    // Strip (its background and foreground) and frame.
    OleColor backColor_;
    OleColor foreColor_;
    OleColor frameBackColor_;
    qint16 appearance_;
    // Stored properties.
    qint16 speed_;
    qint32 scrollStartWait_;
    qint16 mode_;
    qint16 fontMode_;
    bool fontBold_;
    qint16 tsugiwaMode_;
    OleColor tsugiwaColor_;
    qint16 tsugiwaFontMode_;
    bool tsugiwaBold_;

    QImage strip_;
    int stripLeft_ = 0;
    ChimeiGlyphSurface glyph_;
    ChimeiScroll scroll_;
    QTimer frameTimer_;
    Clock* clock_ = nullptr;
    std::unique_ptr<Clock> ownClock_;
};
