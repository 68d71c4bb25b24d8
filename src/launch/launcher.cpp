#include "launch/launcher.h"

#include "controls/dialogs.h"
#include "i18n/messages.h"
#include "launch/cd_window.h"
#include "launch/launch_logic.h"
#include "launch/output_tail.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/text_file.h"

#include <QDir>
#include <QEventLoop>
#include <QProcess>

namespace launch {

namespace {
// Lines of the emulator's output shown when it fails.
constexpr int MaxReportLines = 8;
} // namespace

GameLauncher::GameLauncher(const QString& applicationFolder, TForm3* cdWindow, QWidget* mainWindow,
                           QObject* parent)
    : QObject(parent), folder_(applicationFolder), cdWindow_(cdWindow), mainWindow_(mainWindow) {}

GameLauncher::~GameLauncher() {
    // A window made here without a main window to own it is this launcher's to delete.
    if (ownedCdWindow_ && !ownedCdWindow_->parent())
        delete ownedCdWindow_;
}

TForm3* GameLauncher::discWindow() {
    if (cdWindow_)
        return cdWindow_;
    if (!ownedCdWindow_)
        ownedCdWindow_ = new TForm3(mainWindow_);
    return ownedCdWindow_;
}

void GameLauncher::stop() {
    // A polite end: the emulator's windows are asked to close (a termination signal elsewhere),
    // so it saves and writes its configuration as when the user closes it.
    if (process_)
        process_->terminate();
}

void GameLauncher::launch(const QString& listedPath, const QString& japaneseBiosField,
                          const QString& usaEuropeBiosField) {
    // Nothing selected leaves nothing to start; a second launch while the emulator runs (the
    // window is hidden then, but the event loop still runs) is ignored.
    if (listedPath.isEmpty() || running_)
        return;
    const QString gamePath = imagePathForLaunch(folder_, listedPath);

    int medium = 0;

    // A missing BIOS file is named with where it belongs; the user may still start the game
    // (the emulator then says what it lacks) or cancel.
    const QStringList missing = missingBiosFiles(folder_, japaneseBiosField, usaEuropeBiosField);
    if (!missing.isEmpty()) {
        const QString firmware = QDir::toNativeSeparators(
            QDir(folder_).absoluteFilePath(QStringLiteral("Core/firmware")));
        const QString text = i18n::message(10) + QChar(13) + missing.join(QChar(13)) + QChar(13) +
                             QChar(13) + i18n::message(i18n::Extra::BiosWhere).arg(firmware);
        if (!controls::dialogs().confirm(mainWindow_, text,
                                         {i18n::message(i18n::Extra::ContinueButton),
                                          i18n::message(i18n::Extra::CancelButton)}))
            return;
    }

    if (isPlaylist(gamePath) && platform::fileExists(gamePath)) {
        const QStringList lines = platform::readPlaylistLines(platform::resolveFileCase(gamePath));
        medium = discWindow()->chooseDisc(discCount(lines), playlistName(gamePath));
        // Closed without "Launch", or a playlist without discs: nothing is started.
        if (medium < 0)
            return;
    }

    const QString core = coreFolder(folder_);
    const QString program = emulatorProgram(folder_);
    QProcess process;
    platform::setUpQuietProcess(process, program, emulatorArguments(medium, gamePath), core,
                                platform::emulatorEnvironment(core));
    // The emulator's standard output and error are read as they come, so it never stalls on a
    // full pipe; only their last part is kept, to explain a failure.
    platform::captureOutput(process);
    OutputTail tail;
    connect(&process, &QProcess::readyReadStandardOutput, this,
            [&] { tail.append(process.readAllStandardOutput()); });

    // Without a console the Windows emulator writes its output to files in Core instead.
    const OutputFiles outputFiles(core);

    QEventLoop wait;
    connect(&process, &QProcess::finished, &wait, &QEventLoop::quit);

    process.start();
    if (!process.waitForStarted(-1)) {
        // The command line names the program file of this platform, and the system says why it
        // could not be started.
        controls::dialogs().error(mainWindow_, i18n::message(7) + QLatin1Char(' ') +
                                                   commandLineText(program, medium, gamePath) +
                                                   QLatin1Char('!') + QChar(13) +
                                                   platform::startFailureReason(process));
        return;
    }

    running_ = true;
    process_ = &process;
    emit gameStarted(listedPath);
    emit emulatorStarted();
    // The window keeps painting while the emulator runs: the local loop handles events until
    // the process ends, however it ends (a crash also reports finished).
    if (process.state() != QProcess::NotRunning)
        wait.exec();
    tail.append(process.readAllStandardOutput());
    process_ = nullptr;
    running_ = false;
    emit emulatorFinished();
    emit gameEnded(listedPath,
                   process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0);

    // The window is back: a refused disc or a crash is explained, not just a blink.
    QStringList lines = tail.lastLines(MaxReportLines);
    const bool failed = process.exitStatus() == QProcess::CrashExit || process.exitCode() != 0;
    if (failed) {
        lines += outputFiles.lastLines(MaxReportLines);
        lines = lines.mid(qMax<qsizetype>(0, lines.size() - MaxReportLines));
    }
    const QString report =
        failureReport(process.exitStatus() == QProcess::CrashExit, process.exitCode(), lines);
    if (!report.isEmpty())
        controls::dialogs().error(mainWindow_, report);
}

} // namespace launch
