#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

QPoint QtWindowPlacement::framePosition(const QWidget& window) const {
    return window.frameGeometry().topLeft();
}

namespace {

bool isFramed(const QWidget& window) { return window.frameGeometry() != window.geometry(); }

// Puts the frame of a framed window at position by placing its client area
// below and right of it by the frame's size: the one request every window
// manager takes as it is meant.
void placeFrame(QWidget& window, QWindow& handle, const QPoint& position) {
    handle.setPosition(position + (window.geometry().topLeft() - window.frameGeometry().topLeft()));
}

} // namespace

void QtWindowPlacement::moveFrameTo(QWidget& window, const QPoint& position) {
    // A later move replaces one still settling.
    delete window.findChild<QTimer*>(QStringLiteral("k40FrameWait"), Qt::FindDirectChildrenOnly);
    window.move(position);
    QWindow* handle = window.windowHandle();
    if (!handle || !window.isVisible() || window.windowFlags().testFlag(Qt::FramelessWindowHint))
        return;
    if (isFramed(window)) placeFrame(window, *handle, position);
    // A window just shown gets its frame from the window manager a moment
    // later, and then stands by its client area where its frame was asked
    // for, a title bar too high. Until its frame has stood where it was
    // asked for a while, it is put there again.
    auto* wait = new QTimer(&window);
    wait->setObjectName(QStringLiteral("k40FrameWait"));
    wait->setInterval(FramePollMs);
    QObject::connect(wait, &QTimer::timeout, &window,
                     [&window, handle, position, wait, polls = 0, still = 0]() mutable {
                         ++polls;
                         if (isFramed(window) && window.frameGeometry().topLeft() == position) {
                             ++still;
                         } else {
                             still = 0;
                             if (isFramed(window)) placeFrame(window, *handle, position);
                         }
                         if (still * FramePollMs >= FrameStillMs ||
                             polls * FramePollMs >= FrameWaitMs)
                             wait->deleteLater();
                     });
    wait->start();
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
