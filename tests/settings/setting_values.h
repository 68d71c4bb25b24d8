#pragma once

#include "settings/settings_model.h"
#include "settings/settings_table.h"

#include <QStringList>
#include <utility>
#include <vector>

namespace settingstest {

// For every line that is read: each word of its list, each item of its list control, both
// ends of its track bar, and the hundredths that a floating-point product would get wrong.
inline std::vector<std::pair<const settings::SettingRow*, QString>> valuesOfEveryLine() {
    using namespace settings;
    SettingsModel probe;
    std::vector<std::pair<const SettingRow*, QString>> out;
    for (const SettingRow& row : settingsTable()) {
        QStringList values;
        switch (row.kind) {
        case Kind::Path:
            values = {"/roms/a b/bios.bin", "C:\\BIOS\\sega.bin"};
            break;
        case Kind::Flag:
        case Kind::InvertedFlag:
            values = {"0", "1"};
            break;
        case Kind::WordList:
        case Kind::ItemIndex:
        case Kind::PortDevice:
        case Kind::PortPadMode:
            values = *row.words;
            break;
        case Kind::ItemText:
            values = probe.items(row.ctl);
            break;
        case Kind::WholeBar:
            values = {QString::number(probe.minimum(row.ctl)),
                      QString::number(probe.maximum(row.ctl))};
            break;
        case Kind::HundredthsBar:
            values = {hundredthsText(probe.minimum(row.ctl)),
                      hundredthsText(probe.maximum(row.ctl)),
                      "0.29",
                      "0.53",
                      "0.57",
                      "0.59"};
            if (probe.minimum(row.ctl) < 0)
                values << "-1.16"
                       << "-1.18";
            break;
        case Kind::YScale:
            for (int f = 1; f <= 10; ++f)
                values << QString::number(f) + ".000";
            break;
        case Kind::Scanlines:
            values = {"0", "-100", "100", "-30"};
            break;
        case Kind::XScale:
        case Kind::YScaleFs:
            break;
        }
        for (const QString& value : values)
            out.emplace_back(&row, value);
    }
    return out;
}

} // namespace settingstest
