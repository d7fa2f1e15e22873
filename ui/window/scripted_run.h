// The unattended run of MESHLOOK_SCRIPT on the real window (see ui/script.h).
#pragma once

#include <vector>

#include "ui/script.h"

class MainWindow;

// Runs the steps once the window has shown its first frame.
void run_script_after_first_frame(MainWindow& window, ScriptedFilePicker& picker,
                                  std::vector<ScriptStep> steps);
