#include "app/launcher_run.h"

#include "app/app_folder.h"
#include "app/app_paths.h"
#include "app/main_window.h"
#include "controls/dialogs.h"
#include "input/global_config.h"
#include "launch/cd_window.h"
#include "library/game_list.h"
#include "library/properties_window.h"
#include "platform/process.h"
#include "platform/single_instance.h"
#include "platform/user_folder.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int runLauncher(const CommandLine& commandLine, const std::function<void(QWidget&)>& shown) {
    // The rest of the launcher works in the current folder: make it the application folder.
    const FolderChoice choice = chooseApplicationFolder(
        QDir::currentPath(), commandLine.folder,
        platform::hasPerUserFolder() ? platform::perUserFolder() : QString());
    const QString shownFolder = QDir::toNativeSeparators(choice.folder);
    QStringList problems;
    // A home folder that is missing is not made up: the per-user folder would land elsewhere
    // than the user's files (or under the root folder).
    if (choice.perUser && !QFileInfo(QDir::homePath()).isDir())
        problems << QStringLiteral("The home folder %1 does not exist")
                        .arg(QDir::toNativeSeparators(QDir::homePath()));
    else if (choice.prepare && !prepareUserFolder(choice.folder, platform::findInstalledEmulator(),
                                                  platform::installedLanguageFolder()))
        problems << QStringLiteral("Cannot create the folder %1")
                        .arg(QDir::toNativeSeparators(choice.folder + QStringLiteral("/Core")));
    if (problems.isEmpty() && !QDir::setCurrent(choice.folder))
        problems << QStringLiteral("Cannot work in the folder %1").arg(shownFolder);
    if (!problems.isEmpty()) {
        // On the terminal in its usual form ("varnix: cannot ..."), and, since a start from a
        // menu has no terminal to read, in a box that tells why nothing opens.
        for (const QString& problem : std::as_const(problems))
            std::fprintf(stderr, "varnix: %s\n",
                         qPrintable(problem.at(0).toLower() + problem.mid(1)));
        controls::dialogs().error(nullptr, problems.join(QLatin1Char('\n')));
        return 1;
    }

    // One launcher per application folder: a second start brings the running one to the front.
    platform::SingleInstance instance(QDir::currentPath());
    switch (instance.start()) {
    case platform::SingleInstance::Outcome::Running:
        return 0;
    case platform::SingleInstance::Outcome::Busy: {
        // Never a second writer of the folder's files beside a launcher that holds it.
        const QString problem =
            QStringLiteral("Another Varnix holds the folder %1 and does not answer. Close it (or "
                           "end it), then start Varnix again.")
                .arg(shownFolder);
        std::fprintf(stderr, "varnix: %s\n", qPrintable(problem));
        controls::dialogs().error(nullptr, problem);
        return 1;
    }
    case platform::SingleInstance::Outcome::First:
    case platform::SingleInstance::Outcome::Unguarded:
        break;
    }
    instance.releaseOnTermination();
    // What a write of the emulator's configuration cut short by a kill left beside it goes now
    // that no other launcher can be writing it.
    input::removeWriteLeftovers(AppPaths{QDir::currentPath()}.globalConfig());

    // The list's rows are made while the window is built.
    library::GameList::prepareStartUp(QDir::currentPath());
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
    form1.centerOnDesktop();
    form1.show();
    if (shown)
        shown(form1);
    return QApplication::exec();
}
