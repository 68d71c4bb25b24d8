#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace input {

// The emulator's global configuration (Core/mednafen.cfg) as the controller mapping reads and
// changes it: lines of a setting's name, one blank and its value. The emulator itself writes
// this file whole when it ends; the launcher changes only the lines of the settings it maps.

using Setting = std::pair<QString, QString>; // name, value

// The file is UTF-8; bytes that are no UTF-8 are kept: each becomes one character U+DC80 to
// U+DCFF (never produced by valid UTF-8 alone) and goes back to its byte when written, so a
// value read and written again keeps every byte it had.
QString decodeKeepingBytes(QByteArrayView bytes);
QByteArray encodeKeepingBytes(const QString& text);

// The settings whose names begin with one of the prefixes, by name; of a name written twice the
// last line counts, as in the emulator.
QHash<QString, QString> readSettings(const QByteArray& bytes, const QStringList& prefixes);

// The file with the given settings' values replaced in place: every line of such a setting gets
// the new value, every other byte (line ends, comments, other settings) stays. A setting the
// file lacks is added at its end, with the line end the file uses.
QByteArray replaceSettings(const QByteArray& bytes, const QList<Setting>& settings);

// Reads the file again, replaces the settings and writes it atomically. Throws
// platform::IoError when it cannot be read or written; the file then stays as it was.
// While it writes, a note beside the file names the copies "<file>.XXXXXX" that were there
// before, so that a write cut short (the launcher killed) can be told from the user's files.
void writeSettings(const QString& path, const QList<Setting>& settings);

// Removes what a write of the file that was cut short left beside it: the new contents'
// copy "<file>.XXXXXX" (six letters or digits) that the note does not name, and the note.
// Nothing when there is no note. Called at start-up by the launcher that owns the folder.
void removeWriteLeftovers(const QString& path);

} // namespace input
