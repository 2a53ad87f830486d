#pragma once
// The clock of the running system.

#include "model/Clock.h"

class SystemClock : public Clock {
public:
    QDateTime now() const override;
    qint64 monotonicMs() const override;
    void after(int ms, QObject* context, std::function<void()> done) override;
};
