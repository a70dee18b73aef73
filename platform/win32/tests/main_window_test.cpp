// The main window as Tarn.exe runs it, on real controls from Tarn.exe's
// templates, driven with window messages: buttons, menus, the list's keys and
// right button, dropped files, bytes over real TCP (WM_RX_BYTE), and the
// settings and information dialogs run modally. Needs a display: host.sh runs
// it under Xvfb; elsewhere the tests skip themselves.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/tarn_dlg.h"
#include "device/frames.h"
#include "device/hardware_info.h"
#include "model/files.h"
#include "model/image.h"
#include "model/program.h"
#include "platform/fake/fake_shell.h"
#include "platform/win32/dialog_host.h"
#include "platform/win32/rx_sink.h"
#include "platform/win32/wide.h"
#include "platform/win32/tests/win32_test_support.h"
#include "res/resource.h"

namespace orlo {
namespace {

using test::pump;
using test::tarnPath;
using test::windowText;
using test::windowsRequired;

// Acts on the first dialog of this thread titled title while a modal loop
// runs: a thread timer looks for it every 50 ms and hands it to act once.
class ModalDriver {
public:
    ModalDriver(std::wstring title, std::function<void(HWND)> act)
    {
        current() = this;
        title_ = std::move(title);
        act_ = std::move(act);
        timer_ = SetTimer(nullptr, 0, 50, onTimer);
    }
    ~ModalDriver()
    {
        KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    bool acted() const { return acted_; }

private:
    static ModalDriver*& current()
    {
        static ModalDriver* driver = nullptr;
        return driver;
    }
    static BOOL CALLBACK findWindow(HWND h, LPARAM found)
    {
        if (IsWindowVisible(h) && windowText(h) == current()->title_) {
            *reinterpret_cast<HWND*>(found) = h;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalDriver* d = current();
        if (!d || d->acted_ || d->busy_)
            return;
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), findWindow, reinterpret_cast<LPARAM>(&found));
        if (!found)
            return;
        d->busy_ = true;
        d->act_(found);
        d->acted_ = true;
        d->busy_ = false;
    }

    std::wstring title_;
    std::function<void(HWND)> act_;
    UINT_PTR timer_ = 0;
    bool acted_ = false, busy_ = false;
};

// start() skips or fails the test when no window can be made; the test body
// then ends here.
#define START_MAIN_WINDOW(...)                  \
    do {                                        \
        start(__VA_ARGS__);                     \
        if (HasFatalFailure() || IsSkipped())   \
            return;                             \
    } while (0)

class Win32MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        clearProgram();
        program().clipboard.clear();
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = pathFromWide(temp) + "orlo-main-window-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryW(wideFromPath(folder).c_str(), nullptr);

        resources = LoadLibraryExW(tarnPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!resources) {
            if (windowsRequired())
                FAIL() << "cannot load the templates of Tarn.exe";
            GTEST_SKIP() << "Tarn.exe not built";
        }
        host = std::make_unique<Win32WindowHost>(resources, IDI_MAIN);
    }
    void TearDown() override
    {
        // The dialogs go first: their last messages still reach the window.
        host.reset();
        dlg.reset();
        if (resources)
            FreeLibrary(resources);
        for (const std::string& f : files)
            DeleteFileW(wideFromPath(f).c_str());
        DeleteFileW(wideFromPath(settingsFile()).c_str());
        RemoveDirectoryW(wideFromPath(folder).c_str());
        clearProgram();
    }

    std::string settingsFile() const { return folder + "\\qv_pV2.ini"; }
    std::string file(const std::string& name)
    {
        files.push_back(folder + "\\" + name);
        return files.back();
    }

    // Starts the main window as Tarn.exe does, with settings as its file.
    void start(const std::string& settings = std::string())
    {
        if (!settings.empty()) {
            HANDLE h = CreateFileW(wideFromPath(settingsFile()).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD written = 0;
            WriteFile(h, settings.data(), static_cast<DWORD>(settings.size()), &written, nullptr);
            CloseHandle(h);
        }
        MainWindowServices services;
        services.host = host.get();
        services.sink = &sink;
        services.windowReady = [this](Window* w) { sink.setWindow(windowHandle(w)); };
        services.settingsPath = settingsFile();
        dlg = std::make_unique<CTarnDlg>(services);
        if (!host->createModeless(*dlg, nullptr)) {
            if (windowsRequired())
                FAIL() << "the main window could not be created";
            GTEST_SKIP() << "no display to create windows on";
        }
        hwnd = windowHandle(dlg.get());
        ASSERT_NE(hwnd, nullptr);
        dlg->view()->showWindow(true);
        SetForegroundWindow(hwnd);
        pump(100, [] { return false; });
    }

    HWND item(int id) const { return GetDlgItem(hwnd, id); }
    void press(int id) { SendMessageW(item(id), BM_CLICK, 0, 0); }
    void menu(int id) { SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    int rows() const { return static_cast<int>(SendMessageW(item(1005), LB_GETCOUNT, 0, 0)); }
    std::wstring row(int i) const
    {
        wchar_t buf[1024] = {};
        SendMessageW(item(1005), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
        return buf;
    }
    std::vector<int> selectedRows() const
    {
        int n = static_cast<int>(SendMessageW(item(1005), LB_GETSELCOUNT, 0, 0));
        std::vector<int> out(static_cast<std::size_t>(n > 0 ? n : 0));
        if (n > 0)
            SendMessageW(item(1005), LB_GETSELITEMS, static_cast<WPARAM>(n),
                         reinterpret_cast<LPARAM>(out.data()));
        return out;
    }
    void selectRow(int i)
    {
        SendMessageW(item(1005), LB_SETSEL, FALSE, -1);
        SendMessageW(item(1005), LB_SETSEL, TRUE, i);
    }
    // A key pressed while control focusId has the keyboard focus.
    bool key(int focusId, WPARAM vk, bool ctrl)
    {
        SetFocus(item(focusId));
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        BYTE saved = keys[VK_CONTROL];
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG m{item(focusId), WM_KEYDOWN, vk, 0, 0, {0, 0}};
        bool consumed = DialogHost::preTranslate(m);
        keys[VK_CONTROL] = saved;
        SetKeyboardState(keys);
        return consumed;
    }
    // A program of n lines (p1 first ..), written to name.
    std::string programFile(const std::string& name, int n, int first)
    {
        clearProgram();
        for (int i = 0; i < n; ++i) {
            ProgramLine l;
            l.isResult = i % 2;
            l.instruction[0] = 1;
            l.instruction[1] = static_cast<std::uint8_t>(first + i);
            program().main.lines.push_back(l);
        }
        std::string path = file(name);
        EXPECT_EQ(saveProgramFile(path), path);
        clearProgram();
        return path;
    }
    void drop(const std::vector<std::wstring>& paths)
    {
        std::size_t chars = 1;
        for (const std::wstring& p : paths)
            chars += p.size() + 1;
        HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
        auto* d = static_cast<DROPFILES*>(GlobalLock(mem));
        d->pFiles = sizeof(DROPFILES);
        d->fWide = TRUE;
        wchar_t* out = reinterpret_cast<wchar_t*>(d + 1);
        for (const std::wstring& p : paths) {
            p.copy(out, p.size());
            out += p.size() + 1;
        }
        GlobalUnlock(mem);
        SendMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
    }

    FakeShell shell;
    ShellScope scope{shell};
    std::string folder;
    std::vector<std::string> files;
    HMODULE resources = nullptr;
    WindowMessageSink sink;
    std::unique_ptr<Win32WindowHost> host;
    std::unique_ptr<CTarnDlg> dlg;
    HWND hwnd = nullptr;
};

TEST_F(Win32MainWindow, ButtonsMenusAndDropsWorkTheFileCommands)
{
    START_MAIN_WINDOW();
    const std::string a = programFile("a.qv3", 4, 10);
    const std::string b = programFile("b.qv3", 2, 20);

    shell.paths = {a};
    press(IDC_OPEN);
    ASSERT_EQ(shell.dialogs.size(), 1u);
    EXPECT_FALSE(shell.dialogs[0].save);
    ASSERT_EQ(rows(), 4);
    EXPECT_EQ(row(0).rfind(L"1   如果  ", 0), 0u) << row(0).c_str();
    EXPECT_EQ(row(1).rfind(L"     ->  ", 0), 0u);
    EXPECT_EQ(windowText(hwnd), L"Orlo V1.326(固件0.129) " + wideFromPath(a));
    EXPECT_EQ(windowText(item(1013)), wideFromGbk(CTarnDlg::sizeText(imageSize())));
    EXPECT_EQ(dlg->lastFolder, folder);

    // A dropped file replaces it; the first of several.
    drop({wideFromPath(b), wideFromPath(a)});
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(dlg->currentPath, b);

    // File menu: New.
    menu(ID_FILE_NEW);
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(windowText(hwnd), L"Orlo V1.326(固件0.129)");
    EXPECT_EQ(windowText(item(1013)), L"程序大小：0 字节");
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(Win32MainWindow, ListKeysAndTheRightButtonActOnTheRealList)
{
    START_MAIN_WINDOW();
    shell.paths = {programFile("keys.qv3", 5, 1)};
    press(IDC_OPEN);
    ASSERT_EQ(rows(), 5);

    // Delete on the list asks, then removes and selects the row before.
    selectRow(2);
    shell.answers = {Answer::Yes};
    EXPECT_TRUE(key(1005, VK_DELETE, false));
    EXPECT_EQ(shell.lastMessage(), "确认要删除吗？");
    EXPECT_EQ(rows(), 4);
    EXPECT_EQ(selectedRows(), (std::vector<int>{1}));
    EXPECT_TRUE(dlg->modified);

    // Ctrl+C then Ctrl+V pastes after the selection.
    EXPECT_TRUE(key(1005, 'C', true));
    EXPECT_TRUE(key(1005, 'V', true));
    EXPECT_EQ(rows(), 5);
    EXPECT_EQ(selectedRows(), (std::vector<int>{2}));

    // In the search box the same keys do nothing to the list (the dialog
    // manager passes them to the edit box); Enter and Esc are swallowed
    // everywhere.
    shell.messages.clear();
    key(1014, VK_DELETE, false);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(rows(), 5);
    EXPECT_TRUE(key(1014, VK_RETURN, false));
    EXPECT_TRUE(key(1014, VK_ESCAPE, false));
    EXPECT_TRUE(IsWindowVisible(hwnd));

    // The right button released over the list opens the context menu, with
    // the focus on the search box.
    SetFocus(item(1014));
    shell.menuChoices = {ID_EDIT_CUT};
    SendMessageW(item(1005), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    pump(200, [&] { return !shell.menus.empty(); });
    ASSERT_EQ(shell.menus.size(), 1u);
    EXPECT_EQ(shell.menus[0].menuId, IDR_CONTEXT_MENU);
    EXPECT_EQ(shell.menus[0].subMenu, CONTEXT_MAIN_LIST);
    EXPECT_EQ(rows(), 4);  // the cut took the selected row
    // Not over another control (the edit box would show its own menu).
    SendMessageW(item(IDC_OPEN), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    pump(100, [] { return false; });
    EXPECT_EQ(shell.menus.size(), 1u);
}

TEST_F(Win32MainWindow, SettingsDialogFromItsTemplateReconnectsWithTheNewValues)
{
    OsError error = 0;
    std::unique_ptr<TcpListener> first = listenTcp("127.0.0.1", 0, error);
    std::unique_ptr<TcpListener> second = listenTcp("127.0.0.1", 0, error);
    ASSERT_TRUE(first && second);
    START_MAIN_WINDOW("[canshu_v2]\r\ncom_or_tcp=1\r\nip=127.0.0.1\r\nsocket_port=" +
                      std::to_string(first->port()) + "\r\n");
    EXPECT_EQ(windowText(item(1008)), L"网络已断开");
    press(IDC_CONNECT);
    EXPECT_EQ(windowText(item(1008)), L"网络已连接");
    std::unique_ptr<TcpSocket> one = first->accept(2000, error);
    ASSERT_TRUE(one);

    // The user sees the current values, picks TCP, types the other port, OK.
    std::wstring seenAddress, seenPort;
    LRESULT seenTcp = 0, ports = 0, rates = 0;
    bool serialListsOff = false;
    const std::wstring newPort = std::to_wstring(second->port());
    ModalDriver driver(L"Dialog", [&](HWND d) {
        seenTcp = SendMessageW(GetDlgItem(d, 1034), BM_GETCHECK, 0, 0);
        ports = SendMessageW(GetDlgItem(d, 1024), CB_GETCOUNT, 0, 0);
        rates = SendMessageW(GetDlgItem(d, 1042), CB_GETCOUNT, 0, 0);
        seenAddress = windowText(GetDlgItem(d, 1027));
        seenPort = windowText(GetDlgItem(d, 1025));
        SendMessageW(GetDlgItem(d, 1033), BM_CLICK, 0, 0);
        SendMessageW(GetDlgItem(d, 1034), BM_CLICK, 0, 0);
        serialListsOff = !IsWindowEnabled(GetDlgItem(d, 1024)) && !IsWindowEnabled(GetDlgItem(d, 1042)) &&
                         IsWindowEnabled(GetDlgItem(d, 1025));
        SetWindowTextW(GetDlgItem(d, 1025), newPort.c_str());
        SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    press(IDC_SETTINGS);
    EXPECT_TRUE(driver.acted());
    EXPECT_EQ(seenTcp, BST_CHECKED);
    EXPECT_EQ(ports, 255);
    EXPECT_EQ(rates, 10);
    EXPECT_EQ(seenAddress, L"127.0.0.1");
    EXPECT_EQ(seenPort, std::to_wstring(first->port()));
    EXPECT_TRUE(serialListsOff);

    // Reconnected at the new port, and still connected.
    std::unique_ptr<TcpSocket> two = second->accept(2000, error);
    EXPECT_TRUE(two);
    EXPECT_TRUE(dlg->link().tcpConnected());
    EXPECT_EQ(windowText(item(1008)), L"网络已连接");
    EXPECT_EQ(shell.lastMessage(), "网络已连接");
    EXPECT_EQ(dlg->link().settings().serverPort, second->port());
}

TEST_F(Win32MainWindow, ARepliedRequestArrivesAsWindowMessagesAndOpensTheInformationWindow)
{
    OsError error = 0;
    std::unique_ptr<TcpListener> listener = listenTcp("127.0.0.1", 0, error);
    ASSERT_TRUE(listener);
    START_MAIN_WINDOW("[canshu_v2]\r\ncom_or_tcp=1\r\nip=127.0.0.1\r\nsocket_port=" +
                      std::to_string(listener->port()) + "\r\n");
    press(IDC_CONNECT);
    std::unique_ptr<TcpSocket> controller = listener->accept(2000, error);
    ASSERT_TRUE(controller);

    menu(ID_COMM_HARDWARE_INFO);
    std::uint8_t request[64] = {};
    Transfer got = controller->receive(request, sizeof request, 2000);
    ASSERT_EQ(got.count, 8u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(request), 8), requestFrame(1, kQueryHardwareInfo, 0));

    std::string data;
    for (int i = 0; i < 21; ++i)
        data += static_cast<char>(i + 1);
    const std::string reply = dataReply(1, kQueryCommand, data);
    std::wstring shown;
    RECT okRect{}, textRect{}, client{};
    ModalDriver driver(L"信息", [&](HWND d) {
        shown = windowText(GetDlgItem(d, 1027));
        GetClientRect(d, &client);
        GetWindowRect(GetDlgItem(d, 1048), &okRect);
        MapWindowPoints(HWND_DESKTOP, d, reinterpret_cast<POINT*>(&okRect), 2);
        GetWindowRect(GetDlgItem(d, 1027), &textRect);
        MapWindowPoints(HWND_DESKTOP, d, reinterpret_cast<POINT*>(&textRect), 2);
        SendMessageW(GetDlgItem(d, 1048), BM_CLICK, 0, 0);
    });
    controller->send(reinterpret_cast<const std::uint8_t*>(reply.data()), reply.size());
    pump(5000, [&] { return driver.acted(); });
    ASSERT_TRUE(driver.acted());
    EXPECT_EQ(shown, wideFromGbk(hardwareInfoText(1, reply)));
    EXPECT_EQ(okRect.left, 0);
    EXPECT_EQ(okRect.right - okRect.left, 100);
    EXPECT_EQ(okRect.bottom, client.bottom);
    EXPECT_EQ(textRect.bottom, client.bottom - 40);
    EXPECT_EQ(dlg->session().pending(), PendingOperation::Idle);
}

}  // namespace
}  // namespace orlo
