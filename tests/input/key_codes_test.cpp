// The scan code tables against the emulator's own defaults: every key they name must give the
// usage the emulator's Saturn keyboards are mapped to by default for that key.
#include "input/default_mappings.h"
#include "input/key_codes.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace input;

namespace {

struct Row {
    const char* button; // a Saturn keyboard's button: its default is the key
    int evdev;          // the key's Linux input event code (linux/input-event-codes.h)
    int windows;        // its set-1 scan code as Windows key messages carry it
};

// clang-format off
const Row rows[] = {
    {"keyboard.a", 30, 0x1E}, // KEY_A
    {"keyboard.b", 48, 0x30}, // KEY_B
    {"keyboard.c", 46, 0x2E}, // KEY_C
    {"keyboard.d", 32, 0x20}, // KEY_D
    {"keyboard.e", 18, 0x12}, // KEY_E
    {"keyboard.f", 33, 0x21}, // KEY_F
    {"keyboard.g", 34, 0x22}, // KEY_G
    {"keyboard.h", 35, 0x23}, // KEY_H
    {"keyboard.i", 23, 0x17}, // KEY_I
    {"keyboard.j", 36, 0x24}, // KEY_J
    {"keyboard.k", 37, 0x25}, // KEY_K
    {"keyboard.l", 38, 0x26}, // KEY_L
    {"keyboard.m", 50, 0x32}, // KEY_M
    {"keyboard.n", 49, 0x31}, // KEY_N
    {"keyboard.o", 24, 0x18}, // KEY_O
    {"keyboard.p", 25, 0x19}, // KEY_P
    {"keyboard.q", 16, 0x10}, // KEY_Q
    {"keyboard.r", 19, 0x13}, // KEY_R
    {"keyboard.s", 31, 0x1F}, // KEY_S
    {"keyboard.t", 20, 0x14}, // KEY_T
    {"keyboard.u", 22, 0x16}, // KEY_U
    {"keyboard.v", 47, 0x2F}, // KEY_V
    {"keyboard.w", 17, 0x11}, // KEY_W
    {"keyboard.x", 45, 0x2D}, // KEY_X
    {"keyboard.y", 21, 0x15}, // KEY_Y
    {"keyboard.z", 44, 0x2C}, // KEY_Z
    {"keyboard.1", 2, 0x2}, // KEY_1
    {"keyboard.2", 3, 0x3}, // KEY_2
    {"keyboard.3", 4, 0x4}, // KEY_3
    {"keyboard.4", 5, 0x5}, // KEY_4
    {"keyboard.5", 6, 0x6}, // KEY_5
    {"keyboard.6", 7, 0x7}, // KEY_6
    {"keyboard.7", 8, 0x8}, // KEY_7
    {"keyboard.8", 9, 0x9}, // KEY_8
    {"keyboard.9", 10, 0xA}, // KEY_9
    {"keyboard.0", 11, 0xB}, // KEY_0
    {"keyboard.enter", 28, 0x1C}, // KEY_ENTER
    {"keyboard.esc", 1, 0x1}, // KEY_ESC
    {"keyboard.backspace", 14, 0xE}, // KEY_BACKSPACE
    {"keyboard.tab", 15, 0xF}, // KEY_TAB
    {"keyboard.space", 57, 0x39}, // KEY_SPACE
    {"keyboard.minus", 12, 0xC}, // KEY_MINUS
    {"keyboard.equals", 13, 0xD}, // KEY_EQUAL
    {"keyboard.leftbracket", 26, 0x1A}, // KEY_LEFTBRACE
    {"keyboard.rightbracket", 27, 0x1B}, // KEY_RIGHTBRACE
    {"keyboard.backslash", 43, 0x2B}, // KEY_BACKSLASH
    {"keyboard.semicolon", 39, 0x27}, // KEY_SEMICOLON
    {"keyboard.quote", 40, 0x28}, // KEY_APOSTROPHE
    {"keyboard.grave", 41, 0x29}, // KEY_GRAVE
    {"keyboard.comma", 51, 0x33}, // KEY_COMMA
    {"keyboard.period", 52, 0x34}, // KEY_DOT
    {"keyboard.slash", 53, 0x35}, // KEY_SLASH
    {"keyboard.capslock", 58, 0x3A}, // KEY_CAPSLOCK
    {"keyboard.f1", 59, 0x3B}, // KEY_F1
    {"keyboard.f2", 60, 0x3C}, // KEY_F2
    {"keyboard.f3", 61, 0x3D}, // KEY_F3
    {"keyboard.f4", 62, 0x3E}, // KEY_F4
    {"keyboard.f5", 63, 0x3F}, // KEY_F5
    {"keyboard.f6", 64, 0x40}, // KEY_F6
    {"keyboard.f7", 65, 0x41}, // KEY_F7
    {"keyboard.f8", 66, 0x42}, // KEY_F8
    {"keyboard.f9", 67, 0x43}, // KEY_F9
    {"keyboard.f10", 68, 0x44}, // KEY_F10
    {"keyboard.f11", 87, 0x57}, // KEY_F11
    {"keyboard.f12", 88, 0x58}, // KEY_F12
    {"keyboard.printscreen", 99, 0x137}, // KEY_SYSRQ
    {"keyboard.scrolllock", 70, 0x46}, // KEY_SCROLLLOCK
    {"keyboard.pause", 119, 0x45}, // KEY_PAUSE
    {"keyboard.insert", 110, 0x152}, // KEY_INSERT
    {"keyboard.home", 102, 0x147}, // KEY_HOME
    {"keyboard.pageup", 104, 0x149}, // KEY_PAGEUP
    {"keyboard.delete", 111, 0x153}, // KEY_DELETE
    {"keyboard.end", 107, 0x14F}, // KEY_END
    {"keyboard.pagedown", 109, 0x151}, // KEY_PAGEDOWN
    {"keyboard.right", 106, 0x14D}, // KEY_RIGHT
    {"keyboard.left", 105, 0x14B}, // KEY_LEFT
    {"keyboard.down", 108, 0x150}, // KEY_DOWN
    {"keyboard.up", 103, 0x148}, // KEY_UP
    {"keyboard.numlock", 69, 0x145}, // KEY_NUMLOCK
    {"keyboard.kp_slash", 98, 0x135}, // KEY_KPSLASH
    {"keyboard.kp_asterisk", 55, 0x37}, // KEY_KPASTERISK
    {"keyboard.kp_minus", 74, 0x4A}, // KEY_KPMINUS
    {"keyboard.kp_plus", 78, 0x4E}, // KEY_KPPLUS
    {"keyboard.kp_enter", 96, 0x11C}, // KEY_KPENTER
    {"keyboard.kp_end", 79, 0x4F}, // KEY_KP1
    {"keyboard.kp_down", 80, 0x50}, // KEY_KP2
    {"keyboard.kp_pagedown", 81, 0x51}, // KEY_KP3
    {"keyboard.kp_left", 75, 0x4B}, // KEY_KP4
    {"keyboard.kp_center", 76, 0x4C}, // KEY_KP5
    {"keyboard.kp_right", 77, 0x4D}, // KEY_KP6
    {"keyboard.kp_home", 71, 0x47}, // KEY_KP7
    {"keyboard.kp_up", 72, 0x48}, // KEY_KP8
    {"keyboard.kp_pageup", 73, 0x49}, // KEY_KP9
    {"keyboard.kp_insert", 82, 0x52}, // KEY_KP0
    {"keyboard.kp_delete", 83, 0x53}, // KEY_KPDOT
    {"keyboard.lctrl", 29, 0x1D}, // KEY_LEFTCTRL
    {"keyboard.lshift", 42, 0x2A}, // KEY_LEFTSHIFT
    {"keyboard.lalt", 56, 0x38}, // KEY_LEFTALT
    {"keyboard.rctrl", 97, 0x11D}, // KEY_RIGHTCTRL
    {"keyboard.rshift", 54, 0x36}, // KEY_RIGHTSHIFT
    {"keyboard.ralt", 100, 0x138}, // KEY_RIGHTALT
    {"jpkeyboard.backslash", 89, 0x73}, // KEY_RO
    {"jpkeyboard.hkr", 93, 0x70}, // KEY_KATAKANAHIRAGANA
    {"jpkeyboard.yen", 124, 0x7D}, // KEY_YEN
    {"jpkeyboard.conv", 92, 0x79}, // KEY_HENKAN
    {"jpkeyboard.nonconv", 94, 0x7B}, // KEY_MUHENKAN
};
// clang-format on

// The first key of the emulator's default mapping of "keyboard.a" or "jpkeyboard.yen".
int defaultKey(const QString& button) {
    const QString device = button.section(QLatin1Char('.'), 0, 0);
    const QString name = button.section(QLatin1Char('.'), 1);
    for (const ButtonDefault& entry : defaultButtons(device))
        if (name == QLatin1String(entry.name))
            return QString::fromLatin1(entry.port1).section(QLatin1Char(' '), 2, 2).toInt();
    return -1;
}

TEST(ScanCodeTables, EveryKeyGivesTheEmulatorsDefault) {
    QSet<int> evdevSeen, windowsSeen;
    for (const Row& row : rows) {
        const int expected = defaultKey(QString::fromLatin1(row.button));
        ASSERT_GT(expected, 0) << row.button;
        using Set = platform::NativeKey::Set;
        EXPECT_EQ(usageOf({Set::Evdev, row.evdev}), expected) << row.button;
        EXPECT_EQ(usageOf({Set::WindowsSet1, row.windows}), expected) << row.button;
        EXPECT_FALSE(keyName(expected).isEmpty()) << row.button;
        evdevSeen.insert(row.evdev);
        windowsSeen.insert(row.windows);
    }
    // Every key the tables name is among the rows above.
    for (const ScanCode& entry : evdevTable())
        EXPECT_TRUE(evdevSeen.contains(entry.native)) << "evdev " << entry.native;
    for (const ScanCode& entry : windowsSet1Table())
        EXPECT_TRUE(windowsSeen.contains(entry.native)) << "set-1 " << entry.native;
}

TEST(ScanCodeTables, NativeScanCodesOfThisPlatform) {
    // What the toolkit reports for the J key: X11 and Wayland key code 44, Windows 0x24.
#ifdef Q_OS_WIN
    EXPECT_EQ(usageOf(platform::nativeKey(0x24)), 13);
    EXPECT_EQ(usageOf(platform::nativeKey(0x11C)), 88); // keypad Enter, an extended key
#else
    EXPECT_EQ(usageOf(platform::nativeKey(44)), 13);
    EXPECT_EQ(usageOf(platform::nativeKey(0)), 0); // no scan code
#endif
}

} // namespace
