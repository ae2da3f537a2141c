#pragma once
// The program from its first step to its end, over any platform and window backend.
#include "platform/platform.h"
#include "ui/backend.h"

namespace app {

// Registers ExitCleanup, sets the text code page, loads StartWindow and runs the message
// loop until the last window is gone; then ends the process with exit code 0.
void RunProgram(platform::Platform& os, ui::Backend& backend);
// Frees what the program holds globally; runs once when the process ends.
void ExitCleanup();

}  // namespace app
