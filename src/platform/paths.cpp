#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QString joinPath(const QString& folder, const QString& relative) {
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString base = QDir::fromNativeSeparators(folder);
    if (base.endsWith(QLatin1Char('/')) && rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    return base + rel;
}

QString emulatorFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("mednafen.exe");
#else
    return QStringLiteral("mednafen");
#endif
}

QString launcherFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("Varnix.exe");
#else
    return QStringLiteral("varnix");
#endif
}

bool isFolderSeparator(QChar c) {
#ifdef Q_OS_WIN
    return c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':');
#else
    return c == QLatin1Char('/');
#endif
}

static qsizetype lastSeparator(const QString& path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (isFolderSeparator(path.at(i)))
            return i;
    }
    return -1;
}

QString folderPart(const QString& path) {
    return path.left(lastSeparator(path) + 1);
}

QString fileNamePart(const QString& path) {
    return path.mid(lastSeparator(path) + 1);
}

QString upperExtension(const QString& path) {
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toUpper();
}

QString resolveFileCase(const QString& path) {
    if (path.isEmpty())
        return path;
    const QFileInfo exact(path);
    if (exact.exists())
        return path;
#ifdef Q_OS_WIN
    return path;
#else
    const QString folder = folderPart(QDir::fromNativeSeparators(path));
    const QString name = fileNamePart(path);
    if (name.isEmpty())
        return path;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    if (!dir.exists())
        return path;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder + entry;
    }
    return path;
#endif
}

bool fileExists(const QString& path) {
    // A name with a zero byte names no file (the system would look up the part before it).
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    const QFileInfo info(resolveFileCase(path));
    return info.exists() && !info.isDir();
}

QString displayPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace platform
