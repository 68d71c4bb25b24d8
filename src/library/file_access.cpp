#include "library/file_access.h"

#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace library::detail {

namespace {

[[noreturn]] void fail(const QString& path, const QString& detail) {
    throw platform::IoError(platform::fileErrorText(path, detail));
}

thread_local OpenedFiles* noting = nullptr;

} // namespace

OpenedFiles::OpenedFiles() : outer_(noting) {
    noting = this;
}

OpenedFiles::~OpenedFiles() {
    noting = outer_;
}

OpenedFiles* OpenedFiles::current() {
    return noting;
}

void OpenedFiles::note(const QString& path, const platform::FileStamp& stamp, bool read) {
    for (NotedFile& file : files_) {
        if (file.path == path) {
            file.read = file.read || read;
            return;
        }
    }
    files_.push_back({path, stamp, read});
}

ReadOnlyFile::~ReadOnlyFile() {
    close();
}

bool ReadOnlyFile::open(const QString& path, platform::FileCaseIndex* index,
                        const QString& likelyName) {
    close();
    // A name with a zero byte names no file (the system would open the part before it).
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    if (!likelyName.isEmpty() && likelyName != path && openExact(likelyName))
        return true;
    // Once a batch has listed the folder, its listing gives the real name at once: a CCD
    // file's image, asked as "<name>.IMG", is mostly "<name>.img" on disk, and the failed open
    // of the exact name would cost as much as the whole read.
    if (index) {
        const QString listed = index->listedName(path);
        if (!listed.isEmpty() && openExact(listed))
            return true;
    }
    if (openExact(path))
        return true;
    if (!index) {
        const QString other = platform::resolveFileCase(path);
        return other != path && openExact(other);
    }
    QString other = index->find(path);
    if (other.isEmpty())
        return false;
    if (openExact(other))
        return true;
    index->forget(path); // the name the listing gave has gone: renamed since
    other = index->find(path);
    return !other.isEmpty() && openExact(other);
}

#ifdef Q_OS_WIN

bool ReadOnlyFile::openExact(const QString& path) {
    // Only a file of the disk is read (a pipe would keep the read waiting); a status query
    // tells, as no pipe or device lives among a folder's files.
    if (!platform::isRegularFile(path))
        return false;
    // Taken before the file is opened: a file put in its place meanwhile differs from it.
    OpenedFiles* opened = OpenedFiles::current();
    const platform::FileStamp stamp = opened ? platform::fileStamp(path) : platform::FileStamp{};
    auto* file = new QFile(path);
    // QFile opens for reading with shared read and write access.
    if (file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        file_ = file;
        path_ = path;
        if (opened)
            opened->note(path, stamp, true);
        return true;
    }
    const QString error = file->errorString();
    delete file;
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return false;
    fail(path, error);
}

qint64 ReadOnlyFile::readAt(qint64 position, char* buffer, qint64 size) {
    auto* file = static_cast<QFile*>(file_);
    if (!file || size <= 0 || position >= file->size() || !file->seek(position))
        return 0;
    const qint64 got = file->read(buffer, size);
    if (got < 0)
        fail(path_, file->errorString());
    return got;
}

void ReadOnlyFile::close() {
    delete static_cast<QFile*>(file_);
    file_ = nullptr;
}

bool isFileExact(const QString& path) {
    return QFileInfo(path).isFile();
}

bool fileExistsOrFail(const QString& path, platform::FileCaseIndex* index) {
    return index ? index->fileExists(path) : platform::fileExists(path);
}

#else

// Plain system calls: a game list of thousands of entries opens two files per game, and the
// generic file classes add several status queries to every open and read.
bool ReadOnlyFile::openExact(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG)
            return false;
        fail(path, qt_error_string(error));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false; // a folder is no file, and a pipe or device is no disc image
    }
    fd_ = fd;
    path_ = path;
    if (OpenedFiles* opened = OpenedFiles::current())
        opened->note(path, platform::fileStampOf(info), true);
    return true;
}

qint64 ReadOnlyFile::readAt(qint64 position, char* buffer, qint64 size) {
    if (fd_ < 0 || size <= 0)
        return 0;
    // One call: a regular file gives fewer bytes than asked only at its end.
    ssize_t got;
    do {
        got = ::pread(fd_, buffer, static_cast<size_t>(size), static_cast<off_t>(position));
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        fail(path_, qt_error_string(errno));
    return got;
}

void ReadOnlyFile::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool isFileExact(const QString& path) {
    struct stat info {};
    return !path.contains(QChar(0)) && ::stat(QFile::encodeName(path).constData(), &info) == 0 &&
           S_ISREG(info.st_mode);
}

bool fileExistsOrFail(const QString& path, platform::FileCaseIndex* index) {
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        // A file only looked for is noted too: its identity at any time before the reader
        // ends will do, as nothing of it is read.
        OpenedFiles* opened = OpenedFiles::current();
        if (opened && S_ISREG(info.st_mode))
            opened->note(path, platform::fileStampOf(info), false);
        return S_ISREG(info.st_mode);
    }
    const int error = errno;
    if (error != ENOENT && error != ENOTDIR && error != ENAMETOOLONG)
        fail(path, qt_error_string(error));
    return index ? index->fileExists(path) : platform::fileExists(path);
}

#endif

} // namespace library::detail
