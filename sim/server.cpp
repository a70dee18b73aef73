// The simulated controller's TCP and pseudo-terminal lines (see server.h).
// The read calls wait at most kPollMs, so the threads see a stop request
// soon; a read that times out with part of a request buffered counts as a
// pause on the line and drops it.
#include "sim/server.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "device/clock.h"
#include "device/format_text.h"

namespace orlo::sim {

namespace {

constexpr unsigned kPollMs = 100;
constexpr unsigned kSendWaitMs = 1000;

std::uint64_t utcNow()
{
    const std::time_t t = std::time(nullptr);
    return t < 0 ? 0 : static_cast<std::uint64_t>(t);
}

std::string systemMessage(OsError error)
{
    return std::strerror(static_cast<int>(error));
}

}  // namespace

SimServer::SimServer(Controller& controller, FaultInjector& faults, Log log, bool verbose)
    : controller_(controller), faults_(faults), log_(std::move(log)), verbose_(verbose)
{
}

SimServer::~SimServer()
{
    stop();
}

void SimServer::logLine(const std::string& line)
{
    if (log_)
        log_(line);
}

std::vector<std::string> SimServer::respond(RequestParser& parser, unsigned char byte,
                                           unsigned lineBaud)
{
    std::vector<std::string> out;
    std::lock_guard<std::mutex> lock(mutex_);
    controller_.setLineBaud(lineBaud);
    for (const std::string& request : parser.feed(byte)) {
        std::string reply = controller_.handle(request, systemClock().nowMs(), utcNow());
        const bool due = !reply.empty();
        reply = faults_.apply(std::move(reply));
        if (verbose_) {
            logLine("<- " + hexBytes(request));
            if (due)
                logLine(reply.empty() ? "-> (dropped)" : "-> " + hexBytes(reply));
        }
        if (!reply.empty())
            out.push_back(std::move(reply));
    }
    return out;
}

void SimServer::sendReply(
    const std::string& reply,
    const std::function<std::size_t(const std::uint8_t*, std::size_t)>& sendSome)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(reply.data());
    const std::size_t step = lineFaults_.paceMs > 0 ? 1 : reply.size();
    std::size_t sent = 0;
    while (sent < reply.size() && !stopping_) {
        if (sent > 0 && lineFaults_.paceMs > 0)
            systemClock().sleepMs(lineFaults_.paceMs);
        const std::size_t n = sendSome(bytes + sent, std::min(step, reply.size() - sent));
        if (n == 0)
            return;
        sent += n;
    }
}

bool SimServer::serveTcp(const std::string& host, std::uint16_t port, std::string& error)
{
    OsError e = 0;
    listener_ = listenTcp(host, port, e);
    if (!listener_) {
        error = formatText("cannot listen on %s:%u: %s", host.c_str(), static_cast<unsigned>(port),
                           systemMessage(e).c_str());
        return false;
    }
    tcpThread_ = std::thread([this] { tcpLoop(); });
    return true;
}

void SimServer::tcpLoop()
{
    std::uint8_t buffer[512];
    while (!stopping_) {
        OsError e = 0;
        std::unique_ptr<TcpSocket> client = listener_->accept(kPollMs, e);
        if (!client) {
            if (e != 0) {
                logLine("accept failed: " + systemMessage(e));
                systemClock().sleepMs(kPollMs);
            }
            continue;
        }
        if (lineFaults_.hangUp) {
            logLine("tcp client hung up on");
            continue;
        }
        logLine("tcp client connected");
        RequestParser parser;
        while (!stopping_) {
            const Transfer t = client->receive(buffer, sizeof buffer, kPollMs);
            if (t.closed || t.error != 0)
                break;
            if (t.timedOut()) {
                parser.idle();
                continue;
            }
            // A client that has gone takes nothing; its receive ends the loop.
            for (std::size_t i = 0; i < t.count; ++i)
                for (const std::string& reply : respond(parser, buffer[i]))
                    sendReply(reply, [&](const std::uint8_t* bytes, std::size_t n) {
                        return client->send(bytes, n).count;
                    });
        }
        logLine("tcp client disconnected");
    }
}

bool SimServer::servePty(const std::string& linkPath, std::string& error)
{
    struct stat st {};
    if (::lstat(linkPath.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = linkPath + " exists and is not a symbolic link; not replacing it";
            return false;
        }
        ::unlink(linkPath.c_str());
    }
    OsError e = 0;
    pty_ = PtyPair::create(e);
    if (!pty_) {
        error = "cannot create a pseudo-terminal: " + systemMessage(e);
        return false;
    }
    if (::symlink(pty_->devicePath().c_str(), linkPath.c_str()) != 0) {
        error = "cannot link " + linkPath + ": " + systemMessage(static_cast<OsError>(errno));
        pty_.reset();
        return false;
    }
    ptyLink_ = linkPath;
    ptyThread_ = std::thread([this] { ptyLoop(); });
    return true;
}

void SimServer::ptyLoop()
{
    std::uint8_t buffer[512];
    RequestParser parser;
    while (!stopping_) {
        const Transfer t = pty_->receive(buffer, sizeof buffer, kPollMs);
        if (t.error != 0) {
            // The near end is held open, so this is rare; do not spin on it.
            systemClock().sleepMs(kPollMs);
            continue;
        }
        if (t.timedOut()) {
            parser.idle();
            continue;
        }
        // The rate the host has set on its end, for the loader's switch.
        unsigned baud = 0;
        bool raw = false;
        if (!pty_->lineSettings(baud, raw))
            baud = 0;
        for (std::size_t i = 0; i < t.count; ++i)
            for (const std::string& reply : respond(parser, buffer[i], baud))
                sendReply(reply, [&](const std::uint8_t* bytes, std::size_t n) {
                    return pty_->send(bytes, n, kSendWaitMs).count;
                });
    }
}

void SimServer::stop()
{
    stopping_ = true;
    if (tcpThread_.joinable())
        tcpThread_.join();
    if (ptyThread_.joinable())
        ptyThread_.join();
    listener_.reset();
    if (!ptyLink_.empty()) {
        // Remove the link only while it still names this terminal.
        char target[256] = {};
        const ssize_t n = ::readlink(ptyLink_.c_str(), target, sizeof target - 1);
        if (n > 0 && pty_ && std::string(target, static_cast<std::size_t>(n)) == pty_->devicePath())
            ::unlink(ptyLink_.c_str());
        ptyLink_.clear();
    }
    pty_.reset();
}

}  // namespace orlo::sim
