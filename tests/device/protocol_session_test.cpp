// The device operations through DeviceSession with a recording sender and
// scripted replies: whole-program write and read (blocks, progress, checks,
// the program kept through a failed or abandoned read, images too large),
// the clock, the address, hardware information, remote-code learning, and
// how received bytes are routed by the pending operation.
#include <gtest/gtest.h>

#include "device/controller_time.h"
#include "device/device_session.h"
#include "device/frames.h"
#include "expr/names.h"
#include "platform/strings.h"
#include "tests/device/session_fakes.h"

namespace orlo {
namespace {

using test::fillToImageSize;
using test::RecordingDeviceEvents;
using test::RecordingDeviceSender;
using test::Shown;

constexpr std::uint64_t k2024 = 1704067200;  // 2024-01-01 00:00:00 UTC

struct SessionTest : ::testing::Test {
    RecordingDeviceSender sender;
    RecordingDeviceEvents events;
    Program program;
    NameTable names;
    std::uint64_t utc = k2024;
    DeviceSession session{sender, events, SessionServices{&program, &names, [this] { return utc; }}};

    void feed(const std::string& bytes)
    {
        for (char c : bytes)
            session.onByte(static_cast<std::uint8_t>(c));
    }
    // Acknowledges every block frame sent since the last call, as the
    // controller does, until the write ends or stalls.
    void acknowledgeBlocks()
    {
        std::size_t answered = 0;
        while (answered < sender.sent.size()) {
            const ReplyFrame f(sender.sent[answered++]);
            if (f.command() == kDataBlockCommand)
                feed(shortReply(f.address(), kDataBlockCommand, f.fieldA(), f.fieldB()));
        }
    }
    // Serves a read of image as the controller does: block 0 on P = 0, the
    // next one on P = 1. corruptBlock: that block's last byte is changed.
    void serveRead(const std::string& image, int corruptBlock = -1, std::size_t stopAfter = ~0u)
    {
        const unsigned total = static_cast<unsigned>((image.size() + 49) / 50);
        unsigned position = 0;
        std::size_t answered = 0, served = 0;
        while (answered < sender.sent.size() && served < stopAfter) {
            const ReplyFrame f(sender.sent[answered++]);
            if (f.command() != kReadBlockCommand)
                continue;
            position = f.fieldA() == 0 ? 0 : position + 1;
            std::string data;
            data += static_cast<char>(position >> 8);
            data += static_cast<char>(position);
            data += static_cast<char>(total >> 8);
            data += static_cast<char>(total);
            std::string block = image.substr(position * 50, 50);
            if (static_cast<int>(position) == corruptBlock)
                block.back() = static_cast<char>(block.back() ^ 0x01);
            feed(dataReply(session.deviceAddress(), kReadBlockCommand, data + block));
            ++served;
        }
    }
    std::string lastSent() const { return sender.sent.empty() ? "" : hexText(sender.sent.back()); }
};

// ---- Writing the whole program.

TEST_F(SessionTest, WriteSendsFiftyByteBlocksAfterEachAcknowledgement)
{
    const struct {
        std::size_t imageBytes;
        unsigned blocks;
        std::size_t lastBlock;
    } cases[] = {{100, 2, 50}, {101, 3, 1}, {149, 3, 49}, {31, 1, 31}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.imageBytes);
        sender.sent.clear();
        events = RecordingDeviceEvents();
        fillToImageSize(program, c.imageBytes);
        const std::string image = buildImage(program, names);
        ASSERT_EQ(image.size(), c.imageBytes);

        session.writeAll();
        ASSERT_EQ(events.questions.size(), 1u);
        EXPECT_EQ(events.questions[0],
                  (Shown{"继续进行将会擦除目标板信息并以当前界面的信息取代，继续吗？", "警告 目标地址1"}));
        EXPECT_EQ(session.pending(), PendingOperation::WriteAll);
        EXPECT_EQ(session.blockCount(), c.blocks);
        ASSERT_EQ(sender.sent.size(), 1u);  // one block at a time
        acknowledgeBlocks();

        ASSERT_EQ(sender.sent.size(), c.blocks);
        std::string sentImage;
        for (unsigned i = 0; i < c.blocks; ++i) {
            const std::string& f = sender.sent[i];
            const std::size_t n = i + 1 < c.blocks ? 50 : c.lastBlock;
            ASSERT_EQ(f.size(), n + 9);
            EXPECT_EQ(hexText(f.substr(0, 7)),
                      format("01 6A 00 %02X 00 %02X %02X", i, c.blocks, static_cast<unsigned>(n)));
            EXPECT_TRUE(crcMatches(f));
            sentImage += f.substr(7, n);
        }
        EXPECT_EQ(sentImage, image);
        EXPECT_EQ(events.ranges, std::vector<unsigned>{c.blocks});
        std::vector<unsigned> positions;
        for (unsigned i = 1; i <= c.blocks; ++i)
            positions.push_back(i);
        positions.push_back(0);
        EXPECT_EQ(events.positions, positions);
        EXPECT_EQ(events.messages, std::vector<Shown>{(Shown{"全部数据已写入！", "提示"})});
        EXPECT_EQ(session.pending(), PendingOperation::Idle);
        EXPECT_EQ(session.blockCount(), 0u);
        EXPECT_EQ(events.ended, (std::vector<std::pair<PendingOperation, bool>>{
                                    {PendingOperation::WriteAll, true}}));
    }
}

TEST_F(SessionTest, WriteIgnoresRepliesThatDoNotAcknowledgeTheBlock)
{
    fillToImageSize(program, 120);  // three blocks
    session.writeAll();
    ASSERT_EQ(sender.sent.size(), 1u);
    const std::string wrong[] = {
        shortReply(2, kDataBlockCommand, 0, 3),  // another controller
        shortReply(1, kDataBlockCommand, 1, 3),  // wrong block
        shortReply(1, kDataBlockCommand, 0, 4),  // wrong count
        shortReply(1, kSettingCommand, 0, 3),    // wrong command
    };
    for (const std::string& r : wrong) {
        sender.sent.clear();  // the request before each reply restarts assembly
        session.sendBlock(0, 3, "");
        sender.sent.clear();
        feed(r);
        EXPECT_TRUE(sender.sent.empty()) << hexText(r);
        EXPECT_EQ(session.blockIndex(), 0u);
    }
    feed(shortReply(1, kDataBlockCommand, 0, 3));
    EXPECT_EQ(session.blockIndex(), 1u);
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(hexText(sender.sent[0].substr(0, 7)), "01 6A 00 01 00 03 32");
}

// Only the awaited reply is progress: whoever waits with a bound does not
// start it again for replies that move nothing on.
TEST_F(SessionTest, OnlyAwaitedRepliesAreProgress)
{
    fillToImageSize(program, 120);  // three blocks
    session.writeAll();
    unsigned before = session.progress();
    for (int i = 0; i < 3; ++i) {
        session.sendBlock(0, 3, "");  // restarts assembly
        feed(shortReply(1, kDataBlockCommand, 1, 3));
    }
    EXPECT_EQ(session.progress(), before);
    feed(shortReply(1, kDataBlockCommand, 0, 3));
    EXPECT_EQ(session.progress(), before + 1);

    session.readAll();
    before = session.progress();
    const std::string block0 = dataReply(1, kReadBlockCommand, std::string("\x00\x00\x00\x02", 4) + "abcde");
    feed(block0);
    EXPECT_EQ(session.progress(), before + 1);
    feed(block0);  // the same block again
    feed(block0);
    EXPECT_EQ(session.progress(), before + 1);
}


// Settings get no answer: with the port closed they say so instead of
// showing the clock as set.
TEST_F(SessionTest, SettingsWithThePortClosedSayNothingWentOut)
{
    sender.portClosed = true;
    for (auto op : {&DeviceSession::setClock, &DeviceSession::writeAddress}) {
        events.messages.clear();
        (session.*op)();
        EXPECT_TRUE(sender.sent.empty());
        EXPECT_EQ(events.messages, std::vector<Shown>{(Shown{"请先打开串口", "提示"})});
    }
}

TEST_F(SessionTest, WriteNeedsAnOpenPortAndAYes)
{
    fillToImageSize(program, 100);
    sender.portClosed = true;
    session.writeAll();
    EXPECT_TRUE(sender.sent.empty());
    EXPECT_TRUE(events.questions.empty());
    EXPECT_EQ(events.messages, std::vector<Shown>{(Shown{"请先打开串口", "提示"})});

    sender.portClosed = false;
    events.answers.push_back(false);
    session.writeAll();
    EXPECT_TRUE(sender.sent.empty());
    EXPECT_EQ(session.pending(), PendingOperation::Idle);
}

TEST_F(SessionTest, ImageOfTwoHundredThousandBytesIsRefusedWithAMessage)
{
    for (std::size_t size : {std::size_t{200000}, std::size_t{200001}, std::size_t{250000}}) {
        SCOPED_TRACE(size);
        fillToImageSize(program, size);
        sender.sent.clear();
        events = RecordingDeviceEvents();
        session.readClock();  // something pending before
        sender.sent.clear();
        session.writeAll();
        EXPECT_TRUE(sender.sent.empty());
        EXPECT_TRUE(events.questions.empty());
        ASSERT_EQ(events.messages.size(), 1u);
        EXPECT_EQ(events.messages[0].caption, "提示");
        EXPECT_NE(events.messages[0].text.find(format("%u", static_cast<unsigned>(size))),
                  std::string::npos);
        EXPECT_EQ(session.pending(), PendingOperation::Idle);
        EXPECT_EQ(session.blockCount(), 0u);
        EXPECT_EQ(events.ended, (std::vector<std::pair<PendingOperation, bool>>{
                                    {PendingOperation::WriteAll, false}}));
    }
}

TEST_F(SessionTest, ImageJustBelowTheLimitGoesOutWhole)
{
    // The last block of a 199999-byte image starts at 199950 and ends at the
    // very end of imageBuffer.
    fillToImageSize(program, 199999);
    const std::string image = buildImage(program, names);
    session.writeAll();
    EXPECT_EQ(session.blockCount(), 4000u);
    acknowledgeBlocks();
    ASSERT_EQ(sender.sent.size(), 4000u);
    EXPECT_EQ(sender.sent.back().size(), 49u + 9u);
    EXPECT_EQ(sender.sent.back().substr(7, 49), image.substr(199950));
    EXPECT_EQ(events.messages.back(), (Shown{"全部数据已写入！", "提示"}));
}

// ---- Reading the whole program.

struct ReadTest : SessionTest {
    std::string otherImage;
    std::string keptImage;

    void SetUp() override
    {
        Program other;
        fillToImageSize(other, 260, 'o');
        NameTable otherNames;
        ASSERT_EQ(otherNames.rename("整数5", "温度"), "");
        otherImage = buildImage(other, otherNames);
        fillToImageSize(program, 120, 'k');
        keptImage = buildImage(program, names);
    }
    void expectKept()
    {
        EXPECT_EQ(buildImage(program, names), keptImage);
        EXPECT_TRUE(events.loaded.empty());
    }
};

TEST_F(ReadTest, ReplacesTheProgramOnlyWhenTheWholeImageArrived)
{
    session.readAll();
    EXPECT_EQ(events.questions[0],
              (Shown{"继续进行将会擦除当前界面的信息并以目标板信息取代，继续吗？", "警告 目标地址1"}));
    EXPECT_EQ(lastSent(), "01 67 00 00 00 00 34 02");
    EXPECT_EQ(session.pending(), PendingOperation::ReadAll);
    expectKept();

    serveRead(otherImage);
    ASSERT_EQ(sender.sent.size(), 6u);  // blocks 0 to 5
    EXPECT_EQ(lastSent(), "01 67 00 01 00 00 65 C2");
    EXPECT_EQ(buildImage(program, names), otherImage);
    EXPECT_EQ(names.aliasToSystem("温度"), "整数5");
    EXPECT_EQ(events.loaded, std::vector<std::string>{otherImage});
    EXPECT_EQ(events.messages, std::vector<Shown>{(Shown{"全部数据已读取完毕！", "提示"})});
    EXPECT_EQ(events.positions, (std::vector<unsigned>{0, 1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(events.ranges, std::vector<unsigned>(6, 6));
    EXPECT_EQ(session.pending(), PendingOperation::Idle);
    EXPECT_EQ(events.ended.back(), std::make_pair(PendingOperation::ReadAll, true));
}

TEST_F(ReadTest, CorruptedImageIsRefusedAndTheProgramKept)
{
    for (int block : {0, 2, 5}) {
        SCOPED_TRACE(block);
        sender.sent.clear();
        events = RecordingDeviceEvents();
        session.readAll();
        serveRead(otherImage, block);
        EXPECT_EQ(events.messages, std::vector<Shown>{(Shown{"数据有误！", "提示"})});
        EXPECT_EQ(events.ended.back(), std::make_pair(PendingOperation::ReadAll, false));
        EXPECT_EQ(session.pending(), PendingOperation::Idle);
        expectKept();
    }
}

TEST_F(ReadTest, AbandonedReadKeepsTheProgram)
{
    session.readAll();
    serveRead(otherImage, -1, 3);
    session.readClock();  // the user starts something else
    const unsigned before = static_cast<unsigned>(sender.sent.size());
    feed(dataReply(1, kReadBlockCommand, std::string("\x00\x03\x00\x06", 4) + otherImage.substr(150, 50)));
    EXPECT_EQ(sender.sent.size(), before);
    expectKept();
    EXPECT_TRUE(events.ended.empty() || events.ended.back().first != PendingOperation::ReadAll);
}

TEST_F(ReadTest, ShortReplyEndsTheReadWithDataError)
{
    session.readAll();
    feed(dataReply(1, kReadBlockCommand, std::string("\x00\x00\x00\x01", 4)));
    EXPECT_EQ(events.messages, std::vector<Shown>{(Shown{"数据出错", "提示"})});
    EXPECT_EQ(session.pending(), PendingOperation::Idle);
    EXPECT_EQ(events.positions.back(), 0u);
    expectKept();
}

// A controller that keeps answering without ever reaching the end cannot
// keep a read going: no image needs more than 4,000 blocks.
TEST_F(ReadTest, EndlessRepliesEndTheReadWithDataError)
{
    session.readAll();
    const std::string block0 = dataReply(1, kReadBlockCommand, std::string("\x00\x00\x00\x02", 4) + "abcde");
    for (int i = 0; i < 4001 && session.pending() == PendingOperation::ReadAll; ++i)
        feed(block0);
    EXPECT_EQ(session.pending(), PendingOperation::Idle);
    EXPECT_EQ(events.ended, (std::vector<std::pair<PendingOperation, bool>>{
                                {PendingOperation::ReadAll, false}}));
    EXPECT_EQ(events.messages.back(), (Shown{"数据出错", "提示"}));
    expectKept();
}

TEST_F(ReadTest, TotalOfOneOrZeroEndsAfterTheFirstReply)
{
    Program small;
    fillToImageSize(small, 40, 's');
    NameTable none;
    const std::string image = buildImage(small, none);
    for (unsigned total : {1u, 0u}) {
        SCOPED_TRACE(total);
        sender.sent.clear();
        events = RecordingDeviceEvents();
        session.readAll();
        std::string data("\x00\x00\x00", 3);
        data += static_cast<char>(total);
        feed(dataReply(1, kReadBlockCommand, data + image));
        EXPECT_EQ(sender.sent.size(), 1u);  // no request for a next block
        EXPECT_EQ(events.messages.back(), (Shown{"全部数据已读取完毕！", "提示"}));
        EXPECT_EQ(buildImage(program, names), image);
    }
}

TEST_F(ReadTest, StaleBytesOfAnEarlierTransferDoNotCompleteAnImage)
{
    // Write a program: imageBuffer then holds its whole image.
    session.writeAll();
    acknowledgeBlocks();
    ASSERT_EQ(events.messages.back().text, "全部数据已写入！");
    // A controller that reports only the first block of that same image as
    // the whole program must not get the rest from the buffer.
    sender.sent.clear();
    session.readAll();
    feed(dataReply(1, kReadBlockCommand,
                   std::string("\x00\x00\x00\x01", 4) + keptImage.substr(0, 50)));
    EXPECT_EQ(events.messages.back(), (Shown{"数据有误！", "提示"}));
    EXPECT_TRUE(events.loaded.empty());
}

TEST_F(ReadTest, LongestImageReadsBackWhole)
{
    Program big;
    fillToImageSize(big, 200000, 'b');
    NameTable none;
    const std::string image = buildImage(big, none);
    session.readAll();
    serveRead(image);
    EXPECT_EQ(sender.sent.size(), 4000u);
    ASSERT_EQ(events.loaded.size(), 1u);
    EXPECT_TRUE(events.loaded[0] == image);
}

// ---- Clock, address, hardware information.

TEST_F(SessionTest, SettingTheClockSendsLocalTimeAndShowsIt)
{
    session.readClock();
    sender.sent.clear();
    session.setClock();
    EXPECT_EQ(lastSent(), "01 6C 00 00 00 04 04 65 92 71 00 AA AC");
    EXPECT_EQ(events.messages,
              std::vector<Shown>{(Shown{"模块的当前时间为：2024年1月1日8时0分0秒，星期一", ""})});
    EXPECT_EQ(session.pending(), PendingOperation::ReadClock);  // not changed, not awaited
}

TEST_F(SessionTest, ReadingTheClockShowsTheControllerTime)
{
    session.readClock();
    EXPECT_EQ(lastSent(), "01 69 00 00 00 00 5D C3");
    EXPECT_EQ(session.pending(), PendingOperation::ReadClock);
    feed(dataReply(1, kQueryCommand, std::string("\x65\x92\x71\x00", 4)));
    EXPECT_EQ(events.messages,
              std::vector<Shown>{(Shown{"模块的当前时间为：2024年1月1日8时0分0秒，星期一", ""})});
    EXPECT_EQ(session.pending(), PendingOperation::Idle);
    EXPECT_EQ(session.repliesHandled(), 1u);
}

TEST_F(SessionTest, AddressReadWorksWithAnyDeviceAddress)
{
    session.setDeviceAddress(9);
    session.readAddress();
    EXPECT_EQ(lastSent(), "55 F5 40 00 00 00 00 8A");
    feed(dataReply(9, kQueryCommand, "abcd"));  // a CRC frame is not the answer
    EXPECT_TRUE(events.messages.empty());
    session.readAddress();
    feed(sumReply(5, kReadAddressFunction, 0));
    EXPECT_EQ(events.messages, std::vector<Shown>{(Shown{"目标模块地址为 5", "读取成功"})});
    EXPECT_EQ(session.pending(), PendingOperation::Idle);
}

TEST_F(SessionTest, AddressWriteGivesTheModuleTheDeviceAddress)
{
    session.setDeviceAddress(7);
    session.writeAddress();
    EXPECT_EQ(lastSent(), "55 F5 41 00 00 00 07 92");
    EXPECT_EQ(session.pending(), PendingOperation::Idle);
    EXPECT_TRUE(events.messages.empty());
}

TEST_F(SessionTest, HardwareInformationInBothModes)
{
    session.readHardwareInfo();
    EXPECT_EQ(lastSent(), "01 69 00 64 00 00 1C 1C");
    EXPECT_EQ(session.pending(), PendingOperation::HardwareInfo1);
    feed(dataReply(1, kQueryCommand, std::string(21, '\x04')));
    ASSERT_EQ(events.infos.size(), 1u);
    EXPECT_EQ(events.infos[0].first, 1);
    EXPECT_NE(events.infos[0].second.find("硬件内核：4.0内核"), std::string::npos);
    EXPECT_EQ(session.pending(), PendingOperation::Idle);

    session.readHardwareInfo2();
    EXPECT_EQ(lastSent(), "01 69 00 66 00 00 BD DC");
    feed(dataReply(1, kQueryCommand, std::string(24, '\x02')));
    ASSERT_EQ(events.infos.size(), 2u);
    EXPECT_EQ(events.infos[1].first, 3);
    EXPECT_NE(events.infos[1].second.find("全局数组空间：514"), std::string::npos);
}

// ---- Remote codes.

TEST_F(SessionTest, LearnedRadioAndInfraredCodes)
{
    const struct {
        RemoteKind kind;
        const char* request;
        const char* message;
    } cases[] = {
        {RemoteKind::Radio, "01 69 00 01 00 00", "接收到无线遥控信号，遥控参数:258 遥控码:4294967295"},
        {RemoteKind::Infrared, "01 69 00 02 00 00", "接收到红外遥控信号，遥控参数:258 遥控码:4294967295"},
    };
    for (const auto& c : cases) {
        events = RecordingDeviceEvents();
        session.learnRemote(c.kind, &events);
        EXPECT_EQ(lastSent().substr(0, 17), c.request);
        feed(dataReply(1, kQueryCommand, std::string("\x00\x00\x01\x02\xFF\xFF\xFF\xFF", 8)));
        EXPECT_EQ(events.messages, std::vector<Shown>{(Shown{c.message, "注意"})});
        EXPECT_EQ(events.codes, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                                    {258u, 4294967295u}}));
        EXPECT_EQ(session.pending(), PendingOperation::Idle);
    }
    // A target that went away is not told.
    events = RecordingDeviceEvents();
    session.learnRemote(RemoteKind::Radio, &events);
    session.forgetRemoteLearnTarget(&events);
    feed(dataReply(1, kQueryCommand, std::string(8, '\x01')));
    EXPECT_EQ(events.messages.size(), 1u);
    EXPECT_TRUE(events.codes.empty());
}

TEST_F(SessionTest, LearnedUniversalInfraredCode)
{
    session.learnRemote(RemoteKind::UniversalInfrared, &events);
    EXPECT_EQ(lastSent().substr(0, 17), "01 69 00 03 00 00");
    EXPECT_EQ(session.pending(), PendingOperation::LearnUniversalInfrared);
    feed(dataReply(1, kQueryCommand, std::string("\x26\x00\xAB", 3)));
    EXPECT_EQ(events.messages,
              std::vector<Shown>{(Shown{"接收到万能红外遥控信号26 00 AB", "注意"})});
    EXPECT_EQ(session.remoteCodeBuffer().length, 3u);
    EXPECT_EQ(events.universalCodes, std::vector<std::string>{std::string("\x26\x00\xAB", 3)});

    // A reply with another command ends the wait and shows nothing; the
    // owner is told what came instead.
    events = RecordingDeviceEvents();
    session.learnRemote(RemoteKind::UniversalInfrared, &events);
    feed(shortReply(1, kSettingCommand, 0, 4));
    EXPECT_EQ(events.unexpected, std::vector<std::string>{shortReply(1, kSettingCommand, 0, 4)});
    EXPECT_EQ(events.ended, (std::vector<std::pair<PendingOperation, bool>>{
                                {PendingOperation::LearnUniversalInfrared, false}}));
    EXPECT_TRUE(events.messages.empty());
    EXPECT_TRUE(events.universalCodes.empty());
    EXPECT_EQ(session.pending(), PendingOperation::Idle);
    EXPECT_EQ(session.remoteCodeBuffer().length, 3u);
}

// A reply too short for what the operation reads ends it as a failure: no
// clock of 1970, no code "0 0", no empty table; the owner is told what came.
TEST_F(SessionTest, RepliesTooShortForTheAnswerAreFailures)
{
    const struct {
        const char* what;
        void (*start)(DeviceSession&, RemoteCodeListener*);
        PendingOperation op;
        std::string data;
    } cases[] = {
        {"clock, no data", [](DeviceSession& s, RemoteCodeListener*) { s.readClock(); },
         PendingOperation::ReadClock, ""},
        {"clock, 3 bytes", [](DeviceSession& s, RemoteCodeListener*) { s.readClock(); },
         PendingOperation::ReadClock, "\x65\x92\x71"},
        {"radio code, no data",
         [](DeviceSession& s, RemoteCodeListener* l) { s.learnRemote(RemoteKind::Radio, l); },
         PendingOperation::LearnRadioRemote, ""},
        {"infrared code, 7 bytes",
         [](DeviceSession& s, RemoteCodeListener* l) { s.learnRemote(RemoteKind::Infrared, l); },
         PendingOperation::LearnInfraredRemote, "1234567"},
        {"universal code, no data",
         [](DeviceSession& s, RemoteCodeListener* l) {
             s.learnRemote(RemoteKind::UniversalInfrared, l);
         },
         PendingOperation::LearnUniversalInfrared, ""},
        {"hardware information, no data",
         [](DeviceSession& s, RemoteCodeListener*) { s.readHardwareInfo(); },
         PendingOperation::HardwareInfo1, ""},
        {"hardware information 2, no data",
         [](DeviceSession& s, RemoteCodeListener*) { s.readHardwareInfo2(); },
         PendingOperation::HardwareInfo2, ""},
    };
    for (const auto& c : cases) {
        events = RecordingDeviceEvents();
        c.start(session, &events);
        const std::string reply = dataReply(1, kQueryCommand, c.data);
        feed(reply);
        EXPECT_EQ(events.ended, (std::vector<std::pair<PendingOperation, bool>>{{c.op, false}}))
            << c.what;
        EXPECT_EQ(events.unexpected, std::vector<std::string>{reply}) << c.what;
        EXPECT_TRUE(events.messages.empty() && events.infos.empty() && events.codes.empty() &&
                    events.universalCodes.empty())
            << c.what;
        EXPECT_EQ(session.pending(), PendingOperation::Idle) << c.what;
    }
}

// ---- Routing of received bytes.

TEST(ByteRoute, ByPendingOperation)
{
    const struct {
        PendingOperation op;
        ByteRoute route;
    } cases[] = {
        {PendingOperation::Idle, ByteRoute::Terminal},
        {PendingOperation::DebugTerminal, ByteRoute::Terminal},
        {PendingOperation::ReadAddress, ByteRoute::SumFrames},
        {PendingOperation::RelayTest, ByteRoute::SumFrames},
        {PendingOperation::ReadAll, ByteRoute::CrcFrames},
        {PendingOperation::WriteAll, ByteRoute::CrcFrames},
        {PendingOperation::ReadClock, ByteRoute::CrcFrames},
        {PendingOperation::LearnRadioRemote, ByteRoute::CrcFrames},
        {PendingOperation::LearnInfraredRemote, ByteRoute::CrcFrames},
        {PendingOperation::LearnUniversalInfrared, ByteRoute::CrcFrames},
        {PendingOperation::HardwareInfo1, ByteRoute::CrcFrames},
        {PendingOperation::WizardSend, ByteRoute::CrcFrames},
        {PendingOperation::HardwareInfo2, ByteRoute::CrcFrames},
        {PendingOperation::FirmwareUpdate, ByteRoute::CrcFrames},
    };
    for (const auto& c : cases)
        EXPECT_EQ(byteRoute(c.op), c.route) << static_cast<int>(c.op);
}

TEST_F(SessionTest, IdleBytesGoToTheTerminalOnly)
{
    const std::string reply = dataReply(1, kQueryCommand, std::string("\x65\x92\x71\x00", 4));
    feed(reply);
    EXPECT_EQ(events.terminal, reply);
    EXPECT_TRUE(events.messages.empty());
    EXPECT_EQ(session.repliesHandled(), 0u);
    session.setPending(PendingOperation::DebugTerminal);
    feed("xy");
    EXPECT_EQ(events.terminal, reply + "xy");
}

TEST_F(SessionTest, ToolRepliesAndWizardSend)
{
    session.setPending(PendingOperation::RelayTest);
    session.sendAddressFrame(1, 0x10, 0);
    feed(sumReply(1, 0x10, 5));
    ASSERT_EQ(events.toolReplies.size(), 1u);
    EXPECT_EQ(hexText(events.toolReplies[0].second), "22 01 10 00 00 00 05 38");
    EXPECT_EQ(session.pending(), PendingOperation::RelayTest);  // the panel keeps it

    session.setPending(PendingOperation::WizardSend);
    session.sendRequest(0, 0);
    feed(shortReply(1, kSettingCommand, 0, 0));
    EXPECT_EQ(session.pending(), PendingOperation::Idle);
    EXPECT_EQ(events.toolReplies.size(), 1u);
}

// ---- The controller's clock.

TEST(ControllerTime, CalendarOfSeconds)
{
    const struct {
        std::uint32_t seconds;
        CalendarTime t;
    } cases[] = {
        {0, {1970, 1, 1, 0, 0, 0, 4}},
        {951782400, {2000, 2, 29, 0, 0, 0, 2}},
        {1704096000, {2024, 1, 1, 8, 0, 0, 1}},
        {1709251199, {2024, 2, 29, 23, 59, 59, 4}},
        {4294967295u, {2106, 2, 7, 6, 28, 15, 0}},
    };
    for (const auto& c : cases) {
        const CalendarTime t = calendarTime(c.seconds);
        EXPECT_EQ(format("%u-%u-%u %u:%u:%u w%u", t.year, t.month, t.day, t.hour, t.minute,
                         t.second, t.weekday),
                  format("%u-%u-%u %u:%u:%u w%u", c.t.year, c.t.month, c.t.day, c.t.hour,
                         c.t.minute, c.t.second, c.t.weekday))
            << c.seconds;
    }
    EXPECT_EQ(controllerSeconds(k2024), 1704096000u);
    EXPECT_EQ(moduleTimeText(0), "模块的当前时间为：1970年1月1日0时0分0秒，星期四");
}

}  // namespace
}  // namespace orlo
