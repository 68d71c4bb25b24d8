#include "platform/file_stamp.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <QDir>
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace platform {

FileStamp fileStamp(const QString& path) {
    FileStamp stamp;
    if (path.isEmpty())
        return stamp;
#ifdef Q_OS_WIN
    // The volume and file index tell a replacement by rename; the change time (which no program
    // can set, unlike the write time) tells a rewrite in place.
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const HANDLE file = CreateFileW(native.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return stamp;
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    const bool known = GetFileInformationByHandle(file, &info) &&
                       GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic);
    CloseHandle(file);
    if (!known || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return stamp;
    // File times count 100 ns steps; only differences matter here, not the epoch.
    stamp.isFile = true;
    stamp.size = static_cast<qint64>((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    stamp.modifiedNs = basic.LastWriteTime.QuadPart * 100;
    stamp.changedNs = basic.ChangeTime.QuadPart * 100;
    stamp.device = info.dwVolumeSerialNumber;
    stamp.fileNumber = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return stamp;
#else
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return stamp;
    return fileStampOf(status);
#endif
}

#ifndef Q_OS_WIN
FileStamp fileStampOf(const struct ::stat& status) {
    FileStamp stamp;
    if (!S_ISREG(status.st_mode))
        return stamp;
    stamp.isFile = true;
    stamp.size = static_cast<qint64>(status.st_size);
#ifdef Q_OS_DARWIN
    const timespec& modified = status.st_mtimespec;
    const timespec& changed = status.st_ctimespec;
#else
    const timespec& modified = status.st_mtim;
    const timespec& changed = status.st_ctim;
#endif
    stamp.modifiedNs = static_cast<qint64>(modified.tv_sec) * 1000000000 + modified.tv_nsec;
    stamp.changedNs = static_cast<qint64>(changed.tv_sec) * 1000000000 + changed.tv_nsec;
    stamp.device = static_cast<quint64>(status.st_dev);
    stamp.fileNumber = static_cast<quint64>(status.st_ino);
    return stamp;
}
#endif

} // namespace platform
