#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// Text files are 8-bit text in the system code page (UTF-8 on Linux).
QString fromLocal8Bit(const QByteArray& bytes);
QByteArray toLocal8Bit(const QString& text);

// Splits bytes into lines: a line ends at a line feed and a carriage return directly before it
// is dropped, as is one that ends the last line; a terminator at the very end adds no empty
// line.
QList<QByteArray> splitLines(const QByteArray& bytes);

// Reads a whole file as raw bytes; throws IoError with the system's text on failure.
QByteArray readFileBytes(const QString& path);

// Reads a text file line by line (8-bit text); throws IoError when it cannot be read.
QStringList readTextLines(const QString& path);

// Writes the bytes as the whole file, replacing it atomically: the old file stays intact until
// the new one is complete, and a failed write or flush (a full disk included) leaves it as it
// was. Only where the folder takes no new files but the file may be changed is it written in
// place, and put back as it was when that fails. A file that may not be changed (write-protected,
// on a read-only file system) is refused. Throws IoError with the system's text.
void writeFileAtomic(const QString& path, const QByteArray& bytes);

// Writes the file whole, every line ended by CR LF, replacing it atomically: the old file stays
// intact until the new one is complete. Throws IoError when the file cannot be written.
void writeTextLinesAtomic(const QString& path, const QStringList& lines);

// The system's text for a failed file operation on path (e.g. "File not found").
QString fileErrorText(const QString& path, const QString& detail);

} // namespace platform

namespace platform {

// Removes every leading and trailing character with a code of 32 or less, and nothing inside.
QString trimLowCodes(const QString& text);

} // namespace platform
