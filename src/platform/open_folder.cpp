#include "platform/open_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

QString joined(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

#ifdef Q_OS_WIN

// The volume's serial number and the file index; a folder opens only with backup semantics,
// and asking for no access right reads nothing.
std::optional<FolderId> folderIdOf(const QString& path) {
    const QString native = QDir::toNativeSeparators(path);
    const HANDLE handle =
        ::CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), 0,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    if (!known || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return FolderId{info.dwVolumeSerialNumber,
                    (static_cast<quint64>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

#else

// Folders held open at once: each holds a descriptor, and the process has only so many.
std::atomic<int> openHandles = 0;
constexpr int MaxOpenHandles = 256;

int openDirectory(int at, const QString& path) {
    int fd;
    do {
        fd = ::openat(at, QFile::encodeName(path).constData(),
                      O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

#endif

} // namespace

OpenFolder::OpenFolder(OpenFolder&& other) noexcept
    : path_(std::move(other.path_)), id_(other.id_), fd_(std::exchange(other.fd_, -1)) {}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        id_ = other.id_;
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

OpenFolder::~OpenFolder() {
    release();
}

#ifdef Q_OS_WIN

std::optional<OpenFolder> OpenFolder::open(const QString& path) {
    if (path.isEmpty() || path.contains(QChar(0)))
        return std::nullopt;
    const std::optional<FolderId> id = folderIdOf(path);
    if (!id)
        return std::nullopt;
    // Paths found below it use "/", as the folder listing gives them.
    return OpenFolder(QDir::fromNativeSeparators(path), *id, -1);
}

std::optional<OpenFolder> OpenFolder::openChild(const QString& name) const {
    return open(joined(path_, name));
}

QList<FolderEntry> OpenFolder::entries() const {
    QList<FolderEntry> result;
    const QFileInfoList infos =
        QDir(path_).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo& info : infos)
        result.append({info.fileName(), info.isDir()});
    return result;
}

void OpenFolder::release() {}

#else

// A folder opened as fd, known by its device and file number; past the bound of open handles its
// children are opened by path.
std::optional<OpenFolder> OpenFolder::adopt(const QString& path, int fd) {
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    ++openHandles;
    OpenFolder folder(path, {static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)},
                      fd);
    if (openHandles > MaxOpenHandles)
        folder.release();
    return folder;
}

std::optional<OpenFolder> OpenFolder::open(const QString& path) {
    if (path.isEmpty() || path.contains(QChar(0)))
        return std::nullopt;
    return adopt(path, openDirectory(AT_FDCWD, path));
}

std::optional<OpenFolder> OpenFolder::openChild(const QString& name) const {
    if (name.isEmpty() || name.contains(QChar(0)) || name.contains(QLatin1Char('/')))
        return std::nullopt;
    if (fd_ < 0)
        return open(joined(path_, name));
    return adopt(joined(path_, name), openDirectory(fd_, name));
}

QList<FolderEntry> OpenFolder::entries() const {
    QList<FolderEntry> result;
    // The listing reads through a descriptor of its own, so this one stays where it is.
    const int listed =
        fd_ >= 0 ? openDirectory(fd_, QStringLiteral(".")) : openDirectory(AT_FDCWD, path_);
    if (listed < 0)
        return result;
    DIR* dir = ::fdopendir(listed);
    if (!dir) {
        ::close(listed);
        return result;
    }
    const int at = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue; // ".", ".." and hidden entries
        bool folder = entry->d_type == DT_DIR;
        bool file = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            if (::fstatat(at, entry->d_name, &info, 0) != 0)
                continue; // a link that leads nowhere
            folder = S_ISDIR(info.st_mode);
            file = S_ISREG(info.st_mode);
        }
        if (folder || file)
            result.append({QFile::decodeName(entry->d_name), folder});
    }
    ::closedir(dir);
    return result;
}

void OpenFolder::release() {
    if (fd_ >= 0) {
        ::close(fd_);
        --openHandles;
    }
    fd_ = -1;
}

#endif

} // namespace platform
