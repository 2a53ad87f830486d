#pragma once
// Where the board and the console stand on the screen. A position is that of
// the window's frame (its title bar and border included), so that a window
// comes back exactly where it was under any window manager, and the settings
// keep it in twips. The real placement asks Qt; tests replace it with a fake
// window manager.

#include <QList>
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
    // The areas of every screen that windows may use (without panels and
    // docks), the primary screen's first. By default the one screenArea().
    virtual QList<QRect> usableAreas() const { return {screenArea()}; }

    // Where a window whose frame is frame should stand to be wholly visible:
    // where it is when it lies on one screen; otherwise moved onto the
    // screen that holds most of it (the primary one when none does) by as
    // little as it takes, its top-left corner on the screen when the window
    // is the larger of the two.
    QPoint fittedPosition(const QRect& frame) const;
};

class QtWindowPlacement : public WindowPlacement {
public:
    // After a move, how often a shown window's frame is looked at, how long
    // it must stand where it was asked, and how long it is looked after.
    static constexpr int FramePollMs = 20;
    static constexpr int FrameStillMs = 300;
    static constexpr int FrameWaitMs = 3000;

    QPoint framePosition(const QWidget& window) const override;
    void moveFrameTo(QWidget& window, const QPoint& position) override;
    QSize frameSize(const QWidget& window) const override;
    QRect screenArea() const override;
    QList<QRect> usableAreas() const override;
};
