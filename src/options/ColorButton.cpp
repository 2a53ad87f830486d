#include "options/ColorButton.h"

#include "widgets/QColorOf.h"

#include <QPainter>
#include <QStyleOptionButton>

ColorButton::ColorButton(QWidget* parent) : QPushButton(parent) {
    setFixedSize(48, 22);
    setToolTip(QStringLiteral("クリックして色を選択"));
}

void ColorButton::setBackColor(BgrColor colour) {
    colour_ = colour; // all 32 bits: a system colour stays one
    update();
}

void ColorButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QPainter p(this);
    const QRect swatch = rect().adjusted(5, 5, -5, -5);
    p.fillRect(swatch, toQColor(colour_));
    p.setPen(QColor(60, 60, 60));
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
}
