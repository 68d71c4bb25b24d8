#include "app/main_window.h"
#include "launch/cd_window.h"
#include "library/properties_window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnix"));
    // The three windows live from start to end; closing the main window ends the program.
    TForm1 form1;
    launch::TForm3 form3(&form1);
    library::TForm2 form2(&form1);
    form1.attachWindows(&form3, &form2);
    if (form1.closedDuringStartUp())
        return 0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form1.move(screen->availableGeometry().center() - form1.rect().center());
    form1.show();
    return app.exec();
}
