#pragma once
// One of the console's two entry panels (the digit lists and the keypad),
// which lie over each other; a double-click on the one in front brings the
// other forward.

#include <QFrame>

class EntryPanel : public QFrame {
    Q_OBJECT
public:
    using QFrame::QFrame;

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent*) override { emit doubleClicked(); }
};
