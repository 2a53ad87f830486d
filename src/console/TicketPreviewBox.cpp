#include "console/TicketPreviewBox.h"

#include <QMouseEvent>
#include <QPainter>

TicketPreviewBox::TicketPreviewBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TicketPreviewBox::clear() {
    image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(Qt::white);
    update();
}

void TicketPreviewBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, image_);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TicketPreviewBox::resizeEvent(QResizeEvent*) {
    if (image_.size() != size()) clear();
}

void TicketPreviewBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) emit rightClicked(event->globalPosition().toPoint());
}
