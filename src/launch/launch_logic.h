#pragma once

#include <QString>
#include <QStringList>

namespace launch {

// The BIOS file a BIOS field stands for. A field without "\", "/" or ":" (a bare file name, or
// nothing) means the default file in <app>/Core/firmware, whatever name it holds; anything else
// is the field's own path, taken against the application folder when it is relative.
QString biosFileToTest(const QString& applicationFolder, const QString& fieldText,
                       const QString& defaultFileName);

// Whether both BIOS files the two fields stand for exist.
bool biosFilesPresent(const QString& applicationFolder, const QString& japaneseBiosField,
                      const QString& usaEuropeBiosField);
// The BIOS files the two fields stand for that do not exist, full paths in native form.
QStringList missingBiosFiles(const QString& applicationFolder, const QString& japaneseBiosField,
                             const QString& usaEuropeBiosField);

// A game is a multi-disc playlist when its extension is ".M3U" in any letter case.
bool isPlaylist(const QString& gamePath);

// The playlist's file name less its last four characters ("Game.m3u" gives "Game").
QString playlistName(const QString& gamePath);

// The number of discs of a playlist: every non-empty line counts, comments included.
int discCount(const QStringList& playlistLines);

// The image path the emulator is started on: a path relative to the application folder (as
// List.ini may hold one) made absolute, since the emulator runs from Core; others unchanged.
QString imagePathForLaunch(const QString& applicationFolder, const QString& gamePath);

// The emulator command line as the user sees it in the start-failure message, naming the
// program file (shown with the platform's folder separators).
QString commandLineText(const QString& program, int medium, const QString& gamePath);

// The absolute path of the emulator executable, <app>/Core/mednafen(.exe).
QString emulatorProgram(const QString& applicationFolder);
// The emulator's folder <app>/Core, its working folder and base folder.
QString coreFolder(const QString& applicationFolder);
// The arguments the emulator is started with: a list, so blanks and quotes in the path need
// no quoting.
QStringList emulatorArguments(int medium, const QString& gamePath);

} // namespace launch
