#pragma once
// What the operator does at the console with one press of a button, and the
// keys that press it. The board takes the stepping and tape keys (a
// presenter remote sends Page Up and Page Down, a foot pedal one of them),
// the console these and the keypad's own.

#include <QList>
#include <QtCore/qnamespace.h>

enum class ConsoleCommand {
    StepForward, // "データ送り"
    StepBack,    // "データ戻し"
    TapeNext,    // the tape's "送り"
    TapeBack,    // the tape's "戻し"
    TapeStop,    // the tape's "■"
    Digit0, Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7, Digit8, Digit9,
    RouteKey,    // "系統"
    SectionKey,  // "区間"
    KeypadReset, // the keypad's "リセット"
};

struct CommandKeys {
    ConsoleCommand command;
    QList<Qt::Key> keys; // the first is the one a menu shows
    bool onBoard;        // the board takes them too
};

// Every command with its keys, the stepping and tape commands first.
inline const QList<CommandKeys>& commandKeys() {
    static const QList<CommandKeys> all = [] {
        QList<CommandKeys> c = {
            {ConsoleCommand::StepForward, {Qt::Key_Right, Qt::Key_PageDown}, true},
            {ConsoleCommand::StepBack, {Qt::Key_Left, Qt::Key_PageUp}, true},
            {ConsoleCommand::TapeNext, {Qt::Key_Space}, true},
            {ConsoleCommand::TapeBack, {Qt::Key_Backspace}, true},
            {ConsoleCommand::TapeStop, {Qt::Key_Period}, true},
        };
        for (int d = 0; d <= 9; ++d)
            c.push_back({ConsoleCommand(int(ConsoleCommand::Digit0) + d), {Qt::Key(Qt::Key_0 + d)},
                         false});
        c.push_back({ConsoleCommand::RouteKey, {Qt::Key_R}, false});
        c.push_back({ConsoleCommand::SectionKey, {Qt::Key_S}, false});
        c.push_back({ConsoleCommand::KeypadReset, {Qt::Key_Return, Qt::Key_Enter}, false});
        return c;
    }();
    return all;
}
