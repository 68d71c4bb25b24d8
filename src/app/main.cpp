#include "app/command_line.h"
#include "app/launcher_run.h"
#include "platform/memory.h"
#include "platform/process.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    platform::giveLargeBlocksBack();
    // Named before the command line is read: --version and --help print these, and the
    // per-user data folder is named after the program.
    QCoreApplication::setApplicationName(QStringLiteral("varnix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VARNIX_VERSION));
    const CommandLine commandLine = parseCommandLine(platform::commandLineArguments(argc, argv));
    if (!commandLine.run) {
        platform::useParentConsole();
        std::fputs(commandLine.output.toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.error.toLocal8Bit().constData(), stderr);
        return commandLine.exitCode;
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(VARNIX_APP_ID));

    return runLauncher(commandLine);
}
