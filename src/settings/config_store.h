#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace settings {

// The emulator configuration file held in memory: an ordered list of lines without their
// terminators. A setting key is a setting's name followed by exactly one blank ("ss.cart ").

// Splits a configuration file's bytes into lines: a line ends at LF or CR LF, a lone CR is
// dropped, character 26 ends the file, a final terminator adds no empty line.
QStringList parseConfigLines(const QByteArray& bytes);

// Reads the file at profilePath when it exists, else the global configuration. Throws
// platform::IoError ("File not found" and the path when neither exists).
QStringList loadConfigLines(const QString& profilePath, const QString& globalConfigPath);

// The value after the first line that begins with the key (case-sensitive); empty when none.
QString findSetting(const QStringList& lines, const QString& key);

// Writes the lines as a game profile with CR LF, replacing the file atomically. The folder is
// not created. Throws platform::IoError.
void writeGameProfile(const QString& profilePath, const QStringList& lines);

// application folder + "/Core/mednafen.cfg".
QString globalConfigPath(const QString& applicationFolder);
// application folder + "/Core/pgconfig/" + name + ".ss.cfg", where the name is the game name,
// or, for a playlist game, the playlist's file name without its extension (the file the
// emulator reads when it is started on the playlist).
QString gameProfilePath(const QString& applicationFolder, const QString& gamePath,
                        const QString& gameName);

} // namespace settings
