#pragma once
// A colour button of the options dialog: its background colour is the
// setting it holds.

#include "model/BgrColor.h"

#include <QPushButton>

class ColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorButton(QWidget* parent = nullptr);
    BgrColor backColor() const { return colour_; }
    void setBackColor(BgrColor colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BgrColor colour_ = 0x00C0C0C0;
};
