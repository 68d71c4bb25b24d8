#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. It is read before any window exists, so that --help,
// --version and mistakes are answered without a display.
struct CommandLine {
    bool run = true;  // false: print output / error and end with exitCode
    int exitCode = 0; // 0 after --help and --version, 2 after a mistake
    QString output;   // for standard output
    QString error;    // for standard error
    QString folder;   // --folder, absolute; empty when not given
};

// Reads the arguments (the program's name first). The toolkit's own options (-platform,
// -style and the like) are accepted and left to it.
CommandLine parseCommandLine(const QStringList& arguments);
