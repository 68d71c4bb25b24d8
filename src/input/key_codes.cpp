#include "input/key_codes.h"

#include <algorithm>
#include <array>

namespace input {

namespace {

// clang-format off
// Linux input event codes (linux/input-event-codes.h) -> usage.
constexpr ScanCode evdev[] = {
    {1, 41},    // Escape
    {2, 30}, {3, 31}, {4, 32}, {5, 33}, {6, 34}, {7, 35}, {8, 36}, {9, 37}, {10, 38}, // 1 to 9
    {11, 39},   // 0
    {12, 45}, {13, 46}, {14, 42}, {15, 43}, // - = Backspace Tab
    {16, 20}, {17, 26}, {18, 8}, {19, 21}, {20, 23}, {21, 28}, {22, 24}, {23, 12}, {24, 18},
    {25, 19},   // Q W E R T Y U I O P
    {26, 47}, {27, 48}, {28, 40}, {29, 224}, // [ ] Return Left Ctrl
    {30, 4}, {31, 22}, {32, 7}, {33, 9}, {34, 10}, {35, 11}, {36, 13}, {37, 14}, {38, 15},
                // A S D F G H J K L
    {39, 51}, {40, 52}, {41, 53}, {42, 225}, {43, 49}, // ; ' ` Left Shift Backslash
    {44, 29}, {45, 27}, {46, 6}, {47, 25}, {48, 5}, {49, 17}, {50, 16}, // Z X C V B N M
    {51, 54}, {52, 55}, {53, 56}, {54, 229}, // , . / Right Shift
    {55, 85}, {56, 226}, {57, 44}, {58, 57}, // Keypad * Left Alt Space Caps Lock
    {59, 58}, {60, 59}, {61, 60}, {62, 61}, {63, 62}, {64, 63}, {65, 64}, {66, 65}, {67, 66},
    {68, 67},   // F1 to F10
    {69, 83}, {70, 71}, // Num Lock Scroll Lock
    {71, 95}, {72, 96}, {73, 97}, {74, 86}, {75, 92}, {76, 93}, {77, 94}, {78, 87}, {79, 89},
    {80, 90}, {81, 91}, {82, 98}, {83, 99}, // keypad 7 8 9 - 4 5 6 + 1 2 3 0 .
    {87, 68}, {88, 69}, // F11 F12
    {89, 135}, {92, 138}, {93, 136}, {94, 139}, // Ro Henkan Katakana/Hiragana Muhenkan
    {96, 88}, {97, 228}, {98, 84}, {99, 70}, {100, 230}, // Keypad Enter, Right Ctrl, Keypad /,
                                                        // Print Screen, Right Alt
    {102, 74}, {103, 82}, {104, 75}, {105, 80}, {106, 79}, {107, 77}, {108, 81}, {109, 78},
    {110, 73}, {111, 76}, // Home Up Page Up Left Right End Down Page Down Insert Delete
    {119, 72},  // Pause
    {124, 137}, // Yen
};

// Windows set-1 scan codes, as the key messages carry them -> usage. Most keys share their
// code with the Linux table; Pause arrives as 0x45 and Num Lock as the extended 0x45.
constexpr ScanCode windowsSet1[] = {
    {0x01, 41},
    {0x02, 30}, {0x03, 31}, {0x04, 32}, {0x05, 33}, {0x06, 34}, {0x07, 35}, {0x08, 36},
    {0x09, 37}, {0x0A, 38}, {0x0B, 39},
    {0x0C, 45}, {0x0D, 46}, {0x0E, 42}, {0x0F, 43},
    {0x10, 20}, {0x11, 26}, {0x12, 8}, {0x13, 21}, {0x14, 23}, {0x15, 28}, {0x16, 24},
    {0x17, 12}, {0x18, 18}, {0x19, 19},
    {0x1A, 47}, {0x1B, 48}, {0x1C, 40}, {0x1D, 224},
    {0x1E, 4}, {0x1F, 22}, {0x20, 7}, {0x21, 9}, {0x22, 10}, {0x23, 11}, {0x24, 13},
    {0x25, 14}, {0x26, 15},
    {0x27, 51}, {0x28, 52}, {0x29, 53}, {0x2A, 225}, {0x2B, 49},
    {0x2C, 29}, {0x2D, 27}, {0x2E, 6}, {0x2F, 25}, {0x30, 5}, {0x31, 17}, {0x32, 16},
    {0x33, 54}, {0x34, 55}, {0x35, 56}, {0x36, 229},
    {0x37, 85}, {0x38, 226}, {0x39, 44}, {0x3A, 57},
    {0x3B, 58}, {0x3C, 59}, {0x3D, 60}, {0x3E, 61}, {0x3F, 62}, {0x40, 63}, {0x41, 64},
    {0x42, 65}, {0x43, 66}, {0x44, 67},
    {0x45, 72}, {0x46, 71}, // Pause (sent without the extended flag), Scroll Lock
    {0x47, 95}, {0x48, 96}, {0x49, 97}, {0x4A, 86}, {0x4B, 92}, {0x4C, 93}, {0x4D, 94},
    {0x4E, 87}, {0x4F, 89}, {0x50, 90}, {0x51, 91}, {0x52, 98}, {0x53, 99},
    {0x57, 68}, {0x58, 69},
    {0x70, 136}, {0x73, 135}, {0x79, 138}, {0x7B, 139}, {0x7D, 137},
    {0x11C, 88}, {0x11D, 228}, {0x135, 84}, {0x137, 70}, {0x138, 230},
    {0x145, 83}, // Num Lock
    {0x147, 74}, {0x148, 82}, {0x149, 75}, {0x14B, 80}, {0x14D, 79}, {0x14F, 77}, {0x150, 81},
    {0x151, 78}, {0x152, 73}, {0x153, 76},
};
// clang-format on

struct Name {
    int usage;
    const char* name;
};

constexpr Name names[] = {
    {40, "Return"},
    {41, "Escape"},
    {42, "Backspace"},
    {43, "Tab"},
    {44, "Space"},
    {45, "Minus"},
    {46, "Equals"},
    {47, "Left Bracket"},
    {48, "Right Bracket"},
    {49, "Backslash"},
    {50, "Non-US Hash"},
    {51, "Semicolon"},
    {52, "Apostrophe"},
    {53, "Grave"},
    {54, "Comma"},
    {55, "Period"},
    {56, "Slash"},
    {57, "Caps Lock"},
    {70, "Print Screen"},
    {71, "Scroll Lock"},
    {72, "Pause"},
    {73, "Insert"},
    {74, "Home"},
    {75, "Page Up"},
    {76, "Delete"},
    {77, "End"},
    {78, "Page Down"},
    {79, "Right"},
    {80, "Left"},
    {81, "Down"},
    {82, "Up"},
    {83, "Num Lock"},
    {84, "Keypad /"},
    {85, "Keypad *"},
    {86, "Keypad -"},
    {87, "Keypad +"},
    {88, "Keypad Enter"},
    {99, "Keypad ."},
    {100, "Non-US Backslash"},
    {101, "Menu"},
    {103, "Keypad ="},
    {135, "Ro"},
    {136, "Katakana/Hiragana"},
    {137, "Yen"},
    {138, "Henkan"},
    {139, "Muhenkan"},
    {224, "Left Ctrl"},
    {225, "Left Shift"},
    {226, "Left Alt"},
    {227, "Left Windows"},
    {228, "Right Ctrl"},
    {229, "Right Shift"},
    {230, "Right Alt"},
    {231, "Right Windows"},
};

int lookUp(std::span<const ScanCode> table, int native) {
    const auto it = std::find_if(table.begin(), table.end(), [native](const ScanCode& entry) {
        return entry.native == native;
    });
    return it == table.end() ? 0 : it->usage;
}

} // namespace

std::span<const ScanCode> evdevTable() {
    return evdev;
}

std::span<const ScanCode> windowsSet1Table() {
    return windowsSet1;
}

int usageOf(const platform::NativeKey& key) {
    if (key.code <= 0)
        return 0;
    return lookUp(key.set == platform::NativeKey::Set::WindowsSet1 ? windowsSet1Table()
                                                                   : evdevTable(),
                  key.code);
}

QString keyName(int usage) {
    if (usage >= 4 && usage <= 29)
        return QString(QChar(u'A' + (usage - 4)));
    if (usage >= 30 && usage <= 38)
        return QString::number(usage - 29);
    if (usage == 39)
        return QStringLiteral("0");
    if (usage >= 58 && usage <= 69)
        return QStringLiteral("F") + QString::number(usage - 57);
    if (usage >= 89 && usage <= 97)
        return QStringLiteral("Keypad ") + QString::number(usage - 88);
    if (usage == 98)
        return QStringLiteral("Keypad 0");
    if (usage >= 104 && usage <= 115)
        return QStringLiteral("F") + QString::number(usage - 91);
    for (const Name& entry : names)
        if (entry.usage == usage)
            return QString::fromLatin1(entry.name);
    return QString();
}

} // namespace input
