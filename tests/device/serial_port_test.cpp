// SerialPort against a scripted line and a fake clock: the open sequence and
// its failure texts, the reader thread, a fatal read error, and the drained
// baud change with its time-out.
#include <gtest/gtest.h>

#include <memory>

#include "device/byte_queue.h"
#include "device/serial_port.h"
#include "tests/device/fakes.h"

namespace orlo {
namespace {

using test::FakeClock;
using test::FakeSerialDevice;
using test::RecordingLog;

constexpr unsigned kWaitMs = 5000;  // bound for anything a thread must deliver

struct PortFixture : ::testing::Test {
    std::shared_ptr<FakeSerialDevice> device = std::make_shared<FakeSerialDevice>();
    RecordingLog log;
    FakeClock clock;
    ByteQueue queue;
    SerialPort port{log, clock, test::fakeOpener(device)};
};

using SerialPortOpen = PortFixture;

TEST_F(SerialPortOpen, ConfiguresTheLineInOrder)
{
    ASSERT_TRUE(port.open(queue, 12, 9600));
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.portNumber(), 12u);
    std::vector<std::string> expected = {"open " + serialPortPath(12), "getState",
                                         "setState 9600", "purge tx rx", "timeouts 1 10"};
    EXPECT_EQ(device->callLog(), expected);
    EXPECT_TRUE(log.diagnostics().empty());
}

TEST(SerialPortPath, UsesTheDeviceNamespaceFormOnWindows)
{
#ifdef _WIN32
    EXPECT_EQ(serialPortPath(1), "\\\\.\\COM1");
    EXPECT_EQ(serialPortPath(12), "\\\\.\\COM12");
#else
    EXPECT_EQ(serialPortPath(1), "/dev/ttyS0");
    EXPECT_EQ(serialPortPath(12), "/dev/ttyS11");
#endif
}

TEST_F(SerialPortOpen, FailuresAreReportedAndLeaveThePortClosed)
{
    struct Case {
        const char* what;
        OsError FakeSerialDevice::*step;
        const char* diagnostic;
    };
    const Case cases[] = {
        {"device", &FakeSerialDevice::openError, "无法打开串口 COM12"},
        {"reading the state", &FakeSerialDevice::getStateError, "获取串口状态失败"},
        {"applying the state", &FakeSerialDevice::setStateError, "设置串口状态失败"},
        {"time-outs", &FakeSerialDevice::timeoutsError, "设置串口超时失败"},
    };
    for (const Case& c : cases) {
        auto d = std::make_shared<FakeSerialDevice>();
        (*d).*(c.step) = 5;
        RecordingLog l;
        SerialPort p(l, clock, test::fakeOpener(d));
        EXPECT_FALSE(p.open(queue, 12, 9600)) << c.what;
        EXPECT_FALSE(p.isOpen()) << c.what;
        EXPECT_EQ(l.diagnostics(), std::vector<std::string>{c.diagnostic}) << c.what;
        EXPECT_EQ(d->linesAlive, 0) << c.what << ": the device must be closed again";
    }
}

TEST_F(SerialPortOpen, PathInTheFailureWhenOpenedByPath)
{
    device->openError = 2;
    EXPECT_FALSE(port.openPath(queue, "/dev/ttyUSB7", 9600));
    EXPECT_EQ(log.diagnostics(), std::vector<std::string>{"无法打开串口 /dev/ttyUSB7"});
}

TEST_F(SerialPortOpen, OpenWhileOpenChangesNothing)
{
    ASSERT_TRUE(port.open(queue, 3, 9600));
    std::size_t calls = device->callLog().size();
    EXPECT_TRUE(port.open(queue, 4, 115200));
    EXPECT_EQ(device->callLog().size(), calls);
    EXPECT_EQ(port.portNumber(), 3u);
    EXPECT_EQ(device->driverRate, 9600u);
}

TEST_F(SerialPortOpen, CloseReleasesTheDeviceAndCloseAgainDoesNothing)
{
    ASSERT_TRUE(port.open(queue, 3, 9600));
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(device->linesAlive, 0);
    port.close();
    EXPECT_EQ(queue.size(), 0u);  // a close asked for is no loss
    EXPECT_EQ(port.write(reinterpret_cast<const std::uint8_t*>("x"), 1), kNotOpenError);
}

TEST_F(SerialPortOpen, CloseWaitsForTheOutputToLeaveTheLine)
{
    struct Case {
        const char* what;
        std::vector<std::size_t> queued;  // at each poll; the last repeats
        std::uint64_t waitedMs;
        bool drained;
        std::vector<std::string> diagnostics;
    };
    const Case cases[] = {
        {"an empty queue", {0}, 0, true, {}},
        {"a queue that empties", {5, 3, 0}, 20, true, {}},
        // A slow line: the queue keeps shrinking, however long it takes.
        {"a slow line", {400, 300, 200, 100, 0}, 40, true, {}},
        {"a queue that never moves", {3}, 2000, false, {"等待数据发送超时，仍有 3 字节未发送"}},
    };
    for (const Case& c : cases) {
        auto d = std::make_shared<FakeSerialDevice>();
        RecordingLog l;
        SerialPort p(l, clock, test::fakeOpener(d));
        ASSERT_TRUE(p.open(queue, 1, 9600)) << c.what;
        d->queuedSequence = c.queued;
        const std::uint64_t start = clock.now();
        p.close();
        EXPECT_EQ(clock.now() - start, c.waitedMs) << c.what;
        const std::vector<std::string> calls = d->callLog();
        const std::vector<std::string> last(calls.end() - (c.drained ? 2 : 1), calls.end());
        const std::vector<std::string> expected =
            c.drained ? std::vector<std::string>{"drain", "close"} : std::vector<std::string>{"close"};
        EXPECT_EQ(last, expected) << c.what;
        EXPECT_EQ(l.diagnostics(), c.diagnostics) << c.what;
        EXPECT_FALSE(p.isOpen()) << c.what;
    }
}

using SerialPortReader = PortFixture;

TEST_F(SerialPortReader, HandsOverEveryByteInOrderWithThePortNumber)
{
    ASSERT_TRUE(port.open(queue, 7, 9600));
    std::string sent;
    for (int i = 0; i < 3000; ++i)
        sent += static_cast<char>((i * 7 + i / 256) & 0xFF);
    device->feed(sent.substr(0, 1000));
    device->feed(sent.substr(1000));
    std::string got;
    ByteQueue::Event e;
    while (got.size() < sent.size() && queue.next(e, kWaitMs)) {
        ASSERT_FALSE(e.lost);
        EXPECT_EQ(e.source, 7u);
        got += static_cast<char>(e.byte);
    }
    EXPECT_EQ(got, sent);
    port.close();
    std::vector<std::string> notes = log.notes();
    ASSERT_EQ(notes.size(), sent.size());
    EXPECT_EQ(notes[0], "成功发送字节：0x00");
    EXPECT_EQ(notes[1], "成功发送字节：0x07");
}

// A sink that refuses every other byte, as a full message queue would.
class RefusingSink final : public ByteSink {
public:
    bool postByte(std::uint8_t byte, unsigned, OsError& error) override
    {
        if (++calls_ % 2 == 0) {
            error = 1816;
            return false;
        }
        return queue.postByte(byte, 0, error);
    }
    void sendByte(std::uint8_t, unsigned) override {}
    void linkLost(LinkKind kind) override { queue.linkLost(kind); }

    ByteQueue queue;

private:
    int calls_ = 0;
};

TEST_F(SerialPortReader, RefusedBytesAreReportedAndReadingGoesOn)
{
    RefusingSink sink;
    ASSERT_TRUE(port.open(sink, 1, 9600));
    device->feed("ABCDEF");
    EXPECT_EQ(sink.queue.bytes(3, kWaitMs), "ACE");
    port.close();
    std::vector<std::string> expected(3, "PostMessage 失败，错误码：1816");
    EXPECT_EQ(log.diagnostics(), expected);
    EXPECT_EQ(log.notes(), (std::vector<std::string>{"成功发送字节：0x41", "成功发送字节：0x43",
                                                     "成功发送字节：0x45"}));
}

TEST_F(SerialPortReader, FatalReadErrorClosesThePortAndTellsTheOwner)
{
    ASSERT_TRUE(port.open(queue, 2, 9600));
    device->feed("AB");
    EXPECT_EQ(queue.bytes(2, kWaitMs), "AB");
    device->failReads(5);
    ASSERT_TRUE(queue.waitLinkLost(LinkKind::Serial, kWaitMs));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(log.diagnostics(), std::vector<std::string>{"读取串口失败，错误码：5"});

    // The owner's answer releases the dead device; a new open starts afresh.
    port.close();
    EXPECT_EQ(device->linesAlive, 0);
    device->failReads(0);
    ASSERT_TRUE(port.open(queue, 2, 9600));
    device->feed("C");
    EXPECT_EQ(queue.bytes(1, kWaitMs), "C");
    EXPECT_EQ(queue.size(), 0u);  // reported once
}

TEST_F(SerialPortReader, OpenAfterAFatalErrorReleasesTheOldDeviceFirst)
{
    ASSERT_TRUE(port.open(queue, 2, 9600));
    device->failReads(5);
    ASSERT_TRUE(queue.waitLinkLost(LinkKind::Serial, kWaitMs));
    device->failReads(0);
    ASSERT_TRUE(port.open(queue, 2, 9600));
    EXPECT_EQ(device->linesAlive, 1);
}

// A line that waits on port events has no read time-out: close and a baud
// change must wake its reader, or they would wait for the next byte.
TEST_F(SerialPortReader, StoppingWakesAReaderThatWaitsOnEvents)
{
    device->readsWaitForEvents = true;
    auto readerWaiting = [&] {
        std::unique_lock<std::mutex> lock(device->mutex);
        return device->changed.wait_for(lock, std::chrono::milliseconds(kWaitMs),
                                        [&] { return device->readsInProgress > 0; });
    };
    ASSERT_TRUE(port.open(queue, 3, 9600));
    ASSERT_TRUE(readerWaiting());
    ASSERT_TRUE(port.setBaudRate(115200));
    device->feed("W");
    EXPECT_EQ(queue.bytes(1, kWaitMs), "W");
    ASSERT_TRUE(readerWaiting());
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(device->readsNotWoken, 0);
}

using SerialPortBaudRate = PortFixture;

TEST_F(SerialPortBaudRate, RefusedWhenThePortIsNotOpen)
{
    EXPECT_FALSE(port.setBaudRate(115200));
    EXPECT_EQ(log.diagnostics(), std::vector<std::string>{"串口未打开，无法设置波特率"});
    EXPECT_TRUE(log.notes().empty());
}

TEST_F(SerialPortBaudRate, ChangesOnceTheOutputQueueHasDrained)
{
    ASSERT_TRUE(port.open(queue, 1, 9600));
    device->queuedSequence = {5, 3, 0};
    std::uint64_t start = clock.now();
    std::size_t before = device->callLog().size();

    ASSERT_TRUE(port.setBaudRate(115200));
    EXPECT_EQ(clock.now() - start, 20u);  // two polls 10 ms apart found bytes
    EXPECT_EQ(device->outputQueuedCalls, 3u);
    std::vector<std::string> calls = device->callLog();
    EXPECT_EQ(std::vector<std::string>(calls.begin() + static_cast<std::ptrdiff_t>(before), calls.end()),
              (std::vector<std::string>{"getState", "setState 115200", "purge rx"}));
    EXPECT_FALSE(device->readDuringReconfigure) << "the reader must be stopped meanwhile";
    EXPECT_EQ(log.notes(), (std::vector<std::string>{"等待缓冲区数据发送完毕...",
                                                     "缓冲区数据已发送完毕，准备更改波特率...",
                                                     "波特率已从 9600 成功更改为 115200"}));
    EXPECT_TRUE(log.diagnostics().empty());

    device->feed("Z");  // the reader runs again
    EXPECT_EQ(queue.bytes(1, kWaitMs), "Z");
}

TEST_F(SerialPortBaudRate, GivesUpAfterTwoSecondsWithThreeBytesQueued)
{
    ASSERT_TRUE(port.open(queue, 1, 9600));
    device->queuedSequence = {3};
    std::uint64_t start = clock.now();

    EXPECT_FALSE(port.setBaudRate(115200));
    EXPECT_EQ(clock.now() - start, 2000u);
    EXPECT_EQ(log.diagnostics(), std::vector<std::string>{"等待数据发送超时，仍有 3 字节未发送"});
    EXPECT_EQ(device->driverRate, 9600u);
    EXPECT_TRUE(port.isOpen());
    device->feed("Q");
    EXPECT_EQ(queue.bytes(1, kWaitMs), "Q");
}

TEST_F(SerialPortBaudRate, DriverFailuresAreReportedAndTheReaderRestarts)
{
    struct Case {
        OsError FakeSerialDevice::*step;
        const char* diagnostic;
    };
    const Case cases[] = {
        {&FakeSerialDevice::outputQueuedError, "检查串口状态失败，错误码：31"},
        {&FakeSerialDevice::getStateError, "获取串口状态失败，错误码：31"},
        {&FakeSerialDevice::setStateError, "设置波特率失败，错误码：31"},
    };
    for (const Case& c : cases) {
        auto d = std::make_shared<FakeSerialDevice>();
        RecordingLog l;
        ByteQueue q;
        SerialPort p(l, clock, test::fakeOpener(d));
        ASSERT_TRUE(p.open(q, 1, 9600));
        {
            std::lock_guard<std::mutex> lock(d->mutex);
            (*d).*(c.step) = 31;
        }
        EXPECT_FALSE(p.setBaudRate(115200)) << c.diagnostic;
        EXPECT_EQ(l.diagnostics(), std::vector<std::string>{c.diagnostic});
        EXPECT_TRUE(p.isOpen());
        d->feed("R");
        EXPECT_EQ(q.bytes(1, kWaitMs), "R") << c.diagnostic << ": the reader must run again";
    }
}

TEST_F(SerialPortReader, WritesGoToTheLine)
{
    ASSERT_TRUE(port.open(queue, 1, 9600));
    const std::uint8_t frame[] = {0x01, 0x67, 0x00, 0x00, 0x00, 0x00, 0x34, 0x02};
    EXPECT_EQ(port.write(frame, sizeof frame), 0u);
    EXPECT_EQ(device->written, std::string(reinterpret_cast<const char*>(frame), sizeof frame));
    device->writeError = 1167;
    EXPECT_EQ(port.write(frame, sizeof frame), 1167u);
}

}  // namespace
}  // namespace orlo
