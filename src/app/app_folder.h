#pragma once

#include <QString>

// Where the launcher works. Portable: a folder given with --folder, or the current folder when
// its "Core" holds the emulator (a program or a link to one) or the emulator's mednafen.cfg, is
// the application folder. Installed: otherwise, where the platform has one, the per-user data
// folder is; elsewhere (Windows) the current folder is, whatever it holds. A --folder without
// "Core" is prepared like the per-user folder where the platform has one.
struct FolderChoice {
    QString folder;
    bool perUser = false; // the per-user data folder
    bool prepare = false; // to be prepared (prepareUserFolder) before use
};

FolderChoice chooseApplicationFolder(const QString& currentFolder, const QString& folderOption,
                                     const QString& perUserFolder);

// Prepares the per-user application folder on every start: creates Core, Core/pgconfig and
// Core/firmware, links Core/mednafen to `emulator` when it is missing or a link to an emulator
// that is gone, and copies the translation from `languageFolder` into Res when there is no Res
// yet. What the user put there is kept. Empty `emulator` / `languageFolder`: nothing to link /
// copy. Returns false when the folders could not be created.
bool prepareUserFolder(const QString& folder, const QString& emulator,
                       const QString& languageFolder);
