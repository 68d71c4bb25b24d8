#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace input {

// The value of one of the emulator's input mapping settings: physical inputs
// ("DEVICE_TYPE DEVICE_ID DEVICE_INPUT [SCALE]") joined by "||" (or), "&&" (and) and "&!"
// (and not), "&&" and "&!" binding tighter. It is held as its alternatives (the parts between
// "||"), each a chain of inputs; an input's words are kept as written, so a value this code
// does not understand is written back as it was read.
struct PhysicalInput {
    QString join; // "&&" or "&!" before it; empty for an alternative's first input
    QStringList words;

    bool isKeyboard() const {
        return !words.isEmpty() && words.first() == QLatin1String("keyboard");
    }
};
using Alternative = QList<PhysicalInput>;

QList<Alternative> parseMapping(const QString& value);
// The emulator's own spelling: words joined by one blank, " || ", " && ", " &! ".
QString formatMapping(const QList<Alternative>& alternatives);

// The keyboard input for a key (usage number): "keyboard 0x0 89".
QString keyMapping(int usage);

// The keys that press the button alone: alternatives of one keyboard input without modifiers.
QList<int> plainKeys(const QString& value);

// The mapping with the key in place of every alternative made of keys only; alternatives that
// involve a gamepad, a mouse or anything else stay, after the key.
QString replaceKeys(const QString& value, int usage);
// The mapping with the key added as one more alternative (nothing changes when it has it).
QString addKey(const QString& value, int usage);

// The joysticks the emulator lists when it starts ("  ID: 0x... - Name"), by ID.
QHash<QString, QString> parseJoystickNames(const QString& emulatorOutput);

// The mapping in words, the alternatives joined by "or" ("Keyboard: Z or Gamepad Pad: button
// 3"); the texts come from the message table. Unknown key numbers and joysticks show their
// codes, an unknown input its words.
QString describeMapping(const QString& value, const QHash<QString, QString>& joystickNames);

} // namespace input
