#pragma once

#include "gamedata/save_files.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace gamedata {

struct Rename {
    QString from;
    QString to;
};

// What renaming a game's save data to another file base does: the renames, and the files left
// alone because their new name is taken.
struct RenamePlan {
    std::vector<Rename> renames;
    QStringList clashes; // the names that are taken
    int files = 0;       // save files, states and backups the renames carry
};

// Plans giving the files the new base in place of the old one: in the file's name, or for a
// backup kept in a folder named after the game ("b/<base>.<hash>/0.bkr") in that folder's name,
// which moves all its backups at once. A new name that exists is never overwritten.
RenamePlan planSaveRenames(const std::vector<SaveFile>& files, const QString& oldBase,
                           const QString& newBase);

// Plans renaming the save data of a game whose listed file changed from `oldGamePath` to
// `newGamePath` (List.ini entries, relative ones taken against the application folder), found
// by the rules in force for it (`profilePath`, its profile before the change, may be empty).
RenamePlan planGameSaveRenames(const QString& applicationFolder, const QString& oldGamePath,
                               const QString& profilePath, const QString& newGamePath);

// Runs the renames all or none: when one fails, those done are undone. Returns the system's
// error text, or nothing.
QString runRenames(const std::vector<Rename>& renames);

// The renames that undo these.
std::vector<Rename> reversedRenames(const std::vector<Rename>& renames);

} // namespace gamedata
