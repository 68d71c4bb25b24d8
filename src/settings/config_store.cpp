#include "settings/config_store.h"

#include "i18n/messages.h"
#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>

namespace settings {

QStringList parseConfigLines(const QByteArray& bytes) {
    QStringList lines;
    QByteArray line;
    bool open = false; // characters (or a dropped CR) were read since the last terminator
    // The emulator's files are UTF-8 on every platform; it skips a byte order mark.
    const qsizetype begin = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    for (qsizetype i = begin; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == 26)
            break;
        if (c == '\n') {
            lines.append(QString::fromUtf8(line));
            line.clear();
            open = false;
            continue;
        }
        open = true;
        if (c == '\r') {
            // CR LF ends the line; a lone CR is dropped and the line goes on.
            if (i + 1 < bytes.size() && bytes.at(i + 1) == '\n') {
                lines.append(QString::fromUtf8(line));
                line.clear();
                open = false;
                ++i;
            }
            continue;
        }
        line.append(c);
    }
    if (open)
        lines.append(QString::fromUtf8(line));
    return lines;
}

bool isExistingFile(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

QStringList loadConfigLines(const QString& profilePath, const QString& globalConfigPath) {
    const QString path = isExistingFile(profilePath) ? profilePath : globalConfigPath;
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

} // namespace

QString findSetting(const QStringList& lines, const QString& key) {
    const qsizetype at = lineOf(lines, key);
    return at < 0 ? QString() : lines.at(at).mid(key.size());
}

ParsedConfig::ParsedConfig(QStringList lines) : lines_(std::move(lines)) {
    firstLine_.reserve(lines_.size());
    // From the last line to the first, so the first line with a key is the one kept.
    for (qsizetype i = lines_.size() - 1; i >= 0; --i) {
        const QString& line = lines_.at(i);
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        if (blank >= 0)
            firstLine_.insert(QStringView(line).left(blank + 1), i);
    }
}

qsizetype ParsedConfig::lineOf(const QString& key) const {
    // A line begins with "name " exactly when its text up to its first blank is "name ".
    if (!key.isEmpty() && key.indexOf(QLatin1Char(' ')) == key.size() - 1)
        return firstLine_.value(QStringView(key), -1);
    return settings::lineOf(lines_, key);
}

std::shared_ptr<const ParsedConfig> readParsedConfig(const QString& path) {
    return std::make_shared<const ParsedConfig>(parseConfigLines(platform::readFileBytes(path)));
}

std::shared_ptr<const ParsedConfig> ConfigFileCache::read(const QString& path) {
    const platform::FileStamp stamp = platform::fileStamp(path);
    if (config_ && trusted_ && stamp.isFile && path == path_ && stamp == stamp_)
        return config_;
    config_.reset();
    path_.clear();
    // The moment the read begins: a file modified this close to it could be changed again
    // right after, within the same tick of the file system's clock (two seconds on FAT), without
    // its size or times showing it, so it is read again next time.
    const qint64 now = QDateTime::currentMSecsSinceEpoch() * 1000000;
    ++reads_;
    std::shared_ptr<const ParsedConfig> config = readParsedConfig(path);
    if (stamp.isFile) {
        constexpr qint64 clockTickNs = 3'000'000'000;
        path_ = path;
        stamp_ = stamp;
        trusted_ = stamp.modifiedNs < now - clockTickNs;
        config_ = config;
    }
    return config;
}

void ConfigView::addLayer(const QStringList& lines, const QString& file) {
    layers_.push_back({std::make_shared<const ParsedConfig>(lines), file});
}

void ConfigView::addLayer(std::shared_ptr<const ParsedConfig> config, const QString& file) {
    layers_.push_back({std::move(config), file});
}

std::optional<FoundSetting> ConfigView::find(const QString& key, const QString& legacyKey) const {
    for (const Layer& layer : layers_) {
        QString usedKey = key;
        qsizetype at = layer.config->lineOf(key);
        if (at < 0 && !legacyKey.isEmpty()) {
            usedKey = legacyKey;
            at = layer.config->lineOf(legacyKey);
        }
        if (at >= 0)
            return FoundSetting{layer.config->lines().at(at).mid(usedKey.size()), layer.file,
                                static_cast<int>(at) + 1};
    }
    return std::nullopt;
}

ConfigView loadGameConfig(const QString& profilePath, const QString& globalConfigPath,
                          ConfigFileCache* globalCache) {
    ConfigView view;
    const bool hasProfile = isExistingFile(profilePath);
    if (hasProfile)
        view.addLayer(readParsedConfig(profilePath), profilePath);
    // Without a profile the global file must be there ("File not found" otherwise); with one,
    // a missing global file leaves the profile's lines alone.
    if (!hasProfile || isExistingFile(globalConfigPath))
        view.addLayer(globalCache ? globalCache->read(globalConfigPath)
                                  : readParsedConfig(globalConfigPath),
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
    // A write-protected profile is refused, as a plain write would refuse it. The emulator reads
    // it as UTF-8 and refuses other bytes in a path.
    platform::writeUtf8LinesAtomic(profilePath, lines);
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
