// Entry point of Tarn.exe: the 64-bit edition, with the firmware update and
// the serial line that reads with blocking calls.
#include <windows.h>

#include "platform/win32/gui/run_main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return orlo::runMainWindow(instance, orlo::tarnEdition(), orlo::openSerialLine);
}
