#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace gamedata {

// Where the emulator keeps a game's save data: its filesys.* settings as it reads them for the
// game (the game's profile over Core/mednafen.cfg), each with the emulator's default.
struct SaveRules {
    QString pathSav = QStringLiteral("sav");
    QString fnameSav = QStringLiteral("%f.%M%x");
    QString pathState = QStringLiteral("mcs");
    QString fnameState = QStringLiteral("%f.%M%X");
    QString pathSavBackup = QStringLiteral("b");
    QString fnameSavBackup = QStringLiteral("%f.%m%z%p.%x");
};

// Reads the rules from the configuration lines, the profile's before the global file's; a
// setting missing from both keeps its default.
SaveRules saveRules(const QStringList& profileLines, const QStringList& globalLines);
// The same from the files (a missing or unreadable one counts as empty): Core/mednafen.cfg and
// the game's profile.
SaveRules readSaveRules(const QString& coreFolder, const QString& profilePath);

enum class SaveKind { BackupMemory, Cartridge, Clock, State, Backup };

struct SaveFile {
    QString path;
    SaveKind kind = SaveKind::BackupMemory;
    int slot = -1; // the state slot (State) or the backup's number (Backup)
    qint64 size = 0;
    QDateTime modified;
};

// The file base the emulator names a game's files after: the listed image's name without its
// last extension (a playlist's own name for a multi-disc game).
QString saveFileBase(const QString& gamePath);

// The game's save files (backup memory, cartridge memory, clock), states and save backups as
// the emulator names them: `coreFolder` is its base folder, relative folders are taken against
// it, and the hash the emulator puts into a name (%m, %M) matches any 32 hex digits (%M also
// nothing). Save files first, then states by slot, then backups newest first.
std::vector<SaveFile> findSaveFiles(const QString& coreFolder, const SaveRules& rules,
                                    const QString& gamePath);

// The folder where the game's save files are (whether or not it exists yet).
QString saveFolder(const QString& coreFolder, const SaveRules& rules, const QString& gamePath);

} // namespace gamedata
