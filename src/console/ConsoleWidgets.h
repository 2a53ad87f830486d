#pragma once
// Small widgets of the console: a frame that reports double-clicks, a button
// whose caption wraps over several lines, and the preview picture box.

#include <QFrame>
#include <QImage>
#include <QPushButton>

class DblClickFrame : public QFrame {
    Q_OBJECT
public:
    using QFrame::QFrame;
signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent*) override { emit doubleClicked(); }
};

class WrapButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A picture box that keeps its image (the ticket preview).
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    // Clears the image to white at the box's current size.
    void Cls();
signals:
    void mousePressed(Qt::MouseButton button, const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage image_;
};
