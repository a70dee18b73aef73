// TcpClient: the TCP transport to the network bridge. Connects, runs the
// receive thread that hands every received byte to the owner's sink, sends,
// and disconnects. A peer that closes the connection ends the link: the
// client counts as disconnected and the owner is told (ByteSink::linkLost).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "device/transport.h"

namespace orlo {

class TcpClient {
public:
    using Connector = std::function<std::unique_ptr<TcpSocket>(
        const std::string& address, std::uint16_t port, OsError& error, unsigned timeoutMs)>;

    // connector makes the connection (the platform's connectTcp by default).
    explicit TcpClient(Connector connector = connectTcp);
    // Disconnects and waits for the receive thread.
    ~TcpClient();
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    // Connects to address (dotted IPv4) and port, blocking until the
    // connection is made or refused or timeoutMs has passed (kWaitForever:
    // no limit), and starts the receive thread, which
    // hands each byte to owner (sendByte, source kTcpSource) while connected.
    // False when the address is not dotted IPv4 or the connection fails; the
    // caller tells the user. Waits first for the receive thread of an earlier
    // connection to end (see ByteSink::sendByte). Owner's thread only; owner
    // must outlive the connection.
    bool connect(ByteSink& owner, const std::string& address, std::uint16_t port,
                 unsigned timeoutMs = kDefaultConnectTimeoutMs);

    // Ends the connection: the receive thread stops delivering and ends by
    // itself. Does not wait for it, so it may be called from the thread that
    // handles sendByte. Nothing happens when not connected.
    void disconnect();

    // True from a successful connect until disconnect or the peer's close.
    // Any thread.
    bool connected() const { return connected_; }

    // Sends the bytes on the socket. True when all of them were handed to
    // an open connection; false when not connected (never, or no longer:
    // disconnected, or the peer has closed) or the socket refused them.
    bool send(const std::uint8_t* bytes, std::size_t count);

private:
    void receiveLoop(TcpSocket* socket, ByteSink* owner);
    void release();

    Connector connector_;
    std::unique_ptr<TcpSocket> socket_;
    std::thread receiver_;
    std::atomic<bool> connected_{false};
};

}  // namespace orlo
