#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <vector>

#include <functional>

namespace platform {

// Text files are 8-bit text in the system code page (UTF-8 on Linux).
QString fromLocal8Bit(const QByteArray& bytes);
QByteArray toLocal8Bit(const QString& text);

// Splits bytes into lines: a line ends at a line feed and a carriage return directly before it
// is dropped, as is one that ends the last line; a terminator at the very end adds no empty
// line.
QList<QByteArray> splitLines(const QByteArray& bytes);

// Whether the path names a regular file (after links): not a folder, a pipe, a device or a
// socket, which the launcher never reads.
bool isRegularFile(const QString& path);

// Opens the file for reading when it is a regular file (after links). Anything else is refused
// at once, never waited for: opening a pipe for reading waits for a writer. Throws IoError with
// the system's text ("File not found", "Not a regular file").
void openRegularFile(QFile& file);

// Reads a whole regular file as raw bytes; one longer than `maxBytes` (when not negative) is
// refused with "File too large". Throws IoError with the system's text on failure.
QByteArray readFileBytes(const QString& path, qint64 maxBytes = -1);

// The launcher's own files (List.ini, Main.ini) are 8-bit text in the system code page while
// everything they hold fits it; one holding a letter outside it is written as UTF-8 with a byte
// order mark. Read back, a byte order mark means UTF-8, and so do bytes without one that are
// valid UTF-8 holding letters beyond ASCII; anything else is the code page, as files of older
// versions are. `codePage` stands for the system's code page in tests.
QString decodeLauncherText(const QByteArray& bytes,
                           QStringConverter::Encoding codePage = QStringConverter::System);

// Reads a text file of the launcher line by line (the encoding as decodeLauncherText decides it
// for the whole file), bounded as readFileBytes; throws IoError when it cannot be read.
QStringList readTextLines(const QString& path, qint64 maxBytes = -1,
                          QStringConverter::Encoding codePage = QStringConverter::System);

// A launcher text file's lines as bytes, split as readTextLines splits them, where they are all
// UTF-8 and read as such (after a byte order mark, text beyond ASCII that is valid UTF-8, or
// plain ASCII, which every code page reads alike): `take` gets each line without its
// terminator, and true comes back. False (and no line) otherwise: the lines are then read with
// readTextLines.
bool forEachUtf8TextLine(QByteArrayView bytes, const std::function<void(QByteArrayView)>& take);

// Whether the bytes are well-formed UTF-8 (no overlong form, no surrogate, nothing past
// U+10FFFF).
bool isValidUtf8(QByteArrayView bytes);

// The emulator's files (its configuration, the profiles, its output) are UTF-8 on every
// platform; a leading byte order mark is no part of the first line.
QStringList utf8Lines(const QByteArray& bytes);

// Files that name other files (cue sheets and playlists) are small: one longer than 4 MiB, or
// with a line longer than 1 MiB, names no disc and is never read whole.
constexpr qsizetype MaxNamingLineBytes = 1 << 20;
constexpr qint64 MaxNamingFileBytes = 4 << 20;

// Reads a playlist's lines within that bound; throws IoError ("File too large") past it.
QStringList readPlaylistLines(const QString& path);

// Writes the bytes as the whole file, replacing it atomically: the old file stays intact until
// the new one is complete, and a failed write or flush (a full disk included) leaves it as it
// was. Only where the folder takes no new files but the file may be changed is it written in
// place, and put back as it was when that fails. A file that may not be changed (write-protected,
// on a read-only file system) is refused. Throws IoError with the system's text.
void writeFileAtomic(const QString& path, const QByteArray& bytes);
// The same with the file's bytes in pieces, written one after another: a large file made of
// parts of others is never copied whole first.
void writeFileAtomic(const QString& path, const std::vector<QByteArrayView>& pieces,
                     const std::function<void(size_t piece)>& written = {});

// Writes a text file of the launcher whole (encoded as decodeLauncherText reads it back), every
// line ended by CR LF, replacing it atomically: the old file stays intact until the new one is
// complete. Throws IoError when the file cannot be written.
void writeTextLinesAtomic(const QString& path, const QStringList& lines,
                          QStringConverter::Encoding codePage = QStringConverter::System);

// The same with the lines handed out one by one, line(0) to line(count - 1): a long list is
// written straight from where its lines are kept, without gathering them first.
// `bytes`, when given, sees the file's bytes as they are written, in pieces that end at a
// line's end.
void writeTextLinesAtomic(const QString& path, qsizetype count,
                          const std::function<const QString&(qsizetype)>& line,
                          QStringConverter::Encoding codePage = QStringConverter::System,
                          const std::function<void(QByteArrayView)>& bytes = {});

// Whether the file holds exactly what writeTextLinesAtomic would write (false when it cannot be
// read); `bytes` sees those bytes as they are compared.
bool holdsTextLines(const QString& path, qsizetype count,
                    const std::function<const QString&(qsizetype)>& line,
                    QStringConverter::Encoding codePage = QStringConverter::System,
                    const std::function<void(QByteArrayView)>& bytes = {});

// Writes one of the emulator's files whole as UTF-8 without a byte order mark, every line ended
// by CR LF, atomically as above.
void writeUtf8LinesAtomic(const QString& path, const QStringList& lines);

// The system's text for a failed file operation on path (e.g. "File not found").
QString fileErrorText(const QString& path, const QString& detail);

} // namespace platform

namespace platform {

// Removes every leading and trailing character with a code of 32 or less, and nothing inside.
QString trimLowCodes(const QString& text);

} // namespace platform
