// Where a Windows edition of the program is put together: the common
// controls, the Win32 shell and window host, the sink that turns received
// bytes into WM_RX_BYTE for the main window, the edition's serial line
// class, then the application, which runs the main window until it closes.
// Tarn.exe and Orlo.exe differ only in what their wWinMain passes here.
#pragma once

#include <windows.h>

#include "app/edition.h"
#include "device/serial_port.h"

namespace orlo {

// Runs the main window of edition (its menus, extras and look; the host
// draws buttons and menus flat when edition.flatLook is set), opening
// serial ports with openSerial. Returns the process's exit status: 0, or 1
// when the main window could not be created.
int runMainWindow(HINSTANCE instance, const Edition& edition, SerialPort::Opener openSerial);

}  // namespace orlo
