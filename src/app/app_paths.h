#pragma once

#include "platform/paths.h"

#include <QString>

// Every path of the launcher is the application folder followed by a fixed relative path.
struct AppPaths {
    QString folder; // the current directory when the main window was created

    // Like every file of the folder, the launcher's own files are found ignoring letter case
    // (a "main.ini" is read and written as Main.ini).
    QString mainIni() const { return platform::resolveFileCase(at(QStringLiteral("/Main.ini"))); }
    QString coreFolder() const { return at(QStringLiteral("/Core")); }
    QString emulator() const {
        return coreFolder() + QLatin1Char('/') + platform::emulatorFileName();
    }
    QString globalConfig() const { return at(QStringLiteral("/Core/mednafen.cfg")); }

private:
    QString at(const QString& relative) const { return platform::joinPath(folder, relative); }
};
