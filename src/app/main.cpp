#include "app/main_window.h"
#include "launch/cd_window.h"
#include "library/properties_window.h"
#include "platform/process.h"
#include "platform/single_instance.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnix"));
    // One launcher per application folder: a second start brings the running one to the front.
    platform::SingleInstance instance(QDir::currentPath());
    if (instance.start() == platform::SingleInstance::Outcome::Running)
        return 0;
    // The three windows live from start to end; closing the main window ends the program.
    TForm1 form1;
    launch::TForm3 form3(&form1);
    library::TForm2 form2(&form1);
    form1.attachWindows(&form3, &form2);
    QObject::connect(&instance, &platform::SingleInstance::activationRequested, &form1,
                     &TForm1::bringToFront);
    // The ending launcher gives the folder up before it starts the new one.
    form1.setRestarter([&instance](const QString& folder) {
        instance.release();
        return platform::restartSelf(folder);
    });
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form1.move(screen->availableGeometry().center() - form1.rect().center());
    form1.show();
    return app.exec();
}
