#include "platform/process.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#ifdef Q_OS_WIN
#include <cstdio>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#endif

namespace platform {

QProcessEnvironment emulatorEnvironment(const QString& coreFolder) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Without MEDNAFEN_HOME the Windows emulator takes %HOME%\.mednafen where a HOME variable
    // exists (developer tools set one) and ignores every file of the application folder.
    env.insert(QStringLiteral("MEDNAFEN_HOME"), QDir::toNativeSeparators(coreFolder));
#ifdef Q_OS_WIN
    // The launcher reports failures itself: the emulator's own modal error box would hold it
    // (and the hidden start that writes mednafen.cfg) until someone clicks it.
    env.insert(QStringLiteral("MEDNAFEN_NOPOPUPS"), QStringLiteral("1"));
#endif
    return env;
}

void setUpQuietProcess(QProcess& process, const QString& program, const QStringList& arguments,
                       const QString& workingFolder, const QProcessEnvironment& environment) {
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) {
        args->flags |= 0x08000000; // CREATE_NO_WINDOW
    });
#endif
}

void captureOutput(QProcess& process) {
    // An empty file name ends the redirection to the null device.
    process.setStandardOutputFile(QString());
    process.setStandardErrorFile(QString());
    process.setProcessChannelMode(QProcess::MergedChannels);
}

QString startFailureReason(const QProcess& process) {
    // The toolkit reports e.g. "execve: Permission denied"; the part after the last ": " is the
    // system's own text.
    const QString text = process.errorString();
    const qsizetype colon = text.lastIndexOf(QStringLiteral(": "));
    return colon >= 0 ? text.mid(colon + 2) : text;
}

qint64 startDetachedWithPid(const QString& program, const QStringList& arguments,
                            const QString& workingFolder, const QProcessEnvironment& environment) {
    QProcess process;
    setUpQuietProcess(process, program, arguments, workingFolder, environment);
    qint64 pid = 0;
    return process.startDetached(&pid) ? (pid > 0 ? pid : 1) : 0;
}

bool startDetached(const QString& program, const QStringList& arguments,
                   const QString& workingFolder, const QProcessEnvironment& environment) {
    return startDetachedWithPid(program, arguments, workingFolder, environment) != 0;
}

bool processRunning(qint64 pid) {
    if (pid <= 0)
        return false;
#ifdef Q_OS_WIN
    HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!handle)
        return false;
    const bool running = WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
    CloseHandle(handle);
    return running;
#else
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#endif
}

bool restartSelf(const QString& applicationFolder) {
    return startDetached(QCoreApplication::applicationFilePath(), {}, applicationFolder,
                         QProcessEnvironment::systemEnvironment());
}

QStringList commandLineArguments(int argc, char** argv) {
    QStringList arguments;
#ifdef Q_OS_WIN
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments << QString::fromWCharArray(wide[i]);
        LocalFree(wide);
        return arguments;
    }
#endif
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void useParentConsole() {
#ifdef Q_OS_WIN
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        FILE* stream = nullptr;
        freopen_s(&stream, "CONOUT$", "w", stdout);
        freopen_s(&stream, "CONOUT$", "w", stderr);
    }
#endif
}

} // namespace platform
