#pragma once
// A push-like option button whose caption wraps over several lines, as the
// page and sub-page buttons of the options dialog are drawn.

#include <QRadioButton>

class PageButton : public QRadioButton {
    Q_OBJECT
public:
    explicit PageButton(const QString& caption, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};
