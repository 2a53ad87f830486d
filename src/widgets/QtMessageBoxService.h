#pragma once
// The real message boxes, on QMessageBox, shown over the window the user is
// working in.

#include "model/MessageBoxService.h"

class QtMessageBoxService : public MessageBoxService {
public:
    MsgAnswer show(const QString& text, const QString& title, MsgIcon icon,
                   MsgButtons buttons) override;
};
