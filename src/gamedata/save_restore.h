#pragma once

#include "gamedata/save_files.h"

#include <QString>
#include <vector>

namespace gamedata {

// What putting a backup back did: the save file it became, and where the save file in use before
// went (empty when there was none). `error` holds the system's text when it failed; nothing was
// changed then.
struct Restored {
    QString current;
    QString keptAs;
    QString error;
};

// Puts the backup (one of `files`, as findSaveFiles gives them) back as the game's save file of
// its kind: the save file in use is first moved beside the backups under the next free number,
// then the backup is copied into its place. Nothing is deleted or overwritten.
Restored restoreBackup(const std::vector<SaveFile>& files, const SaveFile& backup,
                       const QString& saveFolder);

} // namespace gamedata
