#pragma once

#include <QString>

namespace i18n {

// The numbered user-facing texts: built-in English, replaced by the translation at start-up.
// Entries 0..14 are the launcher's original messages, translated by the language file's
// [Messages] section.
constexpr int MessageCount = 15;

// Texts the launcher gained later (menu entries, prompts, error texts). Each is message table
// entry MessageCount + its value and line (value + 1) of the language file's [Extras] section.
// Translations count lines, so new texts are appended before Count and never reordered.
enum class Extra : int {
    AddFolder,     // "Add folder..." in the list's context menu
    ProfileTip,    // "Profile: " before the profile file in a game row's tooltip
    FilterHint,    // the filter field's placeholder
    ShownOfTotal,  // "%1 of %2": the count panel while a filter hides rows
    SettingLine,   // the line and key of a setting that cannot be read (an error box)
    ZeroByteValue, // a profile value with a zero byte (an error box)
    UnsafeSetting, // a profile line that cannot be written (an error box)
    UnsafePath, // a BIOS or ROM file chosen with "Path" whose name cannot be stored (an error box)
    UnreadableGames, // no longer shown (unreadable games keep their rows); its line stays
    EmulatorFailed,  // error box: the emulator ended with a non-zero status (%1)
    EmulatorCrashed, // error box: the emulator crashed (%1: its status)
    UnsavedSettings, // question: the tabs hold unsaved changes of game %1
    SaveButton,      // its three buttons
    DiscardButton,
    CancelButton,
    GlobalValue,     // "Global: %1" ending a setting's tooltip where the game differs (%1: value)
    GlobalOn,        // a check box's global value: checked
    GlobalOff,       // unchecked
    UseGlobalValue,  // a setting's context menu: back to the global value
    ResetToGlobal,   // the list's context menu: every setting back to the global values
    MapControls,     // the controller mapping: the Controls tab's button
    MapTitle,        // its window's title: port %1, device %2
    MapButtonColumn, // the list's two columns
    MapMappingColumn,
    MapKeyboard,  // a mapping in words: a key (%1)
    MapGamepad,   // a gamepad (%1) and its input (%2)
    MapMouse,     // a mouse input (%1)
    MapJoyButton, // a gamepad's button (%1)
    MapJoyAxis,   // a gamepad's axis (%1)
    MapOr,        // two alternatives of one mapping
    MapNone,      // a button with no mapping
    MapReplace,   // how a pressed key goes in: instead of the button's keys,
    MapAddKey,    // or beside them
    MapSetKey,    // the window's buttons
    MapClear,
    MapDefaults,
    MapOk,
    MapHelp,            // the window's help line
    MapPrompt,          // waiting for a key for button %1
    MapConflict,        // key %1 is used by %2: a second press confirms
    MapPortButton,      // %2 of a conflict: another button (%1) of the port
    MapCommand,         // %2 of a conflict: a command key of the emulator (%1)
    MapUnknownKey,      // a key the scan code tables do not know
    MapEmulatorRunning, // an error box: the emulator runs, nothing is written
    MapNoButtons,       // a device (%1) without buttons
    NotFound,           // "Not found: %1": a missing game's tooltip and the box acting on it
    CannotBeRead,     // "Cannot be read: %1" (the system's reason), the same for an unreadable one
    CheckAgain,       // the list's context menu: look at the games again (F5)
    RemoveMissing,    // the list's context menu: remove every missing game
    Undo,             // the list's context menu: undo the last removal (Ctrl+Z)
    LocateButton,     // the buttons of the box acting on a missing game
    RemoveFromList,   //
    CountWithMissing, // the count panel: "%1 (%2 missing)", the games and the missing ones
    RemovedOne,       // the status after one game was removed
    RemovedMany,      // ... after %1 games were removed
    Restored,         // ... after an undo put %1 games back
    RenameProfile,    // question after "Locate...": rename profile %1 to %2
    RenameButton,     // its two buttons
    KeepButton,
    NotFoundNamedIn, // status: a file (%1) that an image (%2) names is missing
    BatchAddedOne,   // a batch's outcome, its counts joined by ", ": one game added,
    BatchAdded,      // %1 games added,
    BatchNotSaturn,  // %1 files that are no Saturn disc,
    BatchListed,     // %1 already listed,
    BatchNotFound,   // %1 whose data file (or disc) is missing
    BiosWhere,       // the BIOS warning: where to put the files (%1: Core/firmware)
    ContinueButton,  // the BIOS warning's buttons: Continue (and CancelButton)
    OpenAppFolder,   // the list's context menu: the application folder in the file manager
    AppFolderIs,     // the About box: the application folder (%1)
    TitleError,      // the message boxes' titles by kind
    TitleWarning,
    TitleInformation,
    TitleConfirm,
    HelpPad,       // the Controls tab's help: the first list's heading,
    HelpPadDpad,   // its D-pad line,
    HelpKeys,      // the second list's heading
    HelpSaveState, // and its lines
    HelpLoadState,
    HelpReset,
    HelpPower,
    HelpFullScreen,
    HelpQuit,
    EmulatorEndedWith, // error box: the emulator ended with a Windows status, %1 its meaning,
                       // %2 the status
    StatusDllMissing,  // the meanings of four Windows statuses
    StatusAccessViolation,
    StatusWrongArchitecture,
    StatusStackOverrun,
    UnknownSetting,      // a setting's tooltip: this emulator version has no such setting
    ProfileRemoved,      // status after "Delete profile" (%1: the game), offering the undo
    ProfileRestored,     // status after Undo put the profile of game %1 back
    ProfileSavedSince,   // status after Undo when game %1 has a profile saved since
    NoKeysMapped,        // the Controls tab: no button of the port's device has any input
    CopyFromPad,         // the mapping window: the shared buttons from the port's digital pad
    BatchDetails,        // the list's context menu: the files the last batch refused
    MoreRefused,         // ends a long list of refused files: %1 more
    CountWithOneMissing, // the count panel when one game is missing: "%1 (1 missing)"
    FilterImages,        // the file dialogs' type filters: disc images,
    FilterProfiles,      // profiles,
    FilterRoms,          // BIOS and cart ROMs
    FolderNotOpened,     // error box: the desktop did not open the folder (named after it)
    // The pad buttons' names in the mapping window, English as the emulator names them.
    PadUp,
    PadDown,
    PadLeft,
    PadRight,
    PadStart,
    PadLeftShoulder,
    PadRightShoulder,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
    AnalogLeftShoulder,
    AnalogRightShoulder,
    AnalogUp,
    AnalogDown,
    AnalogLeft,
    AnalogRight,
    PadMode,
    MouseLeft,
    MouseMiddle,
    MouseRight,
    MouseUp,
    MouseDown,
    MouseMoveLeft,
    MouseMoveRight,
    MouseStart,
    DemoNote,          // the About box of the demo folder: its games are synthetic
    EmulatorNotIn,     // outside Windows, instead of entries 0 and 1: emulator %1 not in folder %2,
    InstallEmulator,   // and how to install it and link it as %1
    NotRegularNamedIn, // status: a file (%1) that an image (%2) names is no regular file (a pipe)
    BatchNotRegular,   // a batch's count: %1 whose data file is no regular file
    PlayedSummary,     // the properties window and a row's tooltip: played %1 in %2 sessions, last
                       // on %3 (the date and time in the user's locale)
    PlayedSummaryOne,  // the same after one session: played %1, last on %2
    NotPlayed,         // a game never played
    PlayedSession,     // the status after a game: played %1
    HoursMinutes,      // a time played: %1 h %2 min,
    MinutesOnly,       // %1 min,
    SecondsOnly,       // %1 s
    RecentlyPlayed,    // the list's context menu: sort by last played
    OrderRestored,     // the status after an undo gave the rows their order back
    PlayTimeNotSaved,  // error box: play time could not be written (%1: the system's text)
    SaveDataHeading,   // the properties window: the game's save files,
    SaveColumnFile,    // their columns
    SaveColumnKind,
    SaveColumnSize,
    SaveColumnChanged,
    SaveKindBackupMemory, // the kinds of save file
    SaveKindCartridge,
    SaveKindClock,
    SaveKindState, // state slot %1
    SaveKindBackup,
    NoSaveData,         // no save file found
    OpenSaveFolder,     // the button that shows the save folder
    RenameSaves,        // question after "Locate...": rename the game's %1 save files too
    RenameSavesToo,     // the same after the profile's question
    SaveRenameClash,    // error box: %1 already exists, that save file was left alone
    RestoreButton,      // the properties window: put a save backup back
    RestoreQuestion,    // which backup of %1 to put back
    RestoreDone,        // %1 is back; the save file before it was kept as %2
    EmulatorRunningNow, // error box: the emulator runs, save files are left alone
    NoSaveBackups,      // no save backup of the game was found
    Checking,           // a row's tooltip while start-up has not looked at its game yet
    LoadedDropped,      // the status after start-up's check dropped %1 entries
    CheckingGame,       // the status while a launch looks at its game (%1: its name)
    Count
};
constexpr int ExtraCount = static_cast<int>(Extra::Count);
// Every entry of the table, original and later texts.
constexpr int AllMessageCount = MessageCount + ExtraCount;

// Fills the table with the built-in English texts.
void initMessageTable();
// Entry n (0..AllMessageCount - 1); an empty text for numbers outside the table.
QString message(int n);
// A later text: message(MessageCount + e).
QString message(Extra e);
// Replaces entry n (the translation's [Messages] section does this at start-up).
void setMessage(int n, const QString& text);

// The About box text: entry 2, a line break, entry 3, an empty line, entry 4 followed by the
// version ("... (v1.7)"). Line breaks are single carriage returns.
QString aboutText();

} // namespace i18n
