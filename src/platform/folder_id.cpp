#include "platform/folder_id.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace platform {

std::optional<FolderId> folderId(const QString& path) {
    if (path.isEmpty() || path.contains(QChar(0)))
        return std::nullopt;
#ifdef Q_OS_WIN
    // The volume's serial number and the file index; a folder opens only with backup semantics,
    // and asking for no access right reads nothing.
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
#else
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    return FolderId{static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)};
#endif
}

} // namespace platform
