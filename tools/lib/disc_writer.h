#pragma once

// Writes synthetic Saturn disc images for tests, benchmarks and the demo folder. Every byte is
// made up here; nothing comes from a real disc.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace discwriter {

// The identification header at the start of the first sector's user data. Each field is cut
// or padded with blanks to its length when written (16, 16, 10, 6, 8, 8, 16, 16, 112 bytes).
struct Header {
    QByteArray hardwareId = "SEGA SEGASATURN ";
    QByteArray makerId = "SEGA TP T-000   ";
    QByteArray productNumber = "T-0000";
    QByteArray version = "V1.000";
    QByteArray releaseDate = "20260101";
    QByteArray deviceInfo = "CD-1/1";
    QByteArray areaSymbols = "JTUE";
    QByteArray peripherals = "J";
    QByteArray title = "SYNTHETIC GAME";
};

// A header whose hardware identifier is not a Saturn one.
Header nonSaturnHeader();

// The 208 header bytes.
QByteArray headerBytes(const Header& header);

enum class Sectors {
    Raw2352,   // 12-byte sync pattern and 4-byte sector header before 2048 bytes of user data
    Cooked2048 // the user data only
};

// A data file of `sectorCount` Mode 1 sectors; the header begins the first sector's user data.
QByteArray dataFile(const Header& header, Sectors format, int sectorCount = 16);

enum class LineEnd { CrLf, Lf };

struct CueStyle {
    bool lowerCase = false; // "file", "track", "index" instead of upper case
    LineEnd lineEnd = LineEnd::CrLf;
    bool finalLineEnd = true; // whether the last line is ended
};

// A cue sheet with one FILE line per data file name, each followed by its TRACK and INDEX
// lines. `dataFiles` may hold subfolders; they are written as given.
QByteArray cueSheet(const QStringList& dataFiles, Sectors format, const CueStyle& style = {});

// A CCD control file for a one-track data disc of `sectorCount` sectors (its contents are
// never needed to resolve it; the emulator reads them).
QByteArray ccdFile(int sectorCount = 16);

// An M3U playlist: one entry per line.
QByteArray playlist(const QStringList& entries, LineEnd lineEnd = LineEnd::CrLf);

// Writes bytes to a file, creating its folders; throws std::runtime_error on failure.
void writeFile(const QString& path, const QByteArray& bytes);

// A cue/bin game: "<name>.cue" naming "<name> (Track 01).bin" (raw) or ".iso" (cooked) in
// `folder`. Returns the cue sheet's path.
QString writeCueGame(const QString& folder, const QString& name, const Header& header,
                     Sectors format = Sectors::Raw2352, int sectorCount = 16);

// A CCD game: "<name>.ccd", "<name>.img" (raw sectors) and "<name>.sub" in `folder`; `imgName`
// overrides the image file's name (for letter-case variants). Returns the CCD file's path.
QString writeCcdGame(const QString& folder, const QString& name, const Header& header,
                     const QString& imgName = {}, int sectorCount = 16);

// A multi-disc game: "<name> (Disc N).cue" with its track file for every header, and
// "<name>.m3u" listing the cue sheets. Returns the playlist's path.
QString writeM3uGame(const QString& folder, const QString& name, const QList<Header>& discs,
                     int sectorCount = 16);

} // namespace discwriter
