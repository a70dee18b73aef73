// The TCP transport (see tcp_client.h).
#include "device/tcp_client.h"

namespace orlo {

TcpClient::TcpClient(Connector connector) : connector_(std::move(connector)) {}

TcpClient::~TcpClient()
{
    disconnect();
    release();
}

bool TcpClient::connect(ByteSink& owner, const std::string& address, std::uint16_t port,
                        unsigned timeoutMs)
{
    if (connected_)
        return true;
    release();
    OsError error = 0;
    socket_ = connector_(address, port, error, timeoutMs);
    if (!socket_)
        return false;
    connected_ = true;
    TcpSocket* socket = socket_.get();
    ByteSink* sink = &owner;
    receiver_ = std::thread([this, socket, sink] { receiveLoop(socket, sink); });
    return true;
}

void TcpClient::disconnect()
{
    // The exchange decides who ends the link when the peer closes at the
    // same moment: only one side reports it.
    if (connected_.exchange(false) && socket_)
        socket_->shutdown();
}

void TcpClient::release()
{
    if (receiver_.joinable())
        receiver_.join();
    socket_.reset();
}

bool TcpClient::send(const std::uint8_t* bytes, std::size_t count)
{
    if (!socket_ || !connected_)
        return false;
    std::size_t sent = 0;
    while (sent < count) {
        const Transfer t = socket_->send(bytes + sent, count - sent);
        if (t.count == 0)
            return false;
        sent += t.count;
    }
    return true;
}

void TcpClient::receiveLoop(TcpSocket* socket, ByteSink* owner)
{
    std::uint8_t buffer[256];
    while (connected_) {
        Transfer got = socket->receive(buffer, sizeof buffer, kWaitForever);
        if (got.count == 0)
            break;  // the peer closed, the connection failed, or disconnect woke us
        for (std::size_t i = 0; i < got.count && connected_; ++i)
            owner->sendByte(buffer[i], kTcpSource);
    }
    if (connected_.exchange(false))
        owner->linkLost(LinkKind::Tcp);
}

}  // namespace orlo
