#pragma once

#include "platform/keyboard.h"

#include <QString>
#include <span>

namespace input {

// The emulator names keyboard keys by their USB HID usage ("keyboard 0x0 89" is keypad 1).

// A scan code table: native codes of one set and the usage each stands for.
struct ScanCode {
    int native;
    int usage;
};

// The keys of the two Saturn keyboards: Linux input event codes and Windows set-1 scan codes
// (0x100 added for extended keys).
std::span<const ScanCode> evdevTable();
std::span<const ScanCode> windowsSet1Table();

// The usage of a native key; 0 when the tables do not know it.
int usageOf(const platform::NativeKey& key);

// The English name of a key by its usage, as on a US keyboard ("Keypad 1", "Return");
// empty when it has none.
QString keyName(int usage);

} // namespace input
