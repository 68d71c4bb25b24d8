#include "settings/settings_model.h"

#include "settings/config_store.h"
#include "settings/settings_table.h"

#include <algorithm>

namespace settings {

namespace {

constexpr size_t at(Ctl ctl) {
    return static_cast<size_t>(ctl);
}
constexpr size_t at(EnableGroup group) {
    return static_cast<size_t>(group);
}

bool isKind(Ctl ctl, ControlKind kind) {
    return ctl < Ctl::Count && controlInfo(ctl).kind == kind;
}

} // namespace

QString ctlName(Ctl ctl) {
    if (ctl >= Ctl::Count)
        return QString();
    return QString::fromLatin1(controlInfo(ctl).name);
}

SettingsModel::SettingsModel(QObject* parent) : QObject(parent) {
    for (int i = 0; i < CtlCount; ++i) {
        const ControlInfo& info = controlInfo(static_cast<Ctl>(i));
        values_[static_cast<size_t>(i)] = info.initial;
        texts_[static_cast<size_t>(i)] = info.initialText;
    }
    portDevices_.fill(0);
    portPadModes_.fill(0);
    // CheckBox4 starts checked, CheckBox8/9/10 unchecked, the shader is "none".
    enabled_[at(EnableGroup::Region)] = false;
    enabled_[at(EnableGroup::BlurAmount)] = false;
    enabled_[at(EnableGroup::ScanlineOpacity)] = false;
    enabled_[at(EnableGroup::GoatShader)] = false;
}

bool SettingsModel::checked(Ctl box) const {
    return isKind(box, ControlKind::CheckBox) && values_[at(box)] != 0;
}

void SettingsModel::setChecked(Ctl box, bool on) {
    if (!isKind(box, ControlKind::CheckBox) || (values_[at(box)] != 0) == on)
        return;
    values_[at(box)] = on ? 1 : 0;
    emit controlChanged(box);
    checkBoxClick(box);
}

void SettingsModel::checkBoxClick(Ctl box) {
    switch (box) {
    case Ctl::CheckBox4:
        setEnabled(EnableGroup::Region, !checked(Ctl::CheckBox4));
        break;
    case Ctl::CheckBox8:
    case Ctl::CheckBox9:
        // The blur amount follows whichever of the two boxes changed last.
        setEnabled(EnableGroup::BlurAmount, checked(box));
        break;
    case Ctl::CheckBox10:
        setEnabled(EnableGroup::ScanlineOpacity, checked(Ctl::CheckBox10));
        break;
    default:
        break;
    }
}

int SettingsModel::index(Ctl list) const {
    return isKind(list, ControlKind::List) ? values_[at(list)] : -1;
}

void SettingsModel::setIndex(Ctl list, int index) {
    if (!isKind(list, ControlKind::List))
        return;
    if (index < 0 || index >= controlInfo(list).items.size())
        index = -1;
    if (values_[at(list)] == index)
        return;
    values_[at(list)] = index;
    emit controlChanged(list);
}

void SettingsModel::userSelect(Ctl list, int index) {
    if (!isKind(list, ControlKind::List) || index < 0 || index >= controlInfo(list).items.size())
        return; // the user can only pick one of the items
    setIndex(list, index);
    switch (list) {
    case Ctl::ComboBox4: // ComboBox4Select
        showCurrentPort();
        break;
    case Ctl::ComboBox9:
        comboBox9Change();
        break;
    case Ctl::ComboBox15:
        portDevices_[static_cast<size_t>(currentPort())] = index;
        break;
    case Ctl::ComboBox16:
        portPadModes_[static_cast<size_t>(currentPort())] = index;
        break;
    default:
        break;
    }
}

void SettingsModel::comboBox9Change() {
    // "goat" is the eleventh item; its CRT controls are used by no other shader.
    setEnabled(EnableGroup::GoatShader, index(Ctl::ComboBox9) > 9);
}

void SettingsModel::showCurrentPort() {
    const auto port = static_cast<size_t>(currentPort());
    setIndex(Ctl::ComboBox15, portDevices_[port]);
    setIndex(Ctl::ComboBox16, portPadModes_[port]);
}

QStringList SettingsModel::items(Ctl list) const {
    return isKind(list, ControlKind::List) ? controlInfo(list).items : QStringList();
}

int SettingsModel::findComboItem(Ctl list, const QString& value) const {
    const QStringList all = items(list);
    const QString wanted = value.toUpper();
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all.at(i).toUpper().startsWith(wanted))
            return static_cast<int>(i);
    }
    return static_cast<int>(all.size());
}

int SettingsModel::position(Ctl bar) const {
    return isKind(bar, ControlKind::TrackBar) ? values_[at(bar)] : 0;
}

void SettingsModel::setPosition(Ctl bar, int position) {
    if (!isKind(bar, ControlKind::TrackBar))
        return;
    position = std::clamp(position, minimum(bar), maximum(bar));
    if (values_[at(bar)] == position)
        return;
    values_[at(bar)] = position;
    emit controlChanged(bar); // the value box text follows the position
}

int SettingsModel::minimum(Ctl bar) const {
    return isKind(bar, ControlKind::TrackBar) ? controlInfo(bar).minimum : 0;
}

int SettingsModel::maximum(Ctl bar) const {
    return isKind(bar, ControlKind::TrackBar) ? controlInfo(bar).maximum : 0;
}

QString SettingsModel::valueBoxText(Ctl bar) const {
    const int pos = position(bar);
    switch (bar) {
    case Ctl::TrackBar2:
    case Ctl::TrackBar6:
    case Ctl::TrackBar8:
    case Ctl::TrackBar9:
        return hundredthsText(pos);
    case Ctl::TrackBar3:
        return QString::number(pos) + QLatin1Char('%');
    case Ctl::TrackBar5:
        return QLatin1Char('x') + QString::number(pos);
    case Ctl::TrackBar1:
    case Ctl::TrackBar4:
    case Ctl::TrackBar7:
        return QString::number(pos);
    default:
        return QString();
    }
}

QString SettingsModel::text(Ctl edit) const {
    return isKind(edit, ControlKind::PathEdit) ? texts_[at(edit)] : QString();
}

void SettingsModel::setText(Ctl edit, const QString& text) {
    if (!isKind(edit, ControlKind::PathEdit) || texts_[at(edit)] == text)
        return;
    texts_[at(edit)] = text;
    emit controlChanged(edit);
}

bool SettingsModel::enabled(EnableGroup group) const {
    return enabled_[at(group)];
}

void SettingsModel::setEnabled(EnableGroup group, bool on) {
    if (enabled_[at(group)] == on)
        return;
    enabled_[at(group)] = on;
    emit enabledChanged(group, on);
}

int SettingsModel::currentPort() const {
    return std::max(0, index(Ctl::ComboBox4));
}

int SettingsModel::portDevice(int port) const {
    return port >= 0 && port < 9 ? portDevices_[static_cast<size_t>(port)] : 0;
}

int SettingsModel::portPadMode(int port) const {
    return port >= 0 && port < 9 ? portPadModes_[static_cast<size_t>(port)] : 0;
}

std::optional<QString> SettingsModel::applySettings(const QStringList& lines) {
    auto notFloat = [](const QString& value) {
        return QStringLiteral("'%1' is not a valid floating point value").arg(value);
    };
    for (const SettingRow* row : readSequence()) {
        QString value = findSetting(lines, row->key);
        if (value.isEmpty() && !row->legacyKey.isEmpty())
            value = findSetting(lines, row->legacyKey);
        const Ctl ctl = row->ctl;
        switch (row->kind) {
        case Kind::Path:
            if (!value.isEmpty())
                setText(ctl, value);
            break;
        case Kind::Flag:
            setChecked(ctl, parseWholeNumber(value).value_or(row->defaultValue) > 0);
            break;
        case Kind::InvertedFlag:
            setChecked(ctl, parseWholeNumber(value).value_or(row->defaultValue) == 0);
            break;
        case Kind::WordList:
            readValues_[at(ctl)] = value;
            setIndex(ctl, static_cast<int>(row->words->indexOf(value)));
            break;
        case Kind::ItemText:
            readValues_[at(ctl)] = value;
            setIndex(ctl, findComboItem(ctl, value));
            if (ctl == Ctl::ComboBox9)
                comboBox9Change();
            break;
        case Kind::ItemIndex: {
            readValues_[at(ctl)] = value;
            const int n = parseWholeNumber(value).value_or(row->defaultValue);
            setIndex(ctl, n >= 0 && n < row->words->size() ? n : -1);
            break;
        }
        case Kind::WholeBar:
            setPosition(ctl, parseWholeNumber(value).value_or(row->defaultValue));
            break;
        case Kind::HundredthsBar: {
            const auto hundredths = parseHundredths(value);
            if (!hundredths)
                return notFloat(value);
            setPosition(
                ctl, static_cast<int>(std::clamp<qint64>(*hundredths, minimum(ctl), maximum(ctl))));
            break;
        }
        case Kind::YScale: {
            const auto hundredths = parseHundredths(value);
            if (!hundredths)
                return notFloat(value);
            const qint64 factor = *hundredths / 100; // toward zero
            setPosition(ctl,
                        static_cast<int>(std::clamp<qint64>(factor, minimum(ctl), maximum(ctl))));
            break;
        }
        case Kind::Scanlines: {
            const int n = parseWholeNumber(value).value_or(row->defaultValue);
            setChecked(Ctl::CheckBox10, n != 0);
            setPosition(Ctl::TrackBar4, n);
            break;
        }
        case Kind::PortDevice: {
            const qsizetype device = row->words->indexOf(value);
            if (device >= 0) // an unknown device keeps the port's previous one
                portDevices_[static_cast<size_t>(row->port)] = static_cast<int>(device);
            break;
        }
        case Kind::PortPadMode:
            portPadModes_[static_cast<size_t>(row->port)] =
                value == QLatin1String("analog") ? 1 : 0;
            if (row->port == 8)
                showCurrentPort();
            break;
        case Kind::XScale:
        case Kind::YScaleFs:
            break;
        }
    }
    return std::nullopt;
}

QString SettingsModel::unselectedValue(Ctl list, const QStringList& allowed) const {
    // A list left without a selection by a value it did not know: keep that value when the
    // emulator accepts it (it ignores letter case), else write the initial item's value, so
    // that the profile always loads.
    const QString& read = readValues_[at(list)];
    for (const QString& word : allowed) {
        if (!read.isEmpty() && read.compare(word, Qt::CaseInsensitive) == 0)
            return read;
    }
    return allowed.value(controlInfo(list).initial);
}

QStringList SettingsModel::collectSettings() const {
    QStringList lines;
    for (const SettingRow& row : settingsTable()) {
        const Ctl ctl = row.ctl;
        QString value;
        switch (row.kind) {
        case Kind::Path:
            value = text(ctl);
            break;
        case Kind::Flag:
            value = checked(ctl) ? QStringLiteral("1") : QStringLiteral("0");
            break;
        case Kind::InvertedFlag:
            value = checked(ctl) ? QStringLiteral("0") : QStringLiteral("1");
            break;
        case Kind::WordList:
            value = index(ctl) >= 0 ? row.words->at(index(ctl)) : unselectedValue(ctl, *row.words);
            break;
        case Kind::ItemText:
            value = index(ctl) >= 0 ? items(ctl).at(index(ctl)) : unselectedValue(ctl, items(ctl));
            break;
        case Kind::ItemIndex:
            value =
                index(ctl) >= 0 ? QString::number(index(ctl)) : unselectedValue(ctl, *row.words);
            break;
        case Kind::WholeBar:
            value = QString::number(position(ctl));
            break;
        case Kind::HundredthsBar:
            value = valueBoxText(ctl);
            break;
        case Kind::YScale:
        case Kind::YScaleFs:
            value = QString::number(position(ctl)) + QStringLiteral(".000");
            break;
        case Kind::XScale:
            value = horizontalScaleText(position(ctl), index(Ctl::ComboBox6) == 4);
            break;
        case Kind::Scanlines:
            value = checked(Ctl::CheckBox10) ? valueBoxText(Ctl::TrackBar4) : QStringLiteral("0");
            break;
        case Kind::PortDevice:
            value = row.words->value(portDevices_[static_cast<size_t>(row.port)]);
            break;
        case Kind::PortPadMode:
            value = row.words->value(portPadModes_[static_cast<size_t>(row.port)]);
            break;
        }
        lines.append(row.key + value);
    }
    return lines;
}

} // namespace settings
