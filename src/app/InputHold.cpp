#include "app/InputHold.h"

#include <QCoreApplication>
#include <QEvent>

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
    if (!held_ || !isUserInput(event->type()) || !event->spontaneous()) return false;
    events_.push_back({receiver, std::unique_ptr<QEvent>(event->clone())});
    return true;
}
