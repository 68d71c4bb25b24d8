#include "launch/launch_logic.h"

#include "platform/paths.h"

#include <QDir>

namespace launch {

QString biosFileToTest(const QString& applicationFolder, const QString& fieldText,
                       const QString& defaultFileName) {
    const bool barePath = !fieldText.contains(QLatin1Char('\\')) &&
                          !fieldText.contains(QLatin1Char('/')) &&
                          !fieldText.contains(QLatin1Char(':'));
    if (barePath)
        return platform::joinPath(QDir(applicationFolder).absolutePath(),
                                  QStringLiteral("/Core/firmware/") + defaultFileName);
    QString path = fieldText;
#ifndef Q_OS_WIN
    // Paths typed on Windows ("firmware\sega_101.bin") still name the same file here.
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    return QDir::cleanPath(QDir(applicationFolder).absoluteFilePath(path));
}

bool biosFilesPresent(const QString& applicationFolder, const QString& japaneseBiosField,
                      const QString& usaEuropeBiosField) {
    return missingBiosFiles(applicationFolder, japaneseBiosField, usaEuropeBiosField).isEmpty();
}

QStringList missingBiosFiles(const QString& applicationFolder, const QString& japaneseBiosField,
                             const QString& usaEuropeBiosField) {
    QStringList missing;
    for (const QString& file :
         {biosFileToTest(applicationFolder, japaneseBiosField, QStringLiteral("sega_101.bin")),
          biosFileToTest(applicationFolder, usaEuropeBiosField, QStringLiteral("mpr-17933.bin"))}) {
        if (!platform::fileExists(file))
            missing.append(QDir::toNativeSeparators(file));
    }
    return missing;
}

bool isPlaylist(const QString& gamePath) {
    return platform::upperExtension(gamePath) == QLatin1String(".M3U");
}

QString playlistName(const QString& gamePath) {
    const QString name = platform::fileNamePart(gamePath);
    return name.left(qMax<qsizetype>(0, name.size() - 4));
}

int discCount(const QStringList& playlistLines) {
    int count = 0;
    for (const QString& line : playlistLines) {
        if (!line.isEmpty())
            ++count;
    }
    return count;
}

QString imagePathForLaunch(const QString& applicationFolder, const QString& gamePath) {
    if (QDir::isAbsolutePath(gamePath))
        return gamePath;
    return QDir(QDir(applicationFolder).absolutePath()).absoluteFilePath(gamePath);
}

QString commandLineText(const QString& program, int medium, const QString& gamePath) {
    return QDir::toNativeSeparators(program) + QStringLiteral(" -force_module ss -which_medium ") +
           QString::number(medium) + QStringLiteral(" \"") + gamePath + QLatin1Char('"');
}

QString coreFolder(const QString& applicationFolder) {
    return platform::joinPath(QDir(applicationFolder).absolutePath(), QStringLiteral("/Core"));
}

QString emulatorProgram(const QString& applicationFolder) {
    return platform::joinPath(coreFolder(applicationFolder),
                              QLatin1Char('/') + platform::emulatorFileName());
}

QStringList emulatorArguments(int medium, const QString& gamePath) {
    // Only discs whose Saturn header was checked are started, so the Saturn module is named: the
    // emulator's own detection knows only the security codes of discs it has seen (homebrew,
    // patched and test discs would be refused).
    return {QStringLiteral("-force_module"), QStringLiteral("ss"), QStringLiteral("-which_medium"),
            QString::number(medium), gamePath};
}

} // namespace launch
