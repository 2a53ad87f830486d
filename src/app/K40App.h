#pragma once
// The object that creates the services and the windows and wires them
// together.

#include "platform/QtServices.h"

#include <QObject>
#include <memory>

class Form1;

class K40App : public QObject {
    Q_OBJECT
public:
    K40App();
    ~K40App() override;

    // Runs the start-up sequence and shows the windows.
    void start();

private:
    QtMessageBoxService messages_;
    SystemClock clock_;
    Services services_;
    std::unique_ptr<Form1> panel_;
};
