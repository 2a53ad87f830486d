#pragma once
// The segment digit display: a row of digit cells (the fare cells of the
// board, its clock, the colour preview of the options). Every segment is
// always drawn, unlit ones in the unlit colour, those of the shown characters
// in the lit colour, over the background. The host assigns the value and the
// colours; the zero rule, zero fill, shift and sizing happen here (the text
// rules are DigitText).
//
// The control keeps what it has drawn in an image: assignments that redraw
// render the whole row into it, paint events only copy it.

#include "model/DigitValue.h"
#include "model/BgrColor.h"
#include "widgets/CompanionDialogs.h"

#include <QImage>
#include <QWidget>

class SegmentDisplay : public QWidget {
    Q_OBJECT
public:
    // Defaults of the properties.
    static constexpr BgrColor DefaultUnlitColor = 0x969696;
    static constexpr BgrColor DefaultLitColor = 0x72D2F8;
    static constexpr BgrColor DefaultBackColor = 0x808080;
    static constexpr qint16 DefaultDigitCount = 4;

    // A display with the defaults: four digits of size 0 and style 0 in the
    // default colours, showing 0, settable by the user; nothing drawn yet.
    explicit SegmentDisplay(QWidget* parent = nullptr);

    BgrColor unlitColor() const { return unlitColor_; }
    void setUnlitColor(BgrColor colour);
    BgrColor litColor() const { return litColor_; }
    void setLitColor(BgrColor colour);
    qint16 fillZero() const { return fillZero_; }
    void setFillZero(qint16 width);
    qint16 zeroMode() const { return zeroMode_; }
    void setZeroMode(qint16 mode);
    qint16 shift() const { return shift_; }
    void setShift(qint16 cells);
    qint16 digitCount() const { return digitCount_; }
    void setDigitCount(qint16 count);
    qint16 digitSize() const { return digitSize_; }
    void setDigitSize(qint16 size);
    qint16 digitStyle() const { return digitStyle_; }
    void setDigitStyle(qint16 style);
    DigitValue value() const { return value_; }
    void setValue(const DigitValue& value);
    bool userSettable() const { return userSettable_; }
    void setUserSettable(bool on);
    BgrColor backColor() const { return backColor_; }
    void setBackColor(BgrColor colour);
    // How many times its size at 100 % the display stands (the board's
    // size): the digits are drawn from their face at that size, and at the
    // screen's pixel ratio, never scaled from a smaller picture.
    qreal scale() const { return scale_; }
    void setScale(qreal scale);

    // Where showSettingsDialog() finds the digit settings dialog.
    void setDialogs(CompanionDialogs* dialogs) { dialogs_ = dialogs; }
    // Opens the digit settings dialog for this display; true when the user
    // accepted it. The zero mode, shift and zero fill take the values the
    // dialog hands back as they are (no clamping, no notification), then the
    // display redraws. Without a dialog service nothing happens.
    bool showSettingsDialog();
    // Lamp test (allLit: "8" in every cell) or blanking (only the unlit
    // segments). The zero mode, shift and zero fill apply again to the next
    // value.
    void resetDigits(bool allLit);

    // The kept surface, in the screen's pixels (its device pixel ratio set).
    const QImage& image() const { return image_; }

    // Pixel size of one digit cell of a digit size at 100 % (any value other
    // than 1, 2 and 3 is size 0).
    static QSize cellSize(qint16 digitSize);

    QSize sizeHint() const override;

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void drawDigits(const DigitValue& value, BgrColor unlit, BgrColor lit);
    void redraw() { drawDigits(value_, unlitColor_, litColor_); }
    // Sets the outer size from the digit count and size.
    void applySize();
    // Brings the kept image to the widget's size in the screen's pixels; a
    // grown part takes BackColor.
    void fitSurface();
    qreal pixelRatio() const { return devicePixelRatioF(); }

    CompanionDialogs* dialogs_ = nullptr;
    QImage image_;

    BgrColor unlitColor_ = 0;
    BgrColor litColor_ = 0;
    qint16 fillZero_ = 0;
    qint16 zeroMode_ = 0;
    qint16 shift_ = 0;
    qint16 digitCount_ = 0;
    qint16 digitSize_ = 0;
    qint16 digitStyle_ = 0;
    DigitValue value_;
    bool userSettable_ = true;
    BgrColor backColor_ = DefaultBackColor;
    qreal scale_ = 1;
};
