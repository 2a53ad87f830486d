#pragma once
// Driving a modal dialog from a test: the dialog's own event loop runs the
// test's actions once the dialog shows.

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

// Runs act on the modal dialog once open: queued now, the call runs in the
// event loop of the dialog, turn after turn until the dialog shows.
inline void whenModal(std::function<void(QDialog*)> act, int turnsLeft = 1000) {
    QTimer::singleShot(0, [act, turnsLeft] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible())
            act(dialog);
        else if (turnsLeft > 0)
            whenModal(act, turnsLeft - 1);
    });
}
