#pragma once
// The console's picture of the boarding ticket: an image that the ticket
// engine draws into and that the box keeps until it is cleared, with a
// right-click menu to copy it.

#include <QImage>
#include <QWidget>

class TicketPreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit TicketPreviewBox(QWidget* parent = nullptr);
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    // Clears the image to white at the box's current size.
    void clear();

signals:
    void rightClicked(const QPoint& globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage image_;
};
