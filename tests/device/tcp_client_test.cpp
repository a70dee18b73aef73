// TcpClient over loopback connections: connect, refusal, bytes in order,
// the peer's close, the user's disconnect, reconnecting. Every wait is
// bounded; runs natively and under Wine.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/byte_queue.h"
#include "device/tcp_client.h"

namespace orlo {
namespace {

constexpr unsigned kWaitMs = 5000;

// The far end: a listening socket on the loopback and the connection it
// accepted.
class Server {
public:
    Server()
    {
        OsError error = 0;
        listener_ = listenTcp("127.0.0.1", 0, error);
        EXPECT_TRUE(listener_) << "listen failed: " << error;
    }
    std::uint16_t port() const { return listener_ ? listener_->port() : 0; }

    // Accepts the next connection (bounded).
    bool accept()
    {
        OsError error = 0;
        peer_ = listener_ ? listener_->accept(kWaitMs, error) : nullptr;
        return peer_ != nullptr;
    }
    void send(const std::string& bytes)
    {
        std::size_t done = 0;
        while (peer_ && done < bytes.size()) {
            Transfer t = peer_->send(reinterpret_cast<const std::uint8_t*>(bytes.data()) + done,
                                     bytes.size() - done);
            ASSERT_EQ(t.error, 0u);
            done += t.count;
        }
    }
    // Receives until count bytes came, the connection ended or the wait ran out.
    std::string receive(std::size_t count)
    {
        std::string got;
        std::uint8_t buffer[512];
        while (peer_ && got.size() < count) {
            Transfer t = peer_->receive(buffer, sizeof buffer, kWaitMs);
            if (t.count == 0)
                break;
            got.append(reinterpret_cast<const char*>(buffer), t.count);
        }
        return got;
    }
    // True when the client ended the connection (bounded wait).
    bool sawClose()
    {
        std::uint8_t b;
        Transfer t = peer_->receive(&b, 1, kWaitMs);
        return t.closed || t.error != 0;
    }
    void closePeer() { peer_.reset(); }

private:
    std::unique_ptr<TcpListener> listener_;
    std::unique_ptr<TcpSocket> peer_;
};

// A port nobody listens on: one the system just gave out and took back.
std::uint16_t unusedPort()
{
    OsError error = 0;
    std::unique_ptr<TcpListener> l = listenTcp("127.0.0.1", 0, error);
    return l ? l->port() : 1;
}

std::string pattern(std::size_t n)
{
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s += static_cast<char>((i * 31 + i / 256) & 0xFF);
    return s;
}

TEST(TcpClient, ReceivesEveryByteInOrder)
{
    Server server;
    ByteQueue queue;
    TcpClient client;
    ASSERT_TRUE(client.connect(queue, "127.0.0.1", server.port()));
    ASSERT_TRUE(server.accept());
    EXPECT_TRUE(client.connected());

    const std::string sent = pattern(20000);
    server.send(sent.substr(0, 7));
    server.send(sent.substr(7));
    std::string got;
    ByteQueue::Event e;
    while (got.size() < sent.size() && queue.next(e, kWaitMs)) {
        ASSERT_FALSE(e.lost);
        EXPECT_EQ(e.source, kTcpSource);
        got += static_cast<char>(e.byte);
    }
    EXPECT_EQ(got, sent);
}

TEST(TcpClient, SendsReachThePeer)
{
    Server server;
    ByteQueue queue;
    TcpClient client;
    ASSERT_TRUE(client.connect(queue, "127.0.0.1", server.port()));
    ASSERT_TRUE(server.accept());
    const std::uint8_t frame[] = {0x01, 0x69, 0x00, 0x00, 0x00, 0x00, 0x5D, 0xC3};
    client.send(frame, sizeof frame);
    EXPECT_EQ(server.receive(sizeof frame), std::string(reinterpret_cast<const char*>(frame), 8));
}

TEST(TcpClient, RefusedConnectionLeavesItDisconnected)
{
    ByteQueue queue;
    TcpClient client;
    EXPECT_FALSE(client.connect(queue, "127.0.0.1", unusedPort()));
    EXPECT_FALSE(client.connected());
    const std::uint8_t b = 0x55;
    client.send(&b, 1);  // nothing to send on, nothing happens
    EXPECT_EQ(queue.size(), 0u);
}

TEST(TcpClient, OnlyDottedIpv4AddressesAreTried)
{
    int tried = 0;
    TcpClient client([&](const std::string& a, std::uint16_t p, OsError& e, unsigned ms) {
        ++tried;
        return connectTcp(a, p, e, ms);
    });
    ByteQueue queue;
    for (const char* address : {"", "localhost", "1.2.3", "256.1.1.1", "1.2.3.4.5", " 1.2.3.4"})
        EXPECT_FALSE(client.connect(queue, address, 6000)) << address;
    EXPECT_EQ(tried, 6);
}

TEST(TcpClient, PeerCloseEndsTheLinkAndTellsTheOwner)
{
    Server server;
    ByteQueue queue;
    TcpClient client;
    ASSERT_TRUE(client.connect(queue, "127.0.0.1", server.port()));
    ASSERT_TRUE(server.accept());
    server.send("xy");
    server.closePeer();
    EXPECT_EQ(queue.bytes(2, kWaitMs), "xy");
    ASSERT_TRUE(queue.waitLinkLost(LinkKind::Tcp, kWaitMs));
    EXPECT_FALSE(client.connected());
    const std::uint8_t b = 0x55;
    client.send(&b, 1);  // fails silently, no signal
}

TEST(TcpClient, DisconnectIsNoLossAndThePeerSeesIt)
{
    Server server;
    ByteQueue queue;
    {
        TcpClient client;
        ASSERT_TRUE(client.connect(queue, "127.0.0.1", server.port()));
        ASSERT_TRUE(server.accept());
        client.disconnect();
        EXPECT_FALSE(client.connected());
        EXPECT_TRUE(server.sawClose());
        client.disconnect();  // again: nothing
    }  // the receive thread has ended here
    EXPECT_EQ(queue.size(), 0u);
}

TEST(TcpClient, ReconnectsAfterThePeerClosed)
{
    Server server;
    ByteQueue queue;
    TcpClient client;
    ASSERT_TRUE(client.connect(queue, "127.0.0.1", server.port()));
    ASSERT_TRUE(server.accept());
    server.closePeer();
    ASSERT_TRUE(queue.waitLinkLost(LinkKind::Tcp, kWaitMs));

    ASSERT_TRUE(client.connect(queue, "127.0.0.1", server.port()));
    ASSERT_TRUE(server.accept());
    server.send("again");
    EXPECT_EQ(queue.bytes(5, kWaitMs), "again");
}

TEST(TcpClient, ReconnectsAfterADisconnect)
{
    Server server;
    ByteQueue queue;
    TcpClient client;
    ASSERT_TRUE(client.connect(queue, "127.0.0.1", server.port()));
    ASSERT_TRUE(server.accept());
    client.disconnect();
    ASSERT_TRUE(server.sawClose());

    ASSERT_TRUE(client.connect(queue, "127.0.0.1", server.port()));
    ASSERT_TRUE(server.accept());
    server.send("ok");
    EXPECT_EQ(queue.bytes(2, kWaitMs), "ok");
    EXPECT_EQ(queue.size(), 0u);
}

TEST(TcpClient, SendSaysWhetherTheBytesWentOut)
{
    const std::uint8_t frame[] = {0x55, 0xF5, 0x41, 0x00, 0x00, 0x00, 0x02, 0x8D};
    Server server;
    ByteQueue queue;
    TcpClient client;
    EXPECT_FALSE(client.send(frame, sizeof frame)) << "never connected";

    ASSERT_TRUE(client.connect(queue, "127.0.0.1", server.port()));
    ASSERT_TRUE(server.accept());
    EXPECT_TRUE(client.send(frame, sizeof frame));
    EXPECT_EQ(server.receive(sizeof frame).size(), sizeof frame);

    server.closePeer();
    ASSERT_TRUE(queue.waitLinkLost(LinkKind::Tcp, kWaitMs));
    EXPECT_FALSE(client.send(frame, sizeof frame)) << "the peer has closed";

    ASSERT_TRUE(client.connect(queue, "127.0.0.1", server.port()));
    ASSERT_TRUE(server.accept());
    client.disconnect();
    EXPECT_FALSE(client.send(frame, sizeof frame)) << "disconnected";
}

// A listener that accepts nobody: once its queue is full, the system drops
// further connection requests and a connect could wait for minutes.
TEST(TcpClient, ConnectGivesUpOnAListenerThatNeverAccepts)
{
    OsError error = 0;
    std::unique_ptr<TcpListener> listener = listenTcp("127.0.0.1", 0, error);
    ASSERT_TRUE(listener);
    std::vector<std::unique_ptr<TcpSocket>> queued;
    bool gaveUp = false;
    for (int i = 0; i < 64 && !gaveUp; ++i) {
        std::unique_ptr<TcpSocket> s = connectTcp("127.0.0.1", listener->port(), error, 200);
        if (s)
            queued.push_back(std::move(s));
        else
            gaveUp = true;
    }
    EXPECT_TRUE(gaveUp);
    EXPECT_NE(error, 0u);

    ByteQueue queue;
    TcpClient client;
    EXPECT_FALSE(client.connect(queue, "127.0.0.1", listener->port(), 200));
    EXPECT_FALSE(client.connected());
}

TEST(TcpClient, ListenerAcceptTimesOutWithoutError)
{
    OsError error = 1;
    std::unique_ptr<TcpListener> l = listenTcp("127.0.0.1", 0, error);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->accept(20, error), nullptr);
    EXPECT_EQ(error, 0u);
}

}  // namespace
}  // namespace orlo
