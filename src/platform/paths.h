#pragma once

#include <QString>

namespace platform {

// Joins a folder and a relative path that begins with a separator ("\Core\mednafen.cfg" or
// "/Core/mednafen.cfg"); the result always uses "/" internally.
QString joinPath(const QString& folder, const QString& relative);

// The emulator's executable file name on this platform ("mednafen.exe" on Windows).
QString emulatorFileName();

// The launcher's own executable file name on this platform ("Varnix.exe" on Windows).
QString launcherFileName();

// Whether a character ends a folder name in a path of this platform: "\", "/" and the ":" of a
// drive on Windows, only "/" elsewhere, where "\" and ":" are ordinary file name characters.
bool isFolderSeparator(QChar c);

// Folder part of a path: everything up to and including its last folder separator.
QString folderPart(const QString& path);
// File-name part: everything after the folder part.
QString fileNamePart(const QString& path);
// Extension of the file-name part from its last "." (dot included), upper-cased; empty when
// the file name has no dot.
QString upperExtension(const QString& path);

// Whether a file (not a folder) exists. On a case-sensitive file system a file that is missing
// under its exact name is looked up ignoring letter case in its folder.
bool fileExists(const QString& path);
// The path under which the file exists: the path itself, or the case-insensitive match in its
// folder; the path unchanged when neither exists.
QString resolveFileCase(const QString& path);

// Shows a path with the platform's native separators.
QString displayPath(const QString& path);

} // namespace platform
