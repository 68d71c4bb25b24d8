#include "input/mapping_editor.h"

#include "i18n/messages.h"
#include "input/default_mappings.h"
#include "input/mapping.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace input {

namespace {

QString prefixOf(int port, const QString& device) {
    return QStringLiteral("ss.input.port%1.%2.").arg(port).arg(device);
}

const QString commandPrefix = QStringLiteral("command.");

// A button's name as the window shows it: the pads' and the mouse's buttons in the user's
// language, every other one as the emulator names it.
QString buttonLabel(const char* emulatorLabel) {
    using i18n::Extra;
    static const std::pair<const char*, Extra> translated[] = {
        {"UP ↑", Extra::PadUp},
        {"DOWN ↓", Extra::PadDown},
        {"LEFT ←", Extra::PadLeft},
        {"RIGHT →", Extra::PadRight},
        {"START", Extra::PadStart},
        {"Left Shoulder", Extra::PadLeftShoulder},
        {"Right Shoulder", Extra::PadRightShoulder},
        {"D-Pad UP ↑", Extra::DpadUp},
        {"D-Pad DOWN ↓", Extra::DpadDown},
        {"D-Pad LEFT ←", Extra::DpadLeft},
        {"D-Pad RIGHT →", Extra::DpadRight},
        {"Left Shoulder (Analog)", Extra::AnalogLeftShoulder},
        {"Right Shoulder (Analog)", Extra::AnalogRightShoulder},
        {"Analog UP ↑", Extra::AnalogUp},
        {"Analog DOWN ↓", Extra::AnalogDown},
        {"Analog LEFT ←", Extra::AnalogLeft},
        {"Analog RIGHT →", Extra::AnalogRight},
        {"Mode", Extra::PadMode},
        {"Left Button", Extra::MouseLeft},
        {"Middle Button", Extra::MouseMiddle},
        {"Right Button", Extra::MouseRight},
        {"Motion Up", Extra::MouseUp},
        {"Motion Down", Extra::MouseDown},
        {"Motion Left", Extra::MouseMoveLeft},
        {"Motion Right", Extra::MouseMoveRight},
        {"Start", Extra::MouseStart},
    };
    for (const auto& [label, text] : translated)
        if (std::strcmp(label, emulatorLabel) == 0)
            return i18n::message(text);
    return QString::fromUtf8(emulatorLabel);
}

// A command key's name: as the Controls tab's help lists it when it does, else the emulator's.
QString commandLabel(const CommandDefault& command) {
    using i18n::Extra;
    static const std::pair<const char*, Extra> listed[] = {
        {"save_state", Extra::HelpSaveState}, {"load_state", Extra::HelpLoadState},
        {"reset", Extra::HelpReset},          {"power", Extra::HelpPower},
        {"toggle_fs", Extra::HelpFullScreen}, {"exit", Extra::HelpQuit},
    };
    for (const auto& [name, text] : listed)
        if (std::strcmp(name, command.name) == 0)
            return i18n::message(text);
    return QString::fromUtf8(command.label);
}

// The devices whose buttons a pad's mapping suits, and the pad's button each takes: the same
// name, and the shoulders for the mission sticks' L and R.
bool takesPadButtons(const QString& device) {
    return device == QLatin1String("3dpad") || device == QLatin1String("wheel") ||
           device == QLatin1String("mission") || device == QLatin1String("dmission");
}

QString padButtonFor(const QString& button) {
    if (button == QLatin1String("l"))
        return QStringLiteral("ls");
    if (button == QLatin1String("r"))
        return QStringLiteral("rs");
    return button;
}

const QString padDevice = QStringLiteral("gamepad");

} // namespace

QStringList MappingEditor::prefixes(int port, const QString& device) {
    if (takesPadButtons(device))
        return {prefixOf(port, device), prefixOf(port, padDevice), commandPrefix};
    return {prefixOf(port, device), commandPrefix};
}

namespace {

// The port's digital pad buttons with their mappings: the file's line, else the default.
QHash<QString, QString> padMappings(int port, const QHash<QString, QString>& fileSettings) {
    QHash<QString, QString> values;
    const QString prefix = prefixOf(port, padDevice);
    for (const ButtonDefault& entry : defaultButtons(padDevice))
        values.insert(
            QString::fromLatin1(entry.name),
            fileSettings.value(prefix + QLatin1String(entry.name),
                               QString::fromUtf8(port == 1 ? entry.port1 : entry.otherPorts)));
    return values;
}

} // namespace

MappingEditor::MappingEditor(int port, const QString& device,
                             const QHash<QString, QString>& fileSettings)
    : port_(port), device_(device) {
    const QString prefix = prefixOf(port, device);
    for (const ButtonDefault& entry : defaultButtons(device)) {
        const QString name = prefix + QLatin1String(entry.name);
        const QString fallback = QString::fromUtf8(port == 1 ? entry.port1 : entry.otherPorts);
        // A button without a line has the emulator's default.
        const QString value = fileSettings.value(name, fallback);
        buttons_.append({name, buttonLabel(entry.label), value, value});
        defaults_.append(fallback);
    }
    if (takesPadButtons(device)) {
        const QHash<QString, QString> pad = padMappings(port, fileSettings);
        const auto entries = defaultButtons(device);
        for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
            const auto found = pad.constFind(padButtonFor(QLatin1String(entries[i].name)));
            if (found != pad.constEnd())
                padValues_.insert(i, *found);
        }
    }
    for (const CommandDefault& entry : defaultCommands()) {
        const QString value = fileSettings.value(commandPrefix + QLatin1String(entry.name),
                                                 QString::fromUtf8(entry.mapping));
        commands_.append({commandLabel(entry), plainKeys(value)});
    }
}

QString MappingEditor::settingName(int button) const {
    return buttons_.at(button).name;
}

QString MappingEditor::label(int button) const {
    return buttons_.at(button).label;
}

QString MappingEditor::value(int button) const {
    return buttons_.at(button).value;
}

bool MappingEditor::changed(int button) const {
    return buttons_.at(button).value != buttons_.at(button).original;
}

std::optional<QString> MappingEditor::conflict(int button, int usage) const {
    for (int other = 0; other < count(); ++other)
        if (other != button && plainKeys(buttons_[other].value).contains(usage))
            return i18n::message(i18n::Extra::MapPortButton).arg(buttons_[other].label);
    for (const Command& command : commands_)
        if (command.keys.contains(usage))
            return i18n::message(i18n::Extra::MapCommand).arg(command.label);
    return std::nullopt;
}

void MappingEditor::setKey(int button, int usage, bool add) {
    Button& b = buttons_[button];
    b.value = add ? addKey(b.value, usage) : replaceKeys(b.value, usage);
}

void MappingEditor::clear(int button) {
    buttons_[button].value.clear();
}

void MappingEditor::restoreDefaults() {
    for (int i = 0; i < count(); ++i)
        buttons_[i].value = defaults_[i];
}

void MappingEditor::copyFromPad() {
    for (auto it = padValues_.constBegin(); it != padValues_.constEnd(); ++it)
        if (!it.value().isEmpty())
            buttons_[it.key()].value = it.value();
}

QList<Setting> MappingEditor::changes() const {
    QList<Setting> result;
    for (const Button& b : buttons_)
        if (b.value != b.original)
            result.append({b.name, b.value});
    return result;
}

bool deviceMapsNothing(int port, const QString& device,
                       const std::function<std::optional<QString>(const QString&)>& valueOf) {
    const auto buttons = defaultButtons(device);
    const QString prefix = prefixOf(port, device);
    return !buttons.empty() && std::all_of(buttons.begin(), buttons.end(), [&](const auto& b) {
        const std::optional<QString> value = valueOf(prefix + QLatin1String(b.name));
        return (value ? *value : QString::fromUtf8(port == 1 ? b.port1 : b.otherPorts))
            .trimmed()
            .isEmpty();
    });
}

} // namespace input
