#include "settings/config_store.h"

#include "i18n/messages.h"
#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFileInfo>

#include <algorithm>

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

namespace {

// The index of the first line that begins with the key, or -1.
qsizetype lineOf(const QStringList& lines, const QString& key) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).startsWith(key, Qt::CaseSensitive))
            return i;
    }
    return -1;
}

bool isExistingFile(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

} // namespace

QString findSetting(const QStringList& lines, const QString& key) {
    const qsizetype at = lineOf(lines, key);
    return at < 0 ? QString() : lines.at(at).mid(key.size());
}

void ConfigView::addLayer(const QStringList& lines, const QString& file) {
    layers_.push_back({lines, file});
}

std::optional<FoundSetting> ConfigView::find(const QString& key, const QString& legacyKey) const {
    for (const Layer& layer : layers_) {
        QString usedKey = key;
        qsizetype at = lineOf(layer.lines, key);
        if (at < 0 && !legacyKey.isEmpty()) {
            usedKey = legacyKey;
            at = lineOf(layer.lines, legacyKey);
        }
        if (at >= 0)
            return FoundSetting{layer.lines.at(at).mid(usedKey.size()), layer.file,
                                static_cast<int>(at) + 1};
    }
    return std::nullopt;
}

ConfigView loadGameConfig(const QString& profilePath, const QString& globalConfigPath) {
    ConfigView view;
    const bool hasProfile = isExistingFile(profilePath);
    if (hasProfile)
        view.addLayer(parseConfigLines(platform::readFileBytes(profilePath)), profilePath);
    // Without a profile the global file must be there ("File not found" otherwise); with one,
    // a missing global file leaves the profile's lines alone.
    if (!hasProfile || isExistingFile(globalConfigPath))
        view.addLayer(parseConfigLines(platform::readFileBytes(globalConfigPath)),
                      globalConfigPath);
    return view;
}

bool holdsUnstorableCharacter(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 26 ||
               c.unicode() == 0;
    });
}

void writeGameProfile(const QString& profilePath, const QStringList& lines) {
    for (const QString& line : lines) {
        if (holdsUnstorableCharacter(line))
            throw platform::IoError(i18n::message(i18n::Extra::UnsafeSetting) + QLatin1Char('\n') +
                                    line.section(QLatin1Char(' '), 0, 0) + QLatin1Char('\n') +
                                    platform::displayPath(profilePath));
    }
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
