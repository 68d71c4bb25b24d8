#include "platform/user_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

bool hasPerUserFolder() {
#ifdef Q_OS_WIN
    return false;
#else
    return true;
#endif
}

QString perUserFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QStringList emulatorFallbackFolders() {
    return {QStringLiteral("/usr/games"), QStringLiteral("/usr/local/games")};
}

QString findInstalledEmulator() {
    const QString name = QStringLiteral("mednafen");
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(name, emulatorFallbackFolders());
    return found.isEmpty() ? QString() : QFileInfo(found).absoluteFilePath();
}

QString installedLanguageFolder() {
    const QString relative = QStringLiteral("varnix/lang");
    QStringList candidates{QCoreApplication::applicationDirPath() + QStringLiteral("/../share/") +
                           relative};
    candidates += QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, relative,
                                            QStandardPaths::LocateDirectory);
    for (const QString& folder : candidates) {
        if (QFileInfo(folder + QStringLiteral("/Lang.dat")).isFile())
            return QDir::cleanPath(folder);
    }
    return {};
}

bool linkTo(const QString& target, const QString& link) {
    return QFile::link(target, link);
}

} // namespace platform
