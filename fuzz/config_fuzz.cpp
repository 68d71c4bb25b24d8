// Configuration lines applied to the settings and collected again: whatever a profile held, the
// profile written from the controls loads again and gives the same profile.

#include "fuzz_support.h"
#include "settings/config_store.h"
#include "settings/settings_model.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList lines = settings::parseConfigLines(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    settings::SettingsModel model;
    model.applySettings(lines);
    const QStringList written = model.collectSettings();
    FUZZ_CHECK(written.size() == 60);
    settings::SettingsModel reread;
    FUZZ_CHECK(!reread.applySettings(written).has_value());
    FUZZ_CHECK(reread.collectSettings() == written);
    return 0;
}
