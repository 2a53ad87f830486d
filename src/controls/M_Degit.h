#pragma once
// The digit display: a row of Keta segment-digit cells. Every segment is
// always drawn, unlit ones in BaseForeColor, those of the shown characters in
// DegitForeColor, over BackColor. The host assigns Value and the colours; the
// zero rule, zero fill, shift and sizing happen here.
//
// The control keeps what it has drawn in an image: assignments that redraw
// render the whole row into it, paint events only copy it.

#include "controls/DegitValue.h"
#include "controls/PropertyBag.h"
#include "platform/KTP4Res.h"
#include "platform/OleColor.h"

#include <QImage>
#include <QWidget>

class M_Degit : public QWidget {
    Q_OBJECT
public:
    // How the digits are drawn, fixed when the control is created.
    struct RenderingVariant {
        qint32 CharExtra = 0;   // pixels added after every drawn character
        bool BoldDigits = true; // bold digit typeface
        bool operator==(const RenderingVariant&) const = default;
    };

    // Defaults of the properties.
    static constexpr OleColor DefaultBaseForeColor = 0x969696;
    static constexpr OleColor DefaultDegitForeColor = 0x72D2F8;
    static constexpr OleColor DefaultBackColor = 0x808080;
    static constexpr qint16 DefaultKeta = 4;

    // designData null: a new instance with the defaults, nothing drawn;
    // otherwise an instance loaded from its saved design data.
    explicit M_Degit(QWidget* parent = nullptr, const PropertyBag* designData = nullptr);
    // The same with a given rendering variant instead of the running system's.
    M_Degit(const RenderingVariant& variant, QWidget* parent = nullptr,
            const PropertyBag* designData = nullptr);

    OleColor BaseForeColor() const { return baseForeColor_; }
    void setBaseForeColor(OleColor colour);
    OleColor DegitForeColor() const { return degitForeColor_; }
    void setDegitForeColor(OleColor colour);
    qint16 FillZero() const { return fillZero_; }
    void setFillZero(qint16 width);
    qint16 ZeroMode() const { return zeroMode_; }
    void setZeroMode(qint16 mode);
    qint16 Shift() const { return shift_; }
    void setShift(qint16 cells);
    qint16 Keta() const { return keta_; }
    void setKeta(qint16 count);
    qint16 DegitSize() const { return degitSize_; }
    void setDegitSize(qint16 size);
    qint16 DegitStyle() const { return degitStyle_; }
    void setDegitStyle(qint16 style);
    DegitValue Value() const { return value_; }
    void setValue(const DegitValue& value);
    bool UserSet() const { return userSet_; }
    void setUserSet(bool on);
    OleColor BackColor() const { return backColor_; }
    void setBackColor(OleColor colour);
    // The control's window.
    WId hwnd() const;

    // Saving: every property but hwnd, each only where it differs from its
    // default.
    void WriteProperties(PropertyBag& bag) const;

    // Where ShowSetDlg finds the digit-setting dialog (Call_dlg100).
    void setDialogs(CompanionDialogs* dialogs) { dialogs_ = dialogs; }
    // Opens the digit-setting dialog for this control and returns its result
    // unchanged. ZeroMode, Shift and FillZero take the values the dialog hands
    // back as they are (no clamping, no notification), then the control
    // redraws. Without a dialog service the result is 0 and nothing changes.
    qint32 ShowSetDlg();
    // Lamp test (true: "8" in every cell) or blanking (false: only the unlit
    // segments). ZeroMode, Shift and FillZero apply again to the next Value.
    void ResetDegit(bool nMode);

    // The kept surface.
    const QImage& image() const { return image_; }
    const RenderingVariant& renderingVariant() const { return variant_; }

    // The variant for a system by its version information: the Windows 95
    // family (platform id 1) or major version 4 draw with one pixel of extra
    // spacing and regular digits, every other system without spacing and bold.
    static RenderingVariant renderingVariantFor(qint32 platformId, qint32 majorVersion);
    // The variant of the running system.
    static RenderingVariant runningSystemVariant();
    // Pixel size of one digit cell of a size variant (any value other than 1,
    // 2 and 3 is size 0).
    static QSize cellSize(qint16 degitSize);

    QSize sizeHint() const override;

signals:
    void DblClick();
    // Every setter notifies the host with the property's name.
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void DrawDegit(const DegitValue& value, OleColor unlit, OleColor lit);
    void redraw() { DrawDegit(value_, baseForeColor_, degitForeColor_); }
    // Sets the outer size from Keta and DegitSize.
    void applySize();
    // Brings the kept image to the widget's size; a grown part takes BackColor.
    void fitSurface();

    RenderingVariant variant_;
    CompanionDialogs* dialogs_ = nullptr;
    QImage image_;

    OleColor baseForeColor_ = 0;
    OleColor degitForeColor_ = 0;
    qint16 fillZero_ = 0;
    qint16 zeroMode_ = 0;
    qint16 shift_ = 0;
    qint16 keta_ = 0;
    qint16 degitSize_ = 0;
    qint16 degitStyle_ = 0;
    DegitValue value_;
    bool userSet_ = false;
    OleColor backColor_ = DefaultBackColor;
};
