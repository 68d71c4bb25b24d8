#include "platform/file_stamp.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <QDateTime>
#include <QFileInfo>
#else
#include <sys/stat.h>
#endif

namespace platform {

FileStamp fileStamp(const QString& path) {
    FileStamp stamp;
    if (path.isEmpty())
        return stamp;
#ifdef Q_OS_WIN
    // Windows has no file number through Qt; a replacement shows in its creation time.
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return stamp;
    stamp.isFile = true;
    stamp.size = info.size();
    stamp.modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
    stamp.changedNs = info.birthTime().toMSecsSinceEpoch() * 1000000;
#else
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
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
#endif
    return stamp;
}

} // namespace platform
