// The firmware update through the main window: the menu entry, timer 3, the
// replies routed while the update is pending, and the serial port's own
// baud switch, over a fake serial device.
#include "tests/app/main_window_fixture.h"

#include "device/firmware_update.h"

namespace orlo::test {
namespace {

class MainWindowFirmwareTest : public MainWindowFixture {
protected:
    void startWith(std::map<int, std::string> images)
    {
        images_ = std::move(images);
        MainWindowServices services;
        services.host = &host;
        services.settingsPath = settingsFile();
        services.link.log = &log;
        services.link.clock = &clock;
        services.link.openSerial = fakeOpener(device);
        services.firmware = [this](int id, std::string& image) {
            auto it = images_.find(id);
            if (it == images_.end())
                return ResourceLoad::Missing;
            image = it->second;
            return ResourceLoad::Loaded;
        };
        services.loaderSignature = "LOADER-TEST01";
        dlg = std::make_unique<CTarnDlg>(services);
        dlg->attach(&view);
        dlg->onInit();
    }
    // The loader on the far end: answers every complete frame written since
    // the last call, as the controller's loader does.
    void serveLoader(const std::string& chip)
    {
        for (int guard = 0; guard < 1000; ++guard) {
            std::string written;
            {
                std::lock_guard<std::mutex> lock(device->mutex);
                written = device->written;
            }
            if (taken_ >= written.size())
                return;
            const std::string rest = written.substr(taken_);
            if (static_cast<std::uint8_t>(rest[0]) == 0xFF) {
                taken_ += 20;
                continue;
            }
            std::size_t length = rest.size() >= 7 && static_cast<std::uint8_t>(rest[1]) != 0x69
                                     ? 9u + static_cast<std::uint8_t>(rest[6])
                                     : 8u;
            if (rest.size() < length)
                return;
            taken_ += length;
            const std::string request = rest.substr(0, length);
            const ReplyFrame f(request);
            std::string reply = f.command() == kQueryCommand
                                    ? dataReply(1, kQueryCommand, chip)
                                    : shortReply(1, f.command(), f.fieldA(), f.fieldB());
            for (char c : reply)
                dlg->onMessage(kRxByteMessage, static_cast<std::uint8_t>(c), 1);
        }
        ADD_FAILURE() << "the window keeps sending";
    }
    void ticks(int timer, int n)
    {
        for (int i = 0; i < n; ++i)
            dlg->onTimer(timer);
    }
    std::map<int, std::string> images_;
    std::size_t taken_ = 0;
};

TEST_F(MainWindowFirmwareTest, UpdateAt115200FromTheMenu)
{
    startWith({{164, std::string(120, '\x5A')}});
    openSerial();
    shell.answers = {Answer::Yes};
    click(ID_COMM_FIRMWARE_115200);
    ASSERT_EQ(shell.messages.size(), 1u);  // the question
    EXPECT_EQ(shell.messages[0].text, "确认要升级处理器固件为当前适配版本吗？");
    EXPECT_EQ(device->written, loaderEntryFrame("LOADER-TEST01"));
    ticks(3, 2);
    EXPECT_EQ(dlg->session().pending(), PendingOperation::Idle);
    ticks(3, 1);
    EXPECT_EQ(dlg->session().pending(), PendingOperation::FirmwareUpdate);
    const std::vector<std::string> calls = device->callLog();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "setState 115200"), calls.end());
    serveLoader("at32f403avgt7");
    EXPECT_EQ(shell.lastMessage(), "固件已更新为当前适用版本！");
    EXPECT_EQ(dlg->session().pending(), PendingOperation::Idle);
    EXPECT_EQ(view.progressPos(IDC_PROGRESS), 0);
    // Back at the configured rate: the last rate set is 9600.
    const std::vector<std::string> after = device->callLog();
    EXPECT_EQ(*std::find_if(after.rbegin(), after.rend(),
                            [](const std::string& c) { return c.rfind("setState", 0) == 0; }),
              "setState 9600");
}

}  // namespace
}  // namespace orlo::test
