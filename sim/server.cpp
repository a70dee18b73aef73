// The simulated controller's TCP and pseudo-terminal lines (see server.h).
// The read calls wait at most kPollMs, so the threads see a stop request
// soon; a read that times out with part of a request buffered counts as a
// pause on the line and drops it.
#include "sim/server.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>

#include "device/clock.h"
#include "device/format_text.h"

namespace orlo::sim {

namespace {

constexpr unsigned kPollMs = 100;

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
    : controller_(controller), faults_(faults), log_(std::move(log)), verbose_(verbose),
      clock_(&systemLineClock())
{
    controller_.powerUp(clock_->nowUs() / 1000);
}

void SimServer::setClock(LineClock& clock)
{
    clock_ = &clock;
    std::lock_guard<std::mutex> lock(mutex_);
    controller_.powerUp(clock_->nowUs() / 1000);
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

void SimServer::powerCycle()
{
    std::lock_guard<std::mutex> lock(mutex_);
    controller_.powerUp(clock_->nowUs() / 1000);
}

SimStats SimServer::stats()
{
    SimStats s;
    s.framesReceived = framesReceived_;
    s.framesAnswered = framesAnswered_;
    s.bytesIn = bytesIn_;
    s.bytesOut = bytesOut_;
    std::lock_guard<std::mutex> lock(mutex_);
    s.faultsInjected = faults_.injected();
    return s;
}

std::vector<std::string> SimServer::handleRequests(const std::vector<std::string>& requests,
                                                   unsigned lineBaud, std::uint64_t nowMs,
                                                   unsigned& rate)
{
    std::vector<std::string> out;
    std::lock_guard<std::mutex> lock(mutex_);
    controller_.setLineBaud(lineBaud);
    for (const std::string& request : requests) {
        ++framesReceived_;
        std::string reply = controller_.handle(request, nowMs, utcNow());
        const bool due = !reply.empty();
        reply = faults_.apply(std::move(reply));
        if (verbose_) {
            logLine("<- " + hexBytes(request));
            if (due)
                logLine(reply.empty() ? "-> (dropped)" : "-> " + hexBytes(reply));
        }
        if (!reply.empty()) {
            ++framesAnswered_;
            out.push_back(std::move(reply));
        }
    }
    // The loader's switch holds from its next request on.
    const unsigned loaderBaud = controller_.loader().baudRate();
    rate = timing_.baud == 0 ? 0 : loaderBaud != 0 ? loaderBaud : timing_.baud;
    return out;
}

void SimServer::take(Line& line, const std::uint8_t* bytes, std::size_t count, unsigned hostBaud,
                     const SendSome& sendSome)
{
    LineClock& clock = *clock_;
    bytesIn_ += count;
    for (std::size_t i = 0; i < count && !stopping_; ++i) {
        const std::uint64_t arrived = line.pacer.byteArrives(clock.nowUs());
        const std::vector<std::string> requests = line.parser.feed(bytes[i]);
        if (requests.empty())
            continue;
        if (lineFaults_.closeLine && line.replies >= lineFaults_.closeAfterReplies) {
            logLine(formatText("closing the line after %u replies", line.replies));
            line.closed = true;
            return;
        }
        // The controller works at the moment the request is in, and the
        // reply is held back until then and its delay: one wait for the
        // whole exchange, the reply's bytes, so late wake-ups do not add up.
        unsigned rate = 0;
        const std::uint64_t due = arrived + timing_.replyDelayMs * 1000ull;
        for (const std::string& reply : handleRequests(requests, hostBaud, arrived / 1000, rate)) {
            sendReply(line, reply, due, sendSome);
            ++line.replies;
        }
        line.pacer.setBaud(rate);
    }
}

void SimServer::sendReply(Line& line, const std::string& reply, std::uint64_t dueUs,
                          const SendSome& sendSome)
{
    LineClock& clock = *clock_;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(reply.data());
    const std::size_t size = reply.size();
    const std::uint64_t start = line.pacer.replyStarts(dueUs, size);
    if (line.pacer.baud() == 0 || lineFaults_.paceMs > 0)
        clock.sleepUntilUs(start);
    std::size_t sent = 0;
    while (sent < size && !stopping_) {
        std::size_t due = size;
        if (lineFaults_.paceMs > 0) {
            if (sent > 0)
                clock.sleepUntilUs(clock.nowUs() + lineFaults_.paceMs * 1000ull);
            due = sent + 1;
        } else if (line.pacer.baud() != 0) {
            due = line.pacer.bytesCarried(start, clock.nowUs(), size);
            if (due <= sent) {
                clock.sleepUntilUs(line.pacer.byteLeaves(start, sent));
                continue;
            }
        }
        const std::size_t n = sendSome(bytes + sent, due - sent);
        if (n == 0)
            return;
        sent += n;
        bytesOut_ += n;
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
    acceptThread_ = std::thread([this] { acceptLoop(); });
    serveThread_ = std::thread([this] { serveLoop(); });
    return true;
}

void SimServer::disconnectStalledClient()
{
    const std::uint64_t since = sendingSinceUs_;
    if (since == 0 || systemLineClock().nowUs() < since + kSendWaitMs * 1000ull)
        return;
    std::lock_guard<std::mutex> lock(queueMutex_);
    if (serving_ && sendingSinceUs_ == since) {
        serving_->shutdown();
        sendingSinceUs_ = 0;
        logLine(formatText("tcp client takes none of its replies: disconnected after %u ms",
                           kSendWaitMs));
    }
}

void SimServer::acceptLoop()
{
    bool full = false;
    while (!stopping_) {
        disconnectStalledClient();
        std::size_t waiting = 0;
        bool busy = false;
        {
            std::lock_guard<std::mutex> lock(queueMutex_);
            waiting = waiting_.size();
            busy = serving_ != nullptr || waiting > 0;
        }
        if (waiting >= kMaxWaiting) {
            // Leave further clients in the backlog until a place frees.
            if (!full)
                logLine(formatText("tcp queue full (%u waiting): new clients are not accepted "
                                   "until one leaves",
                                   static_cast<unsigned>(waiting)));
            full = true;
            systemClock().sleepMs(kPollMs);
            continue;
        }
        full = false;
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
        {
            std::lock_guard<std::mutex> lock(queueMutex_);
            waiting_.push_back(std::move(client));
            waiting = waiting_.size();
        }
        queueReady_.notify_one();
        if (busy)
            logLine(formatText("tcp client waiting: another client is being served "
                               "(%u waiting)",
                               static_cast<unsigned>(waiting)));
    }
}

void SimServer::serveLoop()
{
    while (!stopping_) {
        std::unique_ptr<TcpSocket> client;
        {
            std::unique_lock<std::mutex> lock(queueMutex_);
            queueReady_.wait_for(lock, std::chrono::milliseconds(kPollMs),
                                 [this] { return stopping_ || !waiting_.empty(); });
            if (stopping_ || waiting_.empty())
                continue;
            client = std::move(waiting_.front());
            waiting_.pop_front();
            serving_ = client.get();
        }
        logLine("tcp client connected");
        serveClient(*client);
        {
            std::lock_guard<std::mutex> lock(queueMutex_);
            serving_ = nullptr;
            sendingSinceUs_ = 0;
        }
        logLine("tcp client disconnected");
    }
}

void SimServer::serveClient(TcpSocket& client)
{
    std::uint8_t buffer[512];
    Line line;
    line.pacer.setBaud(timing_.baud);
    const SendSome send = [&](const std::uint8_t* bytes, std::size_t n) -> std::size_t {
        sendingSinceUs_ = std::max<std::uint64_t>(systemLineClock().nowUs(), 1);
        const Transfer t = client.send(bytes, n);
        sendingSinceUs_ = 0;
        return t.error != 0 ? 0 : t.count;
    };
    while (!stopping_) {
        const Transfer t = client.receive(buffer, sizeof buffer, kPollMs);
        if (t.closed || t.error != 0)
            break;
        if (t.timedOut()) {
            line.parser.idle();
            continue;
        }
        // A client that has gone takes nothing; its receive ends the loop.
        take(line, buffer, t.count, 0, send);
        if (line.closed)
            break;
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
    Line line;
    line.pacer.setBaud(timing_.baud);
    const SendSome send = [&](const std::uint8_t* bytes, std::size_t n) {
        return pty_->send(bytes, n, kSendWaitMs).count;
    };
    unsigned mismatchLogged = 0;  // the host rate last said not to match
    while (!stopping_) {
        const Transfer t = pty_->receive(buffer, sizeof buffer, kPollMs);
        if (t.error != 0) {
            // The near end is held open, so this is rare; do not spin on it.
            systemClock().sleepMs(kPollMs);
            continue;
        }
        if (t.timedOut()) {
            line.parser.idle();
            continue;
        }
        // The rate the host has set on its end, for the loader's switch.
        unsigned baud = 0;
        bool raw = false;
        if (!pty_->lineSettings(baud, raw))
            baud = 0;
        if (line.pacer.baud() != 0 && baud != 0 && baud != line.pacer.baud() &&
            baud != mismatchLogged) {
            logLine(formatText("the host's end runs at %u baud, the controller's line at %u: "
                               "hardware would understand nothing",
                               baud, line.pacer.baud()));
            mismatchLogged = baud;
        }
        take(line, buffer, t.count, baud, send);
        if (line.closed) {
            pty_->hangUp();
            break;
        }
    }
}

void SimServer::stop()
{
    stopping_ = true;
    queueReady_.notify_all();
    if (acceptThread_.joinable())
        acceptThread_.join();
    {
        // Wakes a send to a client that reads nothing.
        std::lock_guard<std::mutex> lock(queueMutex_);
        if (serving_)
            serving_->shutdown();
    }
    if (serveThread_.joinable())
        serveThread_.join();
    waiting_.clear();
    listener_.reset();
    if (ptyThread_.joinable())
        ptyThread_.join();
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
