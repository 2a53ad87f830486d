#pragma once
// A push-like option button whose caption may take several lines, as the
// page and sub-page buttons of the options dialog are drawn. A caption
// breaks at its full-width blanks, and never inside a word.

#include <QRadioButton>

class PageButton : public QRadioButton {
    Q_OBJECT
public:
    explicit PageButton(const QString& caption, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // The lines of the caption.
    QStringList lines() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};
