#pragma once

#include <QString>
#include <span>

namespace input {

// One button of an emulated device with the emulator's default mapping for it. Only port 1's
// digital gamepad has keys by default, so port 1 has its own column.
struct ButtonDefault {
    const char* name;       // the last part of the setting: "a" in ss.input.port1.gamepad.a
    const char* label;      // the emulator's own name of the button (UTF-8)
    const char* port1;      // the default mapping on port 1
    const char* otherPorts; // the default mapping on every other port
};

// A command key of the emulator (command.<name>) with a keyboard mapping by default.
struct CommandDefault {
    const char* name;
    const char* label; // the emulator's description ("Save state")
    const char* mapping;
};

// The buttons of a Saturn device of the emulator ("gamepad", "3dpad", "mouse", "wheel",
// "mission", "dmission", "gun", "keyboard", "jpkeyboard"), in the order a window lists them;
// empty for any other word.
std::span<const ButtonDefault> defaultButtons(const QString& device);

std::span<const CommandDefault> defaultCommands();

} // namespace input
