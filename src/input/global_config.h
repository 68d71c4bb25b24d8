#pragma once

#include <QByteArray>
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

// The settings whose names begin with one of the prefixes, by name; the first line of a name
// counts.
QHash<QString, QString> readSettings(const QByteArray& bytes, const QStringList& prefixes);

// The file with the given settings' values replaced in place: every line of such a setting gets
// the new value, every other byte (line ends, comments, other settings) stays. A setting the
// file lacks is added at its end, with the line end the file uses.
QByteArray replaceSettings(const QByteArray& bytes, const QList<Setting>& settings);

// Reads the file again, replaces the settings and writes it atomically. Throws
// platform::IoError when it cannot be read or written; the file then stays as it was.
void writeSettings(const QString& path, const QList<Setting>& settings);

} // namespace input
