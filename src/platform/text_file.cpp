#include "platform/text_file.h"

#include "platform/io_error.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

QString fromLocal8Bit(const QByteArray& bytes) {
    return QString::fromLocal8Bit(bytes);
}

QByteArray toLocal8Bit(const QString& text) {
    return text.toLocal8Bit();
}

namespace {

// Calls `take` with every line of the bytes, without its terminator.
template <typename Take> void forEachLine(QByteArrayView bytes, Take take) {
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        qsizetype len = end - start;
        // A CR before the LF is no part of the line, nor is one that ends the last line.
        if (len > 0 && bytes.at(end - 1) == '\r')
            --len;
        take(bytes.sliced(start, len));
        start = end + 1;
    }
}

} // namespace

QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    forEachLine(bytes, [&lines](QByteArrayView line) { lines.append(line.toByteArray()); });
    return lines;
}

QString fileErrorText(const QString& path, const QString& detail) {
    return QStringLiteral("%1\n%2").arg(detail, displayPath(path));
}

namespace {

const QString NotRegular = QStringLiteral("Not a regular file");
const QString TooLarge = QStringLiteral("File too large");

} // namespace

#ifdef Q_OS_WIN

// No pipe or device lives among the files of a folder on Windows: a status query tells.
bool isRegularFile(const QString& path) {
    return !path.contains(QChar(0)) && QFileInfo(path).isFile();
}

void openRegularFile(QFile& file) {
    const QFileInfo info(file.fileName());
    if (!info.exists())
        throw IoError(fileErrorText(file.fileName(), QStringLiteral("File not found")));
    if (!info.isFile())
        throw IoError(fileErrorText(file.fileName(), NotRegular));
    if (!file.open(QIODevice::ReadOnly))
        throw IoError(fileErrorText(file.fileName(), file.errorString()));
}

#else

bool isRegularFile(const QString& path) {
    struct stat info {};
    return !path.isEmpty() && !path.contains(QChar(0)) &&
           ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// Opened without waiting and then asked what it is: a status query before the open would leave
// a moment in which the file could be replaced by a pipe.
void openRegularFile(QFile& file) {
    const QString path = file.fileName();
    if (path.contains(QChar(0)))
        throw IoError(fileErrorText(path, QStringLiteral("File not found")));
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int error = errno;
        throw IoError(fileErrorText(path, error == ENOENT ? QStringLiteral("File not found")
                                                          : qt_error_string(error)));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw IoError(fileErrorText(path, NotRegular));
    }
    // A regular file never waits, so the open flag does not matter for the reads.
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw IoError(fileErrorText(path, file.errorString()));
    }
}

#endif

QByteArray readFileBytes(const QString& path, qint64 maxBytes) {
    QFile file(path);
    openRegularFile(file);
    const qint64 size = file.size();
    if (maxBytes >= 0 && size > maxBytes)
        throw IoError(fileErrorText(path, TooLarge));
    // Room for the file as it is and one byte more, never for the bound itself (a cache's bound
    // is hundreds of megabytes): a byte more tells that the file grew while it was read, and it
    // is then read on, never past the bound.
    const qint64 limit = maxBytes >= 0 ? maxBytes + 1 : std::numeric_limits<qint64>::max();
    QByteArray bytes(std::min(size + 1, limit), Qt::Uninitialized);
    const qint64 got = file.read(bytes.data(), bytes.size());
    if (got >= 0) {
        bytes.truncate(got);
        if (got == size + 1 && got < limit)
            bytes += maxBytes >= 0 ? file.read(limit - got) : file.readAll();
    }
    if (got < 0 || file.error() != QFileDevice::NoError)
        throw IoError(fileErrorText(path, file.errorString()));
    if (maxBytes >= 0 && bytes.size() > maxBytes)
        throw IoError(fileErrorText(path, TooLarge));
    return bytes;
}

namespace {

bool holdsNonAscii(QByteArrayView bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

const QByteArray Utf8Mark("\xEF\xBB\xBF");

// The encoding the launcher's file of these bytes is read in, and where its text begins.
QStringConverter::Encoding launcherEncoding(const QByteArray& bytes,
                                            QStringConverter::Encoding codePage, qsizetype* begin) {
    *begin = 0;
    if (bytes.startsWith(Utf8Mark)) {
        *begin = Utf8Mark.size();
        return QStringConverter::Utf8;
    }
    if (codePage != QStringConverter::Utf8 && holdsNonAscii(bytes) && isValidUtf8(bytes))
        return QStringConverter::Utf8;
    return codePage;
}

// Whether every line encodes to the code page and back unchanged.
bool fitsCodePage(qsizetype count, const std::function<const QString&(qsizetype)>& line,
                  QStringConverter::Encoding codePage) {
    if (codePage == QStringConverter::Utf8)
        return true;
#ifndef Q_OS_WIN
    // The system's 8-bit text is UTF-8 here: it holds every letter.
    if (codePage == QStringConverter::System)
        return true;
#endif
    QStringEncoder encoder(codePage, QStringConverter::Flag::Stateless);
    QStringDecoder decoder(codePage, QStringConverter::Flag::Stateless);
    for (qsizetype i = 0; i < count; ++i) {
        const QString& text = line(i);
        bool ascii = true;
        for (const QChar c : text) {
            if (c.unicode() >= 0x80) {
                ascii = false;
                break;
            }
        }
        if (ascii)
            continue;
        const QByteArray bytes = encoder.encode(text);
        if (encoder.hasError())
            return false;
        const QString back = decoder.decode(bytes);
        if (decoder.hasError() || back != text)
            return false;
    }
    return true;
}

} // namespace

QString decodeLauncherText(const QByteArray& bytes, QStringConverter::Encoding codePage) {
    qsizetype begin = 0;
    const QStringConverter::Encoding encoding = launcherEncoding(bytes, codePage, &begin);
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(bytes).sliced(begin));
}

QStringList readTextLines(const QString& path, qint64 maxBytes,
                          QStringConverter::Encoding codePage) {
    // Converted line by line from the file's bytes, without a list of byte lines between: a
    // List.ini of 100,000 games would hold every line twice.
    const QByteArray bytes = readFileBytes(path, maxBytes);
    qsizetype begin = 0;
    const QStringConverter::Encoding encoding = launcherEncoding(bytes, codePage, &begin);
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QStringList lines;
    lines.reserve(bytes.count('\n') + 1);
    forEachLine(QByteArrayView(bytes).sliced(begin),
                [&](QByteArrayView line) { lines.append(decoder.decode(line)); });
    return lines;
}

bool isValidUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        // 32 letters of ASCII at a time.
        if (end - p >= 32) {
            quint64 words[4];
            std::memcpy(words, p, sizeof words);
            if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080ull) == 0) {
                p += 32;
                continue;
            }
        }
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int more = 0;
        unsigned char low = 0x80, high = 0xBF; // the second byte's range
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            if (lead == 0xE0)
                low = 0xA0; // no overlong form
            else if (lead == 0xED)
                high = 0x9F; // no surrogate
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F; // nothing past U+10FFFF
        } else {
            return false;
        }
        if (end - p <= more || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
        }
        p += more + 1;
    }
    return true;
}

bool forEachUtf8TextLine(QByteArrayView bytes, const std::function<void(QByteArrayView)>& take) {
    const qsizetype begin = bytes.startsWith(QByteArrayView(Utf8Mark)) ? Utf8Mark.size() : 0;
    const QByteArrayView text = bytes.sliced(begin);
    // Valid UTF-8 is read as UTF-8 (text beyond ASCII makes the file UTF-8, and plain ASCII
    // reads alike in every code page); a line that begins with a byte order mark of its own is
    // left to the decoder, which may drop it.
    if (!isValidUtf8(text))
        return false;
    for (qsizetype at = text.indexOf('\xEF'); at >= 0; at = text.indexOf('\xEF', at + 1)) {
        if ((at == 0 || text[at - 1] == '\n') && text.sliced(at).startsWith(Utf8Mark))
            return false;
    }
    forEachLine(text, take);
    return true;
}

QStringList utf8Lines(const QByteArray& bytes) {
    const QByteArrayView text =
        bytes.startsWith(Utf8Mark) ? QByteArrayView(bytes).sliced(Utf8Mark.size()) : bytes;
    QStringList lines;
    forEachLine(text, [&](QByteArrayView line) { lines.append(QString::fromUtf8(line)); });
    return lines;
}

QStringList readPlaylistLines(const QString& path) {
    const QByteArray bytes = readFileBytes(path, MaxNamingFileBytes);
    QStringList lines;
    bool tooLong = false;
    forEachLine(bytes, [&](QByteArrayView line) {
        tooLong = tooLong || line.size() > MaxNamingLineBytes;
        if (!tooLong)
            lines.append(QString::fromLocal8Bit(line));
    });
    if (tooLong)
        throw IoError(fileErrorText(path, TooLarge));
    return lines;
}

namespace {

// False only where the folder refuses new files for want of permission (not on a read-only
// file system): there a file that may be changed is written in place.
bool folderAcceptsNewFiles(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
#ifdef Q_OS_WIN
    return QFileInfo(folder).isWritable();
#else
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0 || errno != EACCES;
#endif
}

// Large files are written in pieces of this size: never held whole a second time, and never
// one system call per line or entry.
constexpr qsizetype WritePieceBytes = 64 * 1024;

// Writes everything, checking every write: an unbuffered file reports a full disk at once.
bool writeAll(QFileDevice& file, QByteArrayView bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Pushes the written bytes to the disk; a failure the system reports only now (a full disk on
// some file systems, a quota) counts as a failed write. Returns the system's text, or nothing.
QString syncToDisk(QFileDevice& file) {
    if (!file.flush())
        return file.errorString();
#ifndef Q_OS_WIN
    int result;
    do {
        result = ::fsync(file.handle());
    } while (result != 0 && errno == EINTR);
    if (result != 0 && errno != EINVAL && errno != EROFS)
        return qt_error_string(errno);
#endif
    return QString();
}

} // namespace

namespace {

// Replaces the file with what `writeBody` writes (false when a write failed); see
// writeFileAtomic.
void replaceFile(const QString& path, const std::function<bool(QFileDevice&)>& writeBody) {
    // Where the folder takes no new files the save file writes the file in place; the old bytes
    // are kept to put back when that write fails half-way.
#ifndef Q_OS_WIN
    // A file that may not be changed is not replaced; the box shows the system's reason
    // ("Read-only file system", "Permission denied").
    if (::access(QFile::encodeName(path).constData(), W_OK) != 0 && errno != ENOENT)
        throw IoError(fileErrorText(path, qt_error_string(errno)));
#else
    const QFileInfo target(path);
    if (target.exists() && !target.isWritable())
        throw IoError(fileErrorText(path, QStringLiteral("Access denied")));
#endif
    std::optional<QByteArray> previous;
    if (!folderAcceptsNewFiles(path) && QFileInfo(path).isFile()) {
        QFile old(path);
        if (old.open(QIODevice::ReadOnly))
            previous = old.readAll();
    }
    QSaveFile file(path);
    file.setDirectWriteFallback(previous.has_value());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw IoError(fileErrorText(path, file.errorString()));
    bool written = writeBody(file);
    QString error = written ? syncToDisk(file) : file.errorString();
    written = written && error.isEmpty();
    if (!written) {
        if (error.isEmpty())
            error = QStringLiteral("Write error");
        file.cancelWriting();
        file.commit(); // removes the temporary file; the old file stays as it was
        if (previous) {
            QFile restore(path);
            if (restore.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                writeAll(restore, *previous);
        }
        throw IoError(fileErrorText(path, error));
    }
    if (!file.commit())
        throw IoError(fileErrorText(path, file.errorString()));
}

} // namespace

void writeFileAtomic(const QString& path, const QByteArray& bytes) {
    replaceFile(path, [&bytes](QFileDevice& file) { return writeAll(file, bytes); });
}

void writeFileAtomic(const QString& path, const std::vector<QByteArrayView>& pieces,
                     const std::function<void(size_t piece)>& written) {
    // Small pieces (one game's cache entry each) are gathered into writes of 64 KiB: one
    // system call per piece would cost more than the bytes.
    replaceFile(path, [&pieces, &written](QFileDevice& file) {
        QByteArray gathered;
        gathered.reserve(WritePieceBytes);
        for (size_t i = 0; i < pieces.size(); ++i) {
            const QByteArrayView piece = pieces[i];
            if (gathered.size() + piece.size() > WritePieceBytes && !gathered.isEmpty()) {
                if (!writeAll(file, gathered))
                    return false;
                gathered.resize(0); // keeps the room
            }
            if (piece.size() >= WritePieceBytes) {
                if (!writeAll(file, piece))
                    return false;
            } else {
                gathered.append(piece);
            }
            if (written)
                written(i); // its bytes are no longer needed
        }
        return gathered.isEmpty() || writeAll(file, gathered);
    });
}

namespace {

// Encodes the lines, each ended by CR LF, handing them to `take` in pieces of about
// WritePieceBytes; stops when `take` gives false. Each line is encoded straight into the piece,
// without a buffer of its own.
bool encodeLines(qsizetype count, const std::function<const QString&(qsizetype)>& line,
                 QStringConverter::Encoding encoding, bool mark,
                 const std::function<bool(const QByteArray&)>& take) {
    QStringEncoder encoder(encoding, QStringConverter::Flag::Stateless);
    QByteArray bytes;
    bytes.reserve(WritePieceBytes + 4096);
    if (mark)
        bytes.append(Utf8Mark);
    for (qsizetype i = 0; i < count; ++i) {
        const QString& text = line(i);
        const qsizetype used = bytes.size();
        bytes.resize(used + encoder.requiredSpace(text.size()) + 2);
        char* end = encoder.appendToBuffer(bytes.data() + used, text);
        *end++ = '\r';
        *end++ = '\n';
        bytes.resize(end - bytes.constData());
        if (bytes.size() >= WritePieceBytes) {
            if (!take(bytes))
                return false;
            bytes.resize(0); // keeps the room
        }
    }
    return take(bytes);
}

// Writes the lines in the encoding, after a byte order mark when `mark` is set.
void writeEncodedLines(const QString& path, qsizetype count,
                       const std::function<const QString&(qsizetype)>& line,
                       QStringConverter::Encoding encoding, bool mark,
                       const std::function<void(QByteArrayView)>& seen = {}) {
    // Written in pieces of 64 KiB: a List.ini of 100,000 games is never held whole a second
    // time beside its rows.
    replaceFile(path, [count, &line, encoding, mark, &seen](QFileDevice& file) {
        return encodeLines(count, line, encoding, mark, [&file, &seen](const QByteArray& bytes) {
            if (seen)
                seen(bytes);
            return writeAll(file, bytes);
        });
    });
}

} // namespace

void writeTextLinesAtomic(const QString& path, const QStringList& lines,
                          QStringConverter::Encoding codePage) {
    writeTextLinesAtomic(
        path, lines.size(), [&lines](qsizetype i) -> const QString& { return lines[i]; }, codePage);
}

void writeTextLinesAtomic(const QString& path, qsizetype count,
                          const std::function<const QString&(qsizetype)>& line,
                          QStringConverter::Encoding codePage,
                          const std::function<void(QByteArrayView)>& bytes) {
    // A letter the code page lacks would be written as "?": such a file is UTF-8 instead, with
    // the mark that tells it apart from the code page's files.
    const bool fits = fitsCodePage(count, line, codePage);
    writeEncodedLines(path, count, line, fits ? codePage : QStringConverter::Utf8, !fits, bytes);
}

bool holdsTextLines(const QString& path, qsizetype count,
                    const std::function<const QString&(qsizetype)>& line,
                    QStringConverter::Encoding codePage,
                    const std::function<void(QByteArrayView)>& seen) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The encoding writeTextLinesAtomic would choose.
    const bool fits = fitsCodePage(count, line, codePage);
    QByteArray read;
    const bool same =
        encodeLines(count, line, fits ? codePage : QStringConverter::Utf8, !fits,
                    [&file, &read, &seen](const QByteArray& bytes) {
                        if (seen)
                            seen(bytes);
                        read.resize(bytes.size());
                        return file.read(read.data(), read.size()) == bytes.size() && read == bytes;
                    });
    return same && file.atEnd();
}

void writeUtf8LinesAtomic(const QString& path, const QStringList& lines) {
    writeEncodedLines(
        path, lines.size(), [&lines](qsizetype i) -> const QString& { return lines[i]; },
        QStringConverter::Utf8, false);
}

} // namespace platform

namespace platform {

QString trimLowCodes(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

} // namespace platform
