#include "panel/Form1.h"

Form1::Form1(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint) {
    setFixedSize(582, 292);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    setPalette(p);
}
