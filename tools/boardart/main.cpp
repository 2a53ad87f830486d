// boardart: draws the built-in picture of the 24-cell fare board, 582 x 292
// pixels.
//   boardart <out.png>

#include "widgets/BoardArt.h"
#include "widgets/Typefaces.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    Typefaces::registerSubstitutions();
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: boardart <out.png>\n";
        return 2;
    }
    if (!BoardArt::draw(BoardChoice()).save(args[1], "PNG")) {
        QTextStream(stderr) << args[1] << ": cannot write\n";
        return 1;
    }
    return 0;
}
