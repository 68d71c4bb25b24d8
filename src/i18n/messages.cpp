#include "i18n/messages.h"

#include <array>

namespace i18n {

namespace {

std::array<QString, AllMessageCount> table;

const char* const english[MessageCount] = {
    "\"mednafen.exe\" is not found in the \"Core\" directory!",
    "Please, copy all file of \"Mednafen\" emulator to the \"Core\" directory and restart "
    "\"Varnix\".",
    "Varnix is a GUI for Mednafen emulator (x64 version 1.21.1 or higher).",
    "Supports only Sega Saturn system!",
    "Pick a game, set it up once, and play.",
    "Profile loaded! Do not forget to save the current settings!",
    "The settings of selected game are saved to a profile!",
    "Some files are missing in the key:",
    "The list of games has been loaded.",
    "The new games added to the list.",
    "Both or one of BIOS files is not found on the specified paths!",
    "Profile of the selected game has been removed.",
    "Profile for the selected game does not exist.",
    "Some games are already added to the list.",
    "Attention, you selected a multiple-CD game. To switch between CDs during the game, you need "
    "to press \"F8\" to get to the BIOS menu. Then press \"F6\" to change the CD. Finally, press "
    "\"F8\" again to load the selected CD into the virtual drive.",
};

// English of the later texts, in the order of Extra.
const char* const englishExtras[ExtraCount] = {
    "Add folder...",
    "Profile: ",
    "Filter: name, ID or region",
    "%1 of %2",
    "Line %1: %2",
    "The setting's value holds a zero byte, which the emulator refuses.",
    "The profile was not saved: a setting holds a line break or a control character that the "
    "emulator's settings cannot store.",
    "This file name holds a line break or a control character that the emulator's settings cannot "
    "store. Rename the file or choose another one.",
    "These games cannot be read now. They stay in the list file and come back once they can be "
    "read:",
    "The emulator ended with status %1.",
    "The emulator crashed (status %1).",
    "The settings of \"%1\" have changed. Save them to its profile?",
    "Save",
    "Don't save",
    "Cancel",
    "Global: %1",
    "on",
    "off",
    "Use the global value",
    "Reset to global",
    "Map controls...",
    "Map controls: port %1, %2",
    "Button",
    "Mapping",
    "Keyboard: %1",
    "Gamepad %1: %2",
    "Mouse: %1",
    "button %1",
    "axis %1",
    "%1 or %2",
    "(not mapped)",
    "Replace",
    "Add key",
    "Set key",
    "Clear",
    "Defaults",
    "OK",
    "Select a button and press Enter or \"Set key\", then the key. Keys are named as on a US "
    "keyboard.",
    "Press a key for %1. Escape cancels, Delete clears the button.",
    "%1 is already used by %2. Press it again to use it anyway, or press another key.",
    "this port's button \"%1\"",
    "the emulator's command \"%1\"",
    "This key cannot be mapped: the emulator's keyboard tables do not name it.",
    "The emulator is running. Close it, then map the controls: it rewrites its configuration "
    "when it ends.",
    "The device \"%1\" has no buttons to map.",
    "Not found: %1",
    "Cannot be read: %1",
    "Check the list again",
    "Remove missing games",
    "Undo",
    "Locate...",
    "Remove from list",
    "%1 (%2 missing)",
    "1 game removed. Ctrl+Z restores it.",
    "%1 games removed. Ctrl+Z restores them.",
    "Games put back in the list: %1.",
    "The game has another name now. Rename its profile \"%1\" to \"%2\"?",
    "Rename",
    "Keep",
    "Not found: %1, named in %2",
    "%1 game added",
    "%1 games added",
    "%1 not a Saturn disc",
    "%1 already in the list",
    "%1 with a file not found",
    "Put the BIOS files into %1, or choose them with \"Path\" on the \"General\" tab.",
    "Continue",
    "Open application folder",
    "Application folder: %1",
    "Error",
    "Warning",
    "Information",
    "Confirm",
    "Port 1 gamepad:",
    "D-pad: W, A, S, D",
    "Emulator keys:",
    "F5 save state",
    "F7 load state",
    "F10 reset",
    "F11 power",
    "Alt+Enter full screen",
    "Esc or F12 quit",
    "The emulator ended: %1. Status %2.",
    "a DLL it needs is missing",
    "it crashed (access violation)",
    "a DLL it loads is for another architecture",
    "it stopped itself (stack buffer overrun)",
    "This emulator version has no such setting: changing it has no effect.",
    "Profile of \"%1\" removed. Ctrl+Z restores it.",
    "Profile of \"%1\" put back.",
    "\"%1\" has a profile saved since; it stays as it is.",
    "No keys are mapped for this device.",
    "Copy from the digital pad",
    "Details...",
    "... and %1 more",
    "%1 (1 missing)",
    "Image files (CUE, CCD, M3U)",
    "Profile (cfg)",
    "Rom (bin, ic1)",
    "The desktop could not open the folder. Open it yourself:",
    "UP ↑",
    "DOWN ↓",
    "LEFT ←",
    "RIGHT →",
    "START",
    "Left Shoulder",
    "Right Shoulder",
    "D-Pad UP ↑",
    "D-Pad DOWN ↓",
    "D-Pad LEFT ←",
    "D-Pad RIGHT →",
    "Left Shoulder (Analog)",
    "Right Shoulder (Analog)",
    "Analog UP ↑",
    "Analog DOWN ↓",
    "Analog LEFT ←",
    "Analog RIGHT →",
    "Mode",
    "Left Button",
    "Middle Button",
    "Right Button",
    "Motion Up",
    "Motion Down",
    "Motion Left",
    "Motion Right",
    "Start",
    "The games of this demo folder are synthetic: they carry a Saturn header but no game, so the "
    "emulator cannot play them (without BIOS files it stops at the missing BIOS). To play, add a "
    "real disc image and put the BIOS files into Core/firmware.",
    "\"%1\" is not found in the folder \"%2\"!",
    "Install the \"Mednafen\" emulator (on Debian or Ubuntu: sudo apt install mednafen), link it "
    "into that folder (ln -s /usr/games/mednafen \"%1\") and restart \"Varnix\".",
    "Not a regular file: %1, named in %2",
    "%1 with a file that is not a regular file",
    "Played %1 in %2 sessions, last on %3",
    "Played %1 in 1 session, on %2",
    "Not played yet",
    "Played %1",
    "%1 h %2 min",
    "%1 min",
    "%1 s",
    "Recently played first",
    "The list's order is back as it was.",
    "The play time could not be saved: %1 It is kept and saved after the next game.",
    "Save data",
    "File",
    "Kind",
    "Size",
    "Changed",
    "Backup memory",
    "Cartridge memory",
    "Clock",
    "State slot %1",
    "Backup",
    "No save data found.",
    "Open folder",
    "The game has another name now. Rename its %1 save files, states and backups to match?",
    "Its %1 save files, states and backups are renamed with it.",
    "%1 already exists: that save file was left as it was.",
    "Restore...",
    "Put back which backup of %1? The save file in use now is kept as a backup of its own.",
    "%1 is back. The save file before it was kept as %2.",
    "The emulator is running. Close it first: it writes the save files when it ends.",
    "No backup of this game's save files was found.",
    "Checking...",
    "The list of games has been loaded; %1 entries were dropped.",
    "Checking %1...",
};

} // namespace

void initMessageTable() {
    for (int i = 0; i < MessageCount; ++i)
        table[static_cast<size_t>(i)] = QString::fromUtf8(english[i]);
    for (int i = 0; i < ExtraCount; ++i)
        table[static_cast<size_t>(MessageCount + i)] = QString::fromUtf8(englishExtras[i]);
}

QString message(int n) {
    if (n < 0 || n >= AllMessageCount)
        return QString();
    return table[static_cast<size_t>(n)];
}

QString message(Extra e) {
    return message(MessageCount + static_cast<int>(e));
}

void setMessage(int n, const QString& text) {
    if (n >= 0 && n < AllMessageCount)
        table[static_cast<size_t>(n)] = text;
}

QString aboutText() {
    const QChar br(13);
    return message(2) + br + message(3) + br + br + message(4) +
           QStringLiteral(" (v" VARNIX_VERSION ")");
}

} // namespace i18n
