// SerialPort end to end on the platform's own serial code, against a device
// that echoes every byte: set ORLO_TEST_SERIAL_ECHO to its name ("COM7",
// or a device path). Under Wine: a pseudo-terminal from
//   socat PTY,link=/tmp/port,raw,echo=0 EXEC:cat
// with dosdevices/com7 linked to it. Skipped when the variable is not set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "device/byte_queue.h"
#include "device/serial_port.h"
#include "tests/device/fakes.h"

namespace orlo {
namespace {

constexpr unsigned kWaitMs = 5000;

TEST(SerialEcho, BytesComeBackBeforeAndAfterABaudChange)
{
    const char* name = std::getenv("ORLO_TEST_SERIAL_ECHO");
    if (!name || !*name)
        GTEST_SKIP() << "ORLO_TEST_SERIAL_ECHO names no echoing serial device";
    std::string device = name;
    unsigned portNumber = 0;
    if (device.size() > 3 && device.compare(0, 3, "COM") == 0) {
        portNumber = static_cast<unsigned>(std::atoi(device.c_str() + 3));
        device = serialPortPath(portNumber);
    }

    test::RecordingLog log;
    ByteQueue queue;
    SerialPort port(log);
    ASSERT_TRUE(port.openPath(queue, device, 9600)) << log.diagnostics().at(0);
    std::string sent;
    for (int i = 0; i < 256; ++i)
        sent += static_cast<char>(i);
    ASSERT_EQ(port.write(reinterpret_cast<const std::uint8_t*>(sent.data()), sent.size()), 0u);
    EXPECT_EQ(queue.bytes(sent.size(), kWaitMs), sent);

    ASSERT_TRUE(port.setBaudRate(115200)) << (log.diagnostics().empty() ? "" : log.diagnostics()[0]);
    EXPECT_EQ(log.notes().back(), "波特率已从 9600 成功更改为 115200");
    ASSERT_EQ(port.write(reinterpret_cast<const std::uint8_t*>("\x55\xF5"), 2), 0u);
    EXPECT_EQ(queue.bytes(2, kWaitMs), "\x55\xF5");
    port.close();
    EXPECT_TRUE(log.diagnostics().empty());
}

}  // namespace
}  // namespace orlo
