#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

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

QList<QRect> QtWindowPlacement::usableAreas() const {
    QList<QRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) areas << primary->availableGeometry();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary) areas << screen->availableGeometry();
    return areas;
}

QPoint WindowPlacement::fittedPosition(const QRect& frame) const {
    const QList<QRect> areas = usableAreas();
    QRect best;
    qint64 bestOverlap = -1;
    for (const QRect& area : areas) {
        if (area.isEmpty()) continue;
        if (area.contains(frame)) return frame.topLeft();
        const QRect common = area.intersected(frame);
        const qint64 overlap = common.isEmpty() ? 0 : qint64(common.width()) * common.height();
        if (overlap > bestOverlap) {
            best = area;
            bestOverlap = overlap;
        }
    }
    if (best.isEmpty()) return frame.topLeft();
    const int x = std::max(best.left(), std::min(frame.left(), best.right() + 1 - frame.width()));
    const int y = std::max(best.top(), std::min(frame.top(), best.bottom() + 1 - frame.height()));
    return {x, y};
}
