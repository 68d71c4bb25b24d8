// A stand-in for the emulator in tests: records its arguments, working folder and MEDNAFEN_HOME
// to the file named by VARNIX_STUB_LOG (one item per line: "arg=...", "cwd=...", "home=...",
// "nopopups=..." for MEDNAFEN_NOPOPUPS),
// sleeps VARNIX_STUB_SLEEP_MS milliseconds, optionally
// writes a mednafen.cfg into its working folder (VARNIX_STUB_WRITE_CFG=1), then exits with
// VARNIX_STUB_EXIT, or crashes when VARNIX_STUB_CRASH=1. Before that it writes
// VARNIX_STUB_FILL_KB kilobytes of filler lines to its standard output, then the lines of
// VARNIX_STUB_SAY ("|" separates them) to its standard error. VARNIX_STUB_OUTPUT_FILE names a
// file whose bytes it writes to stdout.txt in its working folder, as the Windows emulator
// writes its output without a console.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QByteArray logPath = qgetenv("VARNIX_STUB_LOG");
    if (!logPath.isEmpty()) {
        QFile log(QString::fromLocal8Bit(logPath));
        if (log.open(QIODevice::Append)) {
            QByteArray text = "start\n";
            // The arguments as the system passed them (on Windows in UTF-16, whatever the code
            // page), written in the local 8-bit encoding the tests read the log in.
            const QStringList arguments = QCoreApplication::arguments();
            for (qsizetype i = 1; i < arguments.size(); ++i)
                text += "arg=" + arguments[i].toLocal8Bit() + "\n";
            text += "cwd=" + QDir::currentPath().toLocal8Bit() + "\n";
            text += "home=" + qgetenv("MEDNAFEN_HOME") + "\n";
            text += "nopopups=" + qgetenv("MEDNAFEN_NOPOPUPS") + "\n";
            log.write(text);
        }
    }
    const int fillKb = qEnvironmentVariableIntValue("VARNIX_STUB_FILL_KB");
    for (int i = 0; i < fillKb * 16; ++i)
        std::fputs("filler line of sixty-four bytes ...............................\n", stdout);
    std::fflush(stdout);
    const QByteArray say = qgetenv("VARNIX_STUB_SAY");
    const QString outputFrom = qEnvironmentVariable("VARNIX_STUB_OUTPUT_FILE");
    if (!outputFrom.isEmpty()) {
        QFile from(outputFrom);
        QFile out(QDir::current().filePath(QStringLiteral("stdout.txt")));
        if (from.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly))
            out.write(from.readAll());
    }
    if (!say.isEmpty()) {
        for (const QByteArray& line : say.split('|'))
            std::fprintf(stderr, "%s\n", line.constData());
    }
    const int sleepMs = qEnvironmentVariableIntValue("VARNIX_STUB_SLEEP_MS");
    if (sleepMs > 0)
        QThread::msleep(static_cast<unsigned long>(sleepMs));
    if (qgetenv("VARNIX_STUB_WRITE_CFG") == "1") {
        QFile cfg(QDir::current().filePath(QStringLiteral("mednafen.cfg")));
        if (cfg.open(QIODevice::WriteOnly))
            cfg.write(";stub configuration\n");
    }
    if (qgetenv("VARNIX_STUB_CRASH") == "1") {
#ifdef Q_OS_WIN
        // Ends as a crashed Windows program does: with an exception status (access violation).
        TerminateProcess(GetCurrentProcess(), 0xC0000005);
#endif
        std::abort();
    }
    return qEnvironmentVariableIntValue("VARNIX_STUB_EXIT");
}
