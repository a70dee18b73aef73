// The simulated controller's lines: TCP on a loopback port the system picks
// (one client after another) and a pseudo-terminal reached through its link,
// as the serial transport opens it. Every wait is bounded.
#include <gtest/gtest.h>

#include <filesystem>

#include "device/byte_queue.h"
#include "device/frames.h"
#include "device/serial_port.h"
#include "device/transport.h"
#include "sim/server.h"
#include "tests/device/fakes.h"
#include "tests/device/temp_folder.h"

namespace orlo::sim {
namespace {

constexpr unsigned kWaitMs = 3000;

struct ServerTest : ::testing::Test {
    Controller controller{[] {
        ControllerConfig c;
        c.info1 = defaultHardwareInfo1();
        return c;
    }()};
    FaultInjector faults;
    SimServer server{controller, faults, nullptr, false};
};

// Receives until count bytes came or kWaitMs passed.
std::string receiveBytes(TcpSocket& s, std::size_t count)
{
    std::string got;
    std::uint8_t buffer[300];
    for (int tries = 0; got.size() < count && tries < 30; ++tries) {
        const Transfer t = s.receive(buffer, sizeof buffer, kWaitMs / 30);
        if (t.closed || t.error)
            break;
        got.append(reinterpret_cast<const char*>(buffer), t.count);
    }
    return got;
}

TEST_F(ServerTest, TcpServesOneClientAfterAnother)
{
    std::string error;
    ASSERT_TRUE(server.serveTcp("127.0.0.1", 0, error)) << error;
    ASSERT_NE(server.tcpPort(), 0u);
    const std::string request = requestFrame(1, kQueryHardwareInfo, 0);
    const std::string expected = dataReply(1, kQueryCommand, defaultHardwareInfo1());
    for (int client = 0; client < 2; ++client) {
        OsError e = 0;
        std::unique_ptr<TcpSocket> s = connectTcp("127.0.0.1", server.tcpPort(), e);
        ASSERT_TRUE(s) << e;
        // Noise first, then the request in two pieces.
        const std::string bytes = std::string("\x00\x13", 2) + request;
        s->send(reinterpret_cast<const std::uint8_t*>(bytes.data()), 5);
        s->send(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 5, bytes.size() - 5);
        EXPECT_EQ(receiveBytes(*s, expected.size()), expected) << "client " << client;
    }
    server.stop();
}

TEST_F(ServerTest, PseudoTerminalThroughItsLink)
{
    test::TempFolder folder;
    const std::string link = folder.file("controller");
    std::string error;
    ASSERT_TRUE(server.servePty(link, error)) << error;
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), server.ptyDevice());

    ByteQueue queue;
    test::RecordingLog log;
    SerialPort port(log);
    for (int open = 0; open < 2; ++open) {
        ASSERT_TRUE(port.openPath(queue, link, 9600));
        const std::string request = requestFrame(1, kQueryClock, 0);
        ASSERT_EQ(port.write(reinterpret_cast<const std::uint8_t*>(request.data()), request.size()),
                  0u);
        const std::string reply = queue.bytes(9, kWaitMs);
        ASSERT_EQ(reply.size(), 9u) << "open " << open;
        EXPECT_TRUE(crcMatches(reply));
        EXPECT_EQ(static_cast<unsigned char>(reply[1]), kQueryCommand);
        port.close();
    }
    server.stop();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST_F(ServerTest, NeverReplacesAFileWithItsLink)
{
    test::TempFolder folder;
    const std::string path = folder.file("precious");
    test::putFile(path, "keep me");
    std::string error;
    EXPECT_FALSE(server.servePty(path, error));
    EXPECT_NE(error.find("not a symbolic link"), std::string::npos);
    EXPECT_EQ(test::fileBytes(path), "keep me");
}

}  // namespace
}  // namespace orlo::sim
