#include "library/disc_image.h"

#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>

namespace library {

namespace {

constexpr int HeaderSize = 208;
constexpr qint64 RawHeaderOffset = 16;
constexpr qint64 SaturnIdPosition = 5; // "SEGASATURN" after "SEGA " in the hardware identifier

// The path under which a file exists (the path itself, or its letter-case match in the same
// folder on a case-sensitive file system); empty when there is no such file. A folder is no
// file. One stat when the exact name exists, which is the common case.
QString existingFile(const QString& path) {
    if (path.isEmpty())
        return {};
    const QFileInfo exact(path);
    if (exact.exists())
        return exact.isDir() ? QString() : path;
    const QString other = platform::resolveFileCase(path);
    if (other == path)
        return {};
    const QFileInfo found(other);
    return found.exists() && !found.isDir() ? other : QString();
}

// A name read from a cue sheet or playlist: "\" and "/" both separate folders in it.
QString withSlashes(QString name) {
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name;
}

// The file name without its last four characters (the extension, assumed to be four long).
QString gameNameOf(const QString& path) {
    const QString name = platform::fileNamePart(path);
    return name.left(qMax<qsizetype>(0, name.size() - 4));
}

void openShared(QFile& file) {
    // QFile opens for reading with shared read and write access on every platform.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw platform::IoError(platform::fileErrorText(file.fileName(), file.errorString()));
}

QByteArray readAt(QFile& file, qint64 position, qint64 length) {
    if (!file.seek(position))
        return {}; // beyond the end of a short file: nothing to read
    QByteArray bytes = file.read(length);
    if (file.error() != QFileDevice::NoError)
        throw platform::IoError(platform::fileErrorText(file.fileName(), file.errorString()));
    return bytes;
}

DiscHeader headerFromBytes(const QByteArray& bytes) {
    DiscHeader header;
    qsizetype position = 0;
    for (int i = 0; i < HeaderFieldCount; ++i) {
        const qsizetype length = HeaderFieldLengths[static_cast<size_t>(i)];
        if (position < bytes.size())
            header.fields[static_cast<size_t>(i)] =
                platform::fromLocal8Bit(bytes.mid(position, length));
        position += length;
    }
    return header;
}

// Sets the header offset and the Saturn flag from the data file's first bytes; when `header`
// is given and the disc is a Saturn disc, reads the header too while the file is open.
void checkDataFile(ResolvedImage& image, DiscHeader* header) {
    image.headerOffset = 0;
    image.isSaturn = false;
    const QString path = existingFile(image.dataFilePath);
    if (path.isEmpty())
        return;
    image.dataFilePath = path;
    QFile file(path);
    openShared(file);
    const QByteArray start = readAt(file, 0, 8);
    if (start.size() >= 4 && start.startsWith(QByteArrayLiteral("\x00\xFF\xFF\xFF")))
        image.headerOffset = static_cast<int>(RawHeaderOffset);
    // Only the bytes this file really holds count: a short file does not pass.
    const QByteArray id = readAt(file, image.headerOffset + SaturnIdPosition, 5);
    image.isSaturn = id.size() >= 4 && id.startsWith("SEGA");
    if (header && image.isSaturn)
        *header = headerFromBytes(readAt(file, image.headerOffset, HeaderSize));
}

// The playlist's first line names the file to go on with, taken from the playlist's own folder.
void readPlaylist(const QString& playlistPath, QString& path, QString& kind) {
    const QString existing = existingFile(playlistPath);
    if (existing.isEmpty())
        return; // still a playlist, so nothing further resolves it
    const QString line = withSlashes(platform::readFirstLine(existing));
    path = platform::folderPart(playlistPath) + platform::fileNamePart(line);
    kind = platform::upperExtension(path);
}

// The cue sheet's first line holding "FILE " in any letter case; false when there is none.
bool findFileLine(const QString& cuePath, QString& fileLine) {
    QFile file(cuePath);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::IoError(platform::fileErrorText(cuePath, file.errorString()));
    // Read line by line and stop at the FILE line; the last line counts even without a line
    // feed after it.
    while (!file.atEnd()) {
        QByteArray bytes = file.readLine();
        if (file.error() != QFileDevice::NoError)
            throw platform::IoError(platform::fileErrorText(cuePath, file.errorString()));
        if (bytes.endsWith('\n')) {
            bytes.chop(1);
            if (bytes.endsWith('\r'))
                bytes.chop(1);
        }
        const QString line = platform::fromLocal8Bit(bytes);
        if (line.toUpper().contains(QLatin1String("FILE "))) {
            fileLine = line;
            return true;
        }
    }
    return false;
}

void readCueSheet(const QString& cuePath, ResolvedImage& image, DiscHeader* header) {
    image.isSaturn = false;
    const QString existing = existingFile(cuePath);
    if (existing.isEmpty())
        return;
    image.gameName = gameNameOf(cuePath);
    QString line;
    if (!findFileLine(existing, line))
        return;
    // The name lies between the first two double quotes; without a closing quote it runs to
    // the end of the line, and without any quote it is the whole line.
    const qsizetype open = line.indexOf(QLatin1Char('"'));
    QString name = line.mid(open + 1);
    const qsizetype close = name.indexOf(QLatin1Char('"'));
    if (close >= 0)
        name.truncate(close);
    // Always relative to the cue sheet's folder, so an absolute name yields no existing file.
    image.dataFilePath = platform::folderPart(cuePath) + withSlashes(name);
    checkDataFile(image, header);
}

void readCcdFile(const QString& ccdPath, ResolvedImage& image, DiscHeader* header) {
    image.isSaturn = false;
    if (existingFile(ccdPath).isEmpty())
        return;
    image.gameName = gameNameOf(ccdPath);
    image.dataFilePath = platform::folderPart(ccdPath) + image.gameName + QStringLiteral(".IMG");
    checkDataFile(image, header);
}

} // namespace

ResolvedImage resolveImage(const QString& imagePath, DiscHeader* header) {
    ResolvedImage image;
    QString path = imagePath;
    image.kind = platform::upperExtension(path);
    if (image.kind == QLatin1String(".M3U"))
        readPlaylist(imagePath, path, image.kind);
    if (image.kind == QLatin1String(".CUE"))
        readCueSheet(path, image, header);
    else if (image.kind == QLatin1String(".CCD"))
        readCcdFile(path, image, header);
    return image;
}

ResolvedImage resolveImage(const QString& imagePath) {
    return resolveImage(imagePath, nullptr);
}

DiscHeader readDiscHeader(const ResolvedImage& image) {
    const QString path = existingFile(image.dataFilePath);
    if (path.isEmpty())
        return {};
    QFile file(path);
    openShared(file);
    return headerFromBytes(readAt(file, image.headerOffset, HeaderSize));
}

} // namespace library
