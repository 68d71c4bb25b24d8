#pragma once

#include "settings/settings_model.h"

#include <QStringList>
#include <vector>

namespace settings {

// Where the settings the tabs show for a game differ from what the global configuration alone
// gives, and the way back to it. Both sides are compared as the profile lines they write, so a
// difference is exactly a line that a saved profile would change.

// The controls whose setting differs, in profile line order. Each differing line marks its
// control; a port's device and pad mode mark the device and mode lists only for the port shown;
// the scanline line marks "Enable scanlines" when the boxes differ, else the opacity track bar;
// the lines worked out from others (the horizontal scales, the full-screen vertical scale) mark
// nothing of their own.
std::vector<Ctl> controlsDifferingFromGlobal(const SettingsModel& shown,
                                             const SettingsModel& global);

// The global configuration's lines for the setting a control shows; applied to the shown
// settings, they set that control (and what is read with it) to the global value.
QStringList globalLinesFor(Ctl ctl, const SettingsModel& shown, const SettingsModel& global);

} // namespace settings
