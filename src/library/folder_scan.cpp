#include "library/folder_scan.h"

#include "library/game_list.h"
#include "platform/io_error.h"
#include "platform/open_folder.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QSet>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace library {

namespace {

// The entries in the order the list sorts its rows by path: each name is converted to its
// sort key once, not once per comparison.
QList<platform::FolderEntry> sortedEntries(const QList<platform::FolderEntry>& entries) {
    std::vector<std::pair<QByteArray, qsizetype>> keyed;
    keyed.reserve(static_cast<size_t>(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        keyed.emplace_back(sortKey(entries[i].name), i);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return compareSortKeys(a.first, b.first) < 0;
    });
    QList<platform::FolderEntry> sorted;
    sorted.reserve(entries.size());
    for (const auto& entry : keyed)
        sorted.append(entries[entry.second]);
    return sorted;
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

// Searches folder by folder, depth first, without recursion: a tree may be deeper than the
// call stack allows.
class Scan {
public:
    explicit Scan(const std::function<bool()>& cancelled) : cancelled_(cancelled) {}

    QStringList run(platform::OpenFolder root) {
        visit(std::move(root));
        while (!pending_.empty() && !stopped_) {
            Pending& top = pending_.back();
            if (top.next >= top.subfolders.size()) {
                pending_.pop_back();
                continue;
            }
            std::optional<platform::OpenFolder> child =
                top.dir.openChild(top.subfolders.at(top.next));
            // After its last subfolder the folder is needed no more: a chain of folders holds
            // only one open.
            if (++top.next == top.subfolders.size())
                pending_.pop_back();
            if (child)
                visit(std::move(*child));
        }
        return found_;
    }

private:
    struct Pending {
        platform::OpenFolder dir;
        QStringList subfolders; // in the order they are searched
        qsizetype next = 0;
    };

    // Takes the folder's images and queues its subfolders. Folders are told apart by their ids,
    // not by resolved paths, and each is opened from its parent: resolving or opening a path
    // looks at every folder on it, which made a deep tree cost its depth squared, or worse.
    void visit(platform::OpenFolder dir) {
        if (visited_.contains(dir.id()))
            return;
        visited_.insert(dir.id());
        const QList<platform::FolderEntry> entries = sortedEntries(dir.entries());
        const QString prefix =
            dir.path().endsWith(QLatin1Char('/')) ? dir.path() : dir.path() + QLatin1Char('/');
        QStringList images;
        QSet<QString> namedByPlaylist;
        for (const platform::FolderEntry& entry : std::as_const(entries)) {
            if (!entry.isFolder && hasImageExtension(entry.name)) {
                images.append(entry.name);
                if (platform::upperExtension(entry.name) == QLatin1String(".M3U"))
                    addNamedByPlaylist(prefix + entry.name, namedByPlaylist);
            }
        }
        for (const QString& image : std::as_const(images)) {
            const bool cue = platform::upperExtension(image) == QLatin1String(".CUE");
            if (!cue || !namedByPlaylist.contains(image.toLower()))
                found_.append(prefix + image);
        }
        if (cancelled_ && cancelled_()) {
            stopped_ = true;
            return;
        }
        QStringList subfolders;
        for (const platform::FolderEntry& entry : std::as_const(entries)) {
            if (entry.isFolder)
                subfolders.append(entry.name);
        }
        if (!subfolders.isEmpty())
            pending_.push_back({std::move(dir), subfolders});
    }

    const std::function<bool()>& cancelled_;
    QSet<platform::FolderId> visited_;
    std::vector<Pending> pending_;
    QStringList found_;
    bool stopped_ = false;
};

} // namespace

bool hasImageExtension(const QString& path) {
    const QString extension = platform::upperExtension(path);
    return extension == QLatin1String(".CUE") || extension == QLatin1String(".CCD") ||
           extension == QLatin1String(".M3U");
}

QStringList scanImageFolder(const QString& folder, const std::function<bool()>& cancelled) {
    std::optional<platform::OpenFolder> root = platform::OpenFolder::open(folder);
    return root ? Scan(cancelled).run(std::move(*root)) : QStringList();
}

} // namespace library
