#include "model/SystemClock.h"

#include <QElapsedTimer>
#include <QTimer>

QDateTime SystemClock::now() const { return QDateTime::currentDateTime(); }

qint64 SystemClock::monotonicMs() const {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

void SystemClock::after(int ms, QObject* context, std::function<void()> done) {
    QTimer::singleShot(qMax(ms, 0), context, std::move(done));
}
