#pragma once

#include <QString>

// The check that runs every time the main window becomes active: the emulator must be
// installed, and when its global configuration is missing the emulator is started once,
// hidden, from its own folder, so that it writes one. Never two such starts at once.
class EmulatorCheck {
public:
    enum class Result {
        EmulatorMissing,     // Core/mednafen(.exe) does not exist: the launcher must end
        ConfigWriterStarted, // the emulator was started to write mednafen.cfg
        ConfigWriterRunning, // an earlier start is still running: nothing started
        Ready                // emulator and configuration present
    };

    explicit EmulatorCheck(const QString& applicationFolder) : folder_(applicationFolder) {}
    Result run();
    // The error box's text when the emulator is missing: on Windows the designed one; where the
    // launcher also runs installed, it names the emulator, the Core folder's full path and how
    // to install the emulator.
    QString missingText() const;

private:
    QString folder_;
    qint64 writerPid_ = 0;
};
