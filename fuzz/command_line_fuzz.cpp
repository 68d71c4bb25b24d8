// The command line, one argument per zero-separated part of the input: it is always answered
// (run, or output and an exit status), a mistake says so on standard error, and a folder it
// takes is an absolute path to a folder.

#include "app/command_line.h"
#include "fuzz_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QCoreApplication::setApplicationName(QStringLiteral("varnix"));
    QStringList arguments{QStringLiteral("varnix")};
    for (const QByteArray& part :
         QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split('\0'))
        arguments << QString::fromLocal8Bit(part);
    // Relative folders are taken against the scratch folder, which holds a folder and a file.
    QDir::setCurrent(fuzzsupport::scratchFolder());
    QDir().mkpath(QStringLiteral("folder"));
    fuzzsupport::writeFile(QStringLiteral("file"), "x");

    const CommandLine result = parseCommandLine(arguments);
    if (result.run) {
        FUZZ_CHECK(result.exitCode == 0 && result.output.isEmpty() && result.error.isEmpty());
        FUZZ_CHECK(result.folder.isEmpty() ||
                   (QDir::isAbsolutePath(result.folder) && QFileInfo(result.folder).isDir()));
    } else {
        FUZZ_CHECK(result.exitCode == 0 || result.exitCode == 2);
        FUZZ_CHECK((result.exitCode == 2) == !result.error.isEmpty());
        FUZZ_CHECK((result.exitCode == 0) == !result.output.isEmpty());
    }
    return 0;
}
