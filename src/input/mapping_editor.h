#pragma once

#include "input/global_config.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace input {

// The buttons of one emulated device on one virtual port with their mappings, as the mapping
// window edits them: read from the global configuration (a button without a line has the
// emulator's default), changed by key, and handed back as the settings that changed.
class MappingEditor {
public:
    // port counts from 1; device is the emulator's word ("gamepad", "3dpad", ...).
    MappingEditor(int port, const QString& device, const QHash<QString, QString>& fileSettings);

    // The name prefixes of every setting the editor needs from the file.
    static QStringList prefixes(int port, const QString& device);

    int port() const { return port_; }
    const QString& device() const { return device_; }
    int count() const { return static_cast<int>(buttons_.size()); }
    QString settingName(int button) const; // "ss.input.port1.gamepad.a"
    QString label(int button) const;       // the emulator's name ("A", "START")
    QString value(int button) const;
    bool changed(int button) const;

    // Who else presses this key while a game runs: another button of this device on this
    // port, or one of the emulator's command keys without a modifier. The words of the window
    // ("this port's button "B""); nullopt when nobody does.
    std::optional<QString> conflict(int button, int usage) const;

    // The key replaces the button's keys (its gamepad and mouse parts stay), or is added.
    void setKey(int button, int usage, bool add);
    // The button maps to nothing.
    void clear(int button);
    // Every button back to the emulator's default for this port.
    void restoreDefaults();
    // Whether the device shares buttons with the digital pad (directions, A B C X Y Z, Start,
    // L R), so that they can take the port's pad mapping.
    bool sharesPadButtons() const { return !padValues_.isEmpty(); }
    // The shared buttons take what drives them on the port's digital pad; a button the pad
    // leaves unmapped keeps its own mapping.
    void copyFromPad();

    // The settings whose value differs from what the file gave.
    QList<Setting> changes() const;

private:
    struct Button {
        QString name;
        QString label;
        QString original;
        QString value;
    };
    struct Command {
        QString label;
        QList<int> keys;
    };

    int port_;
    QString device_;
    QList<Button> buttons_;
    QList<QString> defaults_;
    QList<Command> commands_;
    // For each button the pad shares: the pad's mapping on this port, by button number.
    QHash<int, QString> padValues_;
};

// Whether no button of the device on the port (from 1) maps to anything, so that it cannot be
// played there. `valueOf` gives a setting's value by name, nullopt when the file has no line
// for it (the emulator's default applies). A device without buttons ("none") lacks nothing.
bool deviceMapsNothing(int port, const QString& device,
                       const std::function<std::optional<QString>(const QString&)>& valueOf);

} // namespace input
