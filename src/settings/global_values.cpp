#include "settings/global_values.h"

#include "settings/settings_table.h"

#include <algorithm>

namespace settings {

namespace {

// The control a profile line's difference marks, or Ctl::Count for none.
Ctl markedControl(const SettingRow& row, const SettingsModel& shown, const SettingsModel& global) {
    if (row.readOrder < 0)
        return Ctl::Count; // worked out from other controls
    if (row.port >= 0 && row.port != shown.currentPort())
        return Ctl::Count;
    if (row.kind == Kind::Scanlines)
        return shown.checked(Ctl::CheckBox10) != global.checked(Ctl::CheckBox10) ? Ctl::CheckBox10
                                                                                 : Ctl::TrackBar4;
    return row.ctl;
}

} // namespace

std::vector<Ctl> controlsDifferingFromGlobal(const SettingsModel& shown,
                                             const SettingsModel& global) {
    const QStringList mine = shown.collectSettings();
    const QStringList theirs = global.collectSettings();
    std::vector<Ctl> out;
    const std::vector<SettingRow>& table = settingsTable();
    for (size_t i = 0; i < table.size(); ++i) {
        const auto line = static_cast<qsizetype>(i);
        if (mine.at(line) == theirs.at(line))
            continue;
        const Ctl ctl = markedControl(table[i], shown, global);
        if (ctl != Ctl::Count && std::find(out.begin(), out.end(), ctl) == out.end())
            out.push_back(ctl);
    }
    return out;
}

QStringList globalLinesFor(Ctl ctl, const SettingsModel& shown, const SettingsModel& global) {
    const QStringList theirs = global.collectSettings();
    QStringList lines;
    const std::vector<SettingRow>& table = settingsTable();
    for (size_t i = 0; i < table.size(); ++i) {
        const SettingRow& row = table[i];
        if (row.readOrder < 0 || (row.port >= 0 && row.port != shown.currentPort()))
            continue;
        const bool scanlines =
            row.kind == Kind::Scanlines && (ctl == Ctl::CheckBox10 || ctl == Ctl::TrackBar4);
        if (row.ctl == ctl || scanlines)
            lines.append(theirs.at(static_cast<qsizetype>(i)));
    }
    return lines;
}

} // namespace settings
