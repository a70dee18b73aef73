// DeviceLink: the baud table, the connection button's texts, the toggles,
// the single send path, and what happens when a link goes down by itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "device/byte_queue.h"
#include "device/link.h"
#include "tests/device/fakes.h"
#include "tests/device/temp_folder.h"

namespace orlo {
namespace {

using test::FakeClock;
using test::FakeSerialDevice;
using test::RecordingEvents;
using test::RecordingLog;

constexpr unsigned kWaitMs = 5000;

TEST(BaudFromIndex, TableAndFallback)
{
    const unsigned table[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    for (unsigned i = 0; i < 10; ++i)
        EXPECT_EQ(baudFromIndex(i), table[i]) << i;
    for (unsigned i : {10u, 12u, 255u, 4294967295u})
        EXPECT_EQ(baudFromIndex(i), 9600u) << i;
}

TEST(ConnectionText, TheFourTexts)
{
    EXPECT_STREQ(connectionText(ConnectionState::SerialOpen), "串口已打开");
    EXPECT_STREQ(connectionText(ConnectionState::SerialClosed), "串口未连接");
    EXPECT_STREQ(connectionText(ConnectionState::TcpConnected), "网络已连接");
    EXPECT_STREQ(connectionText(ConnectionState::TcpDisconnected), "网络已断开");
}

struct LinkFixture : ::testing::Test {
    std::shared_ptr<FakeSerialDevice> device = std::make_shared<FakeSerialDevice>();
    RecordingLog log;
    FakeClock clock;
    ByteQueue queue;
    RecordingEvents events;
    std::unique_ptr<DeviceLink> link = makeLink();

    std::unique_ptr<DeviceLink> makeLink()
    {
        LinkServices services;
        services.log = &log;
        services.clock = &clock;
        services.openSerial = test::fakeOpener(device);
        return std::make_unique<DeviceLink>(queue, events, services);
    }
    void useSettings(bool useTcp, unsigned comIndex = 0, unsigned baudIndex = 5,
                     std::uint16_t port = 6000)
    {
        LinkSettings s;
        s.useTcp = useTcp;
        s.comIndex = comIndex;
        s.baudIndex = baudIndex;
        s.serverAddress = "127.0.0.1";
        s.serverPort = port;
        link->setSettings(s);
    }
    bool send(const std::string& bytes)
    {
        return link->sendToDevice(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                  bytes.size());
    }
};

using DeviceLinkSettings = LinkFixture;

TEST_F(DeviceLinkSettings, LoadingShowsTheIdleTextOfTheChosenTransport)
{
    test::TempFolder folder;
    std::string path = folder.file(kSettingsFileName);
    link->loadSettings(path);
    EXPECT_EQ(events.texts, std::vector<std::string>{"串口未连接"});
    test::putFile(path, "[canshu_v2]\r\ncom_or_tcp=1\r\nsocket_port=502\r\n");
    link->loadSettings(path);
    EXPECT_EQ(events.lastText(), "网络已断开");
    EXPECT_TRUE(link->settings().useTcp);
    EXPECT_EQ(link->settings().serverPort, 502);
}

using DeviceLinkSerial = LinkFixture;

TEST_F(DeviceLinkSerial, ToggleOpensTheChosenPortAtTheTableRateAndCloses)
{
    useSettings(false, 2, 9);
    link->pressConnectionButton();
    EXPECT_TRUE(link->serialOpen());
    EXPECT_EQ(events.lastText(), "串口已打开");
    std::vector<std::string> calls = device->callLog();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0], "open " + serialPortPath(3));
    EXPECT_EQ(calls[2], "setState 115200");

    link->pressConnectionButton();
    EXPECT_FALSE(link->serialOpen());
    EXPECT_EQ(events.lastText(), "串口未连接");
}

TEST_F(DeviceLinkSerial, BaudIndexOffTheTableOpensAt9600)
{
    useSettings(false, 0, 12);
    link->toggleSerial();
    EXPECT_EQ(device->callLog().at(2), "setState 9600");
}

TEST_F(DeviceLinkSerial, FailedOpenLeavesTheButtonAlone)
{
    device->openError = 2;
    useSettings(false);
    link->toggleSerial();
    EXPECT_FALSE(link->serialOpen());
    EXPECT_TRUE(events.texts.empty());
    EXPECT_TRUE(events.messages.empty());
    EXPECT_EQ(log.diagnostics(), std::vector<std::string>{"无法打开串口 COM1"});
}

TEST_F(DeviceLinkSerial, DeviceAndRateOverrides)
{
    useSettings(false, 4, 0);
    link->setSerialDevice("/dev/ttyUSB0");
    link->setBaudRate(57600);
    EXPECT_EQ(link->baudRate(), 57600u);
    link->toggleSerial();
    EXPECT_EQ(device->callLog().at(0), "open /dev/ttyUSB0");
    EXPECT_EQ(device->callLog().at(2), "setState 57600");
}

TEST_F(DeviceLinkSerial, SendingOpensThePortFirst)
{
    useSettings(false);
    EXPECT_TRUE(send("\x01\x69"));
    EXPECT_TRUE(link->serialOpen());
    EXPECT_EQ(events.lastText(), "串口已打开");
    EXPECT_EQ(device->written, "\x01\x69");
}

TEST_F(DeviceLinkSerial, NothingIsWrittenWhenThePortWillNotOpen)
{
    device->openError = 5;
    useSettings(false);
    EXPECT_FALSE(send("ab"));
    EXPECT_FALSE(send("cd"));
    EXPECT_EQ(device->written, "");
    EXPECT_EQ(log.diagnostics(), std::vector<std::string>(2, "无法打开串口 COM1"));
}

TEST_F(DeviceLinkSerial, FailedWriteIsOnlyDiagnosed)
{
    useSettings(false);
    link->toggleSerial();
    device->writeError = 1167;
    EXPECT_FALSE(send("ab"));
    EXPECT_EQ(log.diagnostics(), std::vector<std::string>{"写入串口失败，错误码：1167"});
    EXPECT_TRUE(events.messages.empty());
}

TEST_F(DeviceLinkSerial, FatalReadErrorShowsThePortClosed)
{
    useSettings(false);
    link->toggleSerial();
    device->failReads(5);
    ASSERT_TRUE(queue.waitLinkLost(LinkKind::Serial, kWaitMs));
    link->onLinkLost(LinkKind::Serial);
    EXPECT_EQ(events.lastText(), "串口未连接");
    EXPECT_FALSE(link->serialOpen());
    EXPECT_EQ(device->linesAlive, 0);

    // The next send opens the port again.
    device->failReads(0);
    send("x");
    EXPECT_EQ(events.lastText(), "串口已打开");
    EXPECT_EQ(device->written, "x");
}

TEST_F(DeviceLinkSerial, StaleLossNoticeChangesNothing)
{
    useSettings(false);
    link->toggleSerial();
    device->failReads(5);
    ASSERT_TRUE(queue.waitLinkLost(LinkKind::Serial, kWaitMs));
    device->failReads(0);
    link->toggleSerial();  // the user reopened before the notice was handled
    ASSERT_TRUE(link->serialOpen());
    std::size_t shown = events.texts.size();
    link->onLinkLost(LinkKind::Serial);
    EXPECT_TRUE(link->serialOpen());
    EXPECT_EQ(events.texts.size(), shown);
}

using DeviceLinkTcp = LinkFixture;

struct Listener {
    std::unique_ptr<TcpListener> l;
    std::unique_ptr<TcpSocket> peer;
    Listener()
    {
        OsError error;
        l = listenTcp("127.0.0.1", 0, error);
    }
    bool accept()
    {
        OsError error;
        peer = l->accept(kWaitMs, error);
        return peer != nullptr;
    }
    void send(const std::string& s)
    {
        peer->send(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
    }
};

TEST_F(DeviceLinkTcp, SendWithoutConnectionDoesNothingVisible)
{
    useSettings(true);
    EXPECT_FALSE(send("\x01\x67\x00\x00\x00\x00\x34\x02"));
    EXPECT_TRUE(device->callLog().empty()) << "TCP mode never touches the serial port";
    EXPECT_TRUE(events.texts.empty());
    EXPECT_TRUE(events.messages.empty());
    EXPECT_TRUE(log.diagnostics().empty());
}

TEST_F(DeviceLinkTcp, RefusedConnectionShowsTheMessageOnly)
{
    Listener gone;
    std::uint16_t port = gone.l->port();
    gone.l.reset();
    useSettings(true, 0, 5, port);
    link->pressConnectionButton();
    EXPECT_EQ(events.messages, std::vector<std::string>{"建立连接失败"});
    EXPECT_TRUE(events.texts.empty());
    EXPECT_FALSE(link->tcpConnected());
}

TEST_F(DeviceLinkTcp, ToggleConnectsSendsAndDisconnects)
{
    Listener server;
    useSettings(true, 0, 5, server.l->port());
    link->pressConnectionButton();
    ASSERT_TRUE(server.accept());
    EXPECT_EQ(events.lastText(), "网络已连接");
    EXPECT_TRUE(send("hi"));
    std::uint8_t buffer[2];
    Transfer t = server.peer->receive(buffer, 2, kWaitMs);
    EXPECT_EQ(t.count, 2u);
    server.send("ok");
    EXPECT_EQ(queue.bytes(2, kWaitMs), "ok");

    link->pressConnectionButton();
    EXPECT_EQ(events.lastText(), "网络已断开");
    EXPECT_FALSE(link->tcpConnected());
}

TEST_F(DeviceLinkTcp, PeerCloseShowsTheNetworkDisconnected)
{
    Listener server;
    useSettings(true, 0, 5, server.l->port());
    link->toggleTcp();
    ASSERT_TRUE(server.accept());
    server.peer.reset();
    ASSERT_TRUE(queue.waitLinkLost(LinkKind::Tcp, kWaitMs));
    link->onLinkLost(LinkKind::Tcp);
    EXPECT_EQ(events.lastText(), "网络已断开");

    // One press connects again; no second toggle needed.
    link->pressConnectionButton();
    ASSERT_TRUE(server.accept());
    EXPECT_EQ(events.lastText(), "网络已连接");
}

// A connection whose bytes the test hands out one batch at a time, and which
// shows when the receive thread has come back for the next batch.
class ScriptedSocket final : public TcpSocket {
public:
    struct Script {
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<std::string> batches;
        int receives = 0;
        bool shut = false;

        void give(const std::string& batch)
        {
            std::lock_guard<std::mutex> lock(mutex);
            batches.push_back(batch);
            changed.notify_all();
        }
        bool waitReceives(int n)
        {
            std::unique_lock<std::mutex> lock(mutex);
            return changed.wait_for(lock, std::chrono::milliseconds(kWaitMs),
                                    [&] { return receives >= n; });
        }
    };
    explicit ScriptedSocket(std::shared_ptr<Script> s) : s_(std::move(s)) {}

    Transfer send(const std::uint8_t*, std::size_t count) override
    {
        Transfer t;
        t.count = count;
        return t;
    }
    Transfer receive(std::uint8_t* buffer, std::size_t capacity, unsigned) override
    {
        std::unique_lock<std::mutex> lock(s_->mutex);
        ++s_->receives;
        s_->changed.notify_all();
        s_->changed.wait(lock, [&] { return !s_->batches.empty() || s_->shut; });
        Transfer t;
        if (s_->batches.empty()) {
            t.closed = true;
            return t;
        }
        std::string b = s_->batches.front();
        s_->batches.pop_front();
        t.count = std::min(capacity, b.size());
        std::copy(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(t.count), buffer);
        return t;
    }
    void shutdown() override
    {
        std::lock_guard<std::mutex> lock(s_->mutex);
        s_->shut = true;
        s_->changed.notify_all();
    }

private:
    std::shared_ptr<Script> s_;
};

TEST(DeviceLinkConnect, WaitsNoLongerThanTheConnectTimeout)
{
    std::vector<unsigned> waits;
    ByteQueue queue;
    RecordingEvents events;
    LinkServices services;
    services.log = &silentLog();
    services.connectTcp = [&](const std::string&, std::uint16_t, OsError& error,
                              unsigned timeoutMs) {
        waits.push_back(timeoutMs);
        error = 10060;
        return std::unique_ptr<TcpSocket>();
    };
    DeviceLink link(queue, events, services);
    LinkSettings s;
    s.useTcp = true;
    link.setSettings(s);
    link.toggleTcp();
    link.setConnectTimeout(1500);
    link.toggleTcp();
    EXPECT_EQ(waits, (std::vector<unsigned>{kDefaultConnectTimeoutMs, 1500}));
    EXPECT_EQ(events.messages, std::vector<std::string>(2, "建立连接失败"));
}

TEST(DeviceLinkTcpGate, BytesAreDroppedWhileSerialIsChosen)
{
    auto script = std::make_shared<ScriptedSocket::Script>();
    ByteQueue queue;
    RecordingEvents events;
    LinkServices services;
    services.log = &silentLog();
    services.connectTcp = [script](const std::string&, std::uint16_t, OsError&, unsigned) {
        return std::unique_ptr<TcpSocket>(std::make_unique<ScriptedSocket>(script));
    };
    DeviceLink link(queue, events, services);
    LinkSettings s;
    s.useTcp = true;
    link.setSettings(s);
    link.toggleTcp();
    ASSERT_TRUE(link.tcpConnected());

    s.useTcp = false;
    link.setSettings(s);
    script->give("a");
    ASSERT_TRUE(script->waitReceives(2));  // "a" has been handled
    s.useTcp = true;
    link.setSettings(s);
    script->give("b");
    EXPECT_EQ(queue.bytes(1, kWaitMs), "b");
    link.toggleTcp();
}

}  // namespace
}  // namespace orlo
