// How long the main window takes to redraw a main program of 10,000 lines
// (the rows' text alone, the list filled through a view, the whole
// refreshMainList), and how long writing and reading a 190,000-byte program
// image to the simulated controller over loopback TCP takes per 50-byte
// block. Figures only; nothing here passes or fails.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/tarn_dlg.h"
#include "device/byte_queue.h"
#include "device/device_session.h"
#include "device/link.h"
#include "device/session_link.h"
#include "model/image.h"
#include "model/program.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_view.h"
#include "res/resource.h"
#include "sim/controller.h"
#include "sim/faults.h"
#include "sim/server.h"
#include "ui/program_list.h"

namespace orlo {
namespace {

constexpr int kMainLines = 10000;
constexpr std::size_t kTransferImageBytes = 190000;

// Rules of two conditions and two results, a third of them with a remark.
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

void fillMainProgram(int lines)
{
    clearProgram();
    for (int i = 0; i < lines; ++i)
        program().main.lines.push_back(benchLine(i, i % 3 == 0));
}

void BM_MainListRowsText(benchmark::State& state)
{
    fillMainProgram(kMainLines);
    for (auto _ : state) {
        std::vector<std::string> rows = sectionRows(program().main);
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["lines"] = kMainLines;
    state.counters["per_line"] = benchmark::Counter(
        kMainLines, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MainListRowsText)->Unit(benchmark::kMillisecond);

void BM_MainListIntoView(benchmark::State& state)
{
    fillMainProgram(kMainLines);
    FakeView view;
    Clist_command list(&view, IDC_PROGRAM_LIST);
    for (auto _ : state)
        list.renderSection(program().main);
    state.counters["lines"] = view.itemCount(IDC_PROGRAM_LIST);
}
BENCHMARK(BM_MainListIntoView)->Unit(benchmark::kMillisecond);

void BM_RefreshMainList(benchmark::State& state)
{
    FakeShell shell;
    ShellScope scope(shell);
    MainWindowServices services;
    services.settingsPath = "/nonexistent/qv_pV2.ini";
    CTarnDlg dlg(services);
    FakeView view;
    dlg.attach(&view);
    dlg.onInit();
    fillMainProgram(kMainLines);
    dlg.currentLine = kMainLines / 2;
    for (auto _ : state)
        dlg.refreshMainList();
    state.counters["bytes"] = imageSize();
}
BENCHMARK(BM_RefreshMainList)->Unit(benchmark::kMillisecond);

// ---- Transfers to the simulated controller.

class AlwaysYes final : public DeviceEvents {
public:
    bool ask(const std::string&, const std::string&) override { return true; }
    void showMessage(const std::string& text, const std::string&) override { last = text; }
    void progressRange(unsigned) override {}
    void progressPosition(unsigned) override {}
    void programLoaded(std::string_view) override {}
    void showHardwareInfo(int, const std::string&) override {}
    std::string last;
};

class QuietLink final : public LinkEvents {
public:
    void connectionTextChanged(const std::string&) override {}
    void showMessage(const std::string&) override {}
};

// A program whose image is just under kTransferImageBytes.
void fillTransferProgram()
{
    clearProgram();
    for (int i = 0;; ++i) {
        program().main.lines.push_back(benchLine(i, true));
        if (imageSize() + kImageHeaderBytes >= kTransferImageBytes) {
            program().main.lines.pop_back();
            break;
        }
    }
}

// The simulated controller on a loopback port, and a host side as the main
// window has it: link, session, and the queue its received bytes go through.
struct TransferRig {
    sim::Controller controller{sim::ControllerConfig()};
    sim::FaultInjector faults;
    sim::SimServer server{controller, faults, [](const std::string&) {}, false};
    ByteQueue queue;
    QuietLink linkEvents;
    AlwaysYes events;
    std::unique_ptr<DeviceLink> link;
    std::unique_ptr<LinkSender> sender;
    std::unique_ptr<DeviceSession> session;

    bool start(std::string& error)
    {
        if (!server.serveTcp("127.0.0.1", 0, error))
            return false;
        LinkServices services;
        services.log = &silentLog();
        link = std::make_unique<DeviceLink>(queue, linkEvents, services);
        LinkSettings s;
        s.useTcp = true;
        s.serverAddress = "127.0.0.1";
        s.serverPort = server.tcpPort();
        link->setSettings(s);
        link->toggleTcp();
        if (!link->tcpConnected()) {
            error = "no connection to the simulated controller";
            return false;
        }
        sender = std::make_unique<LinkSender>(*link);
        session = std::make_unique<DeviceSession>(*sender, events);
        return true;
    }
    // Hands received bytes to the session until the operation is over.
    bool finish()
    {
        ByteQueue::Event e;
        while (session->pending() != PendingOperation::Idle) {
            if (!queue.next(e, 5000))
                return false;
            if (!e.lost)
                session->onByte(e.byte);
        }
        return true;
    }
};

void BM_TransferToSimulator(benchmark::State& state)
{
    const bool writing = state.range(0) == 0;
    FakeShell shell;
    ShellScope scope(shell);
    fillTransferProgram();
    const std::string image = buildImage();
    TransferRig rig;
    std::string error;
    if (!rig.start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    if (!writing) {
        rig.session->writeAll();
        rig.finish();
    }
    for (auto _ : state) {
        if (writing)
            rig.session->writeAll();
        else
            rig.session->readAll();
        if (!rig.finish()) {
            state.SkipWithError("the simulated controller stopped answering");
            return;
        }
    }
    if (rig.controller.programImage() != image || buildImage() != image)
        state.SkipWithError("the image did not arrive whole");
    const unsigned blocks = static_cast<unsigned>((image.size() + kBlockBytes - 1) / kBlockBytes);
    state.counters["image_bytes"] = static_cast<double>(image.size());
    state.counters["blocks"] = blocks;
    state.counters["per_block"] = benchmark::Counter(
        blocks, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TransferToSimulator)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"read"})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace orlo
