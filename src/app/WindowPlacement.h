#pragma once
// Where the board and the console stand on the screen. A position is that of
// the window's frame (its title bar and border included), so that a window
// comes back exactly where it was under any window manager, and the settings
// keep it in twips. The real placement asks Qt; tests replace it with a fake
// window manager.

#include <QPoint>
#include <QRect>

class QWidget;

class WindowPlacement {
public:
    virtual ~WindowPlacement() = default;
    // The top-left corner of window's frame.
    virtual QPoint framePosition(const QWidget& window) const = 0;
    // Puts the top-left corner of window's frame at position.
    virtual void moveFrameTo(QWidget& window, const QPoint& position) = 0;
    // The size of window with its frame.
    virtual QSize frameSize(const QWidget& window) const = 0;
    // The area of the screen the windows start on.
    virtual QRect screenArea() const = 0;
};

class QtWindowPlacement : public WindowPlacement {
public:
    QPoint framePosition(const QWidget& window) const override;
    void moveFrameTo(QWidget& window, const QPoint& position) override;
    QSize frameSize(const QWidget& window) const override;
    QRect screenArea() const override;
};
