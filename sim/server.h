// The simulated controller's lines: a TCP listener and a pseudo-terminal
// whose device name is linked at a path the user gives. The controller and
// the fault plan are shared under one lock, so both lines can be used, one
// after the other or at once.
//
// TCP behaves as a serial-to-network bridge: one client is served at a
// time, later ones wait their turn in a short queue (each told of in the
// log), and once that is full further connections stay in the system's
// backlog until a place frees. A served client that takes none of its
// replies is disconnected once a send has waited kSendWaitMs, so it cannot
// stall the server.
//
// With a rate (LineTiming) both lines run as fast as a serial line would:
// requests count as received only when their bytes could have arrived, and
// replies leave no faster than the rate, after the controller's reply delay.
// The rate follows the firmware loader's switch.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
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
#include "sim/line_pacer.h"
#include "sim/request_parser.h"

namespace orlo::sim {

// What passed over the lines since start.
struct SimStats {
    std::uint64_t framesReceived = 0;
    std::uint64_t framesAnswered = 0;
    std::uint64_t bytesIn = 0;
    std::uint64_t bytesOut = 0;
    std::uint64_t faultsInjected = 0;
};

class SimServer {
public:
    using Log = std::function<void(const std::string&)>;

    // Clients waiting behind the one served before new ones stay unaccepted.
    static constexpr std::size_t kMaxWaiting = 4;
    // How long one send may wait for the far end to take bytes.
    static constexpr unsigned kSendWaitMs = 2000;

    // controller, faults and log must outlive the server. verbose: log each
    // request and reply as hex.
    SimServer(Controller& controller, FaultInjector& faults, Log log, bool verbose);
    ~SimServer();  // stops
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Before serving.
    void setLineFaults(const LineFaults& faults) { lineFaults_ = faults; }
    void setLineTiming(const LineTiming& timing) { timing_ = timing; }
    // The clock the lines are paced by and the controller runs on (default
    // the system's); it must outlive the server.
    void setClock(LineClock& clock);

    // Listens on host:port (0: any free port) and starts serving. False
    // with a message in error when the port cannot be had.
    bool serveTcp(const std::string& host, std::uint16_t port, std::string& error);
    std::uint16_t tcpPort() const { return listener_ ? listener_->port() : 0; }

    // Creates a pseudo-terminal, links its device name at linkPath (replacing
    // an older link there, never a file) and starts serving it.
    bool servePty(const std::string& linkPath, std::string& error);
    std::string ptyDevice() const { return pty_ ? pty_->devicePath() : std::string(); }

    // Power comes on (again): the controller's power-up window opens now.
    void powerCycle();

    // Stops both lines, waits for their threads and removes the link.
    void stop();

    SimStats stats();

private:
    using SendSome = std::function<std::size_t(const std::uint8_t*, std::size_t)>;
    struct Line {
        RequestParser parser;
        LinePacer pacer;
        unsigned replies = 0;  // sent on this line, for LineFaults::closeAfterReplies
        bool closed = false;   // LineFaults: the line is to be closed now
    };

    void acceptLoop();
    void serveLoop();
    void serveClient(TcpSocket& client);
    void disconnectStalledClient();
    void ptyLoop();
    void logLine(const std::string& line);
    // The replies to complete requests received at nowMs; rate: the line's
    // rate afterwards.
    std::vector<std::string> handleRequests(const std::vector<std::string>& requests,
                                            unsigned lineBaud, std::uint64_t nowMs,
                                            unsigned& rate);
    // Bytes read from the host in one go: paced, answered, replies sent.
    void take(Line& line, const std::uint8_t* bytes, std::size_t count, unsigned hostBaud,
              const SendSome& sendSome);
    // Sends a reply due at dueUs with sendSome (which returns how many bytes
    // it took, 0 when the line has gone), paced by --pace or the line's rate.
    void sendReply(Line& line, const std::string& reply, std::uint64_t dueUs,
                   const SendSome& sendSome);

    Controller& controller_;
    FaultInjector& faults_;
    Log log_;
    bool verbose_;
    LineFaults lineFaults_;
    LineTiming timing_;
    LineClock* clock_;
    std::mutex mutex_;
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> framesReceived_{0}, framesAnswered_{0}, bytesIn_{0}, bytesOut_{0};

    std::unique_ptr<TcpListener> listener_;
    std::thread acceptThread_;
    std::thread serveThread_;
    std::mutex queueMutex_;
    std::condition_variable queueReady_;
    std::deque<std::unique_ptr<TcpSocket>> waiting_;
    TcpSocket* serving_ = nullptr;                   // under queueMutex_
    std::atomic<std::uint64_t> sendingSinceUs_{0};  // 0: no TCP send under way

    std::unique_ptr<PtyPair> pty_;
    std::thread ptyThread_;
    std::string ptyLink_;
};

}  // namespace orlo::sim
