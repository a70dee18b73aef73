// The dialog host's life cycle, message loop and message forwarding (see
// dialog_host.h). The View half of the class is in dialog_view.cpp.
#include "platform/win32/dialog_host.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/win32/controls.h"
#include "platform/win32/flat_look.h"
#include "platform/win32/wide.h"

namespace orlo {

namespace {

// Live hosts, for finding a host by its dialog or by its Window. A handful
// of windows exist at a time, so a vector is enough.
std::vector<DialogHost*>& liveHosts()
{
    static std::vector<DialogHost*> hosts;
    return hosts;
}

// How a control's WM_COMMAND notification code reads in portable terms. The
// codes overlap between classes (LBN_SELCHANGE and CBN_SELCHANGE are 1, but
// so is STN_DBLCLK), hence the class in every row.
struct NotifyRule {
    ControlKind kind;
    WORD code;
    Notify notify;
};

const NotifyRule notifyRules[] = {
    {ControlKind::Button, BN_CLICKED, Notify::Clicked},
    {ControlKind::Button, BN_SETFOCUS, Notify::GotFocus},
    {ControlKind::Button, BN_KILLFOCUS, Notify::LostFocus},
    {ControlKind::Edit, EN_CHANGE, Notify::Changed},
    {ControlKind::Edit, EN_SETFOCUS, Notify::GotFocus},
    {ControlKind::Edit, EN_KILLFOCUS, Notify::LostFocus},
    {ControlKind::ListBox, LBN_SELCHANGE, Notify::SelChanged},
    {ControlKind::ListBox, LBN_DBLCLK, Notify::DoubleClicked},
    {ControlKind::ListBox, LBN_SETFOCUS, Notify::GotFocus},
    {ControlKind::ListBox, LBN_KILLFOCUS, Notify::LostFocus},
    {ControlKind::ComboBox, CBN_SELCHANGE, Notify::SelChanged},
    {ControlKind::ComboBox, CBN_DBLCLK, Notify::DoubleClicked},
    {ControlKind::ComboBox, CBN_EDITCHANGE, Notify::Changed},
    {ControlKind::ComboBox, CBN_SETFOCUS, Notify::GotFocus},
    {ControlKind::ComboBox, CBN_KILLFOCUS, Notify::LostFocus},
    {ControlKind::Static, STN_CLICKED, Notify::Clicked},
    {ControlKind::Static, STN_DBLCLK, Notify::DoubleClicked},
};

bool lookUpNotify(ControlKind kind, WORD code, Notify& out)
{
    for (const NotifyRule& r : notifyRules) {
        if (r.kind == kind && r.code == code) {
            out = r.notify;
            return true;
        }
    }
    return false;
}

}  // namespace

DialogHost::DialogHost(Window& window, HINSTANCE instance, HICON bigIcon, HICON smallIcon,
                       bool flatLook)
    : window_(window),
      instance_(instance),
      bigIcon_(bigIcon),
      smallIcon_(smallIcon),
      flatLook_(flatLook)
{
}

// The Window may be gone by now (a companion window object dies with the
// main window object, after its dialog was destroyed with the main dialog),
// so only a live dialog leads back to it, through WM_NCDESTROY.
DialogHost::~DialogHost()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
    auto& hosts = liveHosts();
    hosts.erase(std::remove(hosts.begin(), hosts.end(), this), hosts.end());
}

DialogHost* DialogHost::fromHwnd(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    for (DialogHost* h : liveHosts())
        if (h->hwnd_ == hwnd)
            return h;
    return nullptr;
}

DialogHost* DialogHost::fromWindow(const Window* window)
{
    if (!window)
        return nullptr;
    for (DialogHost* h : liveHosts())
        if (&h->window_ == window && h->hwnd_)
            return h;
    return nullptr;
}

HWND windowHandle(const Window* window)
{
    DialogHost* h = DialogHost::fromWindow(window);
    return h ? h->hwnd() : nullptr;
}

bool DialogHost::create(HWND owner)
{
    if (hwnd_)
        return true;
    HWND h = CreateDialogParamW(instance_, MAKEINTRESOURCEW(window_.templateId()), owner,
                                dialogProc, reinterpret_cast<LPARAM>(this));
    return h != nullptr;
}

int DialogHost::runModal(HWND owner)
{
    modal_ = true;
    ended_ = false;
    if (!create(owner))
        return -1;
    bool reenable = owner && IsWindowEnabled(owner);
    if (reenable)
        EnableWindow(owner, FALSE);
    if (!ended_)
        ShowWindow(hwnd_, SW_SHOW);

    MSG msg;
    while (!ended_ && hwnd_ && IsWindow(hwnd_)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0)
            break;
        if (!preTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // The owner comes back before the dialog goes, so activation returns to
    // it rather than to some other application.
    if (reenable)
        EnableWindow(owner, TRUE);
    if (hwnd_)
        DestroyWindow(hwnd_);
    return result_;
}

bool DialogHost::preTranslate(MSG& msg)
{
    if (!msg.hwnd)
        return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    DialogHost* host = fromHwnd(root);
    if (!host)
        return false;
    if (msg.message == WM_KEYDOWN) {
        bool ctrl = GetKeyState(VK_CONTROL) < 0;
        if (host->window_.onKeyDown(static_cast<int>(msg.wParam), ctrl, host->focusedControl()))
            return true;
        if (msg.wParam == VK_RETURN && host->clickFocusedFlatButton())
            return true;
    }
    return IsDialogMessageW(root, &msg) != 0;
}

INT_PTR CALLBACK DialogHost::dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DialogHost* host;
    if (msg == WM_INITDIALOG) {
        host = reinterpret_cast<DialogHost*>(lParam);
        host->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
        liveHosts().push_back(host);
    } else {
        host = reinterpret_cast<DialogHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, the first WM_SIZE) find no
    // host yet and get the default handling.
    if (!host)
        return FALSE;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (host->window_.view() == host)
            host->window_.attach(nullptr);
        host->hwnd_ = nullptr;
        host->ended_ = true;
        auto& hosts = liveHosts();
        hosts.erase(std::remove(hosts.begin(), hosts.end(), host), hosts.end());
        return FALSE;
    }
    return host->handle(msg, wParam, lParam);
}

INT_PTR DialogHost::handle(UINT msg, WPARAM wParam, LPARAM lParam)
{
    INT_PTR flatResult = FALSE;
    if (flatLook_ && handleFlatLook(msg, wParam, lParam, flatResult))
        return flatResult;
    switch (msg) {
    case WM_INITDIALOG:
        return onInitDialog();
    case WM_COMMAND:
        onCommand(wParam, lParam);
        return TRUE;
    case WM_SIZE:
        // Nothing to lay out in a minimised window (its client area is empty).
        if (wParam != SIZE_MINIMIZED)
            window_.onSize(LOWORD(lParam), HIWORD(lParam));
        return FALSE;
    case WM_TIMER:
        window_.onTimer(static_cast<int>(wParam));
        return TRUE;
    case WM_CLOSE:
        close();
        return TRUE;
    case WM_DROPFILES:
        onDropFiles(reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_CONTEXTMENU:
        onContextMenu(reinterpret_cast<HWND>(wParam), lParam);
        return TRUE;
    case WM_SYSCOMMAND: {
        // The window's own entries of the system menu; the system's own
        // commands keep their default handling.
        const int command = static_cast<int>(wParam & 0xFFF0);
        if (std::find(systemMenuCommands_.begin(), systemMenuCommands_.end(), command) ==
            systemMenuCommands_.end())
            return FALSE;
        window_.onCommand(command, Notify::Clicked);
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (!item || item->CtlType != ODT_BUTTON)
            return FALSE;
        drawButton(*item);
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    default:
        break;
    }
    // Private messages: WM_USER and WM_APP ranges.
    if (msg >= WM_USER && msg < 0xC000) {
        if (window_.onMessage(msg, static_cast<std::uintptr_t>(wParam),
                              static_cast<std::intptr_t>(lParam))) {
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 0);
            return TRUE;
        }
    }
    return FALSE;
}

INT_PTR DialogHost::onInitDialog()
{
    if (bigIcon_)
        SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    if (smallIcon_)
        SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    window_.attach(this);
    if (flatLook_)
        flatButtons_ = flat::ownerDrawPushButtons(hwnd_);
    initialising_ = true;
    focusSetInInit_ = false;
    window_.onInit();
    initialising_ = false;
    if (flatLook_)
        flattenMenuBar();
    // TRUE asks the dialog manager to focus the first control; FALSE keeps
    // the focus the window chose.
    return focusSetInInit_ ? FALSE : TRUE;
}

void DialogHost::onCommand(WPARAM wParam, LPARAM lParam)
{
    int id = LOWORD(wParam);
    WORD code = HIWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    if (id == IDCANCEL && (!control || code == BN_CLICKED)) {
        close();
        return;
    }
    if (!control) {
        // A menu (code 0) or accelerator (code 1) command.
        window_.onCommand(id, Notify::Clicked);
        return;
    }
    Notify notify;
    if (lookUpNotify(controlKind(control), code, notify))
        window_.onCommand(id, notify);
}

void DialogHost::onContextMenu(HWND target, LPARAM lParam)
{
    int id = 0;
    if (target && target != hwnd_ && IsChild(hwnd_, target)) {
        while (GetParent(target) != hwnd_)
            target = GetParent(target);
        id = GetDlgCtrlID(target);
    }
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    if (x == -1 && y == -1) {
        // Opened from the keyboard: no point was given; use the cursor's.
        POINT p{};
        GetCursorPos(&p);
        x = p.x;
        y = p.y;
    }
    window_.onContextMenu(id, x, y);
}

void DialogHost::onDropFiles(HDROP drop)
{
    std::vector<std::string> paths;
    UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < n; ++i) {
        UINT len = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(len + 1, L'\0');
        UINT got = DragQueryFileW(drop, i, &path[0], len + 1);
        path.resize(got);
        paths.push_back(pathFromWide(path));
    }
    DragFinish(drop);
    window_.onDropFiles(paths);
}

void DialogHost::drawButton(const DRAWITEMSTRUCT& item) const
{
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    Colour face = 0;
    const int id = static_cast<int>(item.CtlID);
    const bool hasFace = faceColour(id, face);
    HBRUSH brush = hasFace ? CreateSolidBrush(face) : GetSysColorBrush(COLOR_BTNFACE);
    FillRect(dc, &rc, brush);
    if (hasFace)
        DeleteObject(brush);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    DrawEdge(dc, &rc, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    int n = GetWindowTextLengthW(item.hwndItem);
    std::wstring text(static_cast<std::size_t>(n > 0 ? n : 0) + 1, L'\0');
    n = GetWindowTextW(item.hwndItem, &text[0], n + 1);
    text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    RECT textRect = rc;
    if (pressed)
        OffsetRect(&textRect, 1, 1);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (oldFont)
        SelectObject(dc, oldFont);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = rc;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void DialogHost::close()
{
    if (window_.onClose())
        endDialog(IDCANCEL);
}

void DialogHost::endDialog(int result)
{
    if (!hwnd_)
        return;
    if (modal_) {
        result_ = result;
        ended_ = true;
        // Wakes the loop, which may be waiting in GetMessageW.
        PostMessageW(hwnd_, WM_NULL, 0, 0);
    } else {
        ShowWindow(hwnd_, SW_HIDE);
    }
}

// ---- The flat look ----

void DialogHost::flattenMenuBar()
{
    if (flat::ownerDrawMenu(GetMenu(hwnd_), true))
        DrawMenuBar(hwnd_);
}

bool DialogHost::handleFlatLook(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    switch (msg) {
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (!item)
            return false;
        if (item->CtlType == ODT_BUTTON) {
            Colour face = 0;
            const bool hasFace = faceColour(static_cast<int>(item->CtlID), face);
            flat::drawButton(*item, hasFace, face);
        } else if (!flat::drawMenuItem(*item)) {
            return false;
        }
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (!item || !flat::measureMenuItem(hwnd_, *item))
            return false;
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
    }
    case WM_INITMENU:
        // A menu bar set after the dialog was made.
        if (reinterpret_cast<HMENU>(wParam) == GetMenu(hwnd_))
            flattenMenuBar();
        return false;
    case WM_INITMENUPOPUP:
        // Before the popup is measured; the system menu keeps its look.
        if (!HIWORD(lParam))
            flat::ownerDrawMenu(reinterpret_cast<HMENU>(wParam), false);
        return false;
    case WM_MENUCHAR: {
        const LRESULT chosen =
            flat::menuChar(reinterpret_cast<HMENU>(lParam), static_cast<wchar_t>(LOWORD(wParam)));
        if (!chosen)
            return false;
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, chosen);
        result = TRUE;
        return true;
    }
    default:
        return false;
    }
}

bool DialogHost::clickFocusedFlatButton()
{
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != hwnd_ || !IsWindowEnabled(focus))
        return false;
    const int id = GetDlgCtrlID(focus);
    if (std::find(flatButtons_.begin(), flatButtons_.end(), id) == flatButtons_.end())
        return false;
    SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(focus));
    return true;
}

// ---- Win32WindowHost ----

Win32WindowHost::Win32WindowHost(HINSTANCE instance, int iconId, bool flatLook)
    : instance_(instance), flatLook_(flatLook)
{
    if (iconId) {
        bigIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXICON),
                                                 GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
        smallIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    }
}

Win32WindowHost::~Win32WindowHost()
{
    modeless_.clear();
    if (bigIcon_)
        DestroyIcon(bigIcon_);
    if (smallIcon_)
        DestroyIcon(smallIcon_);
}

int Win32WindowHost::runModal(Window& window, Window* owner)
{
    DialogHost host(window, instance_, bigIcon_, smallIcon_, flatLook_);
    return host.runModal(windowHandle(owner));
}

bool Win32WindowHost::createModeless(Window& window, Window* owner)
{
    auto host = std::make_unique<DialogHost>(window, instance_, bigIcon_, smallIcon_, flatLook_);
    if (!host->create(windowHandle(owner)))
        return false;
    modeless_.push_back(std::move(host));
    return true;
}

}  // namespace orlo
