#pragma once

#include "platform/file_stamp.h"

#include <QString>
#include <QtGlobal>

#include <vector>

namespace platform {
class FileCaseIndex;
}

namespace library::detail {

// A file a reader opened (`read`) or only looked for, with its identity as it was then.
struct NotedFile {
    QString path;
    platform::FileStamp stamp;
    bool read = false;
};

// While one lives, every file ReadOnlyFile opens on its thread is noted under the name it was
// opened by, with its identity as it was when opened, before any of it was read; so is every
// file fileExistsOrFail finds (the first noting of a name counts, a later read marks it read).
// A reader keeps these identities with what it read: a file changed during or after the read
// no longer matches them.
class OpenedFiles {
public:
    OpenedFiles();
    ~OpenedFiles();
    OpenedFiles(const OpenedFiles&) = delete;
    OpenedFiles& operator=(const OpenedFiles&) = delete;

    const std::vector<NotedFile>& files() const { return files_; }
    // The one noting on this thread, or none.
    static OpenedFiles* current();
    void note(const QString& path, const platform::FileStamp& stamp, bool read);

private:
    std::vector<NotedFile> files_;
    OpenedFiles* outer_;
};

// A file opened for reading only, shared with other programs that read or write it. Reads
// are positioned, so a caller never depends on what an earlier read left behind.
class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Opens the file. False when there is no such file (a folder, a pipe or a device is none,
    // and opening one never waits); on a case-sensitive
    // file system a file missing under its exact name is looked up ignoring letter case in its
    // folder, through `index` when given (a batch lists each folder once). Throws
    // platform::IoError when the file exists but cannot be opened. A `likelyName` is tried
    // first, under exactly that name: the letter case the file mostly has on disk.
    bool open(const QString& path, platform::FileCaseIndex* index = nullptr,
              const QString& likelyName = QString());
    // The name it was opened under (the letter-case match, when that was used).
    const QString& path() const { return path_; }
    // Reads up to `size` bytes at `position`; fewer at the end of the file, none beyond it.
    // Throws platform::IoError when the read fails.
    qint64 readAt(qint64 position, char* buffer, qint64 size);
    void close();

private:
    bool openExact(const QString& path);

    QString path_;
#ifdef Q_OS_WIN
    void* file_ = nullptr; // a QFile
#else
    int fd_ = -1;
#endif
};

// Whether a regular file exists under exactly this name (one status query, no letter-case
// lookup).
bool isFileExact(const QString& path);

// Whether a regular file exists, with the letter-case lookup of ReadOnlyFile::open (through
// `index` when given). Throws platform::IoError when that cannot be told (a folder on the way
// that cannot be searched, a loop of symbolic links, an I/O error): such a file may well be
// there.
bool fileExistsOrFail(const QString& path, platform::FileCaseIndex* index = nullptr);

} // namespace library::detail
