// Entry point of Orlo.exe: the 32-bit edition, with the usage help and
// editing extras, the flat look and the serial line that waits on port
// events.
#include <windows.h>

#include "platform/win32/gui/run_main_window.h"
#include "platform/win32/serial_line.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return orlo::runMainWindow(instance, orlo::orloEdition(), orlo::openEventSerialLine);
}
