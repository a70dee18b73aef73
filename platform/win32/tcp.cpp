// TCP sockets on Windows (Winsock 2.2): the client connection to the network
// bridge and the listening socket of the tests. Winsock is started once, on
// first use, and stays up for the rest of the process.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <cstring>
#include <mutex>

#include "device/transport.h"

namespace orlo {

namespace {

OsError startWinsock()
{
    static std::once_flag once;
    static int result = 0;
    std::call_once(once, [] {
        WSADATA data;
        result = WSAStartup(MAKEWORD(2, 2), &data);
    });
    return static_cast<OsError>(result);
}

OsError lastError()
{
    return static_cast<OsError>(WSAGetLastError());
}

bool ipv4Address(const std::string& address, std::uint16_t port, sockaddr_in& out)
{
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    return inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1;
}

// Waits until s is readable or timeoutMs passed. 1 ready, 0 time-out, -1 error.
int waitReadable(SOCKET s, unsigned timeoutMs)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval limit;
    limit.tv_sec = static_cast<long>(timeoutMs / 1000);
    limit.tv_usec = static_cast<long>((timeoutMs % 1000) * 1000);
    int r = select(0, &readable, nullptr, nullptr, timeoutMs == kWaitForever ? nullptr : &limit);
    return r == SOCKET_ERROR ? -1 : (r > 0 ? 1 : 0);
}

class Win32TcpSocket final : public TcpSocket {
public:
    explicit Win32TcpSocket(SOCKET s) : socket_(s) {}
    ~Win32TcpSocket() override { shutdown(); }
    Win32TcpSocket(const Win32TcpSocket&) = delete;
    Win32TcpSocket& operator=(const Win32TcpSocket&) = delete;

    Transfer send(const std::uint8_t* bytes, std::size_t count) override
    {
        Transfer t;
        if (closed_) {
            t.error = WSAENOTSOCK;
            return t;
        }
        int n = ::send(socket_, reinterpret_cast<const char*>(bytes), static_cast<int>(count), 0);
        if (n == SOCKET_ERROR)
            t.error = lastError();
        else
            t.count = static_cast<std::size_t>(n);
        return t;
    }

    Transfer receive(std::uint8_t* buffer, std::size_t capacity, unsigned timeoutMs) override
    {
        Transfer t;
        if (closed_) {
            t.error = WSAENOTSOCK;
            return t;
        }
        if (timeoutMs != kWaitForever) {
            int ready = waitReadable(socket_, timeoutMs);
            if (ready < 0)
                t.error = lastError();
            if (ready <= 0)
                return t;
        }
        int n = ::recv(socket_, reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0);
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
        // closesocket cancels a recv blocked in another thread, which then
        // fails; the handle is not used again after this.
        if (!closed_.exchange(true)) {
            ::shutdown(socket_, SD_BOTH);
            closesocket(socket_);
        }
    }

private:
    SOCKET socket_;
    std::atomic<bool> closed_{false};
};

class Win32TcpListener final : public TcpListener {
public:
    Win32TcpListener(SOCKET s, std::uint16_t port) : socket_(s), port_(port) {}
    ~Win32TcpListener() override { closesocket(socket_); }
    Win32TcpListener(const Win32TcpListener&) = delete;
    Win32TcpListener& operator=(const Win32TcpListener&) = delete;

    std::uint16_t port() const override { return port_; }

    std::unique_ptr<TcpSocket> accept(unsigned timeoutMs, OsError& error) override
    {
        error = 0;
        int ready = waitReadable(socket_, timeoutMs);
        if (ready <= 0) {
            if (ready < 0)
                error = lastError();
            return nullptr;
        }
        SOCKET s = ::accept(socket_, nullptr, nullptr);
        if (s == INVALID_SOCKET) {
            error = lastError();
            return nullptr;
        }
        return std::make_unique<Win32TcpSocket>(s);
    }

private:
    SOCKET socket_;
    std::uint16_t port_;
};

}  // namespace

std::unique_ptr<TcpSocket> connectTcp(const std::string& address, std::uint16_t port,
                                      OsError& error, unsigned timeoutMs)
{
    error = startWinsock();
    if (error != 0)
        return nullptr;
    sockaddr_in to;
    if (!ipv4Address(address, port, to)) {
        error = WSAEINVAL;
        return nullptr;
    }
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET) {
        error = lastError();
        return nullptr;
    }
    auto fail = [&](OsError e) -> std::unique_ptr<TcpSocket> {
        error = e;
        closesocket(s);
        return nullptr;
    };
    // Connected without blocking, so the wait for the far end has a bound;
    // the socket blocks again once connected.
    u_long nonBlocking = 1;
    if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0)
        return fail(lastError());
    if (::connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        const OsError e = lastError();
        if (e != WSAEWOULDBLOCK)
            return fail(e);
        // Success shows as writable, failure as an exception.
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(s, &writable);
        FD_SET(s, &failed);
        timeval limit;
        limit.tv_sec = static_cast<long>(timeoutMs / 1000);
        limit.tv_usec = static_cast<long>((timeoutMs % 1000) * 1000);
        const int r =
            select(0, nullptr, &writable, &failed, timeoutMs == kWaitForever ? nullptr : &limit);
        if (r == SOCKET_ERROR)
            return fail(lastError());
        if (r == 0)
            return fail(WSAETIMEDOUT);
        int result = 0;
        int length = sizeof result;
        if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&result), &length) != 0)
            return fail(lastError());
        if (result != 0)
            return fail(static_cast<OsError>(result));
        if (FD_ISSET(s, &failed))
            return fail(WSAECONNREFUSED);
    }
    nonBlocking = 0;
    if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0)
        return fail(lastError());
    return std::make_unique<Win32TcpSocket>(s);
}

std::unique_ptr<TcpListener> listenTcp(const std::string& address, std::uint16_t port,
                                       OsError& error)
{
    error = startWinsock();
    if (error != 0)
        return nullptr;
    sockaddr_in at;
    if (!ipv4Address(address, port, at)) {
        error = WSAEINVAL;
        return nullptr;
    }
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET) {
        error = lastError();
        return nullptr;
    }
    int length = sizeof at;
    if (::bind(s, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0 ||
        ::listen(s, 8) != 0 || ::getsockname(s, reinterpret_cast<sockaddr*>(&at), &length) != 0) {
        error = lastError();
        closesocket(s);
        return nullptr;
    }
    return std::make_unique<Win32TcpListener>(s, ntohs(at.sin_port));
}

}  // namespace orlo
