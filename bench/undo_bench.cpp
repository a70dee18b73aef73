// How long "撤销" takes after a Delete-all of a 10,000-line main program (the
// lines put back and the main list redrawn through a fake view), and what
// recording one line-editor write costs beside such a program, the price of
// every keystroke in the editor. Figures only; nothing here passes or fails.
#include <benchmark/benchmark.h>

#include <string>

#include "app/tarn_dlg.h"
#include "expr/names.h"
#include "model/image.h"
#include "model/program.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_view.h"
#include "res/resource.h"
#include "ui/undo_history.h"

namespace orlo {
namespace {

constexpr int kMainLines = 10000;

// Rules of two conditions and two results, a third of them with a remark.
void fillMain()
{
    clearProgram();
    for (int i = 0; i < kMainLines; ++i) {
        ProgramLine l;
        l.isResult = (i % 4) >= 2 ? 1 : 0;
        l.instruction[0] = 1;
        l.instruction[1] = static_cast<std::uint8_t>(1 + i % 200);
        if (i % 3 == 0)
            l.remark = "备注文字" + std::to_string(i);
        program().main.lines.push_back(l);
    }
}

// The main window on a fake view and shell, the program filled and opened.
struct OpenWindow {
    FakeShell shell;
    ShellScope scope{shell};
    FakeView view;
    CTarnDlg dlg{[] {
        MainWindowServices services;
        services.settingsPath = "/nonexistent/qv_pV2.ini";
        return services;
    }()};

    OpenWindow()
    {
        dlg.attach(&view);
        dlg.onInit();
        fillMain();
        dlg.refreshMainList();
        dlg.startHistory();
    }
};

void BM_UndoDeleteAll(benchmark::State& state)
{
    OpenWindow w;
    for (auto _ : state) {
        state.PauseTiming();
        w.shell.answers = {Answer::Yes};
        w.dlg.onCommand(ID_EDIT_DELETE_ALL, Notify::Clicked);
        state.ResumeTiming();
        w.dlg.onCommand(ID_EDIT_UNDO, Notify::Clicked);
    }
    state.counters["lines"] = static_cast<double>(program().main.count());
    state.counters["rows"] = w.view.itemCount(IDC_PROGRAM_LIST);
}
BENCHMARK(BM_UndoDeleteAll)->Unit(benchmark::kMillisecond);

void BM_RecordOneLineWrite(benchmark::State& state)
{
    fillMain();
    UndoHistory history;
    history.reset(program(), names(), ListPosition());
    std::uint8_t p1 = 1;
    for (auto _ : state) {
        program().main.lines[kMainLines / 2].instruction[1] = ++p1;
        history.record(program(), names(), ListPosition());
    }
    state.counters["steps"] = static_cast<double>(history.undoSteps());
}
BENCHMARK(BM_RecordOneLineWrite)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orlo
