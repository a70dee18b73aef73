// The main window's device commands against a scripted controller on a fake
// serial line, with the controller's replies handed over as WM_RX_BYTE:
// write all and read all with their questions, messages and progress bar,
// clock, address and hardware information; and the settings dialog, whose
// confirmation leaves the chosen link connected with the new values.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/com_dlg.h"
#include "device/frames.h"
#include "device/hardware_info.h"
#include "device/settings.h"
#include "tests/app/main_window_fixture.h"

namespace orlo {
namespace {

using test::fileBytes;
using test::param1s;
using test::sampleLines;

class MainWindowDevice : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
    }
    void answer(std::initializer_list<Answer> answers) { shell.answers = answers; }
};

TEST_F(MainWindowDevice, WriteAllNeedsAnOpenPort)
{
    program().main.lines = sampleLines(3);
    click(IDC_WRITE_ALL);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "请先打开串口");
    EXPECT_EQ(shell.messages[0].caption, "提示");
    EXPECT_TRUE(device->written.empty());
}

TEST_F(MainWindowDevice, WriteAllSendsTheImageBlockByBlock)
{
    program().main.lines = sampleLines(30);
    dlg->refreshMainList();
    view.setCurrentIndex(1010, 1);
    openSerial();
    answer({Answer::Yes});
    click(ID_COMM_WRITE_ALL);
    ASSERT_FALSE(shell.messages.empty());
    EXPECT_EQ(shell.messages[0].text,
              "继续进行将会擦除目标板信息并以当前界面的信息取代，继续吗？");
    EXPECT_EQ(shell.messages[0].caption, "警告 目标地址1");
    EXPECT_EQ(shell.messages[0].buttons, Buttons::YesNo);
    const std::string image = buildImage();
    const int blocks = static_cast<int>((image.size() + 49) / 50);
    EXPECT_EQ(view.control(1018).progressHigh, blocks);
    controller.serve(*dlg);
    EXPECT_EQ(controller.image, image);
    EXPECT_EQ(static_cast<int>(controller.requests.size()), blocks);
    EXPECT_EQ(shell.lastMessage(), "全部数据已写入！");
    EXPECT_EQ(shell.messages.back().caption, "提示");
    EXPECT_EQ(view.progressPos(1018), 0);
    EXPECT_EQ(dlg->session().pending(), PendingOperation::Idle);
    EXPECT_FALSE(dlg->modified);  // writing changes nothing here
}

TEST_F(MainWindowDevice, WriteAllAnsweredNoSendsNothing)
{
    program().main.lines = sampleLines(3);
    openSerial();
    click(IDC_WRITE_ALL);
    EXPECT_TRUE(device->written.empty());
    EXPECT_EQ(dlg->session().pending(), PendingOperation::Idle);
}

TEST_F(MainWindowDevice, ReadAllReplacesTheProgramAndMarksItModified)
{
    program().main.lines = sampleLines(5, 40);
    program().functions[2].lines = sampleLines(2, 60);
    controller.image = buildImage();
    clearProgram();
    program().main.lines = sampleLines(2, 1);
    dlg->refreshMainList();
    openSerial();
    answer({Answer::Yes});
    click(IDC_READ_ALL);
    EXPECT_EQ(shell.messages[0].text, "继续进行将会擦除当前界面的信息并以目标板信息取代，继续吗？");
    controller.serve(*dlg);
    EXPECT_EQ(param1s(program().main), (std::vector<int>{40, 41, 42, 43, 44}));
    EXPECT_EQ(param1s(program().functions[2]), (std::vector<int>{60, 61}));
    EXPECT_EQ(view.itemCount(1005), 5);
    EXPECT_EQ(view.text(1013), CTarnDlg::sizeText(imageSize()));
    EXPECT_EQ(shell.lastMessage(), "全部数据已读取完毕！");
    EXPECT_EQ(view.progressPos(1018), 0);
    EXPECT_TRUE(dlg->modified);
    EXPECT_EQ(buildImage(), controller.image);
}

TEST_F(MainWindowDevice, ReadAllOffersUnsavedChangesForSavingFirst)
{
    program().main.lines = sampleLines(2, 1);
    dlg->programChanged();
    openSerial();
    answer({Answer::Cancel});
    click(ID_COMM_READ_ALL);
    EXPECT_EQ(shell.lastMessage(), "文件被修改,是否保存?");
    EXPECT_TRUE(device->written.empty());
    EXPECT_EQ(program().main.count(), 2u);

    // Yes: saved, then the read goes ahead.
    const std::string path = folder.file("before.qv3");
    shell.messages.clear();
    answer({Answer::Yes, Answer::Yes});
    shell.paths = {path};
    controller.image = buildImage();
    click(ID_COMM_READ_ALL);
    EXPECT_EQ(fileBytes(path), controller.image);
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[1].text, "继续进行将会擦除当前界面的信息并以目标板信息取代，继续吗？");
    EXPECT_FALSE(device->written.empty());
}

TEST_F(MainWindowDevice, AReadThatFailsLeavesTheProgramAlone)
{
    program().main.lines = sampleLines(3, 1);
    dlg->refreshMainList();
    controller.image = std::string(120, '\x5A');  // no image at all
    openSerial();
    answer({Answer::Yes});
    click(IDC_READ_ALL);
    controller.serve(*dlg);
    EXPECT_EQ(shell.lastMessage(), "数据有误！");
    EXPECT_EQ(param1s(program().main), (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(dlg->modified);
    EXPECT_EQ(dlg->session().pending(), PendingOperation::Idle);
}

TEST_F(MainWindowDevice, WrittenProgramReadsBackByteForByte)
{
    program().main.lines = sampleLines(60);
    program().threads[0].lines = sampleLines(3, 200);
    const std::string written = buildImage();
    openSerial();
    answer({Answer::Yes});
    click(IDC_WRITE_ALL);
    controller.serve(*dlg);
    ASSERT_EQ(controller.image, written);

    clearProgram();
    dlg->refreshMainList();
    answer({Answer::Yes});
    click(IDC_READ_ALL);
    controller.serve(*dlg);
    EXPECT_EQ(buildImage(), written);
    const std::string path = folder.file("back.qv3");
    shell.paths = {path};
    click(IDC_SAVE_AS);
    EXPECT_EQ(fileBytes(path), written);
}

TEST_F(MainWindowDevice, ClockAddressAndHardwareInformation)
{
    openSerial();
    // Setting the clock shows the time it sent, with the default caption.
    click(ID_COMM_SET_CLOCK);
    EXPECT_EQ(shell.lastMessage(), "模块的当前时间为：2024年1月1日8时0分0秒，星期一");
    EXPECT_EQ(shell.messages.back().caption, kApplicationCaption);
    controller.serve(*dlg);
    ASSERT_EQ(controller.requests.size(), 1u);
    EXPECT_EQ(controller.requests[0], settingFrame(1, kSettingClock, std::string("\x65\x92\x71\x00", 4)));

    controller.clockSeconds = 1704096000u + 86400u * 3 + 3600u * 5 + 61u;
    click(ID_COMM_READ_CLOCK);
    controller.serve(*dlg);
    EXPECT_EQ(shell.lastMessage(), "模块的当前时间为：2024年1月4日13时1分1秒，星期四");

    click(ID_COMM_READ_ADDRESS);
    controller.serve(*dlg);
    EXPECT_EQ(shell.lastMessage(), "目标模块地址为 9");
    EXPECT_EQ(shell.messages.back().caption, "读取成功");

    view.setCurrentIndex(1010, 23);
    dlg->onCommand(1010, Notify::SelChanged);
    const std::size_t before = controller.requests.size();
    click(ID_COMM_WRITE_ADDRESS);
    controller.silent = true;
    controller.serve(*dlg);
    ASSERT_EQ(controller.requests.size(), before + 1);
    EXPECT_EQ(controller.requests.back(), addressFrame(0xF5, 0x41, 23));
}

TEST_F(MainWindowDevice, HardwareInformationOpensTheInformationWindow)
{
    openSerial();
    std::string data;
    for (int i = 0; i < 50; ++i)
        data += static_cast<char>(i + 1);
    controller.hardwareData = data;
    struct Case {
        int command;
        int mode;
        std::uint16_t query;
    };
    const Case cases[] = {{ID_COMM_HARDWARE_INFO, 1, kQueryHardwareInfo},
                          {ID_COMM_HARDWARE_INFO2, 3, kQueryHardwareInfo2}};
    for (const Case& c : cases) {
        host.templates.clear();
        click(c.command);
        controller.serve(*dlg);
        EXPECT_EQ(controller.requests.back(), requestFrame(1, c.query, 0));
        ASSERT_EQ(host.templates, (std::vector<int>{141})) << c.mode;
        EXPECT_EQ(host.owners.back(), dlg.get());
        const std::string frame = dataReply(1, kQueryCommand, data);
        EXPECT_EQ(host.lastView.text(1027), hardwareInfoText(c.mode, frame)) << c.mode;
        EXPECT_EQ(host.lastView.text(1027).rfind("读取硬件信息成功：", 0), 0u);
    }
}

TEST_F(MainWindowDevice, ProgressBarFollowsTheBlocks)
{
    // A recording view would be overkill: the last position before the
    // completion message is the block count.
    program().main.lines = sampleLines(40);
    openSerial();
    answer({Answer::Yes});
    click(IDC_WRITE_ALL);
    const int blocks = view.control(1018).progressHigh;
    ASSERT_GT(blocks, 2);
    controller.silent = true;
    controller.serve(*dlg);  // the first block, unanswered
    controller.silent = false;
    const std::string ack = shortReply(1, kDataBlockCommand, 0, static_cast<std::uint16_t>(blocks));
    for (char c : ack)
        dlg->onMessage(kRxByteMessage, static_cast<std::uint8_t>(c), 1);
    EXPECT_EQ(view.progressPos(1018), 1);
    EXPECT_EQ(dlg->session().blockIndex(), 1u);
    // A stray byte with the wrong lParam is still a byte; an unknown message is not ours.
    EXPECT_FALSE(dlg->onMessage(0x0409, 0, 0));
}

// ---- The settings dialog.

// The user of the settings dialog: sets the controls, then presses 确定.
test::ScriptedHost::User settingsUser(bool tcp, int port, int baud, const std::string& address,
                                      const std::string& tcpPort)
{
    return [=](Window& window, FakeView& v) {
        v.setCheckState(1033, tcp ? 0 : 1);
        v.setCheckState(1034, tcp ? 1 : 0);
        window.onCommand(tcp ? 1034 : 1033, Notify::Clicked);
        v.setCurrentIndex(1024, port);
        v.setCurrentIndex(1042, baud);
        v.setText(1027, address);
        v.setText(1025, tcpPort);
        window.onCommand(1, Notify::Clicked);
    };
}

TEST_F(MainWindowDevice, SettingsDialogOpensWithTheCurrentValues)
{
    start("[canshu_v2]\r\ncom_or_tcp=1\r\ncom_num=4\r\nbtl_num=7\r\nsocket_port=5050\r\nip=10.1.2.3\r\n");
    const std::string file = fileBytes(settingsFile());
    dlg->autoOpenFile = true;
    host.users = {[](Window&, FakeView&) {}};  // closed at once
    click(IDC_SETTINGS);
    const FakeView& v = host.lastView;
    EXPECT_EQ(v.checkState(1033), 0);
    EXPECT_EQ(v.checkState(1034), 1);
    EXPECT_EQ(v.currentIndex(1024), 4);
    EXPECT_EQ(v.currentIndex(1042), 7);
    EXPECT_EQ(v.text(1027), "10.1.2.3");
    EXPECT_EQ(v.text(1025), "5050");
    EXPECT_EQ(v.checkState(1043), 0);
    EXPECT_EQ(v.checkState(1036), 1);
    // Cancelled: nothing written, nothing connected, nothing said.
    EXPECT_EQ(fileBytes(settingsFile()), file);
    EXPECT_TRUE(connects.empty());
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(MainWindowDevice, ConfirmingWithoutChangesWritesNothingAndLeavesTheLinkUp)
{
    openSerial();
    host.users = {[](Window& w, FakeView&) { w.onCommand(1, Notify::Clicked); }};
    click(ID_SETTINGS_COMM);
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
    // The open port was closed and opened again, not taken down.
    EXPECT_TRUE(dlg->link().serialOpen());
    EXPECT_EQ(view.text(1008), "串口已打开");
    EXPECT_EQ(shell.lastMessage(), "串口已打开");
    EXPECT_EQ(shell.messages.back().caption, kApplicationCaption);
    const std::vector<std::string> calls = device->callLog();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "close"), 1);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "open " + serialPortPath(1)), 2);

    // And a closed port is opened.
    click(1008);
    host.users = {[](Window& w, FakeView&) { w.onCommand(1, Notify::Clicked); }};
    click(ID_SETTINGS_COMM);
    EXPECT_TRUE(dlg->link().serialOpen());
}

TEST_F(MainWindowDevice, NewSerialValuesAreStoredAndTheOpenPortReopensWithThem)
{
    openSerial();
    host.users = {settingsUser(false, 3, 9, "", "6000")};
    click(IDC_SETTINGS);
    const std::string file = fileBytes(settingsFile());
    for (const char* line : {"com_or_tcp=0", "com_num=3", "btl_num=9", "socket_port=6000",
                             "ip=192.168.1.110"})
        EXPECT_NE(file.find(line), std::string::npos) << line;
    EXPECT_TRUE(dlg->link().serialOpen());
    const std::vector<std::string> calls = device->callLog();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "open " + serialPortPath(4)), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "setState 115200"), calls.end());
    EXPECT_EQ(view.currentIndex(1017), 3);
    EXPECT_EQ(shell.lastMessage(), "串口已打开");
}

TEST_F(MainWindowDevice, ChoosingTcpClosesThePortAndConnectsToTheNewAddress)
{
    openSerial();
    host.users = {settingsUser(true, 0, 5, "127.0.0.1", "7001")};
    click(IDC_SETTINGS);
    EXPECT_FALSE(dlg->link().serialOpen());
    EXPECT_TRUE(dlg->link().tcpConnected());
    EXPECT_EQ(connects, (std::vector<std::string>{"127.0.0.1:7001"}));
    EXPECT_EQ(view.text(1008), "网络已连接");
    EXPECT_EQ(shell.lastMessage(), "网络已连接");

    // Confirmed again with a new port: reconnected there, still up.
    host.users = {settingsUser(true, 0, 5, "127.0.0.1", "7002")};
    click(IDC_SETTINGS);
    EXPECT_TRUE(dlg->link().tcpConnected());
    EXPECT_EQ(connects.back(), "127.0.0.1:7002");
    EXPECT_EQ(shell.lastMessage(), "网络已连接");

    // A refused connection says so twice: the failure, then the state.
    tcpRefused = true;
    shell.messages.clear();
    host.users = {settingsUser(true, 0, 5, "127.0.0.1", "7003")};
    click(IDC_SETTINGS);
    EXPECT_FALSE(dlg->link().tcpConnected());
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{"建立连接失败", "网络已断开"}));
    EXPECT_EQ(view.text(1008), "网络已断开");

    // Back to serial: the button names the serial state even when the port
    // will not open.
    device->openError = 2;
    host.users = {settingsUser(false, 0, 5, "127.0.0.1", "7003")};
    click(IDC_SETTINGS);
    EXPECT_EQ(view.text(1008), "串口未连接");
    EXPECT_EQ(shell.lastMessage(), "串口未连接");
}

TEST_F(MainWindowDevice, AFlagChangeAloneIsKeptForTheRun)
{
    host.users = {[](Window& w, FakeView& v) {
        v.setCheckState(1043, 1);
        w.onCommand(1, Notify::Clicked);
    }};
    click(IDC_SETTINGS);
    EXPECT_TRUE(dlg->autoOpenPort);
    EXPECT_FALSE(dlg->autoOpenFile);
    // The file holds the five link values only.
    const std::string file = fileBytes(settingsFile());
    EXPECT_NE(file.find("com_num=0"), std::string::npos);
    EXPECT_EQ(file.find("1043"), std::string::npos);
    EXPECT_EQ(LinkSettings(), loadSettings(settingsFile()));
}

}  // namespace
}  // namespace orlo
