#pragma once

// Shared set-up of the fuzz targets: a scratch folder that lives as long as the process, and a
// check that stops the run (a finding) when a property of the program does not hold.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

inline const QString& scratchFolder() {
    static QTemporaryDir dir;
    static const QString path = dir.path();
    return path;
}

inline QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(bytes);
    return path;
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

} // namespace fuzzsupport
