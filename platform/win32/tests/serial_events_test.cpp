// Orlo.exe's event-waiting serial line (openEventSerialLine) under
// SerialPort, on pseudo-terminals that Wine reaches as COM ports
// (tests/wine/orlo/host.sh links them): one whose far end echoes every byte
// (ORLO_TEST_EVENT_SERIAL_ECHO=COMn), one whose far end goes away after four
// bytes (ORLO_TEST_EVENT_SERIAL_HANGUP=COMn) and one whose far end takes
// nothing (ORLO_TEST_EVENT_SERIAL_STUCK=COMn). A test whose port is not
// named skips itself (fails where ORLO_REQUIRE_WINDOWS is set). Every wait
// is bounded.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "device/byte_queue.h"
#include "device/serial_port.h"
#include "platform/win32/serial_line.h"
#include "platform/win32/tests/win32_test_support.h"
#include "tests/device/fakes.h"

namespace orlo {
namespace {

constexpr unsigned kWaitMs = 10000;

struct Win32EventSerial : ::testing::Test {
    // The port number of COMn named by the variable, or 0 (the test skips).
    unsigned portFrom(const char* variable)
    {
        const char* name = std::getenv(variable);
        if (name && std::string(name).compare(0, 3, "COM") == 0)
            return static_cast<unsigned>(std::atoi(name + 3));
        if (test::windowsRequired())
            ADD_FAILURE() << variable << " names no COM port";
        return 0;
    }
    OsError write(const std::string& bytes)
    {
        return port.write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    // Bytes that no reply can be mistaken for: every value, in runs.
    static std::string pattern(std::size_t count, unsigned seed)
    {
        std::string s;
        for (std::size_t i = 0; i < count; ++i)
            s += static_cast<char>((i * 7 + seed + i / 256) & 0xFF);
        return s;
    }

    test::RecordingLog log;
    ByteQueue queue;
    SerialPort port{log, systemClock(), openEventSerialLine};
};

// Every byte reaches the sink, in order and with its port number, before
// and after rate changes (each stops and restarts the reader); 0x11 and
// 0x13 included (no XON/XOFF).
TEST_F(Win32EventSerial, EveryByteComesBackInOrderAcrossBaudChanges)
{
    const unsigned com = portFrom("ORLO_TEST_EVENT_SERIAL_ECHO");
    if (!com)
        GTEST_SKIP() << "no echoing port";
    ASSERT_TRUE(port.open(queue, com, 9600)) << log.diagnostics().at(0);
    const unsigned rates[] = {9600, 115200, 19200};
    for (unsigned rate : rates) {
        if (rate != 9600) {
            ASSERT_TRUE(port.setBaudRate(rate));
        }
        const std::string sent = pattern(3000, rate);
        ASSERT_EQ(write(sent), 0u);
        std::string got;
        ByteQueue::Event e;
        while (got.size() < sent.size() && queue.next(e, kWaitMs)) {
            ASSERT_FALSE(e.lost);
            ASSERT_EQ(e.source, com);
            got += static_cast<char>(e.byte);
        }
        EXPECT_EQ(got, sent) << "at " << rate << " baud";
    }
    const std::vector<std::string> notes = log.notes();
    EXPECT_NE(std::find(notes.begin(), notes.end(), "波特率已从 115200 成功更改为 19200"), notes.end());
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(log.diagnostics().empty()) << log.diagnostics().at(0);
}

// Closing while bytes stream in, then opening again: the old reader ends,
// the new one hands over what comes next.
TEST_F(Win32EventSerial, CloseWhileBytesStreamInThenOpenAgain)
{
    const unsigned com = portFrom("ORLO_TEST_EVENT_SERIAL_ECHO");
    if (!com)
        GTEST_SKIP() << "no echoing port";
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(port.open(queue, com, 115200)) << round;
        ASSERT_EQ(write(pattern(4000, static_cast<unsigned>(round))), 0u);
        ByteQueue::Event e;
        ASSERT_TRUE(queue.next(e, kWaitMs)) << round << ": nothing came back";
        port.close();
        ASSERT_FALSE(port.isOpen());
    }
    ASSERT_TRUE(port.open(queue, com, 115200));
    const std::string marker("\x55\xAA\x13\x11\x00" "END", 8);
    ASSERT_EQ(write(marker), 0u);
    // Echoes of the last round may still come first.
    std::string tail;
    ByteQueue::Event e;
    while (queue.next(e, kWaitMs)) {
        tail += static_cast<char>(e.byte);
        if (tail.size() >= marker.size() &&
            tail.compare(tail.size() - marker.size(), marker.size(), marker) == 0)
            break;
    }
    ASSERT_GE(tail.size(), marker.size());
    EXPECT_EQ(tail.substr(tail.size() - marker.size()), marker);
    port.close();
}

// The far end goes away (a USB adapter pulled out): the reader reports it,
// marks the port closed and tells the owner once.
TEST_F(Win32EventSerial, ADeviceThatGoesAwayClosesThePort)
{
    const unsigned com = portFrom("ORLO_TEST_EVENT_SERIAL_HANGUP");
    if (!com)
        GTEST_SKIP() << "no port whose far end goes away";
    ASSERT_TRUE(port.open(queue, com, 9600));
    ASSERT_EQ(write("STOP"), 0u);
    ASSERT_TRUE(queue.waitLinkLost(LinkKind::Serial, kWaitMs));
    EXPECT_FALSE(port.isOpen());
    ASSERT_FALSE(log.diagnostics().empty());
    EXPECT_EQ(log.diagnostics()[0].rfind("读取串口失败，错误码：", 0), 0u) << log.diagnostics()[0];
    port.close();
}

// A line that takes nothing: the write gives up after the bytes' time on
// the line and some slack, and says so; it does not hold the window.
TEST_F(Win32EventSerial, AWriteTheLineNeverTakesIsBounded)
{
    const unsigned com = portFrom("ORLO_TEST_EVENT_SERIAL_STUCK");
    if (!com)
        GTEST_SKIP() << "no port whose far end takes nothing";
    ASSERT_TRUE(port.open(queue, com, 921600));
    EXPECT_EQ(write(pattern(100000, 1)), static_cast<OsError>(ERROR_TIMEOUT));
    port.close();
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace orlo
