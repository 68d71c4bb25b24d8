#include "library/disc_image.h"

#include "library/file_access.h"
#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace library {

namespace {

constexpr int HeaderSize = 208;
constexpr int RawHeaderOffset = 16;
constexpr qint64 SaturnIdPosition = 5; // "SEGASATURN" after "SEGA " in the hardware identifier

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

// The image file the emulator opens for a CCD file: "IMG" with each letter in the case of the
// CCD file's extension at its place ("x.ccd": "x.img", "x.Ccd": "x.Img").
QString emulatorImageName(const QString& ccdPath, const QString& gameName) {
    const QString name = platform::fileNamePart(ccdPath);
    QString extension = QStringLiteral(".IMG");
    for (int i = 1; i < 4; ++i) {
        if (name.at(name.size() - 4 + i).isLower())
            extension[i] = extension.at(i).toLower();
    }
    return platform::folderPart(ccdPath) + gameName + extension;
}

DiscHeader headerFromBytes(const QByteArray& bytes) {
    DiscHeader header;
    for (int i = 0; i < HeaderFieldCount; ++i)
        header.fields[static_cast<size_t>(i)] = headerField(bytes, static_cast<HeaderField>(i));
    return header;
}

// Sets the header offset and the Saturn flag from the data file's first bytes; when `header`
// is given and the disc is a Saturn disc, the header bytes come from the same read.
// Returns false when the data file is missing.
bool checkDataFile(ResolvedImage& image, QByteArray* header, platform::FileCaseIndex* index,
                   const QString& likelyName = QString()) {
    image.headerOffset = 0;
    image.isSaturn = false;
    detail::ReadOnlyFile file;
    if (!file.open(image.dataFilePath, index, likelyName)) {
        // A name with a zero byte in it names no file that could come back.
        if (!image.dataFilePath.contains(QChar(0))) {
            image.missingPath = image.dataFilePath;
            image.notRegular = QFileInfo::exists(image.dataFilePath);
        }
        return false;
    }
    image.dataFilePath = file.path();
    // One read covers the 8 bytes at the start, the 5 at the offset plus 5, and the header.
    char bytes[RawHeaderOffset + HeaderSize];
    const qint64 got = file.readAt(0, bytes, sizeof bytes);
    const QByteArray start = QByteArray::fromRawData(bytes, qMin<qint64>(got, 8));
    if (start.startsWith(QByteArrayLiteral("\x00\xFF\xFF\xFF")))
        image.headerOffset = RawHeaderOffset;
    // Only the bytes this file really holds count: a short file does not pass.
    const qint64 idAt = image.headerOffset + SaturnIdPosition;
    image.isSaturn = got >= idAt + 4 && std::memcmp(bytes + idAt, "SEGA", 4) == 0;
    if (header && image.isSaturn)
        *header = QByteArray(bytes + image.headerOffset,
                             qMin<qint64>(got - image.headerOffset, HeaderSize));
    return true;
}

// Cue sheets and playlists are small text files. One whose line runs past the line bound, or
// whose first "FILE " line lies past the total bound, is no Saturn disc: it is never read whole.
constexpr qsizetype MaxLineBytes = platform::MaxNamingLineBytes;
constexpr qint64 MaxScanBytes = platform::MaxNamingFileBytes;

// The playlist's first line names the file to go on with, taken from the playlist's own folder.
// False when there is no such playlist.
bool readPlaylist(const QString& playlistPath, QString& path, QString& kind,
                  platform::FileCaseIndex* index) {
    detail::ReadOnlyFile file;
    if (!file.open(playlistPath, index))
        return false; // still a playlist, so nothing further resolves it
    QByteArray first;
    char chunk[4096];
    qint64 got;
    while ((got = file.readAt(first.size(), chunk, sizeof chunk)) > 0) {
        const qsizetype end = QByteArrayView(chunk, got).indexOf('\n');
        first.append(chunk, end < 0 ? got : end);
        if (first.size() > MaxLineBytes)
            return true; // a first line this long names no disc image
        if (end >= 0)
            break;
    }
    // A CR before the LF, or at the very end of the file, is no part of the line.
    if (first.endsWith('\r'))
        first.chop(1);
    const QString line = withSlashes(platform::fromLocal8Bit(first));
    path = platform::folderPart(playlistPath) + platform::fileNamePart(line);
    kind = platform::upperExtension(path);
    return true;
}

// Whether the line, upper-cased, contains "FILE ". A line of plain ASCII is tested without
// converting it; any other is converted from the 8-bit code page and upper-cased as text.
bool holdsFileKeyword(QByteArrayView line) {
    const auto plain = std::all_of(line.begin(), line.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!plain)
        return platform::fromLocal8Bit(line.toByteArray())
            .toUpper()
            .contains(QLatin1String("FILE "));
    static constexpr char Keyword[] = "FILE ";
    for (qsizetype i = 0; i + 5 <= line.size(); ++i) {
        qsizetype k = 0;
        while (k < 5) {
            char c = line[i + k];
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            if (c != Keyword[k])
                break;
            ++k;
        }
        if (k == 5)
            return true;
    }
    return false;
}

// The first line of the cue sheet holding "FILE " in any letter case; false when there is
// none, or when a line or the part read runs past its bound. Reading stops at that line; the
// last line counts even without a line feed after it. Every byte is looked at once.
bool findFileLine(detail::ReadOnlyFile& file, QString& fileLine) {
    QByteArray pending;
    char chunk[16384];
    qint64 position = 0;
    qsizetype scanned = 0; // bytes of pending already searched for a line feed
    bool atEnd = false;
    while (!atEnd) {
        if (position >= MaxScanBytes)
            return false;
        const qint64 got = file.readAt(position, chunk, sizeof chunk);
        position += got;
        atEnd = got == 0;
        pending.append(chunk, got);
        qsizetype start = 0;
        while (start < pending.size()) {
            qsizetype end = pending.indexOf('\n', qMax(start, scanned));
            if (end < 0 && !atEnd) {
                scanned = pending.size();
                break; // the rest of this line comes with the next read
            }
            qsizetype length = (end < 0 ? pending.size() : end) - start;
            // A CR before the LF, or at the very end of the file, is no part of the line.
            if (length > 0 && pending.at(start + length - 1) == '\r')
                --length;
            const QByteArrayView line(pending.constData() + start, length);
            if (holdsFileKeyword(line)) {
                fileLine = platform::fromLocal8Bit(line.toByteArray());
                return true;
            }
            start = end < 0 ? pending.size() : end + 1;
        }
        pending.remove(0, start);
        scanned -= start;
        if (scanned < 0)
            scanned = 0;
        if (pending.size() > MaxLineBytes)
            return false; // a line this long belongs to no cue sheet
    }
    return false;
}

void readCueSheet(const QString& cuePath, ResolvedImage& image, QByteArray* header,
                  platform::FileCaseIndex* index) {
    image.isSaturn = false;
    detail::ReadOnlyFile file;
    if (!file.open(cuePath, index)) {
        image.missingPath = cuePath;
        return;
    }
    image.gameName = gameNameOf(cuePath);
    image.sheetPath = file.path();
    QString line;
    const bool found = findFileLine(file, line);
    file.close();
    if (!found)
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
    if (!checkDataFile(image, header, index) && !image.missingPath.isEmpty())
        image.namedIn = cuePath;
}

void readCcdFile(const QString& ccdPath, ResolvedImage& image, QByteArray* header,
                 platform::FileCaseIndex* index) {
    image.isSaturn = false;
    if (!detail::fileExistsOrFail(ccdPath, index)) {
        image.missingPath = ccdPath;
        return;
    }
    image.gameName = gameNameOf(ccdPath);
    image.sheetPath = ccdPath;
    image.dataFilePath = platform::folderPart(ccdPath) + image.gameName + QStringLiteral(".IMG");
    // The emulator opens the image with the letter case of the CCD file's extension ("x.ccd":
    // "x.img"), which is how nearly every dump is named: tried first, it is found in one open,
    // without listing the folder.
    const QString likelyName = emulatorImageName(ccdPath, image.gameName);
    if (!checkDataFile(image, header, index, likelyName) && !image.missingPath.isEmpty()) {
        image.missingPath = likelyName;
        image.namedIn = ccdPath;
    }
}

} // namespace

QString headerField(const QByteArray& headerBytes, HeaderField field) {
    qsizetype position = 0;
    for (int i = 0; i < field; ++i)
        position += HeaderFieldLengths[static_cast<size_t>(i)];
    if (position >= headerBytes.size())
        return {};
    return platform::fromLocal8Bit(
        headerBytes.mid(position, HeaderFieldLengths[static_cast<size_t>(field)]));
}

ResolvedImage resolveImageRaw(const QString& imagePath, QByteArray* header,
                              platform::FileCaseIndex* index) {
    ResolvedImage image;
    QString path = imagePath;
    image.kind = platform::upperExtension(path);
    if (image.kind == QLatin1String(".M3U") && !readPlaylist(imagePath, path, image.kind, index))
        image.missingPath = imagePath;
    if (image.kind == QLatin1String(".CUE"))
        readCueSheet(path, image, header, index);
    else if (image.kind == QLatin1String(".CCD"))
        readCcdFile(path, image, header, index);
    // A missing cue sheet or CCD file is named by the playlist that led to it; the chosen file
    // itself missing is no such case.
    if (image.namedIn.isEmpty() && !image.missingPath.isEmpty() && image.missingPath != imagePath)
        image.namedIn = imagePath;
    return image;
}

ResolvedImage resolveImage(const QString& imagePath, DiscHeader* header) {
    QByteArray bytes;
    const ResolvedImage image = resolveImageRaw(imagePath, header ? &bytes : nullptr, nullptr);
    if (header && image.isSaturn)
        *header = headerFromBytes(bytes);
    return image;
}

ResolvedImage resolveImage(const QString& imagePath) {
    return resolveImageRaw(imagePath, nullptr, nullptr);
}

DiscHeader readDiscHeader(const ResolvedImage& image) {
    detail::ReadOnlyFile file;
    if (!file.open(image.dataFilePath))
        return {};
    char bytes[HeaderSize];
    const qint64 got = file.readAt(image.headerOffset, bytes, sizeof bytes);
    return headerFromBytes(QByteArray(bytes, got));
}

} // namespace library
