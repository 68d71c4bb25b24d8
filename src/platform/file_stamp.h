#pragma once

#include <QString>
#include <QtGlobal>

#ifndef Q_OS_WIN
struct stat;
#endif

namespace platform {

// What tells one version of a file from the next without reading it: a rewrite in place
// changes its size or its times, a replacement by rename (an atomic write) changes its file
// number as well. Times are kept in nanoseconds since the epoch, as precise as the file system
// keeps them.
struct FileStamp {
    bool isFile = false; // false when nothing, or something other than a file, is there
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0; // the last change of the file's status (its times, names, rights)
    quint64 device = 0;
    quint64 fileNumber = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at path, taken with one status query; isFile is false when there is
// no file there.
FileStamp fileStamp(const QString& path);

#ifndef Q_OS_WIN
// The stamp of a file whose status was taken already (fstat of an open file).
FileStamp fileStampOf(const struct ::stat& status);
#endif

} // namespace platform
