#pragma once

#include "platform/file_stamp.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <optional>
#include <vector>

namespace settings {

// The emulator configuration file held in memory: an ordered list of lines without their
// terminators. A setting key is a setting's name followed by exactly one blank ("ss.cart ").

// Splits a configuration file's bytes (UTF-8, as the emulator reads and writes them) into lines:
// a line ends at LF or CR LF, a lone CR is dropped, character 26 ends the file, a final
// terminator adds no empty line, a leading byte order mark is skipped.
QStringList parseConfigLines(const QByteArray& bytes);

// Whether something other than a folder is at the path (an empty path: no).
bool isExistingFile(const QString& path);

// Reads the file at profilePath when it exists, else the global configuration. Throws
// platform::IoError ("File not found" and the path when neither exists).
QStringList loadConfigLines(const QString& profilePath, const QString& globalConfigPath);

// The value after the first line that begins with the key (case-sensitive); empty when none.
QString findSetting(const QStringList& lines, const QString& key);

// A setting's value with the file and the line (from 1) it was read from.
struct FoundSetting {
    QString value;
    QString file;
    int line = 0;
};

// A configuration file's lines with, for every setting key, the index of the first line that
// begins with it, so looking a setting up costs no scan of the file (the global configuration
// has tens of thousands of lines). It never changes once built and is shared, not copied.
class ParsedConfig {
public:
    explicit ParsedConfig(QStringList lines);
    ParsedConfig(const ParsedConfig&) = delete;
    ParsedConfig& operator=(const ParsedConfig&) = delete;

    const QStringList& lines() const { return lines_; }
    // The index of the first line that begins with the key (case-sensitive), or -1. A key that
    // is not a name followed by one blank is looked for line by line, with the same answer.
    qsizetype lineOf(const QString& key) const;

private:
    const QStringList lines_;
    // Each line's text up to and including its first blank -> the first line with that text.
    // The views point into lines_.
    QHash<QStringView, qsizetype> firstLine_;
};

// Reads and parses a configuration file. Throws platform::IoError.
std::shared_ptr<const ParsedConfig> readParsedConfig(const QString& path);

// Keeps one parsed configuration file (the global one) between reads: it is read again only
// when its stamp (size, times, file number) has changed, or when it was changed so shortly
// before it was read that a change right after could keep the same times.
class ConfigFileCache {
public:
    // The parsed file at path. Throws platform::IoError as readParsedConfig does; then, and
    // when the file has gone, nothing is kept.
    std::shared_ptr<const ParsedConfig> read(const QString& path);
    // How often the file was read from disk (for tests).
    int reads() const { return reads_; }

private:
    QString path_;
    platform::FileStamp stamp_;
    bool trusted_ = false;
    std::shared_ptr<const ParsedConfig> config_;
    int reads_ = 0;
};

// A configuration as the emulator reads it for a game: layers of lines in order of precedence
// (the game's profile, then the global configuration). A setting takes its value from the first
// layer that has a line for it, so a profile overrides the global file line by line.
class ConfigView {
public:
    ConfigView() = default;
    // One layer of lines, read from the file (empty when they were not read from one).
    explicit ConfigView(const QStringList& lines, const QString& file = QString()) {
        addLayer(lines, file);
    }
    // Adds a layer below the ones added before.
    void addLayer(const QStringList& lines, const QString& file);
    void addLayer(std::shared_ptr<const ParsedConfig> config, const QString& file);
    // The first layer's line for the key; within a layer the legacy key is looked up when the
    // key is missing (older profiles). nullopt when no layer has the setting.
    std::optional<FoundSetting> find(const QString& key,
                                     const QString& legacyKey = QString()) const;

private:
    struct Layer {
        std::shared_ptr<const ParsedConfig> config;
        QString file;
    };
    std::vector<Layer> layers_;
};

// The configuration the emulator starts a game with: the profile (when it exists) over the
// global configuration (when it exists). Throws platform::IoError when neither exists or an
// existing one cannot be read. With a cache the global configuration is taken from it.
ConfigView loadGameConfig(const QString& profilePath, const QString& globalConfigPath,
                          ConfigFileCache* globalCache = nullptr);

// Whether a text holds a character no profile line can carry: a line break or a character 26
// would split or end the line when the emulator reads it, and it refuses a zero byte.
bool holdsUnstorableCharacter(const QString& text);

// Writes the lines as a game profile with CR LF, replacing the file atomically. The folder is
// not created. A line holding an unstorable character is refused. Throws platform::IoError.
void writeGameProfile(const QString& profilePath, const QStringList& lines);

// application folder + "/Core/mednafen.cfg".
QString globalConfigPath(const QString& applicationFolder);
// application folder + "/Core/pgconfig/" + name + ".ss.cfg", where the name is the game name,
// or, for a playlist game, the playlist's file name without its extension (the file the
// emulator reads when it is started on the playlist).
QString gameProfilePath(const QString& applicationFolder, const QString& gamePath,
                        const QString& gameName);

} // namespace settings
