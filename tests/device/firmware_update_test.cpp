// The firmware update sequence with a recording sender and a scripted loader:
// the frames of a whole update, the header, the baud switch, chips without an
// image, the watchdog and replies that do not fit the step.
#include <gtest/gtest.h>

#include "device/firmware_update.h"
#include "device/frames.h"
#include "platform/strings.h"
#include "tests/device/fakes.h"
#include "tests/device/session_fakes.h"

namespace orlo {
namespace {

using test::RecordingDeviceEvents;
using test::RecordingDeviceSender;
using test::Shown;

const char* const kSignature = "LOADER-TEST01";

class RecordingLine final : public FirmwareLine {
public:
    explicit RecordingLine(test::FakeClock& clock) : clock_(clock) {}
    std::vector<std::string> calls;
    void setBaudRate(unsigned rate) override
    {
        calls.push_back(format("set %u at %llu", rate, static_cast<unsigned long long>(clock_.now())));
    }
    void restoreBaudRate() override { calls.push_back("restore"); }

private:
    test::FakeClock& clock_;
};

std::string generatedImage(std::size_t size)
{
    std::string image(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        image[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return image;
}

struct FirmwareTest : ::testing::Test {
    RecordingDeviceSender sender;
    RecordingDeviceEvents events;
    test::FakeClock clock;
    RecordingLine line{clock};
    Countdown watchdog, startDelay;
    DeviceSession session{sender, events};
    FirmwareUpdate update{session, sender, events, line, watchdog, startDelay, clock};
    std::map<int, std::string> images = {{165, generatedImage(95080)}};
    std::size_t answered = 0;

    void SetUp() override
    {
        update.setLoaderSignature(kSignature);
        update.setSource([this](int id, std::string& image) {
            auto it = images.find(id);
            if (it == images.end())
                return ResourceLoad::Missing;
            image = it->second;
            return ResourceLoad::Loaded;
        });
    }
    // The menu command and the three ticks of the start delay.
    void startUpdate(std::uint16_t baud = kKeepBaud)
    {
        update.start(baud);
        for (int i = 0; i < 3; ++i)
            startDelay.tick();
    }
    void feed(const std::string& frame)
    {
        const std::size_t before = events.toolReplies.size();
        for (char c : frame)
            session.onByte(static_cast<std::uint8_t>(c));
        for (std::size_t i = before; i < events.toolReplies.size(); ++i)
            update.onReply(events.toolReplies[i].second);
    }
    // Answers the frames sent since the last call as the loader does, until
    // it has answered `limit` frames in all or nothing new was sent.
    void serve(const std::string& chip = "stm32g0b0", std::size_t limit = ~std::size_t{0})
    {
        while (answered < sender.sent.size() && answered < limit) {
            const ReplyFrame f(sender.sent[answered++]);
            if (f.command() == kQueryCommand)
                feed(dataReply(f.address(), kQueryCommand, chip));
            else if (f.command() == kSettingCommand)
                feed(shortReply(f.address(), kSettingCommand, kQueryFirmwareLoader, 10));
            else if (f.command() == kDataBlockCommand)
                feed(shortReply(f.address(), kDataBlockCommand, f.fieldA(), f.fieldB()));
        }
    }
};

TEST(FirmwareFrames, EntryFrameAndHeader)
{
    EXPECT_EQ(hexText(loaderEntryFrame("ABCDEFGHIJKLM")),
              "FF 00 FF 00 AA 55 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 00");
    const struct {
        std::string image;
        const char* header;
    } cases[] = {
        // crc16 of 123456789 is 37 4B; sum 0x1DD; XOR 0x31.
        {"123456789", "08 00 60 00 00 00 00 09 00 00 37 4B DD 31 00 00"},
        {std::string(95080, '\x01'), "08 00 60 00 00 01 73 68 00 00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hexText(firmwareHeader(c.image)).substr(0, std::string(c.header).size()),
                  c.header);
}

TEST(FirmwareFrames, SignaturesAndChips)
{
    EXPECT_TRUE(validLoaderSignature("ABCDEFGHIJKLM"));
    for (const char* bad : {"", "ABCDEFGHIJKL", "ABCDEFGHIJKLMN", "ABCDEFGHIJKL\n", "ABCDEFGHIJK中"})
        EXPECT_FALSE(validLoaderSignature(bad)) << bad;
    EXPECT_EQ(firmwareResourceId("at32f403avgt7"), 164);
    EXPECT_EQ(firmwareResourceId("stm32g0b0"), 165);
    for (const char* other : {"STM32G0B0", "stm32g0b0 ", "", "gd32f103"})
        EXPECT_EQ(firmwareResourceId(other), 0) << other;
}

TEST_F(FirmwareTest, WholeExchangeOfA95080ByteImage)
{
    const std::string& image = images[165];
    startUpdate();
    ASSERT_EQ(events.questions, (std::vector<Shown>{{"确认要升级处理器固件为当前适配版本吗？", "警告"}}));
    // Every frame but the echo of the last block.
    serve("stm32g0b0", 1905);
    ASSERT_EQ(sender.sent.size(), 4u + 1902u);
    EXPECT_EQ(sender.sent[0], loaderEntryFrame(kSignature));
    EXPECT_EQ(sender.sent[1], requestFrame(1, 101, 0));
    EXPECT_EQ(sender.sent[2], settingFrame(1, 101, std::string(10, '\0')));
    EXPECT_EQ(sender.sent[3], blockFrame(1, 10000, 1902, firmwareHeader(image)));
    for (unsigned k = 0; k < 1902; ++k)
        ASSERT_EQ(sender.sent[4 + k], blockFrame(1, static_cast<std::uint16_t>(10001 + k), 1902,
                                                  image.substr(50 * k, 50)))
            << k;
    EXPECT_EQ(ReplyFrame(sender.sent.back()).byteAt(6), 30);
    EXPECT_EQ(events.ranges, (std::vector<unsigned>{1905}));
    EXPECT_TRUE(events.messages.empty());
    EXPECT_EQ(session.pending(), PendingOperation::FirmwareUpdate);

    serve();
    EXPECT_EQ(events.messages, (std::vector<Shown>{{"固件已更新为当前适用版本！", "提示"}}));
    ASSERT_EQ(events.positions.size(), 1906u);
    EXPECT_EQ(events.positions[1904], 1905u);
    EXPECT_EQ(events.positions.back(), 0u);
    EXPECT_EQ(session.pending(), PendingOperation::Idle);
    EXPECT_EQ(update.chipName(), "stm32g0b0");
    EXPECT_EQ(update.image(), image);
    EXPECT_EQ(line.calls, (std::vector<std::string>{"restore", "restore"}));
    EXPECT_EQ(events.ended, (std::vector<std::pair<PendingOperation, bool>>{
                                {PendingOperation::FirmwareUpdate, true}}));
    EXPECT_EQ(sender.sent.size(), 1906u);
}

TEST_F(FirmwareTest, At115200TheHostSwitchesFiftyMillisecondsAfterAskingAndSwitchesBack)
{
    images[164] = generatedImage(120);
    const std::uint64_t t0 = clock.now();
    startUpdate(kUpdateBaud115200);
    EXPECT_EQ(sender.sent[1], requestFrame(1, 101, 1152));
    serve("at32f403avgt7");
    EXPECT_EQ(line.calls, (std::vector<std::string>{"restore", format("set 115200 at %llu",
                                                                       static_cast<unsigned long long>(t0 + 50)),
                                                    "restore"}));
    EXPECT_EQ(sender.sent.size(), 4u + 3u);
    EXPECT_EQ(events.messages.back().text, "固件已更新为当前适用版本！");
}

TEST_F(FirmwareTest, ChipsWithoutAnImageEndTheUpdateWithNothingMoreSent)
{
    const struct {
        const char* chip;
        std::map<int, std::string> images;
        Shown message;
    } cases[] = {
        {"gd32f103", {{164, "x"}, {165, "x"}}, {"找不到资源 ", ""}},
        {"STM32G0B0", {{165, "x"}}, {"找不到资源 ", ""}},
        {"at32f403avgt7", {{165, "x"}}, {"找不到资源 ", ""}},
        {"stm32g0b0", {{165, ""}}, {"无法加载资源!", ""}},
        {"stm32g0b0", {{165, std::string(55535 * 50 + 1, 'x')}},
         {"固件过大（2776751字节），无法写入！", "提示"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chip);
        images = c.images;
        sender.sent.clear();
        events.messages.clear();
        answered = 0;
        startUpdate(kUpdateBaud115200);
        serve(c.chip);
        EXPECT_EQ(sender.sent.size(), 2u);
        EXPECT_EQ(events.messages, (std::vector<Shown>{c.message}));
        EXPECT_EQ(session.pending(), PendingOperation::Idle);
        EXPECT_EQ(line.calls.back(), "restore");
    }
    // The source's own failure.
    update.setSource([](int, std::string&) { return ResourceLoad::Unloadable; });
    sender.sent.clear();
    answered = 0;
    startUpdate();
    serve();
    EXPECT_EQ(sender.sent.size(), 2u);
    EXPECT_EQ(events.messages.back().text, "无法加载资源!");
}

TEST_F(FirmwareTest, ASecondUpdateForAnUnknownChipDoesNotReuseTheFirstImage)
{
    images[165] = generatedImage(75);
    startUpdate();
    serve();
    ASSERT_EQ(sender.sent.size(), 6u);
    startUpdate();
    serve("gd32f103");
    EXPECT_EQ(sender.sent.size(), 8u);
    EXPECT_EQ(events.messages.back().text, "找不到资源 ");
}

TEST_F(FirmwareTest, WatchdogRestoresTheBaudRateAndReportsTheFailure)
{
    images[165] = generatedImage(500);
    startUpdate(kUpdateBaud115200);
    serve("stm32g0b0", 3);  // entry, chip, preparation: the header's echo never comes
    ASSERT_EQ(sender.sent.size(), 4u);
    for (int i = 0; i < 9; ++i)
        watchdog.tick();
    EXPECT_TRUE(events.messages.empty());
    // A reply that fits starts the count again.
    serve("stm32g0b0", 4);
    for (int i = 0; i < 9; ++i)
        watchdog.tick();
    EXPECT_TRUE(events.messages.empty());
    watchdog.tick();
    EXPECT_EQ(events.messages,
              (std::vector<Shown>{{"固件更新失败：控制器没有应答，波特率已恢复。", "警告"}}));
    EXPECT_EQ(line.calls.back(), "restore");
    EXPECT_EQ(session.pending(), PendingOperation::Idle);
    EXPECT_EQ(events.ended.back(), std::make_pair(PendingOperation::FirmwareUpdate, false));
    // Late replies change nothing.
    const std::size_t sent = sender.sent.size();
    serve();
    EXPECT_EQ(sender.sent.size(), sent);
}

TEST_F(FirmwareTest, RepliesThatDoNotFitTheStepAreIgnored)
{
    images[165] = generatedImage(100);
    startUpdate();
    const std::string strays[] = {
        shortReply(1, kDataBlockCommand, 10000, 2),   // before the chip name
        shortReply(1, kSettingCommand, 101, 10),
    };
    for (const std::string& s : strays)
        feed(s);
    EXPECT_EQ(update.step(), 0u);
    serve("stm32g0b0", 3);  // chip, preparation
    const std::string laterStrays[] = {
        shortReply(1, kDataBlockCommand, 10001, 2),  // a block's echo for the header
        shortReply(1, kDataBlockCommand, 10000, 3),  // another block count
        dataReply(1, kQueryCommand, "stm32g0b0"),
    };
    for (const std::string& s : laterStrays)
        feed(s);
    EXPECT_EQ(update.step(), 2u);
    serve();
    EXPECT_EQ(events.messages.back().text, "固件已更新为当前适用版本！");
    EXPECT_EQ(sender.sent.size(), 6u);
}

TEST_F(FirmwareTest, WithoutASignatureOrConsentNothingIsSent)
{
    for (const char* signature : {"", "SHORT"}) {
        update.setLoaderSignature(signature);
        startUpdate();
        EXPECT_TRUE(sender.sent.empty());
        EXPECT_TRUE(events.questions.empty());
        EXPECT_EQ(events.messages.back(),
                  (Shown{"未配置固件加载程序的识别码（13个字符），无法更新固件！", "警告"}));
    }
    update.setLoaderSignature(kSignature);
    events.answers = {false};
    startUpdate();
    EXPECT_TRUE(sender.sent.empty());
    EXPECT_EQ(session.pending(), PendingOperation::Idle);
    EXPECT_TRUE(line.calls.empty());
}

}  // namespace
}  // namespace orlo
