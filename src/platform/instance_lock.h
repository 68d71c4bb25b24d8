#pragma once

#include <QString>

namespace platform {

// Whether another process holds the lock file at path the way the emulator holds its
// mednafen.lck while it runs (flock on Linux, an exclusive open or a byte-range lock on
// Windows). A missing file, or one nobody holds, gives false; the file is never created.
bool lockFileHeld(const QString& path);

} // namespace platform
