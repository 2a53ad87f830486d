#pragma once
// Turns the requests to end the process that come as Unix signals (SIGTERM
// from a shutdown or a kill, SIGHUP when the terminal or the session goes,
// SIGINT from Ctrl+C) into a Qt signal on the user-interface thread, so that
// K40 can end as its exit does, settings saved, instead of dying on the spot.
//
// The signal handler only writes a byte to a socket; the watch reads it in
// the event loop. The signals are unblocked when the watch is made, so a
// request that came before it (while they were blocked) is taken then.

#include <QObject>

class QSocketNotifier;

class TerminationWatch : public QObject {
    Q_OBJECT
public:
    explicit TerminationWatch(QObject* parent = nullptr);
    ~TerminationWatch() override;

    // False when the watch could not be set up; the signals then end the
    // process as they always do.
    bool isWatching() const { return notifier_ != nullptr; }

signals:
    // The number of the signal that asked the process to end.
    void terminationRequested(int signalNumber);

private:
    void readSignals();
    QSocketNotifier* notifier_ = nullptr;
};
