#pragma once

#include <QHash>
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

// Letter-case lookups for one batch of files (a start-up, an added batch): each folder is
// listed at most once, on its first lookup, and its names are kept by their case-folded form,
// so a batch of thousands of games in one folder costs one listing instead of one per game.
// A name the listing gave that has gone since (the file was renamed) is looked up once more in
// a fresh listing. A folder that cannot be listed has no names. Callers try the exact name
// first; on a file system that ignores letter case nothing is listed.
class FileCaseIndex {
public:
    // An index that lists no folder (`listFolders` false) finds exact names only: for reading
    // ahead, where listing a large folder once more per reader would cost more than it saves.
    explicit FileCaseIndex(bool listFolders = true) : listFolders_(listFolders) {}
    // The file in the path's folder whose name equals the path's file name ignoring letter
    // case; empty when there is none.
    QString find(const QString& path);
    // The file the path's folder listing already names for the path's file name ignoring
    // letter case, without listing anything: empty when the folder was not listed in this
    // batch, when the listing has no such name, or when several names differ from it only in
    // letter case (the exact name decides then). The listing may be out of date: callers that
    // fail to open the name fall back to the exact name.
    QString listedName(const QString& path) const;
    // Whether a file (not a folder) exists under the exact name or ignoring letter case.
    bool fileExists(const QString& path);
    // Drops the path's folder listing, so the next lookup lists it again.
    void forget(const QString& path);
    // How many folder listings the index made (for tests).
    int listings() const { return listings_; }

private:
    struct Name {
        QString real;         // the first, in sorted order, of the names with this folded form
        bool several = false; // more than one name has this folded form
    };
    QHash<QString, QHash<QString, Name>> folders_; // folder -> case-folded name -> name
    int listings_ = 0;
    bool listFolders_ = true;
};

// Shows a path with the platform's native separators.
QString displayPath(const QString& path);

} // namespace platform
