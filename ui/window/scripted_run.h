// Work that waits for the first frame: a file to open, the unattended run (see ui/script.h).
#pragma once

#include <functional>
#include <vector>

#include "ui/script.h"

class MainWindow;

// Runs work once the window has shown its first frame (the GL context exists then).
void after_first_frame(MainWindow& window, std::function<void()> work);

// Runs the steps once the window has shown its first frame.
void run_script_after_first_frame(MainWindow& window, ScriptedFilePicker& picker,
                                  std::vector<ScriptStep> steps);
