// Main.ini read, written back and read again: the launcher's settings always land on entries
// the selectors have, and what is written reads back the same.

#include "app/launcher_settings.h"
#include "fuzz_support.h"
#include "platform/io_error.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzzsupport::writeFile(
        "Main.ini", QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    try {
        const LauncherSettings read = LauncherSettings::read(path);
        FUZZ_CHECK(read.language >= 0 && read.language <= 1);
        FUZZ_CHECK(read.skin >= 0 && read.skin <= 5);
        read.write(path);
        const LauncherSettings again = LauncherSettings::read(path);
        FUZZ_CHECK(again.language == read.language && again.skin == read.skin);
    } catch (const platform::IoError&) {
    }
    return 0;
}
