#include "platform/held_file.h"

#include "platform/io_error.h"
#include "platform/text_file.h"

#include <QFile>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

#ifdef Q_OS_LINUX
// File systems on a local disk (or in memory), whose files a mapping may read at any time.
bool onLocalDisk(int fd) {
    struct statfs info {};
    if (::fstatfs(fd, &info) != 0)
        return false;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0xEF53UL:     // ext2, ext3, ext4
    case 0x58465342UL: // XFS
    case 0x9123683EUL: // Btrfs
    case 0x01021994UL: // tmpfs
    case 0xF2F52010UL: // F2FS
        return true;
    default:
        return false;
    }
}
#endif

} // namespace

std::shared_ptr<const HeldFile> HeldFile::open(const QString& path, qint64 maxBytes,
                                               bool fetchAll) {
    std::shared_ptr<HeldFile> held(new HeldFile);
#ifdef Q_OS_LINUX
    QFile file(path);
    openRegularFile(file);
    const qint64 size = file.size();
    if (maxBytes >= 0 && size > maxBytes)
        throw IoError(fileErrorText(path, QStringLiteral("File too large")));
    if (size > 0 && onLocalDisk(file.handle())) {
        // Not in memory yet (a cold start): the whole file is asked of the disk at once, and its
        // pages come as they are read (reading them all in at the mapping was no faster).
        if (fetchAll)
            ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_WILLNEED);
        void* map =
            ::mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_PRIVATE, file.handle(), 0);
        if (map != MAP_FAILED) {
            // Kept open to ask for parts of the file later.
            held->descriptor_ = ::dup(file.handle());
            held->map_ = map;
            held->data_ = static_cast<const char*>(map);
            held->size_ = static_cast<qsizetype>(size);
            return held;
        }
    }
#endif
    Q_UNUSED(fetchAll); // read whole
    held->copy_ = readFileBytes(path, maxBytes);
    held->data_ = held->copy_.constData();
    held->size_ = held->copy_.size();
    return held;
}

HeldFile::~HeldFile() {
#ifdef Q_OS_LINUX
    if (map_)
        ::munmap(map_, static_cast<size_t>(size_));
    if (descriptor_ >= 0)
        ::close(descriptor_);
#endif
}

void HeldFile::fetch(qsizetype from, qsizetype size) const {
#ifdef Q_OS_LINUX
    if (descriptor_ >= 0 && size > 0)
        ::posix_fadvise(descriptor_, static_cast<off_t>(from), static_cast<off_t>(size),
                        POSIX_FADV_WILLNEED);
#else
    Q_UNUSED(from);
    Q_UNUSED(size);
#endif
}

void HeldFile::release(qsizetype from, qsizetype size) const {
#ifdef Q_OS_LINUX
    if (!map_)
        return;
    const qsizetype page = static_cast<qsizetype>(::sysconf(_SC_PAGESIZE));
    const qsizetype first = std::max<qsizetype>(0, (from + page - 1) / page * page);
    const qsizetype end = std::min(from + size, size_) / page * page;
    if (end > first)
        ::madvise(static_cast<char*>(map_) + first, static_cast<size_t>(end - first),
                  MADV_DONTNEED);
#else
    Q_UNUSED(from);
    Q_UNUSED(size);
#endif
}

} // namespace platform
