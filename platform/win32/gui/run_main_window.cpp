// Putting a Windows edition together (see run_main_window.h).
#include "platform/win32/gui/run_main_window.h"

#include <commctrl.h>

#include "app/tarn_app.h"
#include "platform/strings.h"
#include "platform/win32/dialog_host.h"
#include "platform/win32/rx_sink.h"
#include "platform/win32/shell.h"
#include "res/resource.h"

namespace orlo {

int runMainWindow(HINSTANCE instance, const Edition& edition, SerialPort::Opener openSerial)
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_COOL_CLASSES |
                     ICC_INTERNET_CLASSES | ICC_PAGESCROLLER_CLASS | ICC_NATIVEFNTCTL_CLASS |
                     ICC_STANDARD_CLASSES | ICC_LINK_CLASS;
    InitCommonControlsEx(&controls);

    Win32Shell shell(instance);
    Shell* previous = setShell(&shell);
    int result;
    {
        // Declared before the application: the transports' threads may hand
        // it bytes until the main window's link has closed.
        WindowMessageSink sink;
        Win32WindowHost host(instance, IDI_MAIN, edition.flatLook);
        MainWindowServices services;
        services.sink = &sink;
        services.windowReady = [&sink](Window* window) { sink.setWindow(windowHandle(window)); };
        services.link.openSerial = std::move(openSerial);
        services.edition = &edition;
        CTarnApp app(host, services);
        result = app.run();
    }
    if (result < 0)
        shell.diagnostic(format("%s: the main window could not be created", edition.name));
    setShell(previous);
    return result < 0 ? 1 : 0;
}

}  // namespace orlo
