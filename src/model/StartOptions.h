#pragma once
// What K40 is told on its command line, for an exhibit PC that starts it from
// a desktop entry:
//   K40 [--fullscreen] [--screen N] [--scale PERCENT]
// The options hold for this start over what the board's file keeps; the file
// is written only when the user changes the board's size or screen later.

#include "model/BoardChoice.h"

#include <QString>
#include <QStringList>
#include <optional>

struct StartOptions {
    bool fullScreen = false;
    std::optional<int> screen; // from 0; a screen that is not there is the primary one
    std::optional<int> scalePercent;

    // The board's choice as this start shows it.
    void applyTo(BoardChoice& board) const;

    struct Parsed;
    // arguments as the program was given them, its own name first.
    static Parsed parse(const QStringList& arguments);
    // The lines that --help prints.
    static QString usage();
};

struct StartOptions::Parsed {
    StartOptions options;
    bool help = false; // --help: print the usage and end
    QString error;     // what is wrong, for standard error; empty when nothing is
};
