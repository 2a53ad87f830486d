#pragma once
// Modal message boxes: the one way the system tells the user something or
// asks a question. The real service shows a box over the active window; tests
// hand in a fake that records the boxes and answers as scripted.

#include <QString>

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows a modal box and returns the button the user chose.
    virtual MsgAnswer show(const QString& text, const QString& title, MsgIcon icon,
                           MsgButtons buttons) = 0;
};
