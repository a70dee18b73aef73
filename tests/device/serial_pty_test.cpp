// SerialPort on a real terminal device: a pseudo-terminal pair whose far
// end plays the controller. Open and configure, reads in blocks, writes, a
// baud change with bytes queued, close while bytes stream in, and a device
// that disappears. POSIX systems only; every wait is bounded.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "device/byte_queue.h"
#include "device/link.h"
#include "device/serial_port.h"
#include "platform/pty_pair.h"
#include "tests/device/fakes.h"

namespace orlo {
namespace {

using test::RecordingEvents;
using test::RecordingLog;

constexpr unsigned kWaitMs = 5000;

struct SerialPty : ::testing::Test {
    void SetUp() override
    {
        OsError error = 0;
        pty = PtyPair::create(error);
        ASSERT_TRUE(pty) << "no pseudo-terminal: " << error;
    }
    void farSend(const std::string& bytes)
    {
        Transfer t = pty->send(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                               kWaitMs);
        ASSERT_EQ(t.count, bytes.size());
    }
    std::string farReceive(std::size_t count)
    {
        std::string got;
        std::uint8_t buffer[1024];
        while (got.size() < count) {
            Transfer t = pty->receive(buffer, sizeof buffer, kWaitMs);
            if (t.count == 0)
                break;
            got.append(reinterpret_cast<const char*>(buffer), t.count);
        }
        return got;
    }
    void portWrite(const std::string& bytes)
    {
        ASSERT_EQ(port.write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0u);
    }

    std::unique_ptr<PtyPair> pty;
    RecordingLog log;
    ByteQueue queue;
    SerialPort port{log};
};

std::string pattern(std::size_t n)
{
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s += static_cast<char>((i * 13 + i / 256) & 0xFF);
    return s;
}

TEST_F(SerialPty, OpenSetsRaw8N1AtTheRate)
{
    unsigned rate = 0;
    bool raw = true;
    ASSERT_TRUE(pty->lineSettings(rate, raw));
    EXPECT_FALSE(raw) << "a new terminal is cooked";

    ASSERT_TRUE(port.openPath(queue, pty->devicePath(), 9600));
    ASSERT_TRUE(pty->lineSettings(rate, raw));
    EXPECT_EQ(rate, 9600u);
    EXPECT_TRUE(raw);
    EXPECT_TRUE(log.diagnostics().empty());
}

TEST_F(SerialPty, EveryByteValueArrivesInOrderInBlocks)
{
    ASSERT_TRUE(port.openPath(queue, pty->devicePath(), 115200));
    // All 256 values, CR, LF, XON, XOFF and Ctrl-C among them, more than one
    // read block's worth.
    const std::string sent = pattern(5000);
    farSend(sent);
    EXPECT_EQ(queue.bytes(sent.size(), kWaitMs), sent);
}

TEST_F(SerialPty, WritesArriveUnchanged)
{
    ASSERT_TRUE(port.openPath(queue, pty->devicePath(), 9600));
    const std::string sent = pattern(3000);
    portWrite(sent);
    EXPECT_EQ(farReceive(sent.size()), sent);
}

// A far end that takes nothing (a pseudo-terminal nobody reads) fills the
// output queue: the write gives up after its bound instead of hanging.
TEST_F(SerialPty, WriteToALineThatTakesNothingFails)
{
    ASSERT_TRUE(port.openPath(queue, pty->devicePath(), 115200));
    const std::string sent = pattern(1 << 20);
    EXPECT_NE(port.write(reinterpret_cast<const std::uint8_t*>(sent.data()), sent.size()), 0u);
}

TEST_F(SerialPty, BaudChangeKeepsTheQueuedBytesAndGoesOnReading)
{
    ASSERT_TRUE(port.openPath(queue, pty->devicePath(), 9600));
    const std::string sent = pattern(3000);
    portWrite(sent);  // not yet taken by the far end
    ASSERT_TRUE(port.setBaudRate(115200));
    unsigned rate = 0;
    bool raw = false;
    ASSERT_TRUE(pty->lineSettings(rate, raw));
    EXPECT_EQ(rate, 115200u);
    EXPECT_TRUE(raw);
    EXPECT_EQ(farReceive(sent.size()), sent);
    EXPECT_EQ(log.notes().back(), "波特率已从 9600 成功更改为 115200");

    farSend("after");
    EXPECT_EQ(queue.bytes(5, kWaitMs), "after");
}

TEST_F(SerialPty, CloseWhileBytesStreamIn)
{
    ASSERT_TRUE(port.openPath(queue, pty->devicePath(), 115200));
    std::atomic<bool> stop{false};
    std::thread far([&] {
        const std::string chunk = pattern(64);
        while (!stop)
            pty->send(reinterpret_cast<const std::uint8_t*>(chunk.data()), chunk.size(), 10);
    });
    ASSERT_GT(queue.bytes(1000, kWaitMs).size(), 0u);
    port.close();  // joins the reader while it is busy
    EXPECT_FALSE(port.isOpen());
    std::size_t queued = queue.size();
    stop = true;
    far.join();
    EXPECT_EQ(queue.size(), queued) << "nothing is handed over after close";
    EXPECT_TRUE(log.diagnostics().empty());

    // The port opens again on the same device.
    ASSERT_TRUE(port.openPath(queue, pty->devicePath(), 9600));
}

TEST_F(SerialPty, DeviceThatDisappearsEndsThePort)
{
    ASSERT_TRUE(port.openPath(queue, pty->devicePath(), 9600));
    farSend("last");
    EXPECT_EQ(queue.bytes(4, kWaitMs), "last");
    pty->hangUp();
    ASSERT_TRUE(queue.waitLinkLost(LinkKind::Serial, kWaitMs));
    EXPECT_FALSE(port.isOpen());
    ASSERT_EQ(log.diagnostics().size(), 1u);
    EXPECT_EQ(log.diagnostics()[0].rfind("读取串口失败，错误码：", 0), 0u) << log.diagnostics()[0];
    port.close();
}

TEST_F(SerialPty, MissingDeviceIsReportedByPath)
{
    EXPECT_FALSE(port.openPath(queue, "/dev/orlo-no-such-port", 9600));
    EXPECT_EQ(log.diagnostics(), std::vector<std::string>{"无法打开串口 /dev/orlo-no-such-port"});
}

TEST_F(SerialPty, LinkShowsThePortClosedWhenTheDeviceDisappears)
{
    RecordingEvents events;
    LinkServices services;
    services.log = &log;
    DeviceLink link(queue, events, services);
    link.setSerialDevice(pty->devicePath());
    const std::string frame = "\x01\x69\x00\x64\x00\x00\x1C\x1C";
    link.sendToDevice(reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size());
    EXPECT_EQ(events.lastText(), "串口已打开");
    EXPECT_EQ(farReceive(frame.size()), frame);

    pty->hangUp();
    ASSERT_TRUE(queue.waitLinkLost(LinkKind::Serial, kWaitMs));
    link.onLinkLost(LinkKind::Serial);
    EXPECT_EQ(events.lastText(), "串口未连接");
    EXPECT_FALSE(link.serialOpen());
}

}  // namespace
}  // namespace orlo

#endif  // _WIN32
