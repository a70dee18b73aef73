// The command line of tarn-sim: where it listens, what the simulated
// controller holds, and which faults it makes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/controller.h"
#include "sim/faults.h"

namespace orlo::sim {

// A controller takes a few milliseconds to work out each reply.
constexpr unsigned kDefaultReplyDelayMs = 2;

struct SimOptions {
    bool tcp = false;
    std::string tcpHost = "127.0.0.1";
    std::uint16_t tcpPort = 0;  // 0: a free port the system picks
    std::string ptyLink;        // empty: no pseudo-terminal
    std::string programFile;    // a .qv3 file to start with
    bool verbose = false;
    bool stats = false;  // print what passed over the lines at exit
    bool help = false;
    ControllerConfig controller;
    FaultPlan faults;
    LineFaults line;
    LineTiming timing{0, kDefaultReplyDelayMs};
};

extern const char* const kSimUsage;

// Reads the arguments (without the program name) into options. False with
// a message in error when they are wrong; at least one of --tcp and --pty is
// needed unless --help is given.
bool parseSimOptions(const std::vector<std::string>& args, SimOptions& options,
                     std::string& error);

}  // namespace orlo::sim
