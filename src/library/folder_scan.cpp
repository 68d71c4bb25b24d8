#include "library/folder_scan.h"

#include "library/game_list.h"
#include "platform/folder_id.h"
#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <optional>

namespace library {

namespace {

bool listedBefore(const QFileInfo& a, const QFileInfo& b) {
    GameRecord x, y;
    x.path = a.fileName();
    y.path = b.fileName();
    return compareRows(x, y, 0) < 0;
}

// The file names a playlist's lines name; the launcher looks each up in the playlist's own
// folder, so only the name counts. Letter case is ignored, as the lookup does when needed.
void addNamedByPlaylist(const QString& playlist, QSet<QString>& names) {
    QStringList lines;
    try {
        lines = platform::readPlaylistLines(playlist);
    } catch (const platform::IoError&) {
        return; // adding the playlist reports it (one past the bound names no disc)
    }
    for (QString line : lines) {
        line = platform::trimLowCodes(line);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        line.replace(QLatin1Char('\\'), QLatin1Char('/'));
        names.insert(platform::fileNamePart(line).toLower());
    }
}

struct Scan {
    const std::function<bool()>& cancelled;
    QSet<platform::FolderId> visited;
    QStringList found;
    bool stopped = false;

    void folder(const QFileInfo& info) {
        // Folders are told apart by their ids, not by resolved paths: resolving a path looks at
        // every folder on it, which made a deep tree cost its depth squared in lookups.
        const std::optional<platform::FolderId> id = platform::folderId(info.filePath());
        if (stopped || !id || visited.contains(*id))
            return;
        visited.insert(*id);
        QFileInfoList entries =
            QDir(info.filePath())
                .entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
        std::stable_sort(entries.begin(), entries.end(), listedBefore);
        QFileInfoList images;
        QSet<QString> namedByPlaylist;
        for (const QFileInfo& entry : entries) {
            if (entry.isFile() && hasImageExtension(entry.fileName())) {
                images.append(entry);
                if (platform::upperExtension(entry.fileName()) == QLatin1String(".M3U"))
                    addNamedByPlaylist(entry.filePath(), namedByPlaylist);
            }
        }
        for (const QFileInfo& image : images) {
            const bool cue = platform::upperExtension(image.fileName()) == QLatin1String(".CUE");
            if (!cue || !namedByPlaylist.contains(image.fileName().toLower()))
                found.append(image.filePath());
        }
        if (cancelled && cancelled()) {
            stopped = true;
            return;
        }
        for (const QFileInfo& entry : entries) {
            if (entry.isDir())
                folder(entry);
        }
    }
};

} // namespace

bool hasImageExtension(const QString& path) {
    const QString extension = platform::upperExtension(path);
    return extension == QLatin1String(".CUE") || extension == QLatin1String(".CCD") ||
           extension == QLatin1String(".M3U");
}

QStringList scanImageFolder(const QString& folder, const std::function<bool()>& cancelled) {
    Scan scan{cancelled, {}, {}};
    scan.folder(QFileInfo(folder));
    return scan.found;
}

} // namespace library
