#pragma once
// A push button whose caption wraps over several lines ("データ戻し" and
// "データ送り" on the console's narrow step buttons).

#include <QPushButton>

class WrapButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};
