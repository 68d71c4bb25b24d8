#include "settings/config_store.h"

#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFileInfo>

namespace settings {

QStringList parseConfigLines(const QByteArray& bytes) {
    QStringList lines;
    QByteArray line;
    bool open = false; // characters (or a dropped CR) were read since the last terminator
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == 26)
            break;
        if (c == '\n') {
            lines.append(platform::fromLocal8Bit(line));
            line.clear();
            open = false;
            continue;
        }
        open = true;
        if (c == '\r') {
            // CR LF ends the line; a lone CR is dropped and the line goes on.
            if (i + 1 < bytes.size() && bytes.at(i + 1) == '\n') {
                lines.append(platform::fromLocal8Bit(line));
                line.clear();
                open = false;
                ++i;
            }
            continue;
        }
        line.append(c);
    }
    if (open)
        lines.append(platform::fromLocal8Bit(line));
    return lines;
}

QStringList loadConfigLines(const QString& profilePath, const QString& globalConfigPath) {
    const QFileInfo profile(profilePath);
    const QString path = !profilePath.isEmpty() && profile.exists() && !profile.isDir()
                             ? profilePath
                             : globalConfigPath;
    return parseConfigLines(platform::readFileBytes(path));
}

QString findSetting(const QStringList& lines, const QString& key) {
    for (const QString& line : lines) {
        if (line.startsWith(key, Qt::CaseSensitive))
            return line.mid(key.size());
    }
    return QString();
}

void writeGameProfile(const QString& profilePath, const QStringList& lines) {
    // A write-protected profile is refused, as a plain write would refuse it.
    platform::writeTextLinesAtomic(profilePath, lines);
}

QString globalConfigPath(const QString& applicationFolder) {
    return platform::joinPath(applicationFolder, QStringLiteral("/Core/mednafen.cfg"));
}

QString gameProfilePath(const QString& applicationFolder, const QString& gamePath,
                        const QString& gameName) {
    QString name = gameName;
    // Started on a playlist, the emulator names the profile after the playlist file.
    if (platform::upperExtension(gamePath) == QLatin1String(".M3U")) {
        name = platform::fileNamePart(gamePath);
        name.truncate(name.lastIndexOf(QLatin1Char('.')));
    }
    return platform::joinPath(applicationFolder,
                              QStringLiteral("/Core/pgconfig/") + name + QStringLiteral(".ss.cfg"));
}

} // namespace settings
