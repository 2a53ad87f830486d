#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

QPoint QtWindowPlacement::framePosition(const QWidget& window) const {
    return window.frameGeometry().topLeft();
}

void QtWindowPlacement::moveFrameTo(QWidget& window, const QPoint& position) {
    window.move(position);
    // A window that is already shown may not have its frame yet (the window
    // manager adds it a moment later); move() then places its client area
    // there, and the frame would come a title bar higher. The native
    // window's frame position always means the frame.
    if (QWindow* handle = window.windowHandle(); handle && window.isVisible())
        handle->setFramePosition(position);
}

QSize QtWindowPlacement::frameSize(const QWidget& window) const {
    return window.frameGeometry().size();
}

QRect QtWindowPlacement::screenArea() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}
