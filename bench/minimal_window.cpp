// The start-up floor: the least a Qt Widgets program does to show a window the size of the
// launcher's and paint it once; with --text the window also shows one line of text, which
// costs the toolkit's font set-up. bench_startup_window runs it beside the launcher.
#include "first_paint.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv) {
    const bool text = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(694, 503);
    if (text)
        new QLabel(QStringLiteral("Game name"), &window);
    window.show();
    new QuitAfterFirstPaint(&window);
    return QApplication::exec();
}
