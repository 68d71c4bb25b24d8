#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace platform {

// The environment the emulator is started with: its base folder is given by MEDNAFEN_HOME on
// every platform, so it reads <Core>/mednafen.cfg, pgconfig and firmware whatever else the
// system holds; on Windows MEDNAFEN_NOPOPUPS=1 keeps its own error boxes away (it writes its
// output to <Core>/stdout.txt and stderr.txt instead).
QProcessEnvironment emulatorEnvironment(const QString& coreFolder);

// Sets up a process that runs without a console window and with its standard channels going
// nowhere (a pipe nobody reads would fill up and stall the program).
void setUpQuietProcess(QProcess& process, const QString& program, const QStringList& arguments,
                       const QString& workingFolder, const QProcessEnvironment& environment);

// Lets a process set up quietly hand its standard output and error, merged, to the caller
// (read them as they come, or the program stalls on a full pipe).
void captureOutput(QProcess& process);

// The system's reason why a process failed to start ("Permission denied"), without the
// toolkit's prefix.
QString startFailureReason(const QProcess& process);

// Starts a program detached, without a console window, in the given working folder. Returns
// whether it started.
bool startDetached(const QString& program, const QStringList& arguments,
                   const QString& workingFolder, const QProcessEnvironment& environment);

// Starts the running executable again, by its absolute path, with the application folder as
// working folder. Returns whether it started.
bool restartSelf(const QString& applicationFolder);

} // namespace platform

namespace platform {

// Starts a program detached and reports its process id (0 when it did not start).
qint64 startDetachedWithPid(const QString& program, const QStringList& arguments,
                            const QString& workingFolder, const QProcessEnvironment& environment);

// Whether the process with this id still runs.
bool processRunning(qint64 pid);

// A GUI program has no console of its own on Windows: before it prints the answer to --help or
// a mistake on the command line, it writes to the console it was started from, if any.
// Elsewhere its standard channels are already the terminal's.
void useParentConsole();

// The program's command line as text, before the application object exists. Windows passes
// main() its arguments in the ANSI code page, which loses names outside it (a folder named in
// Japanese on a western system): there they are taken from the system's own UTF-16 copy.
QStringList commandLineArguments(int argc, char** argv);

} // namespace platform
