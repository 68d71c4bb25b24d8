#include "platform/process.h"

#include <QCoreApplication>
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
#ifndef Q_OS_WIN
    env.insert(QStringLiteral("MEDNAFEN_HOME"), coreFolder);
#else
    Q_UNUSED(coreFolder);
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
