#pragma once
// Which board K40 shows: the 24-cell board of three rows of eight, or a
// larger board of real makes with ten cells to a row (3 to 6 rows), and
// whether a route with more tickets than cells is shown page by page, and
// how the board window stands on the screens: its size, full screen or not,
// and on which screen. Kept in
// a small text file beside the settings file (K40-board.ini), so that the
// settings file's layout stays as it is. A missing or unreadable file, or a
// value that is not one of these, gives the 24-cell board without paging, at
// 100 %, in a window.

#include <QString>
#include <QStringList>

struct BoardChoice {
    enum class Grid { Standard, Rows3, Rows4, Rows5, Rows6 };
    static constexpr int MinPageSeconds = 2, MaxPageSeconds = 30;
    // The sizes the board's menu offers, in percent of 100 %.
    static constexpr int Scales[] = {100, 150, 200, 300, 400};
    static constexpr int MinScale = 50, MaxScale = 800;

    Grid grid = Grid::Standard;
    // Tickets beyond the cells shown page by page (1-24, 25-48, ...), a page
    // every pageSeconds.
    bool paging = false;
    int pageSeconds = 4;
    // The board window's size, in percent of 100 % (582 × 292 pixels for
    // the 24-cell board).
    int scalePercent = 100;
    // Full screen, on screen number screen (from 0) of those there are; -1,
    // or a screen that is gone, is the one the board stands on.
    bool fullScreen = false;
    int screen = -1;

    int rows() const { return grid == Grid::Standard ? 3 : int(grid) + 2; }
    int columns() const { return grid == Grid::Standard ? 8 : 10; }
    int cells() const { return rows() * columns(); }
    bool operator==(const BoardChoice&) const = default;

    // The grids as the options dialog lists them, in the order of Grid.
    static QStringList gridTexts();
    // The size of Scales after percent (larger) or before it (smaller);
    // percent itself at either end.
    static int nextScale(int percent, bool larger);
};

namespace BoardChoiceFile {

// Beside the settings file: the settings folder and the executable's base
// name with "-board.ini".
QString path();

BoardChoice read(const QString& path);
// False when the file cannot be written.
bool write(const QString& path, const BoardChoice& choice);

} // namespace BoardChoiceFile
