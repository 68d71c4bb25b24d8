#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <dirent.h>
#endif

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

namespace {

// The folder a path's file is looked up in.
QString lookupFolder(const QString& path) {
    const QString folder = folderPart(QDir::fromNativeSeparators(path));
    return folder.isEmpty() ? QStringLiteral("./") : folder;
}

} // namespace

QString FileCaseIndex::find(const QString& path) {
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return QString();
#else
    const QString name = fileNamePart(path);
    if (name.isEmpty() || !listFolders_)
        return QString();
    const QString folder = folderPart(QDir::fromNativeSeparators(path));
    const QString listed = folder.isEmpty() ? QStringLiteral("./") : folder;
    auto at = folders_.find(listed);
    if (at == folders_.end()) {
        QHash<QString, Name> names;
        ++listings_;
        if (DIR* dir = ::opendir(QFile::encodeName(listed).constData())) {
            while (const dirent* entry = ::readdir(dir)) {
                if (entry->d_type == DT_DIR)
                    continue; // "." and "..", and folders, are never the file asked for
                const QString real = QFile::decodeName(entry->d_name);
                // Among names that differ only in letter case the first in sorted order wins,
                // whatever order the folder lists them in.
                Name& kept = names[real.toCaseFolded()];
                if (!kept.real.isEmpty())
                    kept.several = true;
                if (kept.real.isEmpty() || real < kept.real)
                    kept.real = real;
            }
            ::closedir(dir);
        }
        at = folders_.insert(listed, names);
    }
    const auto real = at->constFind(name.toCaseFolded());
    return real == at->constEnd() ? QString() : folder + real->real;
#endif
}

QString FileCaseIndex::listedName(const QString& path) const {
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return QString();
#else
    if (folders_.isEmpty())
        return QString();
    const QString name = fileNamePart(path);
    if (name.isEmpty())
        return QString();
    const QString folder = folderPart(QDir::fromNativeSeparators(path));
    const auto at = folders_.constFind(folder.isEmpty() ? QStringLiteral("./") : folder);
    if (at == folders_.constEnd())
        return QString();
    const auto real = at->constFind(name.toCaseFolded());
    if (real == at->constEnd() || real->several)
        return QString();
    return folder + real->real;
#endif
}

bool FileCaseIndex::fileExists(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo exact(path);
    if (exact.exists())
        return !exact.isDir();
    const QString other = find(path);
    if (other.isEmpty())
        return false;
    const QFileInfo info(other);
    if (info.exists())
        return !info.isDir();
    forget(path); // renamed since the folder was listed
    const QString again = find(path);
    return !again.isEmpty() && QFileInfo(again).isFile();
}

void FileCaseIndex::forget(const QString& path) {
    folders_.remove(lookupFolder(path));
}

QString displayPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace platform
