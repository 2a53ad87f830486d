#pragma once
// The fare panel: the board itself, a borderless window of 582 x 292 pixels.

#include <QWidget>

class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
};
