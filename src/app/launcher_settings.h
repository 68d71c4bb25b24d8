#pragma once

#include <QString>
#include <QStringList>

// The launcher's own settings, Main.ini: line 1 the language index, line 2 the skin index.
// These two lines are read by position, whatever key stands before the "=". Later lines hold
// settings by key ("Game=", "Tab=", "Folder="); versions that know only the first two lines ignore
// them.
struct LauncherSettings {
    static constexpr int DefaultLanguage = 0;
    static constexpr int DefaultSkin = 3;

    int language = DefaultLanguage; // 0 built-in English, 1 the translation
    int skin = DefaultSkin;         // 0 Desert .. 5 Sun
    // Where the user left off: the selected game's image path (empty for none) and the open
    // settings tab (-1 for none; 0, the tab open at start, is not written).
    QString game;
    int tab = -1;
    // The folder "Add games" or "Add folder..." was used in last (empty: none yet).
    QString gamesFolder;

    // Settings from the lines of Main.ini: the value of a line is everything after its first
    // "=" (the whole line when it has none); a value that is not a whole number, a missing line,
    // or an index outside the selectors' entries gives the default.
    static LauncherSettings fromLines(const QStringList& lines);
    // Reads Main.ini; a missing file gives the defaults. Throws platform::IoError when an
    // existing file cannot be read.
    static LauncherSettings read(const QString& mainIniPath);

    QStringList toLines() const;
    // Writes Main.ini whole and atomically. Throws platform::IoError.
    void write(const QString& mainIniPath) const;
};

// Whether picking an entry of the skins selector restarts the launcher.
bool skinChangeRestarts(int picked, int skinInForce);
