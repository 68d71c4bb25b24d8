#pragma once

#include <QtGlobal>

namespace platform {

// A key's scan code as the platform's keyboard layer numbers it.
struct NativeKey {
    enum class Set {
        Evdev,      // Linux input event codes (X11 and Wayland key codes are these plus 8)
        WindowsSet1 // PC set-1 make codes, 0x100 added for keys sent with the 0xE0 prefix
    };
    Set set = Set::Evdev;
    int code = 0; // 0: the key has no scan code
};

// The key behind a key event's native scan code (QKeyEvent::nativeScanCode()).
NativeKey nativeKey(quint32 nativeScanCode);

} // namespace platform
