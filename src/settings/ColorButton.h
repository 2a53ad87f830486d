#pragma once
// A colour button of the options dialog: its background colour is the
// setting it holds.

#include "platform/OleColor.h"

#include <QPushButton>

class ColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorButton(QWidget* parent = nullptr);
    OleColor BackColor() const { return colour_; }
    void setBackColor(OleColor colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    OleColor colour_ = 0x00C0C0C0;
};
