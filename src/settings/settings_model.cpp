#include "settings/settings_model.h"

#include "i18n/messages.h"
#include "settings/config_store.h"
#include "settings/settings_table.h"

#include <QDir>

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

// The kinds whose read rule gives a setting no layer names a value of its own.
bool readsEmptyValue(Kind kind) {
    switch (kind) {
    case Kind::Flag:
    case Kind::InvertedFlag:
    case Kind::ItemText:
    case Kind::ItemIndex:
    case Kind::WholeBar:
    case Kind::Scanlines:
    case Kind::PortPadMode:
        return true;
    default:
        return false;
    }
}

} // namespace

QString ctlName(Ctl ctl) {
    if (ctl >= Ctl::Count)
        return QString();
    return QString::fromLatin1(controlInfo(ctl).name);
}

namespace {

SettingsModel::State initialState() {
    SettingsModel::State s;
    for (int i = 0; i < CtlCount; ++i) {
        const ControlInfo& info = controlInfo(static_cast<Ctl>(i));
        s.values[static_cast<size_t>(i)] = info.initial;
        s.texts[static_cast<size_t>(i)] = info.initialText;
    }
    s.portDevices.fill(0);
    s.portPadModes.fill(0);
    // CheckBox4 starts checked, CheckBox8/9/10 unchecked, the shader is "none".
    s.enabled.fill(false);
    return s;
}

} // namespace

SettingsModel::SettingsModel(QObject* parent) : QObject(parent), s_(initialState()) {}

SettingsModel::State SettingsModel::state() const {
    return s_;
}

void SettingsModel::restore(const State& state) {
    const State before = s_;
    s_ = state;
    for (int i = 0; i < CtlCount; ++i) {
        const auto c = static_cast<size_t>(i);
        if (before.values[c] != s_.values[c] || before.texts[c] != s_.texts[c] ||
            before.extras[c] != s_.extras[c])
            emit controlChanged(static_cast<Ctl>(i));
    }
    for (size_t g = 0; g < s_.enabled.size(); ++g) {
        if (before.enabled[g] != s_.enabled[g])
            emit enabledChanged(static_cast<EnableGroup>(g), s_.enabled[g]);
    }
}

void SettingsModel::resetToInitial() {
    State fresh = initialState();
    // The virtual port selector picks which port the device lists show; it is no setting.
    fresh.values[at(Ctl::ComboBox4)] = s_.values[at(Ctl::ComboBox4)];
    const auto port = static_cast<size_t>(currentPort());
    fresh.values[at(Ctl::ComboBox15)] = fresh.portDevices[port];
    fresh.values[at(Ctl::ComboBox16)] = fresh.portPadModes[port];
    restore(fresh);
}

bool SettingsModel::checked(Ctl box) const {
    return isKind(box, ControlKind::CheckBox) && s_.values[at(box)] != 0;
}

void SettingsModel::setChecked(Ctl box, bool on) {
    if (!isKind(box, ControlKind::CheckBox) || (s_.values[at(box)] != 0) == on)
        return;
    s_.values[at(box)] = on ? 1 : 0;
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
        // A tick at opacity 0 would be written as "off": the opacity comes back to where it
        // was last, or a visible default.
        if (checked(Ctl::CheckBox10) && position(Ctl::TrackBar4) == 0)
            setPosition(Ctl::TrackBar4, lastScanlines_);
        setEnabled(EnableGroup::ScanlineOpacity, checked(Ctl::CheckBox10));
        break;
    default:
        break;
    }
}

int SettingsModel::index(Ctl list) const {
    return isKind(list, ControlKind::List) ? s_.values[at(list)] : -1;
}

void SettingsModel::setIndex(Ctl list, int index) {
    if (!isKind(list, ControlKind::List))
        return;
    if (index < 0 || index >= items(list).size())
        index = -1;
    if (s_.values[at(list)] == index)
        return;
    s_.values[at(list)] = index;
    emit controlChanged(list);
}

void SettingsModel::userSelect(Ctl list, int index) {
    if (!isKind(list, ControlKind::List) || index < 0 || index >= items(list).size())
        return; // the user can only pick one of the items
    // The port's device and mode change before the list reports its change, so that whoever
    // follows the change (the marks, the unsaved mark) sees the new settings.
    const bool portList = list == Ctl::ComboBox15 || list == Ctl::ComboBox16;
    if (list == Ctl::ComboBox15)
        s_.portDevices[static_cast<size_t>(currentPort())] = index;
    else if (list == Ctl::ComboBox16)
        s_.portPadModes[static_cast<size_t>(currentPort())] = index;
    const bool shown = s_.values[at(list)] == index;
    setIndex(list, index);
    // The widget may have shown the choice already (without a reaction): the port's setting
    // changed all the same.
    if (portList && shown)
        emit controlChanged(list);
    switch (list) {
    case Ctl::ComboBox4: // ComboBox4Select
        showCurrentPort();
        break;
    case Ctl::ComboBox9:
        comboBox9Change();
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
    setIndex(Ctl::ComboBox15, s_.portDevices[port]);
    setIndex(Ctl::ComboBox16, s_.portPadModes[port]);
}

QStringList SettingsModel::items(Ctl list) const {
    if (!isKind(list, ControlKind::List))
        return QStringList();
    QStringList all = controlInfo(list).items;
    if (!s_.extras[at(list)].isEmpty())
        all.append(s_.extras[at(list)]);
    return all;
}

QString SettingsModel::extraItem(Ctl list) const {
    return isKind(list, ControlKind::List) ? s_.extras[at(list)] : QString();
}

void SettingsModel::setListFromValue(Ctl list, int designedIndex, const QString& key,
                                     const QString& value) {
    s_.readValues[at(list)] = value;
    const qsizetype designed = controlInfo(list).items.size();
    const bool extra = (designedIndex < 0 || designedIndex >= designed) && !value.isEmpty() &&
                       acceptedExtraValue(key, value);
    // The extra item goes away as soon as the list's value no longer needs it.
    const QString wanted = extra ? value : QString();
    if (s_.extras[at(list)] != wanted) {
        if (s_.values[at(list)] >= designed)
            s_.values[at(list)] = -1;
        s_.extras[at(list)] = wanted;
        emit controlChanged(list);
    }
    setIndex(list, extra ? static_cast<int>(designed) : designedIndex);
}

int SettingsModel::findComboItem(Ctl list, const QString& value) const {
    const QStringList all =
        isKind(list, ControlKind::List) ? controlInfo(list).items : QStringList();
    const QString wanted = value.toUpper();
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all.at(i).toUpper().startsWith(wanted))
            return static_cast<int>(i);
    }
    return static_cast<int>(all.size());
}

int SettingsModel::position(Ctl bar) const {
    return isKind(bar, ControlKind::TrackBar) ? s_.values[at(bar)] : 0;
}

void SettingsModel::setPosition(Ctl bar, int position) {
    if (!isKind(bar, ControlKind::TrackBar))
        return;
    position = std::clamp(position, minimum(bar), maximum(bar));
    if (s_.values[at(bar)] == position)
        return;
    s_.values[at(bar)] = position;
    if (bar == Ctl::TrackBar4 && position != 0)
        lastScanlines_ = position;
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
    return isKind(edit, ControlKind::PathEdit) ? s_.texts[at(edit)] : QString();
}

void SettingsModel::setText(Ctl edit, const QString& text) {
    if (!isKind(edit, ControlKind::PathEdit) || s_.texts[at(edit)] == text)
        return;
    s_.texts[at(edit)] = text;
    emit controlChanged(edit);
}

bool SettingsModel::enabled(EnableGroup group) const {
    return s_.enabled[at(group)];
}

void SettingsModel::setEnabled(EnableGroup group, bool on) {
    if (s_.enabled[at(group)] == on)
        return;
    s_.enabled[at(group)] = on;
    emit enabledChanged(group, on);
}

int SettingsModel::currentPort() const {
    return std::max(0, index(Ctl::ComboBox4));
}

int SettingsModel::portDevice(int port) const {
    return port >= 0 && port < 9 ? s_.portDevices[static_cast<size_t>(port)] : 0;
}

int SettingsModel::portPadMode(int port) const {
    return port >= 0 && port < 9 ? s_.portPadModes[static_cast<size_t>(port)] : 0;
}

std::optional<QString> SettingsModel::applySettings(const QStringList& lines) {
    return applySettings(ConfigView(lines));
}

std::optional<QString> SettingsModel::applySettings(const ConfigView& config, Missing missing) {
    // The error text, followed by the line, the key and the file it was read from.
    auto failure = [](const QString& text, const SettingRow& row, const FoundSetting& found) {
        if (found.file.isEmpty())
            return text;
        return text + QLatin1Char('\n') +
               i18n::message(i18n::Extra::SettingLine)
                   .arg(QString::number(found.line), row.key.trimmed()) +
               QLatin1Char('\n') + QDir::toNativeSeparators(found.file);
    };
    auto notFloat = [](const QString& value) {
        return QStringLiteral("'%1' is not a valid floating point value").arg(value);
    };
    for (const SettingRow* row : readSequence()) {
        std::optional<FoundSetting> found = config.find(row->key, row->legacyKey);
        if (!found) {
            if (missing == Missing::KeepControl || !readsEmptyValue(row->kind))
                continue; // a setting no line names leaves its control as it is
            found = FoundSetting{};
        }
        const QString& value = found->value;
        if (value.contains(QChar(0)))
            return failure(i18n::message(i18n::Extra::ZeroByteValue), *row, *found);
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
            setListFromValue(ctl, static_cast<int>(row->words->indexOf(value)), row->key, value);
            break;
        case Kind::ItemText:
            setListFromValue(ctl, findComboItem(ctl, value), row->key, value);
            if (ctl == Ctl::ComboBox9)
                comboBox9Change();
            break;
        case Kind::ItemIndex: {
            s_.readValues[at(ctl)] = value;
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
                return failure(notFloat(value), *row, *found);
            setPosition(
                ctl, static_cast<int>(std::clamp<qint64>(*hundredths, minimum(ctl), maximum(ctl))));
            break;
        }
        case Kind::YScale: {
            const auto hundredths = parseHundredths(value);
            if (!hundredths)
                return failure(notFloat(value), *row, *found);
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
                s_.portDevices[static_cast<size_t>(row->port)] = static_cast<int>(device);
            break;
        }
        case Kind::PortPadMode:
            s_.portPadModes[static_cast<size_t>(row->port)] =
                value == QLatin1String("analog") ? 1 : 0;
            break;
        case Kind::XScale:
        case Kind::YScaleFs:
            break;
        }
    }
    // The device and mode lists show the current port's entries as read.
    showCurrentPort();
    return std::nullopt;
}

QString SettingsModel::unselectedValue(Ctl list, const QStringList& allowed) const {
    // A list left without a selection by a value it did not know: keep that value when the
    // emulator accepts it (it ignores letter case), else write the initial item's value, so
    // that the profile always loads.
    const QString& read = s_.readValues[at(list)];
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
            value = index(ctl) < 0                   ? unselectedValue(ctl, *row.words)
                    : index(ctl) < row.words->size() ? row.words->at(index(ctl))
                                                     : extraItem(ctl);
            break;
        case Kind::ItemText:
            value = index(ctl) >= 0 ? items(ctl).at(index(ctl))
                                    : unselectedValue(ctl, controlInfo(ctl).items);
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
            value = row.words->value(s_.portDevices[static_cast<size_t>(row.port)]);
            break;
        case Kind::PortPadMode:
            value = row.words->value(s_.portPadModes[static_cast<size_t>(row.port)]);
            break;
        }
        lines.append(row.key + value);
    }
    return lines;
}

} // namespace settings
