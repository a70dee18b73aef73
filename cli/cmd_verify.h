// tarn device verify: compares the controller's program with a file without
// writing anything to the controller.
#pragma once

#include "cli/command.h"

namespace orlo::cli {

// Runs "tarn device [LINK OPTIONS] [--address A] [--timeout S] [--section S]
// verify FILE" when the arguments ask for it, returning the exit status
// (0 identical, 1 different, 2 a failed read or usage); -1 when the
// arguments are some other device command, left untouched.
int runDeviceVerify(Cli& cli);

}  // namespace orlo::cli
