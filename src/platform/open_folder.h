#pragma once

#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace platform {

// What names a folder on its disk whatever path leads to it (links included): the device and
// the folder's number on it. Two paths reach the same folder exactly when their ids are equal.
struct FolderId {
    quint64 device = 0;
    quint64 number = 0;

    bool operator==(const FolderId&) const = default;
};

inline size_t qHash(const FolderId& id, size_t seed = 0) noexcept {
    return qHashMulti(seed, id.device, id.number);
}

// One entry of a folder listing: a regular file or a folder, after links.
struct FolderEntry {
    QString name;
    bool isFolder = false; // otherwise a regular file
};

// A folder held open for a search of the tree below it. A subfolder is opened from its parent,
// so that the system does not look up every folder of its path again: a tree 1,000 folders
// deep then costs as much per folder as a flat one. Where the system offers no such opening (or
// too many folders are held open already) folders are opened by path, with the same results.
class OpenFolder {
public:
    // The folder at path (after links); nothing when no folder can be opened there.
    static std::optional<OpenFolder> open(const QString& path);
    // Its subfolder (after links); nothing when there is none that can be opened.
    std::optional<OpenFolder> openChild(const QString& name) const;

    OpenFolder(OpenFolder&& other) noexcept;
    OpenFolder& operator=(OpenFolder&& other) noexcept;
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    ~OpenFolder();

    // The path it was opened under: the path given, joined with each subfolder's name.
    const QString& path() const { return path_; }
    const FolderId& id() const { return id_; }
    // Its regular files and folders, after links, in the order the system lists them; hidden
    // entries (a name beginning with "."), links that lead nowhere, pipes, devices and sockets
    // are left out.
    QList<FolderEntry> entries() const;
    // Gives the system's handle back early; openChild then opens by path.
    void release();

private:
#ifndef Q_OS_WIN
    static std::optional<OpenFolder> adopt(const QString& path, int fd);
#endif
    OpenFolder(QString path, FolderId id, int handle)
        : path_(std::move(path)), id_(id), fd_(handle) {}

    QString path_;
    FolderId id_;
    int fd_ = -1; // the folder's descriptor where the system has them, else -1
};

} // namespace platform
