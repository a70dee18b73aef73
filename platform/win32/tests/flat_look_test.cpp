// The dialog host's flat look with real controls and menus: which controls
// become owner-drawn, that the keyboard still works (Enter on a focused
// button, the default button, mnemonics), that menu items keep their text,
// and what a button with a face colour looks like. Needs a display, as the
// other tests of real windows (tests/wine/host.sh, tests/wine/orlo/host.sh).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/dialog_host.h"
#include "platform/win32/tests/win32_test_support.h"
#include "res/resource.h"

namespace orlo {
namespace {

using test::pump;
using test::tarnPath;
using test::windowsRequired;

// Any template; the window records its commands and closes.
class PlainWindow : public Window {
public:
    explicit PlainWindow(int templateId) : templateId_(templateId) {}
    int templateId() const override { return templateId_; }
    void onCommand(int id, Notify code) override
    {
        if (code == Notify::Clicked)
            clicked.push_back(id);
    }
    bool onClose() override
    {
        ++closes;
        return false;
    }

    std::vector<int> clicked;
    int closes = 0;

private:
    int templateId_;
};

struct Win32FlatLook : ::testing::Test {
    void open(int templateId, bool flat)
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        resources = LoadLibraryExW(tarnPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!resources) {
            if (windowsRequired())
                FAIL() << "cannot load the templates";
            GTEST_SKIP() << "the program with the templates is not built";
        }
        window = std::make_unique<PlainWindow>(templateId);
        host = std::make_unique<DialogHost>(*window, resources, nullptr, nullptr, flat);
        if (!host->create(nullptr)) {
            if (windowsRequired())
                FAIL() << "the dialog could not be created";
            GTEST_SKIP() << "no display to create windows on";
        }
        hwnd = host->hwnd();
        ShowWindow(hwnd, SW_SHOW);
        SetForegroundWindow(hwnd);
        pump(200, [] { return false; });
    }
    void TearDown() override
    {
        host.reset();
        window.reset();
        if (resources)
            FreeLibrary(resources);
        resources = nullptr;
    }
    LONG buttonType(int id) const { return GetWindowLongW(GetDlgItem(hwnd, id), GWL_STYLE) & BS_TYPEMASK; }
    // Enter pressed on control id, through the host's loop step.
    void enterOn(int id)
    {
        HWND control = GetDlgItem(hwnd, id);
        SetFocus(control);
        PostMessageW(control, WM_KEYDOWN, VK_RETURN, 0);
        pump(300, [] { return false; });
    }

    HMODULE resources = nullptr;
    std::unique_ptr<PlainWindow> window;
    std::unique_ptr<DialogHost> host;
    HWND hwnd = nullptr;
};

TEST_F(Win32FlatLook, OnlyPushButtonsBecomeOwnerDrawnAndOnlyWhenAsked)
{
    struct Case {
        int id;
        LONG flatType;
        LONG plainType;
    };
    const Case cases[] = {
        {IDOK, BS_OWNERDRAW, BS_DEFPUSHBUTTON},
        {IDCANCEL, BS_OWNERDRAW, BS_PUSHBUTTON},
        {IDC_COMM_SERIAL, BS_AUTORADIOBUTTON, BS_AUTORADIOBUTTON},
        {IDC_COMM_AUTO_PORT, BS_AUTOCHECKBOX, BS_AUTOCHECKBOX},
    };
    for (bool flat : {true, false}) {
        open(IDD_COMM_SETTINGS, flat);
        if (HasFatalFailure() || IsSkipped())
            return;
        for (const Case& c : cases)
            EXPECT_EQ(buttonType(c.id), flat ? c.flatType : c.plainType) << c.id << " flat " << flat;
        TearDown();
    }
}

// An owner-drawn button is no push button to the dialog manager: Enter on
// it must still press it, and Enter elsewhere the dialog's default.
TEST_F(Win32FlatLook, EnterPressesTheFocusedButtonOrTheDefault)
{
    open(IDD_COMM_SETTINGS, true);
    if (HasFatalFailure() || IsSkipped())
        return;
    EXPECT_EQ(LOWORD(SendMessageW(hwnd, DM_GETDEFID, 0, 0)), IDOK);

    enterOn(IDCANCEL);
    EXPECT_EQ(window->closes, 1) << "Enter on the focused Cancel button";
    EXPECT_TRUE(window->clicked.empty());

    enterOn(IDC_COMM_AUTO_PORT);
    EXPECT_EQ(window->clicked, std::vector<int>{IDOK}) << "Enter on a check box: the default";
    EXPECT_EQ(window->closes, 1);

    // The dialog manager moved the focus between them: they stay flat.
    EXPECT_EQ(buttonType(IDOK), BS_OWNERDRAW);
    EXPECT_EQ(buttonType(IDCANCEL), BS_OWNERDRAW);
}

TEST_F(Win32FlatLook, MenusAreOwnerDrawnKeepTheirTextAndMnemonics)
{
    open(IDD_MAIN, true);
    if (HasFatalFailure() || IsSkipped())
        return;
    HMENU bar = GetMenu(hwnd);
    ASSERT_NE(bar, nullptr);
    HMENU file = GetSubMenu(bar, 0);
    SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);

    struct Case {
        HMENU menu;
        int position;
        const wchar_t* text;
    };
    const Case cases[] = {{bar, 0, L"文件"}, {bar, 4, L"通信"}, {file, 1, L"打开"}, {file, 8, L"退出"}};
    for (const Case& c : cases) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
        ASSERT_TRUE(GetMenuItemInfoW(c.menu, static_cast<UINT>(c.position), TRUE, &info));
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << c.position;
        wchar_t text[64] = {};
        GetMenuStringW(c.menu, static_cast<UINT>(c.position), text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, c.text);

        // Measured to hold its text in the menu's font, at this display's DPI.
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_MENU;
        measure.itemID = info.wID;
        measure.itemData = info.dwItemData;
        SendMessageW(hwnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
        HDC dc = GetDC(hwnd);
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE extent{};
        GetTextExtentPoint32W(dc, c.text, static_cast<int>(wcslen(c.text)), &extent);
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(hwnd, dc);
        EXPECT_GT(measure.itemWidth, static_cast<UINT>(extent.cx)) << c.position;
        EXPECT_GT(measure.itemHeight, static_cast<UINT>(extent.cy)) << c.position;
    }

    // A popup of the program's own with mnemonics and a shortcut.
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, 100, L"&Open\tCtrl+O");
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_STRING, 101, L"Save && E&xit");
    SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    auto menuChar = [&](wchar_t key) {
        return SendMessageW(hwnd, WM_MENUCHAR, MAKEWPARAM(key, MF_POPUP),
                            reinterpret_cast<LPARAM>(popup));
    };
    EXPECT_EQ(menuChar(L'x'), MAKELRESULT(2, MNC_EXECUTE));
    EXPECT_EQ(menuChar(L'O'), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(menuChar(L'E'), 0) << "\"&&\" is no mnemonic";
    DestroyMenu(popup);
}

// A face colour a window sets (the relay panel's channel state) fills the
// flat button, with text that stays readable on it.
TEST_F(Win32FlatLook, FaceColourFillsTheButtonWithReadableText)
{
    open(IDD_COMM_SETTINGS, true);
    if (HasFatalFailure() || IsSkipped())
        return;
    host->setFaceColour(IDCANCEL, RGB(200, 0, 0));
    HWND button = GetDlgItem(hwnd, IDCANCEL);
    RECT rc{};
    GetClientRect(button, &rc);
    HDC screen = GetDC(button);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDCANCEL;
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = button;
    item.hDC = dc;
    item.rcItem = rc;
    SendMessageW(hwnd, WM_DRAWITEM, IDCANCEL, reinterpret_cast<LPARAM>(&item));

    int face = 0, white = 0;
    for (int y = rc.bottom / 4; y < rc.bottom * 3 / 4; ++y)
        for (int x = 4; x < rc.right - 4; ++x) {
            const COLORREF p = GetPixel(dc, x, y);
            face += p == RGB(200, 0, 0);
            white += GetRValue(p) > 200 && GetGValue(p) > 200 && GetBValue(p) > 200;
        }
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(button, screen);
    EXPECT_GT(face, 0) << "the face colour";
    EXPECT_GT(white, 0) << "light text on the dark face";
}

}  // namespace
}  // namespace orlo
