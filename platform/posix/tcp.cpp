// TCP sockets on POSIX systems (BSD sockets): the client connection to the
// network bridge and the listening socket of the simulator and the tests.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "device/transport.h"

namespace orlo {

namespace {

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL;  // a closed peer gives EPIPE, not SIGPIPE
#else
constexpr int kSendFlags = 0;
#endif

OsError lastError()
{
    return static_cast<OsError>(errno);
}

bool ipv4Address(const std::string& address, std::uint16_t port, sockaddr_in& out)
{
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    return inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1;
}

// Waits until fd is ready for events or timeoutMs passed. 1 ready, 0 time-out, -1 error.
int waitFor(int fd, short events, unsigned timeoutMs)
{
    pollfd p{fd, events, 0};
    for (;;) {
        int r = ::poll(&p, 1, timeoutMs == kWaitForever ? -1 : static_cast<int>(timeoutMs));
        if (r >= 0 || errno != EINTR)
            return r > 0 ? 1 : r;
    }
}

class PosixTcpSocket final : public TcpSocket {
public:
    explicit PosixTcpSocket(int fd) : fd_(fd)
    {
#ifdef SO_NOSIGPIPE
        int one = 1;
        setsockopt(fd_, SOL_SOCKET, SO_NOSIGPIPE, &one, sizeof one);
#endif
    }
    // The descriptor is closed only here, after any receiving thread has
    // ended: closing it earlier could let a new descriptor take its number
    // under a thread still blocked on it.
    ~PosixTcpSocket() override { ::close(fd_); }
    PosixTcpSocket(const PosixTcpSocket&) = delete;
    PosixTcpSocket& operator=(const PosixTcpSocket&) = delete;

    Transfer send(const std::uint8_t* bytes, std::size_t count) override
    {
        Transfer t;
        ssize_t n;
        do
            n = ::send(fd_, bytes, count, kSendFlags);
        while (n < 0 && errno == EINTR);
        if (n < 0)
            t.error = lastError();
        else
            t.count = static_cast<std::size_t>(n);
        return t;
    }

    Transfer receive(std::uint8_t* buffer, std::size_t capacity, unsigned timeoutMs) override
    {
        Transfer t;
        if (timeoutMs != kWaitForever) {
            int ready = waitFor(fd_, POLLIN, timeoutMs);
            if (ready < 0) {
                t.error = lastError();
                return t;
            }
            if (ready == 0)
                return t;
        }
        ssize_t n;
        do
            n = ::recv(fd_, buffer, capacity, 0);
        while (n < 0 && errno == EINTR);
        if (n > 0)
            t.count = static_cast<std::size_t>(n);
        else if (n == 0)
            t.closed = true;
        else
            t.error = lastError();
        return t;
    }

    void shutdown() override
    {
        // Wakes a recv blocked in another thread (it returns 0).
        if (!shut_.exchange(true))
            ::shutdown(fd_, SHUT_RDWR);
    }

private:
    int fd_;
    std::atomic<bool> shut_{false};
};

class PosixTcpListener final : public TcpListener {
public:
    PosixTcpListener(int fd, std::uint16_t port) : fd_(fd), port_(port) {}
    ~PosixTcpListener() override { ::close(fd_); }
    PosixTcpListener(const PosixTcpListener&) = delete;
    PosixTcpListener& operator=(const PosixTcpListener&) = delete;

    std::uint16_t port() const override { return port_; }

    std::unique_ptr<TcpSocket> accept(unsigned timeoutMs, OsError& error) override
    {
        error = 0;
        int ready = waitFor(fd_, POLLIN, timeoutMs);
        if (ready <= 0) {
            if (ready < 0)
                error = lastError();
            return nullptr;
        }
        int fd = ::accept(fd_, nullptr, nullptr);
        if (fd < 0) {
            error = lastError();
            return nullptr;
        }
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        return std::make_unique<PosixTcpSocket>(fd);
    }

private:
    int fd_;
    std::uint16_t port_;
};

}  // namespace

std::unique_ptr<TcpSocket> connectTcp(const std::string& address, std::uint16_t port,
                                      OsError& error, unsigned timeoutMs)
{
    sockaddr_in to;
    if (!ipv4Address(address, port, to)) {
        error = EINVAL;
        return nullptr;
    }
    // Connected without blocking, so the wait for the far end has a bound;
    // the socket blocks again once connected.
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error = lastError();
        return nullptr;
    }
    auto fail = [&](OsError e) -> std::unique_ptr<TcpSocket> {
        error = e;
        ::close(fd);
        return nullptr;
    };
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        if (errno != EINPROGRESS && errno != EINTR)
            return fail(lastError());
        const int ready = waitFor(fd, POLLOUT, timeoutMs);
        if (ready < 0)
            return fail(lastError());
        if (ready == 0)
            return fail(ETIMEDOUT);
        int result = 0;
        socklen_t length = sizeof result;
        if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &length) != 0)
            return fail(lastError());
        if (result != 0)
            return fail(static_cast<OsError>(result));
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return fail(lastError());
    error = 0;
    return std::make_unique<PosixTcpSocket>(fd);
}

std::unique_ptr<TcpListener> listenTcp(const std::string& address, std::uint16_t port,
                                       OsError& error)
{
    sockaddr_in at;
    if (!ipv4Address(address, port, at)) {
        error = EINVAL;
        return nullptr;
    }
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = lastError();
        return nullptr;
    }
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    socklen_t length = sizeof at;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0 ||
        ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&at), &length) != 0) {
        error = lastError();
        ::close(fd);
        return nullptr;
    }
    error = 0;
    return std::make_unique<PosixTcpListener>(fd, ntohs(at.sin_port));
}

}  // namespace orlo
