#include "gamedata/save_files.h"

#include "platform/io_error.h"
#include "platform/text_file.h"
#include "settings/config_store.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace gamedata {

namespace {

// A configuration file is read only this far: the global one has some thousand lines.
constexpr qint64 MaxConfigBytes = 16 << 20;
// A search never reports more files than this, nor looks into more folders.
constexpr int MaxFiles = 2000;
constexpr int MaxFolders = 200;

enum class Use { Sav, State, Backup };

// One part of a file name format between folder separators: a pattern, and whether it names
// exactly one entry (no part of it varies).
struct Part {
    QString pattern;
    QString literal;
    bool fixed = true;
};

QStringList readLines(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {};
    try {
        return settings::parseConfigLines(platform::readFileBytes(path, MaxConfigBytes));
    } catch (const platform::IoError&) {
        return {};
    }
}

QString isoFolder(const QString& path) {
    return QDir::fromNativeSeparators(QFileInfo(path).absolutePath());
}

// Splits the format into parts at folder separators ("/", and "%z", the emulator's separator),
// each code replaced by its text or by a pattern that matches what the emulator puts there.
std::vector<Part> expandFormat(const QString& format, Use use, const QString& coreFolder,
                               const QString& gamePath) {
    std::vector<Part> parts(1);
    const auto addText = [&parts](const QString& text) {
        // Text of a folder (%b, %d) may bring separators of its own.
        const QStringList pieces = QDir::fromNativeSeparators(text).split(QLatin1Char('/'));
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (i > 0)
                parts.emplace_back();
            parts.back().pattern += QRegularExpression::escape(pieces[i]);
            parts.back().literal += pieces[i];
        }
    };
    const auto addPattern = [&parts](const QString& pattern) {
        parts.back().pattern += pattern;
        parts.back().fixed = false;
    };
    const QString hex = QStringLiteral("[0-9a-fA-F]{32}");
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('/') || c == QLatin1Char('\\')) {
            parts.emplace_back();
            continue;
        }
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            addText(QString(c));
            continue;
        }
        const char code = format[++i].toLatin1();
        switch (code) {
        case 'z':
            parts.emplace_back();
            break;
        case 'b':
            addText(QDir(coreFolder).absolutePath());
            break;
        case 'd':
            addText(isoFolder(gamePath));
            break;
        case 'f':
        case 'F':
            addText(saveFileBase(gamePath));
            break;
        case 'm':
            addPattern(hex);
            break;
        case 'M':
            addPattern(QStringLiteral("(?:") + hex + QStringLiteral("\\.)?"));
            break;
        case 'e': {
            const QString suffix = QFileInfo(gamePath).suffix();
            addText(suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
            break;
        }
        case 's':
            addText(QStringLiteral("ss"));
            break;
        case 'p':
            addPattern(QStringLiteral("(?<slot>[0-9]+)"));
            break;
        case 'x':
            if (use == Use::State)
                addText(QStringLiteral("mcs"));
            else
                addPattern(QStringLiteral("(?<ext>bkr|bcr|smpc)"));
            break;
        case 'X':
            if (use == Use::State)
                addPattern(QStringLiteral("mc(?<slot>[0-9])"));
            else
                addPattern(QStringLiteral("(?<ext>bk|bc|smp)(?<slot>[0-9]+)"));
            break;
        default:
            addText(QString(QLatin1Char(code)));
            break;
        }
    }
    return parts;
}

// The folder a relative format is put in: the setting's folder, itself taken against the
// emulator's base folder when relative.
QString settingFolder(const QString& coreFolder, const QString& path) {
    const QString folder = QDir::fromNativeSeparators(path);
    if (QDir::isAbsolutePath(folder))
        return folder;
    return QDir(coreFolder).absoluteFilePath(folder);
}

bool formatIsAsIs(const QString& format) {
    return format.startsWith(QLatin1String("%b")) || format.startsWith(QLatin1String("%d"));
}

// Where a format's fixed leading parts lead, and the parts after them.
QString fixedStart(const QString& coreFolder, const QString& folderSetting, const QString& format,
                   const std::vector<Part>& parts, size_t& firstVarying) {
    QString start;
    firstVarying = 0;
    // An absolute format ("/saves/%f.%x") or one that begins with a folder code stands alone.
    const bool absolute =
        formatIsAsIs(format) ||
        (!parts.empty() && parts[0].fixed &&
         (parts[0].literal.isEmpty() || QDir::isAbsolutePath(parts[0].literal + '/')));
    if (!absolute)
        start = settingFolder(coreFolder, folderSetting);
    for (; firstVarying + 1 < parts.size() && parts[firstVarying].fixed; ++firstVarying) {
        if (firstVarying == 0 && absolute)
            start = parts[0].literal.isEmpty() ? QStringLiteral("/") : parts[0].literal + '/';
        else
            start = QDir(start).filePath(parts[firstVarying].literal);
    }
    return start;
}

void collect(const QString& folder, const std::vector<Part>& parts, size_t at, Use use,
             std::vector<SaveFile>& found, int& folders) {
    if (++folders > MaxFolders || static_cast<int>(found.size()) >= MaxFiles)
        return;
    const bool last = at + 1 == parts.size();
#ifdef Q_OS_WIN
    const auto options = QRegularExpression::CaseInsensitiveOption;
#else
    const auto options = QRegularExpression::NoPatternOption;
#endif
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(parts[at].pattern),
                                     options);
    const QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList(last ? QDir::Files : QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QRegularExpressionMatch match = pattern.match(entry.fileName());
        if (!match.hasMatch())
            continue;
        if (!last) {
            collect(entry.absoluteFilePath(), parts, at + 1, use, found, folders);
            continue;
        }
        SaveFile file;
        file.path = entry.absoluteFilePath();
        file.size = entry.size();
        file.modified = entry.lastModified();
        const QString slot = match.captured(QStringLiteral("slot"));
        file.slot = slot.isEmpty() ? -1 : slot.left(6).toInt();
        if (use == Use::Backup) {
            file.kind = SaveKind::Backup;
        } else if (use == Use::State) {
            file.kind = SaveKind::State;
        } else {
            const QString name = entry.fileName().toLower();
            if (name.endsWith(QLatin1String(".bcr")) || name.endsWith(QLatin1String("bc") + slot))
                file.kind = SaveKind::Cartridge;
            else if (name.endsWith(QLatin1String(".smpc")) ||
                     name.endsWith(QLatin1String("smp") + slot))
                file.kind = SaveKind::Clock;
            else
                file.kind = SaveKind::BackupMemory;
        }
        found.push_back(file);
        if (static_cast<int>(found.size()) >= MaxFiles)
            return;
    }
}

void findWith(const QString& coreFolder, const QString& folderSetting, const QString& format,
              Use use, const QString& gamePath, std::vector<SaveFile>& found) {
    const std::vector<Part> parts = expandFormat(format, use, coreFolder, gamePath);
    size_t first = 0;
    const QString start = fixedStart(coreFolder, folderSetting, format, parts, first);
    int folders = 0;
    collect(start, parts, first, use, found, folders);
}

} // namespace

SaveRules saveRules(const QStringList& profileLines, const QStringList& globalLines) {
    SaveRules rules;
    const auto take = [&](const char* name, QString& value) {
        const QString key = QString::fromLatin1(name) + QLatin1Char(' ');
        for (const QStringList* lines : {&profileLines, &globalLines}) {
            for (const QString& line : *lines) {
                if (line.startsWith(key)) {
                    value = platform::trimLowCodes(line.mid(key.size()));
                    return;
                }
            }
        }
    };
    take("filesys.path_sav", rules.pathSav);
    take("filesys.fname_sav", rules.fnameSav);
    take("filesys.path_state", rules.pathState);
    take("filesys.fname_state", rules.fnameState);
    take("filesys.path_savbackup", rules.pathSavBackup);
    take("filesys.fname_savbackup", rules.fnameSavBackup);
    return rules;
}

SaveRules readSaveRules(const QString& coreFolder, const QString& profilePath) {
    return saveRules(readLines(profilePath),
                     readLines(QDir(coreFolder).filePath(QStringLiteral("mednafen.cfg"))));
}

QString saveFileBase(const QString& gamePath) {
    return QFileInfo(gamePath).completeBaseName();
}

std::vector<SaveFile> findSaveFiles(const QString& coreFolder, const SaveRules& rules,
                                    const QString& gamePath) {
    std::vector<SaveFile> saves, states, backups;
    findWith(coreFolder, rules.pathSav, rules.fnameSav, Use::Sav, gamePath, saves);
    findWith(coreFolder, rules.pathState, rules.fnameState, Use::State, gamePath, states);
    findWith(coreFolder, rules.pathSavBackup, rules.fnameSavBackup, Use::Backup, gamePath, backups);
    std::stable_sort(saves.begin(), saves.end(), [](const SaveFile& a, const SaveFile& b) {
        return static_cast<int>(a.kind) < static_cast<int>(b.kind);
    });
    std::stable_sort(states.begin(), states.end(),
                     [](const SaveFile& a, const SaveFile& b) { return a.slot < b.slot; });
    std::stable_sort(backups.begin(), backups.end(),
                     [](const SaveFile& a, const SaveFile& b) { return a.modified > b.modified; });
    // A format that puts states beside the save files must not list a file twice.
    std::vector<SaveFile> all;
    QStringList seen;
    for (auto* list : {&saves, &states, &backups}) {
        for (SaveFile& file : *list) {
            if (seen.contains(file.path))
                continue;
            seen.append(file.path);
            all.push_back(std::move(file));
        }
    }
    return all;
}

QString saveFolder(const QString& coreFolder, const SaveRules& rules, const QString& gamePath) {
    const std::vector<Part> parts = expandFormat(rules.fnameSav, Use::Sav, coreFolder, gamePath);
    size_t first = 0;
    return fixedStart(coreFolder, rules.pathSav, rules.fnameSav, parts, first);
}

} // namespace gamedata
