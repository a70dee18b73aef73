// tarn device firmware: the firmware update from the command line
// (cli/cmd_firmware.cpp), reached through tarn device.
#pragma once

#include "cli/command.h"

namespace orlo::cli {

// True when the words of tarn device, past its options, begin with
// "firmware".
bool firmwareRequested(const Cli& cli);
// Runs the update; the exit status (0 only when the last block was
// acknowledged, 1 on failure, 2 for usage errors).
int runDeviceFirmware(Cli& cli);

}  // namespace orlo::cli
