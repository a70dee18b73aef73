// Entry point of Tarn.exe: common controls, the Win32 shell and window host,
// the sink that turns received bytes into WM_RX_BYTE for the main window,
// then the application, which runs the main window until it closes.
#include <windows.h>
#include <commctrl.h>

#include "app/tarn_app.h"
#include "platform/win32/dialog_host.h"
#include "platform/win32/rx_sink.h"
#include "platform/win32/shell.h"
#include "res/resource.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_COOL_CLASSES |
                     ICC_INTERNET_CLASSES | ICC_PAGESCROLLER_CLASS | ICC_NATIVEFNTCTL_CLASS |
                     ICC_STANDARD_CLASSES | ICC_LINK_CLASS;
    InitCommonControlsEx(&controls);

    orlo::Win32Shell shell(instance);
    orlo::Shell* previous = orlo::setShell(&shell);
    int result;
    {
        // Declared before the application: the transports' threads may hand
        // it bytes until the main window's link has closed.
        orlo::WindowMessageSink sink;
        orlo::Win32WindowHost host(instance, IDI_MAIN);
        orlo::MainWindowServices services;
        services.sink = &sink;
        services.windowReady = [&sink](orlo::Window* window) {
            sink.setWindow(orlo::windowHandle(window));
        };
        orlo::CTarnApp app(host, services);
        result = app.run();
    }
    if (result < 0)
        shell.diagnostic("Tarn: the main window could not be created");
    orlo::setShell(previous);
    return result < 0 ? 1 : 0;
}
