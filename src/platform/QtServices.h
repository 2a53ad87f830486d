#pragma once
// The real message box and clock, on Qt.

#include "platform/Services.h"

class QtMessageBoxService : public MessageBoxService {
public:
    MsgAnswer show(QWidget* owner, const QString& text, const QString& title, MsgIcon icon,
                   MsgButtons buttons) override;
};

class SystemClock : public Clock {
public:
    QDateTime now() const override;
    qint64 monotonicMs() const override;
    void wait(int ms) override;
};
