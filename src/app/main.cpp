#include "app/K40App.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    K40App k40;
    k40.start();
    return app.exec();
}
