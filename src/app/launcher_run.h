#pragma once

#include "app/command_line.h"

#include <functional>

class QWidget;

// The launcher once the application object exists: chooses (and on first use prepares) the
// application folder and works in it, lets one launcher per folder run, shows the main window
// and runs until it closes. `shown` is called right after the window is first shown (the
// start-up benchmark uses it). Returns the program's exit code.
int runLauncher(const CommandLine& commandLine, const std::function<void(QWidget&)>& shown = {});
