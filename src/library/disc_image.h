#pragma once

#include <QString>
#include <array>

namespace platform {
class FileCaseIndex;
}

namespace library {

// What resolving one image file (cue sheet, CCD file or playlist) yields.
struct ResolvedImage {
    QString dataFilePath;  // the file that holds the disc's sectors
    int headerOffset = 0;  // 16 for raw 2352-byte sectors, 0 for 2048-byte user data
    bool isSaturn = false; // the Saturn check passed on the data file
    QString gameName;      // cue sheet or CCD file name without its last four characters
    QString kind;          // upper-cased extension of the file resolved last
    QString sheetPath;     // the cue sheet or CCD file resolved (a playlist's names it)
    // A file the resolution needed and did not find (the image itself, the playlist's disc,
    // the data file); empty when every file it looked for was there. When another file names
    // it (a cue sheet its data file, a CCD file its image, a playlist its disc), that file.
    QString missingPath;
    QString namedIn;
    // The data file is there but is no regular file (a pipe, a device, a folder): missingPath
    // names it all the same, since the disc cannot be read from it.
    bool notRegular = false;
};

// The nine text fields of a Saturn disc's identification header, untrimmed; each byte is one
// character. Lengths 16, 16, 10, 6, 8, 8, 16, 16, 112 (208 bytes in all).
constexpr int HeaderFieldCount = 9;
constexpr std::array<int, HeaderFieldCount> HeaderFieldLengths{16, 16, 10, 6, 8, 8, 16, 16, 112};
enum HeaderField {
    HardwareId,
    MakerId,
    ProductNumber,
    Version,
    ReleaseDate,
    DeviceInfo,
    AreaSymbols,
    Peripherals,
    GameTitle
};
struct DiscHeader {
    std::array<QString, HeaderFieldCount> fields;
};

// Resolves an image file to its data file: a playlist continues as the file its first line
// names; a cue sheet names its data file on its first FILE line; a CCD file's data file is the
// .IMG beside it. Throws platform::IoError when an existing file cannot be read.
ResolvedImage resolveImage(const QString& imagePath);

// The same resolution; when the disc passes the Saturn check and `header` is given, the header
// is read as well while the data file is open (what readDiscHeader would give).
ResolvedImage resolveImage(const QString& imagePath, DiscHeader* header);

// The same again, giving the header's raw bytes (208, fewer for a short file) for callers that
// need only some fields; headerField turns them into one field's text. Letter-case lookups go
// through `index` when given, so that a batch lists each folder once.
ResolvedImage resolveImageRaw(const QString& imagePath, QByteArray* headerBytes,
                              platform::FileCaseIndex* index = nullptr);
QString headerField(const QByteArray& headerBytes, HeaderField field);

// Reads the header of a resolution's data file; empty fields when the data file is missing.
// Throws platform::IoError when an existing file cannot be read.
DiscHeader readDiscHeader(const ResolvedImage& image);

} // namespace library
