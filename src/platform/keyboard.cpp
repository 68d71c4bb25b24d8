#include "platform/keyboard.h"

namespace platform {

NativeKey nativeKey(quint32 nativeScanCode) {
    NativeKey key;
#ifdef Q_OS_WIN
    // The toolkit hands over bits 16 to 24 of the key message: the scan code and the flag of
    // the extended keys.
    key.set = NativeKey::Set::WindowsSet1;
    key.code = static_cast<int>(nativeScanCode & 0x1FF);
#else
    // X11 and Wayland number keys as the kernel does, shifted by 8.
    key.set = NativeKey::Set::Evdev;
    key.code = nativeScanCode > 8 ? static_cast<int>(nativeScanCode - 8) : 0;
#endif
    return key;
}

} // namespace platform
