// The start-up floor: the least a Qt Widgets program does to show a window the size of the
// launcher's and paint it once. bench_startup_window runs it beside the launcher.
#include "first_paint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(694, 503);
    window.show();
    new QuitAfterFirstPaint(&window);
    return QApplication::exec();
}
