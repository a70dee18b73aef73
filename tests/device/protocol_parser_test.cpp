// Reply assembly: noise before a frame, frames for other addresses, wrong
// checks and the repeated check on the last byte, frames split over several
// deliveries or merged into one, 0x69 replies of every length, unknown reply
// commands, and the sum frames of the relay boards and address replies.
#include <gtest/gtest.h>

#include <vector>

#include "device/frame_parser.h"
#include "device/frames.h"
#include "platform/strings.h"

namespace orlo {
namespace {

std::string bytes(const std::string& hex)
{
    std::string out;
    EXPECT_TRUE(parseHexText(hex, out)) << hex;
    return out;
}

// Feeds bytes to a CRC parser for address as a transport would, one at a
// time, and collects the frames it completes.
struct CrcHarness {
    ReceiveState state;
    FrameParser parser{state};
    std::uint8_t address = 1;
    std::vector<std::string> frames;

    void request() { state.requestSent(); }
    void feed(const std::string& in)
    {
        for (char c : in)
            if (parser.feed(static_cast<std::uint8_t>(c), address))
                frames.emplace_back(parser.frame());
    }
};

struct SumHarness {
    ReceiveState state;
    SumFrameParser parser{state};
    std::vector<std::string> frames;

    void feed(const std::string& in)
    {
        for (char c : in)
            if (parser.feed(static_cast<std::uint8_t>(c)))
                frames.emplace_back(parser.frame());
    }
};

const std::string kClockReply =
    dataReply(1, kQueryCommand, std::string_view("\x65\x92\x71\x00", 4));

TEST(FrameParser, TakesAWholeReplyAfterARequest)
{
    CrcHarness h;
    h.request();
    h.feed(kClockReply);
    ASSERT_EQ(h.frames.size(), 1u);
    EXPECT_EQ(h.frames[0], kClockReply);
}

TEST(FrameParser, DropsNoiseByteByByteUntilTheAddress)
{
    CrcHarness h;
    h.request();
    h.feed(bytes("00 FF 22 69 7E") + kClockReply);
    ASSERT_EQ(h.frames.size(), 1u);
    EXPECT_EQ(h.frames[0], kClockReply);
}

TEST(FrameParser, IgnoresRepliesOfOtherAddresses)
{
    CrcHarness h;
    h.request();
    h.feed(dataReply(2, kQueryCommand, "abcd"));
    h.feed(shortReply(7, kDataBlockCommand, 0, 1));
    EXPECT_TRUE(h.frames.empty());
    // Its own reply still comes through afterwards ...
    h.request();
    h.feed(kClockReply);
    EXPECT_EQ(h.frames.size(), 1u);
    // ... and so does a reply for another address once it is the one asked.
    h.address = 7;
    h.request();
    h.feed(shortReply(7, kDataBlockCommand, 0, 1));
    EXPECT_EQ(h.frames.size(), 2u);
}

TEST(FrameParser, WrongCrcBlocksFurtherRepliesUntilTheNextRequest)
{
    CrcHarness h;
    std::string bad = kClockReply;
    bad.back() = static_cast<char>(bad.back() ^ 1);
    h.request();
    h.feed(bad);
    EXPECT_TRUE(h.frames.empty());
    // Each further byte only replaces the last one and is checked again: a
    // good reply arriving now is not found ...
    const std::string other = dataReply(1, kQueryCommand, "wxyz");
    ASSERT_EQ(other.find(kClockReply.back()), std::string::npos);
    h.feed(other);
    EXPECT_TRUE(h.frames.empty());
    // ... but a byte that happens to complete the right CRC is.
    h.feed(std::string(1, kClockReply.back()));
    ASSERT_EQ(h.frames.size(), 1u);
    EXPECT_EQ(h.frames[0], kClockReply);

    // After a bad frame a new request restarts assembly.
    h.frames.clear();
    h.request();
    h.feed(bad);
    h.request();
    h.feed(kClockReply);
    EXPECT_EQ(h.frames.size(), 1u);
}

TEST(FrameParser, SplitAndMergedDeliveries)
{
    const std::string ack = shortReply(1, kDataBlockCommand, 4, 9);
    const std::string block = dataReply(1, kReadBlockCommand, std::string(54, 'q'));
    for (std::size_t cut = 0; cut <= block.size(); ++cut) {
        CrcHarness h;
        h.request();
        h.feed(block.substr(0, cut));
        h.feed(block.substr(cut));
        ASSERT_EQ(h.frames.size(), 1u) << "cut at " << cut;
        EXPECT_EQ(h.frames[0], block);
    }
    // Several replies back to back in one delivery.
    CrcHarness h;
    h.request();
    h.feed(ack + block + kClockReply + ack);
    ASSERT_EQ(h.frames.size(), 4u);
    EXPECT_EQ(h.frames[1], block);
    EXPECT_EQ(h.frames[3], ack);
}

TEST(FrameParser, EveryLengthOfAQueryReply)
{
    for (unsigned length = 0; length <= kMaxReplyData; ++length) {
        std::string data;
        for (unsigned i = 0; i < length; ++i)
            data += static_cast<char>(i * 7 + length);
        const std::string reply = dataReply(1, kQueryCommand, data);
        ASSERT_EQ(reply.size(), length + 5);
        CrcHarness h;
        h.request();
        h.feed(reply + kClockReply);
        ASSERT_EQ(h.frames.size(), 2u) << "L = " << length;
        EXPECT_EQ(h.frames[0], reply) << "L = " << length;
        EXPECT_EQ(h.frames[1], kClockReply) << "L = " << length;
    }
}

TEST(FrameParser, LengthBytesBeyondTheBufferAreRefused)
{
    // L of 251 to 255 would need more than 255 bytes: the frame is refused at
    // its length byte and the next reply is found right after it.
    for (unsigned length = kMaxReplyData + 1; length <= 255; ++length) {
        std::string f = bytes("01 69");
        f += static_cast<char>(length);
        CrcHarness h;
        h.request();
        h.feed(f + kClockReply);
        ASSERT_EQ(h.frames.size(), 1u) << "L = " << length;
        EXPECT_EQ(h.frames[0], kClockReply);
        EXPECT_EQ(FrameParser::frameLength(kQueryCommand, static_cast<std::uint8_t>(length)), 0u);
    }
}

TEST(FrameParser, UnknownCommandsAreEightByteFrames)
{
    for (unsigned command : {0x00u, 0x55u, 0x68u, 0x6Bu, 0xFFu}) {
        EXPECT_EQ(FrameParser::frameLength(static_cast<std::uint8_t>(command), 200), 8u);
        // Whatever the previous frame was (here one with L = 40).
        CrcHarness h;
        h.request();
        h.feed(dataReply(1, kQueryCommand, std::string(40, 'x')));
        std::string f = bytes("01");
        f += static_cast<char>(command);
        f += bytes("C8 00 00 00");
        appendCrc(f);
        h.feed(f + kClockReply);
        ASSERT_EQ(h.frames.size(), 3u) << command;
        EXPECT_EQ(h.frames[1], f);
        EXPECT_EQ(h.frames[2], kClockReply);
    }
}

TEST(FrameParser, FirstByteAfterARequestStartsANewFrame)
{
    CrcHarness h;
    h.request();
    h.feed(kClockReply.substr(0, 5));  // half a reply, then a new request
    h.request();
    h.feed(kClockReply);
    ASSERT_EQ(h.frames.size(), 1u);
    EXPECT_EQ(h.frames[0], kClockReply);
}

TEST(SumFrameParser, TakesCheckedEightByteFrames)
{
    SumHarness h;
    h.state.requestSent();
    const std::string state = bytes("22 01 10 00 00 00 05 38");
    h.feed(bytes("00 55 01") + state + sumReply(9, 0x40, 0));
    ASSERT_EQ(h.frames.size(), 2u);
    EXPECT_EQ(h.frames[0], state);
    EXPECT_EQ(h.frames[1], sumReply(9, 0x40, 0));
}

TEST(SumFrameParser, WrongSumWaitsOnTheLastByte)
{
    SumHarness h;
    h.state.requestSent();
    h.feed(bytes("22 01 10 00 00 00 05 39"));
    EXPECT_TRUE(h.frames.empty());
    h.feed(bytes("22 01"));  // replaces the last byte; still wrong
    EXPECT_TRUE(h.frames.empty());
    h.feed(bytes("38"));
    ASSERT_EQ(h.frames.size(), 1u);
    EXPECT_EQ(hexText(h.frames[0]), "22 01 10 00 00 00 05 38");
}

TEST(SumFrameParser, SharesTheReceiveStateWithTheCrcParser)
{
    // A CRC frame half assembled, then the operation changes to one that
    // waits for sum frames without a request in between.
    ReceiveState state;
    FrameParser crc(state);
    SumFrameParser sum(state);
    state.requestSent();
    const std::string long_reply = dataReply(1, kQueryCommand, std::string(100, 'x'));
    for (std::size_t i = 0; i < 60; ++i)
        crc.feed(static_cast<std::uint8_t>(long_reply[i]), 1);
    int frames = 0;
    for (char c : sumReply(1, 0x40, 0))
        frames += sum.feed(static_cast<std::uint8_t>(c)) ? 1 : 0;
    EXPECT_EQ(frames, 1);
}

}  // namespace
}  // namespace orlo
