#pragma once
// The built-in picture of a fare board: a dark housing with the windows of
// the stop-name strip, the ticket-number labels and the fare cells exactly
// where the board window places those controls, the legends and the maker's
// plate. The 24-cell board ships it drawn (resources/board.png, by
// tools/boardart); the larger boards draw theirs when they are chosen.

#include "model/BoardChoice.h"

#include <QImage>

namespace BoardArt {

// At ratio times its size at 100 % (the board's size and the screen's pixel
// ratio), drawn at that size.
QImage draw(const BoardChoice& board, qreal ratio = 1);

} // namespace BoardArt
