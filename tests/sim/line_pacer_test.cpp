// The simulated line's timing on a fake clock: wire times at each rate,
// requests received only once their bytes could have arrived, replies
// leaving byte by byte no faster than the rate, and a whole exchange over
// TCP taking the line time it would on a serial line (no real waiting).
#include <gtest/gtest.h>

#include <atomic>

#include "device/frames.h"
#include "sim/line_pacer.h"
#include "sim/server.h"

namespace orlo::sim {
namespace {

// Time moves only when a sleep asks it to.
class FakeLineClock final : public LineClock {
public:
    std::uint64_t nowUs() override { return now_; }
    void sleepUntilUs(std::uint64_t t) override
    {
        std::uint64_t was = now_;
        while (t > was && !now_.compare_exchange_weak(was, t)) {
        }
    }

private:
    std::atomic<std::uint64_t> now_{1000000};
};

TEST(LinePacer, WireTimeIsTenBitsPerByteRoundedUp)
{
    const struct {
        std::uint64_t bytes;
        unsigned baud;
        std::uint64_t us;
    } cases[] = {
        {1, 9600, 1042},          {8, 9600, 8334},   {11520, 115200, 1000000},
        {190000, 115200, 16493056}, {1000, 300, 33333334}, {5, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wireUs(c.bytes, c.baud), c.us) << c.bytes << " at " << c.baud;
}

TEST(LinePacer, ARequestArrivesAtLineSpeedFromItsFirstByte)
{
    LinePacer p;
    p.setBaud(9600);
    // Eight bytes read at once: the last is in after eight byte times.
    std::uint64_t last = 0;
    for (int i = 0; i < 8; ++i)
        last = p.byteArrives(5000);
    EXPECT_EQ(last, 5000 + wireUs(8, 9600));
    // Read later than the line could carry them: each arrives one byte time
    // after it was read, the run starting again.
    EXPECT_EQ(p.byteArrives(100000), 100000 + wireUs(1, 9600));
    EXPECT_EQ(p.byteArrives(200000), 200000 + wireUs(1, 9600));
    // Within a run a byte read late does not shorten the count.
    EXPECT_EQ(p.byteArrives(200500), 200000 + wireUs(2, 9600));
    p.setBaud(0);
    EXPECT_EQ(p.byteArrives(300000), 300000u);
}

TEST(LinePacer, ARepliesBytesLeaveNoFasterThanTheRate)
{
    LinePacer p;
    p.setBaud(115200);
    const std::uint64_t start = p.replyStarts(1000, 60);
    EXPECT_EQ(start, 1000u);
    // The next reply waits for this one to have left.
    EXPECT_EQ(p.replyStarts(1000, 8), 1000 + wireUs(60, 115200));
    const struct {
        std::uint64_t atUs;
        std::size_t carried;
    } steps[] = {{0, 0}, {86, 0}, {87, 1}, {868, 9}, {5208, 59}, {5209, 60}, {90000, 60}};
    for (const auto& s : steps)
        EXPECT_EQ(p.bytesCarried(start, start + s.atUs, 60), s.carried) << s.atUs;
    for (std::size_t i : {0u, 1u, 59u})
        EXPECT_EQ(p.bytesCarried(start, p.byteLeaves(start, i), 60), i + 1);
    p.setBaud(0);
    EXPECT_EQ(p.bytesCarried(start, start, 60), 60u);
}

TEST(LinePacer, AnExchangeOverTcpTakesItsLineTime)
{
    Controller controller{[] {
        ControllerConfig c;
        c.info1 = defaultHardwareInfo1();
        return c;
    }()};
    FaultInjector faults;
    FakeLineClock clock;
    SimServer server{controller, faults, nullptr, false};
    server.setClock(clock);
    server.setLineTiming(LineTiming{300, 5});
    std::string error;
    ASSERT_TRUE(server.serveTcp("127.0.0.1", 0, error)) << error;
    OsError e = 0;
    std::unique_ptr<TcpSocket> s = connectTcp("127.0.0.1", server.tcpPort(), e);
    ASSERT_TRUE(s) << e;
    const std::uint64_t before = clock.nowUs();
    const std::string request = requestFrame(1, kQueryHardwareInfo, 0);
    const std::string expected = dataReply(1, kQueryCommand, defaultHardwareInfo1());
    s->send(reinterpret_cast<const std::uint8_t*>(request.data()), request.size());
    std::string got;
    std::uint8_t buffer[100];
    for (int tries = 0; got.size() < expected.size() && tries < 30; ++tries) {
        const Transfer t = s->receive(buffer, sizeof buffer, 100);
        if (t.closed || t.error)
            break;
        got.append(reinterpret_cast<const char*>(buffer), t.count);
    }
    EXPECT_EQ(got, expected);
    // Request in, the controller's delay, reply out: 1.2 s at 300 baud.
    EXPECT_EQ(clock.nowUs() - before,
              wireUs(request.size(), 300) + 5000 + wireUs(expected.size(), 300));
    const SimStats stats = server.stats();
    EXPECT_EQ(stats.framesReceived, 1u);
    EXPECT_EQ(stats.framesAnswered, 1u);
    EXPECT_EQ(stats.bytesIn, request.size());
    EXPECT_EQ(stats.bytesOut, expected.size());
    server.stop();
}

}  // namespace
}  // namespace orlo::sim
