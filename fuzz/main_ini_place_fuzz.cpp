// The lines of Main.ini after its two designed ones (where the user left off): whatever they
// hold, the place read is one the window can restore, and written back it reads the same.

#include "app/launcher_settings.h"
#include "fuzz_support.h"
#include "platform/io_error.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzzsupport::writeFile(
        "Main.ini", "Lang=1\r\nTheme=2\r\n" + QByteArray(reinterpret_cast<const char*>(data),
                                                         static_cast<qsizetype>(size)));
    try {
        const LauncherSettings read = LauncherSettings::read(path);
        FUZZ_CHECK(read.language == 1 && read.skin == 2);
        FUZZ_CHECK(read.tab >= -1 && read.tab <= 99);
        FUZZ_CHECK(!read.game.contains(QLatin1Char('\n')));
        read.write(path);
        const LauncherSettings again = LauncherSettings::read(path);
        FUZZ_CHECK(again.language == 1 && again.skin == 2);
        FUZZ_CHECK(again.game == read.game);
        // The first tab is the one open at start, so it is not written.
        FUZZ_CHECK(again.tab == (read.tab > 0 ? read.tab : -1));
    } catch (const platform::IoError&) {
    }
    return 0;
}
