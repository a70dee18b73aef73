// What the tests of real windows share: whether a display is required (the
// Wine suite sets ORLO_REQUIRE_WINDOWS, so nothing may skip there), where
// the program with the templates is (Tarn.exe, or Orlo.exe in the 32-bit
// tree), a message pump through the dialog host's loop step, and a
// window's text.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32/dialog_host.h"

namespace orlo::test {

inline bool windowsRequired()
{
    return GetEnvironmentVariableW(L"ORLO_REQUIRE_WINDOWS", nullptr, 0) > 0;
}

inline std::wstring tarnPath()
{
    wchar_t buf[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"ORLO_TARN_EXE", buf, MAX_PATH) > 0)
        return buf;
    std::string p = ORLO_BINARY_DIR "/" ORLO_GUI_EXE;
    return std::wstring(p.begin(), p.end());
}

// Runs the thread's messages through the host's loop step until done() or
// timeoutMs.
inline void pump(DWORD timeoutMs, const std::function<bool()>& done)
{
    DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < timeoutMs) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!DialogHost::preTranslate(m)) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
        }
        Sleep(5);
    }
}

inline std::wstring windowText(HWND h)
{
    wchar_t buf[4096] = {};
    GetWindowTextW(h, buf, 4096);
    return buf;
}

}  // namespace orlo::test
