#include "app/InputHold.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// Whether the receiver is part of a modal window opened meanwhile: a message
// box that an operation shows waits for the user's answer, which must reach it.
bool belongsToModalWindow(QObject* receiver) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return false;
    if (const auto* window = qobject_cast<const QWindow*>(receiver))
        return window == modal->windowHandle();
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    return widget && (widget == modal || modal->isAncestorOf(widget));
}

} // namespace

InputHold::InputHold(QObject* parent) : QObject(parent) {
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

InputHold::~InputHold() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

void InputHold::setHeld(bool held) {
    held_ = held;
    if (held_) return;
    // Delivered again in order, each from the event loop.
    std::vector<Held> events = std::move(events_);
    events_.clear();
    for (Held& h : events) {
        if (!h.receiver) continue;
        QCoreApplication::postEvent(h.receiver, h.event.release());
    }
}

bool InputHold::eventFilter(QObject* receiver, QEvent* event) {
    // What the user does (held events keep that mark when they are posted
    // again), not the program's own requests such as closing a window from
    // code.
    if (!held_ || !isUserInput(event->type()) || !event->spontaneous() ||
        belongsToModalWindow(receiver))
        return false;
    events_.push_back({receiver, std::unique_ptr<QEvent>(event->clone())});
    return true;
}
