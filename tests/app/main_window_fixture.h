// What the main window's tests share: sample program lines, a window host
// that runs modal dialogs through fake views with a scripted user and gives
// modeless companions fake views of their own, a scripted
// controller that answers the main window's requests over a fake serial line,
// and a fixture that starts the main window on all of them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/tarn_dlg.h"
#include "device/frames.h"
#include "model/image.h"
#include "model/program.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_view.h"
#include "res/resource.h"
#include "tests/device/fakes.h"
#include "tests/device/temp_folder.h"

namespace orlo::test {

// Condition kind 1 and result kind 1 have stored forms, so they survive
// images and files; p1 tells lines apart.
inline ProgramLine sampleLine(bool isResult, int p1, const std::string& remark = "")
{
    ProgramLine l;
    l.isResult = isResult ? 1 : 0;
    l.instruction[0] = 1;
    l.instruction[1] = static_cast<std::uint8_t>(p1);
    l.remark = remark;
    return l;
}

// n lines: rules of one condition and one result, p1 counting from first.
inline std::vector<ProgramLine> sampleLines(int n, int first = 1)
{
    std::vector<ProgramLine> lines;
    for (int i = 0; i < n; ++i)
        lines.push_back(sampleLine(i % 2 == 1, first + i));
    return lines;
}

inline std::vector<int> param1s(const ProgramSection& s)
{
    std::vector<int> out;
    for (const ProgramLine& l : s.lines)
        out.push_back(l.param1());
    return out;
}

// Runs each modal window at once on a fake view of its own: onInit, then
// the scripted user (who may fill controls and press buttons), and returns
// what the window ended with (IDCANCEL, 2, when the user left it open,
// as if the close box had been pressed).
class ScriptedHost : public WindowHost {
public:
    using User = std::function<void(Window&, FakeView&)>;

    int runModal(Window& window, Window* owner) override
    {
        templates.push_back(window.templateId());
        owners.push_back(owner);
        FakeView view;
        window.attach(&view);
        window.onInit();
        if (!users.empty()) {
            User user = users.front();
            users.erase(users.begin());
            user(window, view);
        }
        lastView = view;
        window.attach(nullptr);
        return view.endResult == -1 ? 2 : view.endResult;
    }
    // Modeless windows get a fake view of their own, kept until the host goes.
    bool createModeless(Window& window, Window* owner) override
    {
        modelessTemplates.push_back(window.templateId());
        modelessOwners.push_back(owner);
        auto view = std::make_unique<FakeView>();
        window.attach(view.get());
        modeless[&window] = std::move(view);
        window.onInit();
        return true;
    }
    FakeView* modelessView(const Window& window)
    {
        auto it = modeless.find(&window);
        return it == modeless.end() ? nullptr : it->second.get();
    }

    std::vector<User> users;       // one per modal window, in order
    std::vector<int> templates;
    std::vector<Window*> owners;
    FakeView lastView;             // the controls of the last modal window as it ended
    std::vector<int> modelessTemplates;
    std::vector<Window*> modelessOwners;
    std::map<const Window*, std::unique_ptr<FakeView>> modeless;
};

// A controller on the far end of a fake serial line: it answers every
// request the window wrote, and its answers reach the window as WM_RX_BYTE,
// the way Tarn.exe hands them over.
class ScriptedController {
public:
    explicit ScriptedController(std::shared_ptr<FakeSerialDevice> device) : device_(std::move(device)) {}

    std::uint8_t address = 1;
    std::string image;                 // what a read sends; what a write stores
    std::string hardwareData = std::string(21, '\x01');  // data of the 0x69 reply to 100, 102
    std::uint32_t clockSeconds = 0;    // the controller's clock
    std::uint8_t moduleAddress = 9;    // what the address read reports
    bool silent = false;               // answer nothing
    std::vector<std::string> requests; // every request frame seen, in order

    // Answers requests until the window sends no more.
    void serve(CTarnDlg& window)
    {
        for (int guard = 0; guard < 100000; ++guard) {
            std::string request;
            if (!nextRequest(request))
                return;
            requests.push_back(request);
            if (silent)
                continue;
            for (char c : reply(request))
                window.onMessage(kRxByteMessage, static_cast<std::uint8_t>(c), 1);
        }
        ADD_FAILURE() << "the window keeps sending";
    }

private:
    bool nextRequest(std::string& request)
    {
        std::string written;
        {
            std::lock_guard<std::mutex> lock(device_->mutex);
            written = device_->written;
        }
        if (taken_ >= written.size())
            return false;
        const std::string rest = written.substr(taken_);
        std::size_t length = 8;
        if (rest.size() >= 7 && static_cast<std::uint8_t>(rest[1]) == kDataBlockCommand)
            length = 9 + static_cast<std::uint8_t>(rest[6]);
        else if (rest.size() >= 7 && static_cast<std::uint8_t>(rest[1]) == kSettingCommand)
            length = 9 + static_cast<std::uint8_t>(rest[6]);
        if (rest.size() < length)
            return false;
        request = rest.substr(0, length);
        taken_ += length;
        return true;
    }

    static unsigned u16At(const std::string& s, std::size_t i)
    {
        return static_cast<unsigned>(static_cast<std::uint8_t>(s[i]) << 8 |
                                     static_cast<std::uint8_t>(s[i + 1]));
    }

    std::string reply(const std::string& request)
    {
        const std::uint8_t command = static_cast<std::uint8_t>(request[1]);
        if (static_cast<std::uint8_t>(request[0]) == kAddressFrameStart)
            return sumReply(moduleAddress, kReadAddressFunction, 0);
        switch (command) {
        case kReadBlockCommand: {
            if (u16At(request, 2) == kReadFirstBlock)
                readBlock_ = 0;
            const unsigned total = static_cast<unsigned>((image.size() + 49) / 50);
            std::string data;
            data += static_cast<char>(readBlock_ >> 8);
            data += static_cast<char>(readBlock_ & 0xFF);
            data += static_cast<char>(total >> 8);
            data += static_cast<char>(total & 0xFF);
            data += image.substr(std::min<std::size_t>(50 * readBlock_, image.size()), 50);
            ++readBlock_;
            return dataReply(address, kReadBlockCommand, data);
        }
        case kQueryCommand: {
            const unsigned a = u16At(request, 2);
            if (a == kQueryClock) {
                std::string data;
                for (int shift = 24; shift >= 0; shift -= 8)
                    data += static_cast<char>((clockSeconds >> shift) & 0xFF);
                return dataReply(address, kQueryCommand, data);
            }
            return dataReply(address, kQueryCommand, hardwareData);
        }
        case kDataBlockCommand: {
            const unsigned a = u16At(request, 2), b = u16At(request, 4);
            if (a == 0)
                image.clear();
            image += request.substr(7, static_cast<std::uint8_t>(request[6]));
            return shortReply(address, kDataBlockCommand, static_cast<std::uint16_t>(a),
                              static_cast<std::uint16_t>(b));
        }
        default:
            return {};
        }
    }

    std::shared_ptr<FakeSerialDevice> device_;
    std::size_t taken_ = 0;
    unsigned readBlock_ = 0;
};

// The main window on a fake view and shell, a scripted host, a settings file
// in a scratch folder, and a fake serial device behind a scripted controller.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearProgram();
        program().clipboard.clear();
        view.client = Size{1300, 700};
    }
    void TearDown() override
    {
        dlg.reset();
        clearProgram();
        program().clipboard.clear();
    }

    // Starts the window; settings, if not empty, is the settings file's text.
    void start(const std::string& settings = std::string())
    {
        if (!settings.empty())
            putFile(settingsFile(), settings);
        MainWindowServices services;
        services.host = &host;
        services.settingsPath = settingsFile();
        services.link.log = &log;
        services.link.clock = &clock;
        services.link.openSerial = fakeOpener(device);
        services.link.connectTcp = [this](const std::string& address, std::uint16_t port,
                                          OsError& error,
                                          unsigned) -> std::unique_ptr<TcpSocket> {
            connects.push_back(address + ":" + std::to_string(port));
            error = tcpRefused ? 10061 : 0;
            return tcpRefused ? nullptr : std::make_unique<IdleSocket>();
        };
        services.utcSeconds = [this] { return utcNow; };
        services.edition = edition;
        dlg = std::make_unique<CTarnDlg>(services);
        dlg->attach(&view);
        dlg->onInit();
    }

    std::string settingsFile() const { return folder.file("qv_pV2.ini"); }

    // A file of the scratch folder holding the program as it is now.
    std::string programFile(const std::string& name)
    {
        const std::string path = folder.file(name);
        // "sub\\name" is a file of the folder on POSIX systems and one of
        // its subfolder on Windows.
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        putFile(path, buildImage());
        return path;
    }

    void click(int id) { dlg->onCommand(id, Notify::Clicked); }
    std::vector<std::string> messageTexts() const
    {
        std::vector<std::string> out;
        for (const auto& m : shell.messages)
            out.push_back(m.text);
        return out;
    }
    // Opens the serial port through the connection button.
    void openSerial()
    {
        click(IDC_CONNECT);
        ASSERT_TRUE(dlg->link().serialOpen());
    }

    // A connection that stays quiet until it is shut down.
    class IdleSocket final : public TcpSocket {
    public:
        Transfer send(const std::uint8_t*, std::size_t count) override
        {
            Transfer t;
            t.count = count;
            return t;
        }
        Transfer receive(std::uint8_t*, std::size_t, unsigned) override
        {
            std::unique_lock<std::mutex> lock(mutex_);
            woken_.wait(lock, [this] { return down_; });
            Transfer t;
            t.closed = true;
            return t;
        }
        void shutdown() override
        {
            std::lock_guard<std::mutex> lock(mutex_);
            down_ = true;
            woken_.notify_all();
        }

    private:
        std::mutex mutex_;
        std::condition_variable woken_;
        bool down_ = false;
    };

    FakeShell shell;
    ShellScope scope{shell};
    TempFolder folder;
    FakeView view;
    ScriptedHost host;
    RecordingLog log;
    FakeClock clock;
    std::shared_ptr<FakeSerialDevice> device = std::make_shared<FakeSerialDevice>();
    ScriptedController controller{device};
    std::vector<std::string> connects;
    bool tcpRefused = false;
    std::uint64_t utcNow = 1704067200;  // 2024-01-01 00:00:00 UTC
    const Edition* edition = &tarnEdition();  // the window start() makes
    std::unique_ptr<CTarnDlg> dlg;
};

}  // namespace orlo::test
