// The simulated controller's parts: request assembly after noise and across
// deliveries, the relay board's operations and timing, the fault plan, and
// the command line.
#include <gtest/gtest.h>

#include <iterator>

#include "device/firmware_update.h"
#include "device/frames.h"
#include "platform/strings.h"
#include "sim/faults.h"
#include "sim/options.h"
#include "sim/relay_board.h"
#include "sim/request_parser.h"

namespace orlo::sim {
namespace {

std::vector<std::string> feedAll(RequestParser& p, const std::string& bytes)
{
    std::vector<std::string> out;
    for (char c : bytes)
        for (std::string& r : p.feed(static_cast<unsigned char>(c)))
            out.push_back(std::move(r));
    return out;
}

TEST(RequestParser, FindsEveryRequestFormAfterNoise)
{
    const std::string requests[] = {
        readBlockFrame(1, 0),
        requestFrame(3, kQueryHardwareInfo2, 0),
        blockFrame(1, 7, 9, std::string(50, '\x6A')),
        settingFrame(1, kSettingClock, std::string("\x65\x92\x71\x00", 4)),
        addressFrame(kBroadcastTarget, kReadAddressFunction, 0),
        blockFrame(1, 0, 1, ""),
        loaderEntryFrame("ABCDEFGHIJKLM"),
    };
    std::string stream = "\x00\xFF\x69\x55\x01\x6A";
    for (const std::string& r : requests)
        stream += r + std::string("\x13\x37", 2);
    RequestParser p;
    const std::vector<std::string> got = feedAll(p, stream);
    ASSERT_EQ(got.size(), std::size(requests));
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i], requests[i]) << i;
}

TEST(RequestParser, SplitAtEveryOffset)
{
    const std::string r = blockFrame(1, 2, 3, "hello world");
    for (std::size_t cut = 0; cut < r.size(); ++cut) {
        RequestParser p;
        std::vector<std::string> got = feedAll(p, r.substr(0, cut));
        EXPECT_TRUE(got.empty()) << cut;
        got = feedAll(p, r.substr(cut));
        ASSERT_EQ(got.size(), 1u) << cut;
        EXPECT_EQ(got[0], r);
    }
}

TEST(RequestParser, APauseDropsAPartialRequest)
{
    RequestParser p;
    const std::string r = requestFrame(1, 0, 0);
    feedAll(p, r.substr(0, 5));
    p.idle();
    EXPECT_EQ(p.pending(), 0u);
    EXPECT_EQ(feedAll(p, r), std::vector<std::string>{r});
}

TEST(RequestParser, BadChecksAreNotRequests)
{
    RequestParser p;
    std::string bad = requestFrame(1, 0, 0);
    bad[7] = static_cast<char>(bad[7] ^ 1);
    std::string badSum = addressFrame(1, 0x10, 0);
    badSum[7] = static_cast<char>(badSum[7] + 1);
    const std::string good = requestFrame(1, 100, 0);
    EXPECT_EQ(feedAll(p, bad + badSum + good), std::vector<std::string>{good});
}

// ---- The relay board.

std::uint32_t bit(unsigned channel)
{
    return 1u << (channel - 1);
}

TEST(RelayBoard, OperationsOnTheChannelMask)
{
    const struct {
        const char* what;
        std::uint8_t function;
        std::uint32_t value;
        std::uint32_t before, after;
        bool replies;
    } cases[] = {
        {"query", 0x10, 0, 0x5, 0x5, true},
        {"close 1", 0x12, 1, 0, bit(1), true},
        {"close 32 silently", 0x32, 32, 0, bit(32), false},
        {"close 33: no such channel", 0x12, 33, 0, 0, true},
        {"open 3", 0x11, 3, 0x7, 0x3, true},
        {"open 3 silently", 0x31, 3, 0x7, 0x3, false},
        {"toggle 2", 0x20, 2, 0x1, 0x3, true},
        {"toggle 2 silently", 0x30, 2, 0x3, 0x1, false},
        {"all closed", 0x13, 0xFFFFFFFF, 0, 0xFFFFFFFF, true},
        {"all open", 0x33, 0, 0xFFFFFFFF, 0, false},
        {"group close", 0x15, 0x815, 0x100, 0x915, true},
        {"group open", 0x14, 0x11, 0x13, 0x2, true},
        {"group toggle", 0x36, 0x3, 0x1, 0x2, false},
        {"unknown function", 0x55, 0xFF, 0x9, 0x9, false},
    };
    for (const auto& c : cases) {
        RelayBoard b;
        b.apply(0x33, c.before, 0);
        EXPECT_EQ(b.apply(c.function, c.value, 0), c.replies) << c.what;
        EXPECT_EQ(b.state(), c.after) << c.what;
    }
}

TEST(RelayBoard, JogOpensAgainAfterItsTime)
{
    RelayBoard b;
    EXPECT_TRUE(b.apply(0x21, 1000u << 8 | 3, 5000));
    EXPECT_EQ(b.state(), bit(3));
    b.advance(5999);
    EXPECT_EQ(b.state(), bit(3));
    b.advance(6000);
    EXPECT_EQ(b.state(), 0u);
}

TEST(RelayBoard, RunsOfChannelsFollowTheirInterval)
{
    RelayBoard b;
    // Close 2 to 8 every 50 × 10^1 = 500 ms.
    EXPECT_TRUE(b.apply(0x18, 0x02320108, 0));
    EXPECT_EQ(b.state(), bit(2));
    b.advance(1000);
    EXPECT_EQ(b.state(), bit(2) | bit(3) | bit(4));
    b.advance(3000);
    EXPECT_EQ(b.state(), 0xFEu);
    // Open them again without a reply, 0 ms apart: all at once.
    EXPECT_FALSE(b.apply(0x39, 0x02000008, 3000));
    EXPECT_EQ(b.state(), 0u);
}

// ---- Faults.

TEST(FaultInjector, DropCorruptAndGarbleEveryNth)
{
    const std::string reply = dataReply(1, kQueryCommand, "abcd");
    const std::string sum = sumReply(1, 0x10, 5);
    FaultInjector f(FaultPlan{3, 2, 5});
    std::vector<std::string> out;
    for (int i = 0; i < 10; ++i)
        out.push_back(f.apply(i % 2 ? sum : reply));
    EXPECT_EQ(f.repliesSeen(), 10u);
    for (int n = 1; n <= 10; ++n) {
        const std::string& got = out[n - 1];
        const std::string& sent = n % 2 == 0 ? sum : reply;
        if (n % 3 == 0) {
            EXPECT_TRUE(got.empty()) << n;
            continue;
        }
        const bool corrupted = n % 2 == 0;
        const bool garbled = n % 5 == 0;
        ASSERT_EQ(got.size(), sent.size()) << n;
        EXPECT_EQ(got == sent, !corrupted && !garbled) << n;
        const bool checkHolds = sent.size() == 8 && sent[0] == '\x22'
                                    ? sum8(std::string_view(got).substr(0, 7)) ==
                                          static_cast<std::uint8_t>(got[7])
                                    : crcMatches(got);
        EXPECT_EQ(checkHolds, !garbled) << n;
    }
    EXPECT_EQ(FaultInjector().apply(reply), reply);
    EXPECT_EQ(FaultInjector(FaultPlan{1, 0, 0}).apply(""), "");
}

// A misnumbered block reply names the next block and still passes its
// check; replies that carry no block number pass unchanged.
TEST(FaultInjector, WrongBlockNamesTheNextBlock)
{
    FaultPlan plan;
    plan.wrongBlockEvery = 1;
    FaultInjector f(plan);
    const std::string read = dataReply(1, kReadBlockCommand, std::string("\x01\xFF\x03\x00zz", 6));
    const std::string got = f.apply(read);
    EXPECT_TRUE(crcMatches(got));
    EXPECT_EQ(ReplyFrame(got).data().substr(0, 4), std::string_view("\x02\x00\x03\x00", 4));
    const std::string ack = f.apply(shortReply(1, kDataBlockCommand, 4, 9));
    EXPECT_EQ(ack, shortReply(1, kDataBlockCommand, 5, 9));
    const std::string query = dataReply(1, kQueryCommand, "abcd");
    EXPECT_EQ(f.apply(query), query);
    EXPECT_EQ(f.injected(), 2u);
}

// ---- The command line.

TEST(SimOptions, GoodCommandLines)
{
    SimOptions o;
    std::string error;
    ASSERT_TRUE(parseSimOptions({"--tcp", "0"}, o, error)) << error;
    EXPECT_TRUE(o.tcp);
    EXPECT_EQ(o.tcpHost, "127.0.0.1");
    EXPECT_EQ(o.tcpPort, 0u);
    EXPECT_EQ(o.controller.address, 1u);
    EXPECT_EQ(o.controller.info2Length, 50u);

    ASSERT_TRUE(parseSimOptions({"--tcp", "0.0.0.0:6000", "--pty", "/tmp/x", "--address", "255",
                                 "--info2-length", "33", "--radio-code", "7:4294967295",
                                 "--ir-code", "0:0", "--universal-code", "01 02 FF",
                                 "--drop-every", "4", "--corrupt-every", "5", "--garble-every",
                                 "6", "--verbose"},
                                o, error))
        << error;
    EXPECT_EQ(o.tcpHost, "0.0.0.0");
    EXPECT_EQ(o.tcpPort, 6000u);
    EXPECT_EQ(o.ptyLink, "/tmp/x");
    EXPECT_EQ(o.controller.address, 255u);
    EXPECT_EQ(o.controller.info2Length, 33u);
    EXPECT_EQ(o.controller.radioParameter, 7u);
    EXPECT_EQ(o.controller.radioCode, 4294967295u);
    EXPECT_EQ(hexText(o.controller.universalCode), "01 02 FF");
    EXPECT_EQ(o.faults.dropEvery, 4u);
    EXPECT_EQ(o.faults.corruptEvery, 5u);
    EXPECT_EQ(o.faults.garbleEvery, 6u);
    EXPECT_TRUE(o.verbose);
    EXPECT_TRUE(o.controller.loader.signature.empty());
    EXPECT_EQ(o.controller.loader.silentAfterBlock, -1);

    ASSERT_TRUE(parseSimOptions({"--tcp", "0", "--loader-signature", "ABCDEFGHIJKLM", "--chip",
                                 "gd32f103", "--loader-silent-after", "0", "--firmware-out", "f"},
                                o, error))
        << error;
    EXPECT_EQ(o.controller.loader.signature, "ABCDEFGHIJKLM");
    EXPECT_EQ(o.controller.loader.chip, "gd32f103");
    EXPECT_EQ(o.controller.loader.silentAfterBlock, 0);
    EXPECT_EQ(o.controller.loader.imageFile, "f");
    // As hardware: no rate, a few milliseconds a reply, address writes always.
    EXPECT_EQ(o.timing.baud, 0u);
    EXPECT_EQ(o.timing.replyDelayMs, kDefaultReplyDelayMs);
    EXPECT_EQ(o.controller.powerUpWindowMs, 0u);
    EXPECT_FALSE(o.stats);

    ASSERT_TRUE(parseSimOptions({"--pty", "p", "--baud", "115200", "--reply-delay", "0",
                                 "--power-up-window", "3", "--stats"},
                                o, error))
        << error;
    EXPECT_EQ(o.timing.baud, 115200u);
    EXPECT_EQ(o.timing.replyDelayMs, 0u);
    EXPECT_EQ(o.controller.powerUpWindowMs, 3000u);
    EXPECT_TRUE(o.stats);

    ASSERT_TRUE(parseSimOptions({"--help"}, o, error));
    EXPECT_TRUE(o.help);
}

TEST(SimOptions, BadCommandLines)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--address", "1"},
        {"--tcp"},
        {"--tcp", "65536"},
        {"--tcp", ":80"},
        {"--tcp", "x"},
        {"--pty", ""},
        {"--tcp", "0", "--address", "256"},
        {"--tcp", "0", "--info2-length", "251"},
        {"--tcp", "0", "--radio-code", "12"},
        {"--tcp", "0", "--universal-code", "zz"},
        {"--tcp", "0", "--drop-every", "0"},
        {"--tcp", "0", "--frobnicate", "1"},
        {"--tcp", "0", "stray"},
        {"--tcp", "0", "--loader-signature", "ABCDEFGHIJKL"},
        {"--tcp", "0", "--chip", ""},
        {"--tcp", "0", "--loader-silent-after", "-1"},
        {"--tcp", "0", "--baud", "0"},
        {"--tcp", "0", "--baud", "4000001"},
        {"--tcp", "0", "--reply-delay", "10001"},
        {"--tcp", "0", "--power-up-window", "0"},
        {"--tcp", "0", "--stats", "x"},
    };
    for (const auto& args : bad) {
        SimOptions o;
        std::string error;
        EXPECT_FALSE(parseSimOptions(args, o, error)) << args.size();
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace orlo::sim
