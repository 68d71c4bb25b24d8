#pragma once

#include "settings/config_store.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace settings {

// Every control of the settings panel that holds a setting, by its design name.
// clang-format off
enum class Ctl {
    LabeledEdit1, LabeledEdit2, LabeledEdit3, LabeledEdit4,
    CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6, CheckBox7, CheckBox8,
    CheckBox9, CheckBox10, CheckBox11, CheckBox12, CheckBox13, CheckBox14, CheckBox15,
    ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5, ComboBox6, ComboBox7, ComboBox8,
    ComboBox9, ComboBox10, ComboBox11, ComboBox12, ComboBox13, ComboBox15, ComboBox16,
    TrackBar1, TrackBar2, TrackBar3, TrackBar4, TrackBar5, TrackBar6, TrackBar7, TrackBar8,
    TrackBar9,
    Count
};
// clang-format on
constexpr int CtlCount = static_cast<int>(Ctl::Count);

// The kinds of control.
inline bool isCheckBox(Ctl c) {
    return c >= Ctl::CheckBox1 && c <= Ctl::CheckBox15;
}
inline bool isComboBox(Ctl c) {
    return c >= Ctl::ComboBox1 && c <= Ctl::ComboBox16;
}
inline bool isTrackBar(Ctl c) {
    return c >= Ctl::TrackBar1 && c <= Ctl::TrackBar9;
}
inline bool isPathEdit(Ctl c) {
    return c >= Ctl::LabeledEdit1 && c <= Ctl::LabeledEdit4;
}

// The design name of a control ("ComboBox6").
QString ctlName(Ctl ctl);

// Groups of controls whose enabled state follows another control.
enum class EnableGroup {
    Region,          // ComboBox2: enabled while CheckBox4 ("Auto") is unchecked
    BlurAmount,      // TrackBar3 and Edit3: follow whichever of CheckBox8/CheckBox9 reacted last
    ScanlineOpacity, // TrackBar4 and Edit5: enabled while CheckBox10 is checked
    GoatShader       // every control inside GroupBox6: enabled while ComboBox9 shows "goat"
};

// The state of the settings panel without any window: check boxes, list selections, track
// bar positions, path texts, the per-port devices and pad modes, and the enabled states, with
// the reactions of the controls. The panel widget shows this state and forwards the user's
// actions; ApplySettings and CollectSettings walk one declarative table over it.
class SettingsModel : public QObject {
    Q_OBJECT

public:
    explicit SettingsModel(QObject* parent = nullptr);

    // Check boxes: setting a different state runs the box's click reaction.
    bool checked(Ctl box) const;
    void setChecked(Ctl box, bool on);

    // List controls: -1 for no selection. A value the emulator accepts but the designed items
    // lack is shown as one extra item after them (index: the designed count) while the list was
    // last set from such a value; it is written back unchanged while it is selected. setIndex is
    // the program's selection (no reaction); userSelect is the user's choice and runs the reactions
    // of ComboBox4, 9, 15 and 16.
    int index(Ctl list) const;
    void setIndex(Ctl list, int index);
    void userSelect(Ctl list, int index);
    // The built-in English items of a list control, the extra item last when there is one.
    QStringList items(Ctl list) const;
    // The extra item's text; empty when the list has none.
    QString extraItem(Ctl list) const;
    // The first designed item whose text begins with the value, letter case ignored; the
    // designed item count (no selection) when none does. An empty value finds the first item.
    int findComboItem(Ctl list, const QString& value) const;

    // Track bars: positions are clamped to the range; the value box text follows.
    int position(Ctl bar) const;
    void setPosition(Ctl bar, int position);
    int minimum(Ctl bar) const;
    int maximum(Ctl bar) const;
    QString valueBoxText(Ctl bar) const;

    // Read-only path edits.
    QString text(Ctl edit) const;
    void setText(Ctl edit, const QString& text);

    bool enabled(EnableGroup group) const;

    // Virtual ports 1..9 as 0..8; the current port is ComboBox4's index.
    int currentPort() const;
    int portDevice(int port) const;
    int portPadMode(int port) const;

    // What a setting that no line names does to its control.
    enum class Missing {
        KeepControl, // the control stays as it is ("Load profile" of a partial file)
        // Read as an empty value, as the emulator does: flags and whole numbers take their
        // default, item-text lists their first item, pad modes digital. Paths, word lists, port
        // devices and decimals keep the control's state.
        ReadAsEmpty
    };
    // Sets the controls from a configuration. On a decimal setting that is not a number it stops
    // and returns
    // "'<value>' is not a valid floating point value", and on a value holding a zero byte (which
    // the emulator refuses) a text saying so; both name the line, the key and the file when the
    // value was read from one. Controls set before keep their new state.
    std::optional<QString> applySettings(const ConfigView& config,
                                         Missing missing = Missing::KeepControl);
    std::optional<QString> applySettings(const QStringList& lines);

    // Everything the controls hold, to put back later.
    struct State {
        std::array<int, CtlCount> values{};
        std::array<QString, CtlCount> texts;
        std::array<QString, CtlCount> readValues;
        std::array<QString, CtlCount> extras;
        std::array<int, 9> portDevices{};
        std::array<int, 9> portPadModes{};
        std::array<bool, 4> enabled{};
    };
    State state() const;
    // Puts the controls back exactly, enabled states included, and reports every change.
    void restore(const State& state);
    // Every setting back to the state the window starts with; the virtual port shown stays.
    void resetToInitial();
    // Exactly the 60 profile lines built from the controls.
    QStringList collectSettings() const;

signals:
    void controlChanged(settings::Ctl ctl);
    void enabledChanged(settings::EnableGroup group, bool enabled);

private:
    void checkBoxClick(Ctl box);
    void comboBox9Change();
    void showCurrentPort();
    void setEnabled(EnableGroup group, bool on);
    // Sets a list from a value: its designed item, else the extra item when the emulator
    // accepts the value, else no selection.
    void setListFromValue(Ctl list, int designedIndex, const QString& key, const QString& value);
    QString unselectedValue(Ctl list, const QStringList& allowed) const;

    // values: check state, list index, track bar position; texts: path edits; readValues: the
    // value each list control was last set from; extras: each list's extra item.
    State s_;
    // The scanline opacity a tick brings back: the last non-zero position.
    int lastScanlines_ = 20;
};

} // namespace settings
