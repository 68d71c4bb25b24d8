#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Whether the launcher can run installed, with a per-user data folder as its application
// folder. Windows keeps only the portable way: the application folder is the current folder.
bool hasPerUserFolder();

// The per-user data folder of the installed launcher (e.g. ~/.local/share/varnix).
QString perUserFolder();

// The emulator's executable: the first one on the PATH, then one in the folders that hold games
// outside the PATH of many sessions (Debian installs the emulator as /usr/games/mednafen).
// Empty when there is none.
QString findInstalledEmulator();

// Folders searched after the PATH by findInstalledEmulator.
QStringList emulatorFallbackFolders();

// The installed translation's folder (<prefix>/share/varnix/lang, the prefix taken from the
// executable's own folder first, then the system's data folders). Empty when none holds a
// language file.
QString installedLanguageFolder();

// Makes `link` a symbolic link to `target`; false when the file system refused.
bool linkTo(const QString& target, const QString& link);

} // namespace platform
