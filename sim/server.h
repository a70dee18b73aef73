// The simulated controller's lines: a TCP listener that serves one client at
// a time and a pseudo-terminal whose device name is linked at a path the
// user gives. Each line has its own thread and request parser; the
// controller and the fault plan are shared under one lock, so both lines can
// be used, one after the other or at once.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/transport.h"
#include "platform/pty_pair.h"
#include "sim/controller.h"
#include "sim/faults.h"
#include "sim/request_parser.h"

namespace orlo::sim {

class SimServer {
public:
    using Log = std::function<void(const std::string&)>;

    // controller, faults and log must outlive the server. verbose: log each
    // request and reply as hex.
    SimServer(Controller& controller, FaultInjector& faults, Log log, bool verbose);
    ~SimServer();  // stops
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Before serving.
    void setLineFaults(const LineFaults& faults) { lineFaults_ = faults; }

    // Listens on host:port (0: any free port) and starts serving. False
    // with a message in error when the port cannot be had.
    bool serveTcp(const std::string& host, std::uint16_t port, std::string& error);
    std::uint16_t tcpPort() const { return listener_ ? listener_->port() : 0; }

    // Creates a pseudo-terminal, links its device name at linkPath (replacing
    // an older link there, never a file) and starts serving it.
    bool servePty(const std::string& linkPath, std::string& error);
    std::string ptyDevice() const { return pty_ ? pty_->devicePath() : std::string(); }

    // Stops both lines, waits for their threads and removes the link.
    void stop();

    // The replies due for one received byte (faults applied), in order.
    // Any thread; the parser belongs to the caller's line. lineBaud: the
    // rate the line runs at (0: none, TCP).
    std::vector<std::string> respond(RequestParser& parser, unsigned char byte,
                                     unsigned lineBaud = 0);

private:
    void tcpLoop();
    void ptyLoop();
    void logLine(const std::string& line);
    // Sends a reply with sendSome (which returns how many bytes it took, 0
    // when the line has gone), paced as lineFaults_ says.
    void sendReply(const std::string& reply,
                   const std::function<std::size_t(const std::uint8_t*, std::size_t)>& sendSome);

    Controller& controller_;
    FaultInjector& faults_;
    Log log_;
    bool verbose_;
    LineFaults lineFaults_;
    std::mutex mutex_;
    std::atomic<bool> stopping_{false};

    std::unique_ptr<TcpListener> listener_;
    std::thread tcpThread_;
    std::unique_ptr<PtyPair> pty_;
    std::thread ptyThread_;
    std::string ptyLink_;
};

}  // namespace orlo::sim
