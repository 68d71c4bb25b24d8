#include "platform/instance_lock.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace platform {

bool lockFileHeld(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
#ifdef Q_OS_WIN
    const std::wstring name = path.toStdWString();
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION; // opened without sharing: held
    OVERLAPPED whole{};
    const bool free = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                                 MAXDWORD, MAXDWORD, &whole);
    if (free)
        UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
    const DWORD error = free ? 0 : GetLastError();
    CloseHandle(file);
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING;
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    // Closing the descriptor drops a lock taken here.
    ::close(fd);
    return held;
#endif
}

} // namespace platform
