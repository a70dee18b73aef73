// The simulated controller on its own (its replies byte for byte), and the
// host's DeviceSession talking to it in-process: programs written and read
// back unchanged up to the size limit, the clock, hardware information of
// every layout, learning, the address, and the faults seen from the host.
#include <gtest/gtest.h>

#include <deque>

#include "device/device_session.h"
#include "device/frames.h"
#include "expr/names.h"
#include "model/image.h"
#include "platform/strings.h"
#include "sim/controller.h"
#include "sim/faults.h"
#include "tests/device/session_fakes.h"

namespace orlo::sim {
namespace {

using test::fillToImageSize;
using test::RecordingDeviceEvents;
using test::Shown;

constexpr std::uint64_t k2024 = 1704067200;

// Recomputes an image's check value after a change to its bytes.
void appendCrcOver(std::string& image)
{
    std::string body = image.substr(2);
    std::string framed = body;
    appendCrc(framed);
    image[0] = framed[framed.size() - 2];
    image[1] = framed[framed.size() - 1];
}

ControllerConfig defaultConfig()
{
    ControllerConfig c;
    c.info1 = defaultHardwareInfo1();
    c.info2 = defaultHardwareInfo2();
    c.universalCode = defaultUniversalCode();
    return c;
}

TEST(SimController, AnswersEachRequestForItsAddress)
{
    Controller c(defaultConfig());
    EXPECT_EQ(hexText(c.handle(requestFrame(1, kQueryClock, 0), 0, k2024)),
              hexText(dataReply(1, kQueryCommand, std::string("\x65\x92\x71\x00", 4))));
    EXPECT_EQ(c.handle(requestFrame(2, kQueryClock, 0), 0, k2024), "");
    EXPECT_EQ(c.handle(requestFrame(1, 55, 0), 0, k2024), "");  // not a query it knows
    EXPECT_EQ(c.handle(requestFrame(1, kQueryHardwareInfo, 0), 0, k2024),
              dataReply(1, kQueryCommand, defaultHardwareInfo1()));
    EXPECT_EQ(c.handle(requestFrame(1, kQueryRadioRemote, 0), 0, k2024),
              dataReply(1, kQueryCommand, std::string("\x00\x00\x00\x01\x00\x9A\x21\x12", 8)));
    EXPECT_EQ(c.handle(addressFrame(kBroadcastTarget, kReadAddressFunction, 0), 0, k2024),
              sumReply(1, kReadAddressFunction, 0));
    EXPECT_EQ(c.handle(addressFrame(1, 0x12, 4), 0, k2024), sumReply(1, 0x12, 8));
    EXPECT_EQ(c.handle(addressFrame(2, 0x12, 4), 0, k2024), "");
    EXPECT_EQ(c.relays().state(), 8u);
}

TEST(SimController, EmptyProgramAtStartAndReadPastTheEnd)
{
    Controller c(defaultConfig());
    Program empty;
    NameTable none;
    EXPECT_EQ(c.programImage(), buildImage(empty, none));
    const std::string first = c.handle(readBlockFrame(1, 0), 0, k2024);
    EXPECT_EQ(hexText(first.substr(0, 7)), "01 67 14 00 00 00 01");
    const std::string past = c.handle(readBlockFrame(1, 1), 0, k2024);
    EXPECT_EQ(hexText(past.substr(0, 7)), "01 67 04 00 01 00 01");
}

TEST(SimController, RefusesAWrittenImageThatFailsItsCheck)
{
    // Each damage: the byte changed, and what the refusal must name.
    const struct {
        std::size_t at;
        const char* reason;
    } cases[] = {
        {40, "check value does not match"},
        {5, "length field says"},
        {7, "header words"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.at);
        std::vector<std::string> warnings;
        Controller c(defaultConfig(), {}, [&](const std::string& line) { warnings.push_back(line); });
        const std::string before = c.programImage();
        Program p;
        fillToImageSize(p, 90);
        NameTable none;
        std::string image = buildImage(p, none);
        image[k.at] = static_cast<char>(image[k.at] ^ 1);
        if (k.at != 40)  // the check still matches: only the named field is wrong
            appendCrcOver(image);
        EXPECT_EQ(c.handle(blockFrame(1, 0, 2, image.substr(0, 50)), 0, k2024),
                  shortReply(1, kDataBlockCommand, 0, 2));
        // The last block goes unacknowledged, so the host cannot report success.
        EXPECT_EQ(c.handle(blockFrame(1, 1, 2, image.substr(50)), 0, k2024), "");
        EXPECT_EQ(c.programImage(), before);
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_NE(warnings[0].find(k.reason), std::string::npos) << warnings[0];
    }
}

TEST(SimController, TakesAddressWritesOnlyInThePowerUpWindow)
{
    ControllerConfig config = defaultConfig();
    config.powerUpWindowMs = 5000;
    Controller c(config);
    c.powerUp(1000);
    // Time on the controller's clock, the address written, the address after.
    const struct {
        std::uint64_t nowMs;
        bool powerCycle;
        std::uint8_t written, after;
    } steps[] = {
        {1000, false, 7, 7},   // at power-up
        {5999, false, 8, 8},   // the last moment
        {6000, false, 9, 8},   // closed: ignored, no reply
        {60000, true, 10, 10}, // a power cycle opens it again
        {64999, false, 11, 11},
        {65000, false, 12, 11},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.nowMs);
        if (s.powerCycle)
            c.powerUp(s.nowMs);
        const std::string reply =
            c.handle(addressFrame(kBroadcastTarget, kWriteAddressFunction, s.written), s.nowMs, k2024);
        EXPECT_EQ(reply.empty(), s.written != s.after);
        EXPECT_EQ(c.address(), s.after);
        // Reading the address stays possible at any time.
        EXPECT_EQ(c.handle(addressFrame(kBroadcastTarget, kReadAddressFunction, 0), s.nowMs, k2024),
                  sumReply(s.after, kReadAddressFunction, 0));
    }
}

TEST(SimController, ClockSetRunsOnWithTheWallClock)
{
    Controller c(defaultConfig());
    EXPECT_EQ(c.handle(settingFrame(1, kSettingClock, std::string("\x00\x00\x00\x64", 4)), 0, k2024),
              shortReply(1, kSettingCommand, 0, 4));
    EXPECT_EQ(c.clockSeconds(k2024), 100u);
    EXPECT_EQ(c.clockSeconds(k2024 + 60), 160u);
}

TEST(SimController, AddressWrittenOnTheLine)
{
    Controller c(defaultConfig());
    EXPECT_EQ(c.handle(addressFrame(kBroadcastTarget, kWriteAddressFunction, 7), 0, k2024),
              sumReply(7, kWriteAddressFunction, 0));
    EXPECT_EQ(c.address(), 7u);
    EXPECT_EQ(c.handle(requestFrame(1, kQueryClock, 0), 0, k2024), "");
    EXPECT_NE(c.handle(requestFrame(7, kQueryClock, 0), 0, k2024), "");
}

// ---- The host's session against the simulated controller.

// Carries frames between a DeviceSession and a Controller: what the session
// sends is answered after the call returns, as on a real line.
class Loopback final : public DeviceSender {
public:
    Loopback(Controller& controller, FaultInjector& faults) : controller_(controller), faults_(faults) {}

    void sendToDevice(const std::uint8_t* bytes, std::size_t count) override
    {
        ++requests;
        const std::string reply = faults_.apply(controller_.handle(
            std::string(reinterpret_cast<const char*>(bytes), count), nowMs, utc));
        queued_.insert(queued_.end(), reply.begin(), reply.end());
    }
    bool serialPortClosed() const override { return false; }

    // Delivers replies until none is left (each may cause the next request).
    void run(DeviceSession& session)
    {
        while (!queued_.empty()) {
            const auto b = static_cast<std::uint8_t>(queued_.front());
            queued_.pop_front();
            session.onByte(b);
        }
    }

    std::uint64_t nowMs = 0;
    std::uint64_t utc = k2024;
    unsigned requests = 0;

private:
    Controller& controller_;
    FaultInjector& faults_;
    std::deque<char> queued_;
};

struct SessionAgainstSim : ::testing::Test {
    ControllerConfig config = defaultConfig();
    FaultPlan faultPlan;
    std::unique_ptr<Controller> controller;
    std::unique_ptr<FaultInjector> faults;
    std::unique_ptr<Loopback> line;
    RecordingDeviceEvents events;
    Program program;
    NameTable names;
    std::unique_ptr<DeviceSession> session;

    void start()
    {
        controller = std::make_unique<Controller>(config);
        faults = std::make_unique<FaultInjector>(faultPlan);
        line = std::make_unique<Loopback>(*controller, *faults);
        session = std::make_unique<DeviceSession>(
            *line, events, SessionServices{&program, &names, [this] { return line->utc; }});
    }
};

TEST_F(SessionAgainstSim, ProgramsRoundTripUpToTheLimit)
{
    start();
    for (std::size_t size : {std::size_t{60}, std::size_t{100}, std::size_t{12345},
                             std::size_t{199999}}) {
        SCOPED_TRACE(size);
        names.clear();
        ASSERT_EQ(names.rename("输出3", "水泵"), "");
        Program none;
        const std::size_t nameBlock = buildImage(none, names).size() - kImageHeaderBytes;
        fillToImageSize(program, size - nameBlock, static_cast<char>('a' + size % 26));
        const std::string image = buildImage(program, names);
        ASSERT_EQ(image.size(), size);
        events = RecordingDeviceEvents();
        session->writeAll();
        line->run(*session);
        EXPECT_EQ(events.messages.back(), (Shown{"全部数据已写入！", "提示"}));
        EXPECT_TRUE(controller->programImage() == image);

        program.clearSections();
        names.clear();
        session->readAll();
        line->run(*session);
        EXPECT_EQ(events.messages.back(), (Shown{"全部数据已读取完毕！", "提示"}));
        ASSERT_EQ(events.loaded.size(), 1u);
        EXPECT_TRUE(events.loaded[0] == image);
        EXPECT_TRUE(buildImage(program, names) == image);
        EXPECT_EQ(names.aliasToSystem("水泵"), "输出3");
    }
}

TEST_F(SessionAgainstSim, CorruptedReadIsRefusedAndTheProgramKept)
{
    faultPlan.corruptEvery = 3;
    Program stored;
    fillToImageSize(stored, 400, 's');
    NameTable none;
    config.program = buildImage(stored, none);
    start();
    fillToImageSize(program, 77, 'k');
    const std::string kept = buildImage(program, names);
    session->readAll();
    line->run(*session);
    EXPECT_EQ(events.messages, std::vector<Shown>{(Shown{"数据有误！", "提示"})});
    EXPECT_EQ(buildImage(program, names), kept);
    EXPECT_EQ(session->pending(), PendingOperation::Idle);
}

TEST_F(SessionAgainstSim, DroppedOrGarbledReplyLeavesTheOperationPending)
{
    for (bool drop : {true, false}) {
        faultPlan = drop ? FaultPlan{1, 0, 0} : FaultPlan{0, 0, 1};
        events = RecordingDeviceEvents();
        start();
        session->readClock();
        line->run(*session);
        EXPECT_TRUE(events.messages.empty());
        EXPECT_EQ(session->pending(), PendingOperation::ReadClock);
        EXPECT_EQ(session->repliesHandled(), 0u);
    }
}

TEST_F(SessionAgainstSim, ClockSetThenRead)
{
    start();
    session->setClock();
    line->run(*session);  // its acknowledgement is not awaited
    line->utc += 3661;
    session->readClock();
    line->run(*session);
    ASSERT_EQ(events.messages.size(), 2u);
    EXPECT_EQ(events.messages[0].text, "模块的当前时间为：2024年1月1日8时0分0秒，星期一");
    EXPECT_EQ(events.messages[1].text, "模块的当前时间为：2024年1月1日9时1分1秒，星期一");
}

TEST_F(SessionAgainstSim, HardwareInformationOfEveryLayout)
{
    const struct {
        unsigned length;
        const char* present;
        const char* absent;
    } cases[] = {
        {50, "系统主频：72 MHz", "默认长度"},
        {46, "晶振采用：外部晶振", "输入数量：300"},
        {40, "高频频率：20 khz", "晶振"},
        {34, "动态内存释放出错次数：0", "高频频率"},
        {24, "数组（局部数组）空间：640", "动态内存"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        config.info2Length = c.length;
        events = RecordingDeviceEvents();
        start();
        session->readHardwareInfo2();
        line->run(*session);
        ASSERT_EQ(events.infos.size(), 1u);
        EXPECT_NE(events.infos[0].second.find(c.present), std::string::npos);
        EXPECT_EQ(events.infos[0].second.find(c.absent), std::string::npos);
    }
    config.info2Length = 10;
    events = RecordingDeviceEvents();
    start();
    session->readHardwareInfo2();
    line->run(*session);
    EXPECT_TRUE(events.infos.empty());  // too short for any layout: a failure, no empty table
    EXPECT_EQ(events.ended, (std::vector<std::pair<PendingOperation, bool>>{
                                {PendingOperation::HardwareInfo2, false}}));
}

TEST_F(SessionAgainstSim, LearningAndTheAddress)
{
    config.radioParameter = 5;
    config.radioCode = 123456;
    config.universalCode = std::string("\xAA\x00\x55", 3);
    start();
    session->learnRemote(RemoteKind::Radio, &events);
    line->run(*session);
    session->learnRemote(RemoteKind::UniversalInfrared, &events);
    line->run(*session);
    EXPECT_EQ(events.codes, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{5u, 123456u}}));
    EXPECT_EQ(events.universalCodes, std::vector<std::string>{config.universalCode});

    session->setDeviceAddress(42);
    session->writeAddress();
    line->run(*session);
    session->readAddress();
    line->run(*session);
    EXPECT_EQ(events.messages.back(), (Shown{"目标模块地址为 42", "读取成功"}));
    session->readHardwareInfo();
    line->run(*session);
    EXPECT_EQ(events.infos.size(), 1u);  // the controller answers at its new address
}

}  // namespace
}  // namespace orlo::sim
