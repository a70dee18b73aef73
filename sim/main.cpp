// tarn-sim: the simulated controller. Serves the device side of the protocol
// over TCP and/or a pseudo-terminal until SIGINT or SIGTERM; SIGUSR1 is a
// power cycle.
#include <signal.h>

#include <cstdio>
#include <mutex>

#include "app/product.h"
#include "model/image.h"
#include "platform/files.h"
#include "platform/strings.h"
#include "platform/text.h"
#include "sim/options.h"
#include "sim/server.h"

using namespace orlo;
using namespace orlo::sim;

namespace {

std::mutex logMutex;

void logLine(const std::string& line)
{
    std::lock_guard<std::mutex> lock(logMutex);
    std::printf("tarn-sim: %s\n", line.c_str());
    std::fflush(stdout);
}

// Refusals the user must see go to standard error as well.
void warnLine(const std::string& line)
{
    logLine(line);
    std::lock_guard<std::mutex> lock(logMutex);
    std::fprintf(stderr, "tarn-sim: %s\n", line.c_str());
    std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::printf("%s\n", versionLine("tarn-sim").c_str());
        return 0;
    }
    SimOptions options;
    std::string error;
    if (!parseSimOptions(args, options, error)) {
        std::fprintf(stderr, "tarn-sim: %s\n(tarn-sim --help shows the options)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(kSimUsage, stdout);
        return 0;
    }
    if (!options.programFile.empty()) {
        std::string image;
        if (!readFilePrefix(options.programFile, kMaxImageBytes + 1, image, error) ||
            !checkImage(image)) {
            std::fprintf(stderr, "tarn-sim: %s is not a program file%s%s\n",
                         options.programFile.c_str(), error.empty() ? "" : ": ",
                         gbkToUtf8(error).c_str());
            return 2;
        }
        options.controller.program = image;
    }

    // The signals are taken by sigwait below, in this thread only: every
    // thread started from here on inherits the blocked mask.
    // A shell starts background jobs with SIGINT ignored; an ignored signal
    // would never reach sigwait.
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    Controller controller(options.controller, logLine, warnLine);
    FaultInjector faults(options.faults);
    SimServer server(controller, faults, logLine, options.verbose);
    server.setLineFaults(options.line);
    server.setLineTiming(options.timing);
    if (options.tcp) {
        if (!server.serveTcp(options.tcpHost, options.tcpPort, error)) {
            std::fprintf(stderr, "tarn-sim: %s\n", error.c_str());
            return 1;
        }
        logLine(format("tcp %s:%u", options.tcpHost.c_str(),
                       static_cast<unsigned>(server.tcpPort())));
    }
    if (!options.ptyLink.empty()) {
        if (!server.servePty(options.ptyLink, error)) {
            std::fprintf(stderr, "tarn-sim: %s\n", error.c_str());
            return 1;
        }
        logLine("pty " + server.ptyDevice() + " at " + options.ptyLink);
    }
    logLine(format("address %u", static_cast<unsigned>(controller.address())));

    for (;;) {
        int signalNumber = 0;
        sigwait(&stopSignals, &signalNumber);
        if (signalNumber != SIGUSR1)
            break;
        server.powerCycle();
        logLine(options.controller.powerUpWindowMs == 0
                    ? std::string("power cycled")
                    : format("power cycled: address writes taken for %u s",
                             static_cast<unsigned>(options.controller.powerUpWindowMs / 1000)));
    }
    server.stop();
    if (options.stats) {
        const SimStats s = server.stats();
        logLine(format("stats: %llu frames received, %llu answered; %llu bytes in, %llu bytes "
                       "out; %llu faults injected",
                       static_cast<unsigned long long>(s.framesReceived),
                       static_cast<unsigned long long>(s.framesAnswered),
                       static_cast<unsigned long long>(s.bytesIn),
                       static_cast<unsigned long long>(s.bytesOut),
                       static_cast<unsigned long long>(s.faultsInjected)));
    }
    logLine("stopped");
    return 0;
}
