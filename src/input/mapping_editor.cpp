#include "input/mapping_editor.h"

#include "i18n/messages.h"
#include "input/default_mappings.h"
#include "input/mapping.h"

namespace input {

namespace {

QString prefixOf(int port, const QString& device) {
    return QStringLiteral("ss.input.port%1.%2.").arg(port).arg(device);
}

const QString commandPrefix = QStringLiteral("command.");

} // namespace

QStringList MappingEditor::prefixes(int port, const QString& device) {
    return {prefixOf(port, device), commandPrefix};
}

MappingEditor::MappingEditor(int port, const QString& device,
                             const QHash<QString, QString>& fileSettings)
    : port_(port), device_(device) {
    const QString prefix = prefixOf(port, device);
    for (const ButtonDefault& entry : defaultButtons(device)) {
        const QString name = prefix + QLatin1String(entry.name);
        const QString fallback = QString::fromUtf8(port == 1 ? entry.port1 : entry.otherPorts);
        // A button without a line has the emulator's default.
        const QString value = fileSettings.value(name, fallback);
        buttons_.append({name, QString::fromUtf8(entry.label), value, value});
        defaults_.append(fallback);
    }
    for (const CommandDefault& entry : defaultCommands()) {
        const QString value = fileSettings.value(commandPrefix + QLatin1String(entry.name),
                                                 QString::fromUtf8(entry.mapping));
        commands_.append({QString::fromUtf8(entry.label), plainKeys(value)});
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

QList<Setting> MappingEditor::changes() const {
    QList<Setting> result;
    for (const Button& b : buttons_)
        if (b.value != b.original)
            result.append({b.name, b.value});
    return result;
}

} // namespace input
