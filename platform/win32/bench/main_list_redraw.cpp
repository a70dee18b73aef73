// How long the real main list takes to redraw a main program of 10,000
// lines: the main window on Tarn.exe's own template through the dialog host,
// refreshMainList filling the Win32 list box, and the paint that follows,
// timed over several runs. Figures only; bench/win32_redraw.sh runs it under
// Wine with a display.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/tarn_dlg.h"
#include "model/program.h"
#include "platform/win32/dialog_host.h"
#include "platform/win32/rx_sink.h"
#include "platform/win32/shell.h"
#include "res/resource.h"

namespace {

using namespace orlo;

constexpr int kMainLines = 10000;
constexpr int kRuns = 7;

// The lines of bench/main_list_bench.cpp: two conditions and two results in
// turn, a third of them with a remark.
ProgramLine benchLine(int i, bool withRemark)
{
    ProgramLine l;
    l.isResult = (i % 4) >= 2 ? 1 : 0;
    l.orElse = (i % 4) == 1 ? 1 : 0;
    l.instruction[0] = 1;
    l.instruction[1] = static_cast<std::uint8_t>(1 + i % 200);
    if (withRemark)
        l.remark = "备注文字" + std::to_string(i);
    return l;
}

// Handles every message waiting, painting included.
void drain()
{
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

}  // namespace

int main()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    Win32Shell shell(instance);
    Shell* previous = setShell(&shell);
    int status = 0;
    {
        WindowMessageSink sink;
        Win32WindowHost host(instance, IDI_MAIN);
        MainWindowServices services;
        services.host = &host;
        services.sink = &sink;
        services.windowReady = [&sink](Window* w) { sink.setWindow(windowHandle(w)); };
        CTarnDlg dlg(services);
        if (!host.createModeless(dlg, nullptr)) {
            std::fprintf(stderr, "the main window could not be created (no display?)\n");
            setShell(previous);
            return 1;
        }
        const HWND window = windowHandle(&dlg);
        dlg.view()->showWindow(true);
        drain();

        clearProgram();
        for (int i = 0; i < kMainLines; ++i)
            program().main.lines.push_back(benchLine(i, i % 3 == 0));
        const HWND list = GetDlgItem(window, IDC_PROGRAM_LIST);
        std::vector<double> ms;
        for (int run = 0; run < kRuns; ++run) {
            const auto start = std::chrono::steady_clock::now();
            dlg.refreshMainList();
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            drain();
            const auto end = std::chrono::steady_clock::now();
            ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
        const int rows = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        if (rows != kMainLines) {
            std::fprintf(stderr, "the list holds %d rows, not %d\n", rows, kMainLines);
            status = 1;
        }
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        std::printf("Win32 main list, %d lines: full redraw (refreshMainList and paint) median %.1f ms,"
                    " fastest %.1f ms, slowest %.1f ms over %d runs\n",
                    rows, sorted[sorted.size() / 2], sorted.front(), sorted.back(), kRuns);
        DestroyWindow(window);
        drain();
    }
    setShell(previous);
    return status;
}
