#pragma once
// Holds the user's input back while the route session is busy (an operation
// runs, plays its sound to the end or waits for the lamp test): clicks, keys,
// wheel turns and the window manager's close requests for any window are
// kept, in order, and delivered when the hold ends, so that nothing the user
// does is lost or taken in the middle of an operation. The windows keep being
// painted meanwhile, and a message box the operation shows takes its answer.

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class QEvent;

class InputHold : public QObject {
    Q_OBJECT
public:
    explicit InputHold(QObject* parent = nullptr);
    ~InputHold() override;

    void setHeld(bool held);
    bool isHeld() const { return held_; }
    int heldCount() const { return static_cast<int>(events_.size()); }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    struct Held {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    bool held_ = false;
    std::vector<Held> events_;
};
