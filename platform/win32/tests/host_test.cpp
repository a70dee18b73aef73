// The Win32 dialog host with real controls: the main window built from
// Tarn.exe's own templates, the View over its controls, the mapping of
// messages to handlers, the modal loop and the shell's timers. Needs a
// display: tests/wine/host.sh runs it under Xvfb with ORLO_REQUIRE_WINDOWS
// set; elsewhere (no display) the tests skip themselves.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/tarn_dlg.h"
#include "platform/win32/dialog_host.h"
#include "platform/win32/shell.h"
#include "platform/win32/tests/win32_test_support.h"
#include "res/resource.h"
#include "res/tools_resource.h"
#include "tests/tools/fake_tool_link.h"
#include "tools/relay_test_panel.h"

namespace orlo {
namespace {

using test::pump;
using test::tarnPath;
using test::windowsRequired;

// The main window with every handler recorded.
class RecordingDlg : public CTarnDlg {
public:
    struct Command {
        int id;
        Notify code;
    };
    std::vector<Command> commands;
    std::vector<int> keys, keyFocus;
    std::vector<std::pair<unsigned, std::uintptr_t>> messages;
    std::vector<std::vector<std::string>> drops;
    std::vector<int> timers;
    int closes = 0;
    bool allowClose = true;

    void onCommand(int id, Notify code) override { commands.push_back({id, code}); }
    bool onKeyDown(int key, bool ctrl, int focusId) override
    {
        keys.push_back(key);
        keyFocus.push_back(focusId);
        return CTarnDlg::onKeyDown(key, ctrl, focusId);
    }
    bool onMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t) override
    {
        messages.push_back({msg, wParam});
        return true;
    }
    void onDropFiles(const std::vector<std::string>& paths) override { drops.push_back(paths); }
    void onTimer(int id) override { timers.push_back(id); }
    bool onClose() override
    {
        ++closes;
        return allowClose;
    }
};

class Win32Host : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        resources = LoadLibraryExW(tarnPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!resources) {
            if (windowsRequired())
                FAIL() << "cannot load the templates of Tarn.exe";
            GTEST_SKIP() << "Tarn.exe not built";
        }
        host = std::make_unique<Win32WindowHost>(resources, IDI_MAIN);
        if (!host->createModeless(dlg, nullptr)) {
            if (windowsRequired())
                FAIL() << "the main window could not be created";
            GTEST_SKIP() << "no display to create windows on";
        }
        hwnd = windowHandle(&dlg);
        ASSERT_NE(hwnd, nullptr);
    }
    void TearDown() override
    {
        host.reset();
        if (resources)
            FreeLibrary(resources);
    }

    HWND item(int id) const { return GetDlgItem(hwnd, id); }
    View& view() { return *dlg.view(); }
    std::wstring windowText(HWND h) const
    {
        wchar_t buf[256] = {};
        GetWindowTextW(h, buf, 256);
        return buf;
    }
    Rect rectOf(int id) const
    {
        RECT rc{};
        GetWindowRect(item(id), &rc);
        MapWindowPoints(HWND_DESKTOP, hwnd, reinterpret_cast<POINT*>(&rc), 2);
        return Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
    }

    HMODULE resources = nullptr;
    RecordingDlg dlg;  // outlives the host, which destroys its dialog
    std::unique_ptr<Win32WindowHost> host;
    HWND hwnd = nullptr;
};

TEST_F(Win32Host, InitialisesTheRealControls)
{
    EXPECT_EQ(windowText(hwnd), L"Orlo V1.326(固件0.129)");
    EXPECT_EQ(windowText(item(1013)), L"程序大小：0 字节");
    EXPECT_EQ(windowText(item(1006)), L"添加指令");  // template text, read as UTF-8

    EXPECT_EQ(SendMessageW(item(1010), CB_GETCOUNT, 0, 0), 256);
    EXPECT_EQ(SendMessageW(item(1010), CB_GETCURSEL, 0, 0), 1);
    wchar_t entry[32] = {};
    SendMessageW(item(1010), CB_GETLBTEXT, 255, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"地址255");
    EXPECT_EQ(SendMessageW(item(1017), CB_GETCOUNT, 0, 0), 255);
    EXPECT_EQ(SendMessageW(item(1017), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(item(1018), PBM_GETRANGE, FALSE, 0), 50);

    HMENU menu = GetMenu(hwnd);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 5);
    wchar_t name[32] = {};
    GetMenuStringW(menu, 4, name, 32, MF_BYPOSITION);
    EXPECT_STREQ(name, L"通信");

    HFONT font = reinterpret_cast<HFONT>(SendMessageW(item(1005), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ASSERT_TRUE(font && GetObjectW(font, sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, L"黑体");
    EXPECT_EQ(lf.lfHeight, 24);
    EXPECT_EQ(lf.lfOrientation, 12);
    EXPECT_EQ(lf.lfPitchAndFamily, 0x20);
}

TEST_F(Win32Host, LaysOutTheRealControls)
{
    dlg.layout(Size{1300, 700});
    EXPECT_EQ(rectOf(1001), (Rect{0, 0, 50, 25}));
    EXPECT_EQ(rectOf(1015), (Rect{1215, 0, 40, 20}));
    EXPECT_EQ(rectOf(1005), (Rect{0, 25, 1300, 660}));
    EXPECT_EQ(rectOf(1018), (Rect{0, 675, 1300, 20}));
    EXPECT_EQ(view().controlRect(1005), (Rect{0, 25, 1300, 660}));
    // A closed combo box keeps its font's height; the drop-down list gets the rest.
    Rect combo = rectOf(1010);
    EXPECT_EQ(combo.x, 585);
    EXPECT_EQ(combo.width, 120);
    EXPECT_LE(combo.height, 30);
    RECT dropped{};
    SendMessageW(item(1010), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_GT(dropped.bottom - dropped.top, 100);
}

TEST_F(Win32Host, ListBoxKeepsGbkTextAndMultipleSelection)
{
    const std::vector<std::string> rows = {"1   如果  输入1", "     ->  输出2", "2   如果  整数5≥3", "x"};
    view().clearItems(1005);
    for (const std::string& r : rows)
        view().addItem(1005, r);
    ASSERT_EQ(view().itemCount(1005), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(view().itemText(1005, i), rows[static_cast<std::size_t>(i)]) << i;
    wchar_t row[64] = {};
    SendMessageW(item(1005), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(row));
    EXPECT_STREQ(row, L"1   如果  输入1");

    view().setSelected(1005, -1, true);
    EXPECT_EQ(view().selectedIndexes(1005), (std::vector<int>{0, 1, 2, 3}));
    view().setCurrentIndex(1005, 1);
    EXPECT_EQ(view().selectedIndexes(1005), (std::vector<int>{1}));
    view().setSelected(1005, 3, true);
    EXPECT_EQ(view().selectedIndexes(1005), (std::vector<int>{1, 3}));
    EXPECT_TRUE(view().isSelected(1005, 3));
    EXPECT_FALSE(view().isSelected(1005, 2));
    EXPECT_EQ(view().currentIndex(1005), 1);
    view().setSelected(1005, -1, false);
    EXPECT_TRUE(view().selectedIndexes(1005).empty());
    EXPECT_EQ(view().currentIndex(1005), -1);

    view().deleteItem(1005, 0);
    view().insertItem(1005, 99, "尾");  // past the end appends
    view().insertItem(1005, 0, "头");
    EXPECT_EQ(view().itemCount(1005), 5);
    EXPECT_EQ(view().itemText(1005, 0), "头");
    EXPECT_EQ(view().itemText(1005, 4), "尾");
    EXPECT_EQ(view().itemText(1005, 5), "");
    EXPECT_EQ(view().topIndex(1005), 0);
}

TEST_F(Win32Host, ComboEditAndProgressThroughTheView)
{
    view().setCurrentIndex(1010, 200);
    EXPECT_EQ(SendMessageW(item(1010), CB_GETCURSEL, 0, 0), 200);
    EXPECT_EQ(view().currentIndex(1010), 200);
    EXPECT_EQ(view().itemText(1010, 200), "地址200");
    EXPECT_EQ(view().selectedIndexes(1010), (std::vector<int>{200}));
    view().setSelected(1010, 200, false);
    EXPECT_EQ(view().currentIndex(1010), -1);

    view().setText(1014, "查找文本");
    EXPECT_EQ(windowText(item(1014)), L"查找文本");
    EXPECT_EQ(view().text(1014), "查找文本");
    view().setTitle("Orlo V1.326(固件0.129) - 示例.qv3");
    EXPECT_EQ(view().title(), "Orlo V1.326(固件0.129) - 示例.qv3");

    view().setProgressRange(1018, 0, 7);
    view().setProgressPos(1018, 3);
    EXPECT_EQ(view().progressPos(1018), 3);

    view().enableControl(1012, false);
    EXPECT_FALSE(view().isControlEnabled(1012));
    view().showControl(1015, false);
    EXPECT_FALSE(view().isControlShown(1015));
    EXPECT_TRUE(view().isControlShown(1001));

    // Unknown ids are ignored.
    view().setText(4242, "x");
    EXPECT_EQ(view().text(4242), "");
    EXPECT_EQ(view().itemCount(4242), 0);

    EXPECT_GT(view().textWidth(1005, "如果如果"), view().textWidth(1005, "如果"));
    EXPECT_GT(view().textWidth(1005, "如果"), view().textWidth(1014, "如果"));  // 24-pixel list font
}

TEST_F(Win32Host, NotificationsMapByControlClass)
{
    struct Case {
        int id;
        WORD code;
        bool fromControl;
        bool expected;
        Notify notify;
    };
    // Code 1 is a selection change for lists and combo boxes but a double
    // click for a static text.
    const Case cases[] = {
        {1001, BN_CLICKED, true, true, Notify::Clicked},
        {1005, LBN_SELCHANGE, true, true, Notify::SelChanged},
        {1005, LBN_DBLCLK, true, true, Notify::DoubleClicked},
        {1005, LBN_SETFOCUS, true, true, Notify::GotFocus},
        {1005, LBN_SELCANCEL, true, false, Notify::Clicked},
        {1010, CBN_SELCHANGE, true, true, Notify::SelChanged},
        {1010, CBN_KILLFOCUS, true, true, Notify::LostFocus},
        {1013, STN_DBLCLK, true, true, Notify::DoubleClicked},
        {1014, EN_CHANGE, true, true, Notify::Changed},
        {1014, EN_SETFOCUS, true, true, Notify::GotFocus},
        {1014, EN_UPDATE, true, false, Notify::Clicked},
        {ID_COMM_READ_ALL, 0, false, true, Notify::Clicked},  // menu
        {IDOK, BN_CLICKED, false, true, Notify::Clicked},
    };
    for (const Case& c : cases) {
        dlg.commands.clear();
        LPARAM from = c.fromControl ? reinterpret_cast<LPARAM>(item(c.id)) : 0;
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(c.id, c.code), from);
        if (!c.expected) {
            EXPECT_TRUE(dlg.commands.empty()) << c.id << " code " << c.code;
            continue;
        }
        ASSERT_EQ(dlg.commands.size(), 1u) << c.id << " code " << c.code;
        EXPECT_EQ(dlg.commands[0].id, c.id);
        EXPECT_EQ(dlg.commands[0].code, c.notify) << c.id << " code " << c.code;
    }
    EXPECT_EQ(dlg.closes, 0);
}

TEST_F(Win32Host, CancelAndCloseAskTheWindow)
{
    view().showWindow(true);
    ASSERT_TRUE(IsWindowVisible(hwnd));
    dlg.allowClose = false;
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(dlg.closes, 1);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    dlg.allowClose = true;
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(dlg.closes, 2);
    EXPECT_FALSE(IsWindowVisible(hwnd));  // a modeless window hides
    for (const auto& c : dlg.commands)    // focus changes may show up, Cancel not
        EXPECT_NE(c.id, IDCANCEL);
}

TEST_F(Win32Host, KeysReachTheWindowBeforeDispatch)
{
    view().showWindow(true);
    SetForegroundWindow(hwnd);
    view().setFocus(1014);
    pump(200, [] { return false; });
    EXPECT_EQ(view().focusedControl(), 1014);
    struct Case {
        WPARAM key;
        bool swallowed;
    };
    const Case cases[] = {{VK_RETURN, true}, {VK_ESCAPE, true}, {VK_DELETE, false}};
    for (const Case& c : cases) {
        dlg.keys.clear();
        dlg.keyFocus.clear();
        MSG m{item(1014), WM_KEYDOWN, c.key, 0, 0, {0, 0}};
        bool consumed = DialogHost::preTranslate(m);
        ASSERT_EQ(dlg.keys, (std::vector<int>{static_cast<int>(c.key)}));
        EXPECT_EQ(dlg.keyFocus[0], 1014);
        if (c.swallowed) {
            EXPECT_TRUE(consumed) << c.key;
        }
    }
    pump(200, [] { return false; });
    EXPECT_EQ(dlg.closes, 0);  // Esc never reached the dialog manager
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(Win32Host, PrivateMessagesDropsAndTimersReachTheWindow)
{
    const unsigned rxByte = WM_USER + 7;
    SendMessageW(hwnd, rxByte, 0xA5, 0);
    PostMessageW(hwnd, WM_APP + 3, 9, 0);
    pump(1000, [&] { return dlg.messages.size() >= 2; });
    ASSERT_EQ(dlg.messages.size(), 2u);
    EXPECT_EQ(dlg.messages[0].first, rxByte);
    EXPECT_EQ(dlg.messages[0].second, 0xA5u);
    EXPECT_EQ(dlg.messages[1].first, static_cast<unsigned>(WM_APP + 3));

    // A drop of two files, as the shell hands it over; their paths arrive
    // as UTF-8, whatever characters they hold.
    const std::vector<std::wstring> paths = {L"C:\\程序\\示例\U0001F600.qv3", L"D:\\b.hanshu"};
    std::size_t chars = 1;
    for (const std::wstring& p : paths)
        chars += p.size() + 1;
    HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    ASSERT_NE(mem, nullptr);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(mem));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    wchar_t* out = reinterpret_cast<wchar_t*>(drop + 1);
    for (const std::wstring& p : paths) {
        p.copy(out, p.size());
        out += p.size() + 1;
    }
    GlobalUnlock(mem);
    SendMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
    ASSERT_EQ(dlg.drops.size(), 1u);
    EXPECT_EQ(dlg.drops[0], (std::vector<std::string>{u8"C:\\程序\\示例\U0001F600.qv3", "D:\\b.hanshu"}));

    Win32Shell shell(resources);
    shell.setTimer(&dlg, 5, 10);
    pump(3000, [&] { return dlg.timers.size() >= 2; });
    shell.killTimer(&dlg, 5);
    ASSERT_GE(dlg.timers.size(), 2u);
    EXPECT_EQ(dlg.timers[0], 5);
}

TEST_F(Win32Host, HandleAndViewEndWithTheDialog)
{
    EXPECT_EQ(DialogHost::fromWindow(&dlg)->hwnd(), hwnd);
    host.reset();
    EXPECT_EQ(windowHandle(&dlg), nullptr);
    EXPECT_EQ(dlg.view(), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
}

// A window that ends itself from within the modal loop.
class ModalProbe : public CTarnDlg {
public:
    explicit ModalProbe(UINT command) : command_(command) {}
    void onInit() override
    {
        CTarnDlg::onInit();
        PostMessageW(windowHandle(this), WM_APP + 1, 0, 0);
    }
    bool onMessage(unsigned msg, std::uintptr_t, std::intptr_t) override
    {
        if (msg != WM_APP + 1)
            return false;
        shown = IsWindowVisible(windowHandle(this)) != FALSE;
        ownerEnabled = owner && IsWindowEnabled(windowHandle(owner)) != FALSE;
        if (command_)
            PostMessageW(windowHandle(this), WM_COMMAND, MAKEWPARAM(command_, BN_CLICKED), 0);
        else
            view_->endDialog(5);
        return true;
    }
    Window* owner = nullptr;
    bool shown = false, ownerEnabled = true;

private:
    UINT command_;
};

TEST_F(Win32Host, ModalLoopEndsOnEndDialogOrCancelAndFreesTheOwner)
{
    struct Case {
        UINT command;
        int result;
    };
    const Case cases[] = {{0, 5}, {IDCANCEL, IDCANCEL}};
    for (const Case& c : cases) {
        ModalProbe probe(c.command);
        probe.owner = &dlg;
        EXPECT_EQ(host->runModal(probe, &dlg), c.result);
        EXPECT_TRUE(probe.shown);
        EXPECT_FALSE(probe.ownerEnabled);
        EXPECT_TRUE(IsWindowEnabled(hwnd));
        EXPECT_EQ(windowHandle(&probe), nullptr);
        EXPECT_EQ(probe.view(), nullptr);
    }
}

TEST_F(Win32Host, TheWindowsSystemMenuEntryReachesIt)
{
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GT(count, 1);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    wchar_t text[64] = {};
    GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"关于 Orlo(&A)...");
    dlg.commands.clear();  // the controls' own notifications so far
    SendMessageW(hwnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    ASSERT_EQ(dlg.commands.size(), 1u);
    EXPECT_EQ(dlg.commands[0].id, IDM_ABOUTBOX);
    EXPECT_EQ(dlg.commands[0].code, Notify::Clicked);
}

TEST_F(Win32Host, OwnerDrawnButtonsArePaintedInTheirFaceColour)
{
    test::FakeToolLink link;
    C_test_tool_dlg panel(link);
    ASSERT_TRUE(host->createModeless(panel, &dlg));
    HWND window = windowHandle(&panel);
    ShowWindow(window, SW_SHOW);
    // A state reply: channel 3 closed, the others open.
    panel.onReply(std::string("\x22\x01\x10\x00\x00\x00\x04\x37", 8));
    pump(300, [] { return false; });
    auto faceAt = [&](int n) {
        HWND button = GetDlgItem(window, IDC_RT_CHANNEL_FIRST + n - 1);
        RECT rc{};
        GetClientRect(button, &rc);
        HDC dc = GetDC(button);
        const COLORREF c = GetPixel(dc, 4, rc.bottom / 2);  // inside the edge, left of the text
        ReleaseDC(button, dc);
        return c;
    };
    EXPECT_EQ(faceAt(3), RGB(0, 255, 0));
    EXPECT_EQ(faceAt(1), RGB(255, 0, 0));
    EXPECT_EQ(faceAt(32), RGB(255, 0, 0));
    // The panel object goes first: its dialog with it.
    DestroyWindow(window);
}

// Orlo.exe's window replaces the template's menu bar with its own; its
// entries reach the window, and an id with no menu leaves the bar as it was.
TEST_F(Win32Host, SetMenuReplacesTheMenuBar)
{
    view().setMenu(IDR_ORLO_MENU);
    HMENU menu = GetMenu(hwnd);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 6);
    wchar_t name[32] = {};
    GetMenuStringW(menu, 5, name, 32, MF_BYPOSITION);
    EXPECT_STREQ(name, L"帮助");
    view().setMenu(1);
    EXPECT_EQ(GetMenu(hwnd), menu);
    dlg.commands.clear();
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(ID_HELP_ABOUT, 0), 0);
    ASSERT_EQ(dlg.commands.size(), 1u);
    EXPECT_EQ(dlg.commands[0].id, ID_HELP_ABOUT);
}

}  // namespace
}  // namespace orlo
