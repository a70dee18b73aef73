// Device frames byte for byte: the request examples of the protocol, the
// address and relay frames, the reply forms, and the bounded reply view.
#include <gtest/gtest.h>

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

struct FrameCase {
    const char* what;
    std::string frame;
    const char* hex;
};

TEST(ProtocolFrames, RequestsForAddressOneMatchTheProtocolExamples)
{
    const FrameCase cases[] = {
        {"start of program read", readBlockFrame(1, kReadFirstBlock), "01 67 00 00 00 00 34 02"},
        {"next block", readBlockFrame(1, kReadNextBlock), "01 67 00 01 00 00 65 C2"},
        {"clock read", requestFrame(1, kQueryClock, 0), "01 69 00 00 00 00 5D C3"},
        {"hardware information", requestFrame(1, kQueryHardwareInfo, 0), "01 69 00 64 00 00 1C 1C"},
        {"hardware information 2", requestFrame(1, kQueryHardwareInfo2, 0),
         "01 69 00 66 00 00 BD DC"},
        {"address read", addressFrame(kBroadcastTarget, kReadAddressFunction, 0),
         "55 F5 40 00 00 00 00 8A"},
        {"clock set for 2024-01-01 08:00:00 local", settingFrame(1, kSettingClock, bytes("65 92 71 00")),
         "01 6C 00 00 00 04 04 65 92 71 00 AA AC"},
    };
    for (const FrameCase& c : cases)
        EXPECT_EQ(hexText(c.frame), c.hex) << c.what;
}

TEST(ProtocolFrames, AddressFramesAreTheRelayBoardForm)
{
    const FrameCase cases[] = {
        {"close channel 1", addressFrame(1, 0x12, 1), "55 01 12 00 00 00 01 69"},
        {"query", addressFrame(1, 0x10, 0), "55 01 10 00 00 00 00 66"},
        {"jog channel 3 for 1000 ms", addressFrame(1, 0x21, 1000u << 8 | 3), "55 01 21 00 03 E8 03 65"},
        {"broadcast address change to 5", addressFrame(kBroadcastTarget, kWriteAddressFunction, 5),
         "55 F5 41 00 00 00 05 90"},
        {"toggle channel 7", addressFrame(1, 0x20, 7), "55 01 20 00 00 00 07 7D"},
        {"close all", addressFrame(1, 0x13, 0xFFFFFFFFu), "55 01 13 FF FF FF FF 65"},
        {"state reply", sumReply(1, 0x10, 5), "22 01 10 00 00 00 05 38"},
    };
    for (const FrameCase& c : cases)
        EXPECT_EQ(hexText(c.frame), c.hex) << c.what;
}

TEST(ProtocolFrames, CrcIsSentLowByteFirst)
{
    std::string f = "123456789";
    appendCrc(f);
    EXPECT_EQ(hexText(f.substr(9)), "37 4B");
    EXPECT_TRUE(crcMatches(f));
    f[3] = '0';
    EXPECT_FALSE(crcMatches(f));
    EXPECT_FALSE(crcMatches(""));
    EXPECT_FALSE(crcMatches("\x01"));
}

TEST(ProtocolFrames, DataBlockCarriesItsLengthAndEveryByte)
{
    std::string data;
    for (int i = 0; i < 50; ++i)
        data += static_cast<char>(i * 5);
    const std::string f = blockFrame(7, 3, 0x0102, data);
    ASSERT_EQ(f.size(), 59u);
    EXPECT_EQ(hexText(f.substr(0, 7)), "07 6A 00 03 01 02 32");
    EXPECT_EQ(f.substr(7, 50), data);
    EXPECT_TRUE(crcMatches(f));

    // N is one byte: more than 255 bytes are cut rather than miscounted.
    const std::string big = blockFrame(1, 0, 1, std::string(300, 'x'));
    EXPECT_EQ(big.size(), 255u + 9u);
    EXPECT_EQ(static_cast<unsigned char>(big[6]), 255u);
    EXPECT_TRUE(crcMatches(big));
}

TEST(ProtocolFrames, RepliesAndTheirLengths)
{
    EXPECT_EQ(hexText(shortReply(1, kDataBlockCommand, 2, 3)).substr(0, 17), "01 6A 00 02 00 03");
    EXPECT_TRUE(crcMatches(shortReply(1, kDataBlockCommand, 2, 3)));
    EXPECT_EQ(dataReply(1, kQueryCommand, "").size(), 5u);
    EXPECT_EQ(dataReply(1, kQueryCommand, "abcd").size(), 9u);
    EXPECT_EQ(dataReply(1, kQueryCommand, std::string(400, 'x')).size(), 255u);
    EXPECT_TRUE(crcMatches(dataReply(9, kReadBlockCommand, "xyz")));
}

TEST(ProtocolFrames, ReplyViewNeverReadsPastTheFrame)
{
    const std::string clock = dataReply(1, kQueryCommand, bytes("65 92 71 00"));
    const ReplyFrame r(clock);
    EXPECT_EQ(r.command(), kQueryCommand);
    EXPECT_EQ(r.dataU32(0), 0x65927100u);
    EXPECT_EQ(r.dataByte(4), 0u);  // past the data: the CRC is not data
    EXPECT_EQ(r.dataU32(2), 0x71000000u);

    // A length byte larger than the frame: only the bytes held count.
    const std::string lying = bytes("01 69 F0 AA BB 00 00");
    const ReplyFrame l(lying);
    EXPECT_EQ(l.data().size(), 2u);
    EXPECT_EQ(l.dataByte(1), 0xBBu);
    EXPECT_EQ(l.dataByte(2), 0u);

    const ReplyFrame empty{std::string_view()};
    EXPECT_EQ(empty.command(), 0u);
    EXPECT_EQ(empty.data().size(), 0u);
    EXPECT_EQ(empty.fieldA(), 0u);

    const std::string ack = shortReply(1, kDataBlockCommand, 0x1234, 0xABCD);
    EXPECT_EQ(ReplyFrame(ack).fieldA(), 0x1234u);
    EXPECT_EQ(ReplyFrame(ack).fieldB(), 0xABCDu);
    EXPECT_EQ(ReplyFrame(sumReply(1, 0x10, 0x80000001u)).sumValue(), 0x80000001u);
}

}  // namespace
}  // namespace orlo
