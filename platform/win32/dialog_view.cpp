// The dialog host as its Window's View: each call becomes messages to the
// real control (list box, combo box, button, edit, static, progress bar)
// with GBK text turned into UTF-16. Unknown ids and calls that do not fit a
// control's class are ignored, as the View contract says.
#include "platform/win32/dialog_host.h"

#include <commctrl.h>

#include <algorithm>
#include <tuple>

#include "platform/win32/controls.h"
#include "platform/win32/wide.h"

namespace orlo {

namespace {

// Rows of a combo box's drop-down list: the height a layout gives a combo
// box is that of its closed field, and Windows takes the window height as
// field plus list.
constexpr int kComboDropRows = 12;

std::string windowText(HWND h)
{
    int n = GetWindowTextLengthW(h);
    if (n <= 0)
        return {};
    std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
    int got = GetWindowTextW(h, &w[0], n + 1);
    w.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return gbkFromWide(w);
}

// Messages that differ between list and combo boxes.
struct ItemMessages {
    UINT reset, add, insert, remove, count, textLength, text, getCurSel, setCurSel, getTop, setTop;
    LRESULT error;
};

const ItemMessages listMessages = {LB_RESETCONTENT, LB_ADDSTRING,  LB_INSERTSTRING, LB_DELETESTRING,
                                   LB_GETCOUNT,     LB_GETTEXTLEN, LB_GETTEXT,      LB_GETCURSEL,
                                   LB_SETCURSEL,    LB_GETTOPINDEX, LB_SETTOPINDEX, LB_ERR};
const ItemMessages comboMessages = {CB_RESETCONTENT, CB_ADDSTRING,   CB_INSERTSTRING, CB_DELETESTRING,
                                    CB_GETCOUNT,     CB_GETLBTEXTLEN, CB_GETLBTEXT,   CB_GETCURSEL,
                                    CB_SETCURSEL,    CB_GETTOPINDEX, CB_SETTOPINDEX,  CB_ERR};

const ItemMessages* itemMessages(HWND h)
{
    switch (controlKind(h)) {
    case ControlKind::ListBox:
        return &listMessages;
    case ControlKind::ComboBox:
        return &comboMessages;
    default:
        return nullptr;
    }
}

// Fonts live for the whole run: controls keep using a font after WM_SETFONT,
// and equal requests share one font object.
HFONT fontFor(const FontRequest& f)
{
    using Key = std::tuple<std::string, int, int, int, int, int, bool, bool, bool, int, int>;
    static std::map<Key, HFONT> fonts;
    Key key{f.face,  f.height,    f.width,     f.escapement, f.orientation,   f.weight,
            f.italic, f.underline, f.strikeOut, f.charSet,   f.pitchAndFamily};
    auto it = fonts.find(key);
    if (it != fonts.end())
        return it->second;
    std::wstring face = wideFromGbk(f.face);
    HFONT font = CreateFontW(f.height, f.width, f.escapement, f.orientation, f.weight, f.italic,
                             f.underline, f.strikeOut, static_cast<DWORD>(f.charSet),
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             static_cast<DWORD>(f.pitchAndFamily), face.c_str());
    if (font)
        fonts.emplace(key, font);
    return font;
}

}  // namespace

HWND DialogHost::item(int id) const
{
    return hwnd_ && id != 0 ? GetDlgItem(hwnd_, id) : nullptr;
}

void DialogHost::setText(int id, const std::string& text)
{
    if (HWND h = item(id))
        SetWindowTextW(h, wideFromGbk(text).c_str());
}

std::string DialogHost::text(int id) const
{
    HWND h = item(id);
    return h ? windowText(h) : std::string();
}

void DialogHost::clearItems(int id)
{
    HWND h = item(id);
    if (const ItemMessages* m = itemMessages(h))
        SendMessageW(h, m->reset, 0, 0);
}

int DialogHost::addItem(int id, const std::string& text)
{
    HWND h = item(id);
    const ItemMessages* m = itemMessages(h);
    if (!m)
        return -1;
    std::wstring w = wideFromGbk(text);
    LRESULT r = SendMessageW(h, m->add, 0, reinterpret_cast<LPARAM>(w.c_str()));
    return r < 0 ? -1 : static_cast<int>(r);
}

void DialogHost::insertItem(int id, int index, const std::string& text)
{
    HWND h = item(id);
    const ItemMessages* m = itemMessages(h);
    if (!m)
        return;
    // Past the end (or negative) appends, as in every View.
    int count = itemCount(id);
    if (index < 0 || index > count)
        index = -1;
    std::wstring w = wideFromGbk(text);
    SendMessageW(h, m->insert, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(w.c_str()));
}

void DialogHost::deleteItem(int id, int index)
{
    HWND h = item(id);
    const ItemMessages* m = itemMessages(h);
    if (m && index >= 0)
        SendMessageW(h, m->remove, static_cast<WPARAM>(index), 0);
}

int DialogHost::itemCount(int id) const
{
    HWND h = item(id);
    const ItemMessages* m = itemMessages(h);
    if (!m)
        return 0;
    LRESULT r = SendMessageW(h, m->count, 0, 0);
    return r < 0 ? 0 : static_cast<int>(r);
}

std::string DialogHost::itemText(int id, int index) const
{
    HWND h = item(id);
    const ItemMessages* m = itemMessages(h);
    if (!m || index < 0)
        return {};
    LRESULT n = SendMessageW(h, m->textLength, static_cast<WPARAM>(index), 0);
    if (n == m->error || n < 0)
        return {};
    std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
    LRESULT got = SendMessageW(h, m->text, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&w[0]));
    if (got == m->error || got < 0)
        return {};
    w.resize(static_cast<std::size_t>(got));
    return gbkFromWide(w);
}

int DialogHost::currentIndex(int id) const
{
    HWND h = item(id);
    if (isMultiSelectList(h)) {
        std::vector<int> sel = selectedIndexes(id);
        return sel.empty() ? -1 : sel.front();
    }
    const ItemMessages* m = itemMessages(h);
    if (!m)
        return -1;
    LRESULT r = SendMessageW(h, m->getCurSel, 0, 0);
    return r < 0 ? -1 : static_cast<int>(r);
}

void DialogHost::setCurrentIndex(int id, int index)
{
    HWND h = item(id);
    if (isMultiSelectList(h)) {
        SendMessageW(h, LB_SETSEL, FALSE, -1);
        if (index >= 0 && index < itemCount(id)) {
            SendMessageW(h, LB_SETSEL, TRUE, index);
            SendMessageW(h, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
        }
        return;
    }
    if (const ItemMessages* m = itemMessages(h))
        SendMessageW(h, m->setCurSel, static_cast<WPARAM>(index < 0 ? -1 : index), 0);
}

void DialogHost::setSelected(int id, int index, bool selected)
{
    HWND h = item(id);
    if (isMultiSelectList(h)) {
        SendMessageW(h, LB_SETSEL, selected ? TRUE : FALSE, index);
        return;
    }
    // A single selection can only be moved to a row or cleared.
    if (selected && index >= 0)
        setCurrentIndex(id, index);
    else if (!selected && (index == -1 || currentIndex(id) == index))
        setCurrentIndex(id, -1);
}

bool DialogHost::isSelected(int id, int index) const
{
    HWND h = item(id);
    if (index < 0)
        return false;
    if (isMultiSelectList(h))
        return SendMessageW(h, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
    return currentIndex(id) == index;
}

std::vector<int> DialogHost::selectedIndexes(int id) const
{
    HWND h = item(id);
    std::vector<int> out;
    if (isMultiSelectList(h)) {
        LRESULT n = SendMessageW(h, LB_GETSELCOUNT, 0, 0);
        if (n <= 0)
            return out;
        out.resize(static_cast<std::size_t>(n));
        LRESULT got = SendMessageW(h, LB_GETSELITEMS, static_cast<WPARAM>(n),
                                   reinterpret_cast<LPARAM>(out.data()));
        out.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
        return out;
    }
    int cur = currentIndex(id);
    if (cur >= 0)
        out.push_back(cur);
    return out;
}

int DialogHost::topIndex(int id) const
{
    HWND h = item(id);
    const ItemMessages* m = itemMessages(h);
    if (!m)
        return 0;
    LRESULT r = SendMessageW(h, m->getTop, 0, 0);
    return r < 0 ? 0 : static_cast<int>(r);
}

void DialogHost::setTopIndex(int id, int index)
{
    HWND h = item(id);
    if (const ItemMessages* m = itemMessages(h))
        SendMessageW(h, m->setTop, static_cast<WPARAM>(index < 0 ? 0 : index), 0);
}

void DialogHost::setRedraw(int id, bool on)
{
    HWND h = item(id);
    if (!h)
        return;
    SendMessageW(h, WM_SETREDRAW, on ? TRUE : FALSE, 0);
    if (on)
        InvalidateRect(h, nullptr, TRUE);
}

int DialogHost::checkState(int id) const
{
    HWND h = item(id);
    return h ? static_cast<int>(SendMessageW(h, BM_GETCHECK, 0, 0)) : 0;
}

void DialogHost::setCheckState(int id, int state)
{
    if (HWND h = item(id))
        SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void DialogHost::showControl(int id, bool shown)
{
    if (HWND h = item(id))
        ShowWindow(h, shown ? SW_SHOW : SW_HIDE);
}

bool DialogHost::isControlShown(int id) const
{
    HWND h = item(id);
    // The control's own flag: IsWindowVisible would also be false while the
    // whole dialog is hidden.
    return h && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0;
}

void DialogHost::enableControl(int id, bool enabled)
{
    if (HWND h = item(id))
        EnableWindow(h, enabled ? TRUE : FALSE);
}

void DialogHost::setReadOnly(int id, bool readOnly)
{
    HWND h = item(id);
    if (h && controlKind(h) == ControlKind::Edit)
        SendMessageW(h, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

bool DialogHost::isControlEnabled(int id) const
{
    HWND h = item(id);
    return h && IsWindowEnabled(h);
}

void DialogHost::moveControl(int id, const Rect& r)
{
    HWND h = item(id);
    if (!h)
        return;
    int height = r.height;
    if (controlKind(h) == ControlKind::ComboBox &&
        (GetWindowLongW(h, GWL_STYLE) & (CBS_DROPDOWN | CBS_DROPDOWNLIST)) != 0) {
        LRESULT row = SendMessageW(h, CB_GETITEMHEIGHT, 0, 0);
        height += static_cast<int>(row > 0 ? row : 16) * kComboDropRows + 2;
    }
    MoveWindow(h, r.x, r.y, r.width, height, TRUE);
}

Rect DialogHost::controlRect(int id) const
{
    HWND h = item(id);
    RECT rc{};
    if (!h || !GetWindowRect(h, &rc))
        return {};
    MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&rc), 2);
    return Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

void DialogHost::setFocus(int id)
{
    HWND h = item(id);
    if (!h)
        return;
    // WM_NEXTDLGCTL rather than SetFocus: the dialog manager then also moves
    // the default-button state and remembers the control across activation.
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(h), TRUE);
    if (initialising_)
        focusSetInInit_ = true;
}

int DialogHost::focusedControl() const
{
    HWND f = GetFocus();
    if (!hwnd_ || !f || !IsChild(hwnd_, f))
        return 0;
    // The edit box inside a combo box stands for the combo box.
    while (GetParent(f) != hwnd_)
        f = GetParent(f);
    return GetDlgCtrlID(f);
}

void DialogHost::setProgressRange(int id, int low, int high)
{
    if (HWND h = item(id))
        SendMessageW(h, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void DialogHost::setProgressPos(int id, int pos)
{
    if (HWND h = item(id))
        SendMessageW(h, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

int DialogHost::progressPos(int id) const
{
    HWND h = item(id);
    return h ? static_cast<int>(SendMessageW(h, PBM_GETPOS, 0, 0)) : 0;
}

void DialogHost::setFaceColour(int id, Colour c)
{
    HWND h = item(id);
    if (!h)
        return;
    faceColours_[id] = c;
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);
}

bool DialogHost::faceColour(int id, Colour& c) const
{
    auto it = faceColours_.find(id);
    if (it == faceColours_.end())
        return false;
    c = it->second;
    return true;
}

void DialogHost::setFont(int id, const FontRequest& font)
{
    HWND h = item(id);
    if (!h)
        return;
    if (HFONT f = fontFor(font))
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
}

int DialogHost::textWidth(int id, const std::string& text) const
{
    HWND h = item(id);
    if (!h)
        return 0;
    std::wstring w = wideFromGbk(text);
    HDC dc = GetDC(h);
    if (!dc)
        return 0;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    return size.cx;
}

void DialogHost::setTitle(const std::string& title)
{
    if (hwnd_)
        SetWindowTextW(hwnd_, wideFromGbk(title).c_str());
}

std::string DialogHost::title() const
{
    return hwnd_ ? windowText(hwnd_) : std::string();
}

Size DialogHost::clientSize() const
{
    RECT rc{};
    if (!hwnd_ || !GetClientRect(hwnd_, &rc))
        return {};
    return Size{rc.right - rc.left, rc.bottom - rc.top};
}

void DialogHost::showWindow(bool shown)
{
    if (hwnd_)
        ShowWindow(hwnd_, shown ? SW_SHOW : SW_HIDE);
}

bool DialogHost::isWindowShown() const
{
    return hwnd_ && IsWindowVisible(hwnd_);
}

void DialogHost::addSystemMenuEntry(int command, const std::string& text)
{
    HMENU menu = hwnd_ ? GetSystemMenu(hwnd_, FALSE) : nullptr;
    if (!menu || std::find(systemMenuCommands_.begin(), systemMenuCommands_.end(), command) !=
                     systemMenuCommands_.end())
        return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command), wideFromGbk(text).c_str());
    systemMenuCommands_.push_back(command);
}

void DialogHost::setMenu(int menuId)
{
    if (!hwnd_)
        return;
    HMENU menu = LoadMenuW(instance_, MAKEINTRESOURCEW(menuId));
    if (!menu)
        return;
    // The menu bar the template gave is the window's to free only until it
    // is replaced.
    HMENU old = GetMenu(hwnd_);
    if (!SetMenu(hwnd_, menu)) {
        DestroyMenu(menu);
        return;
    }
    if (old)
        DestroyMenu(old);
    DrawMenuBar(hwnd_);
}

void DialogHost::raiseWindow()
{
    if (!hwnd_)
        return;
    if (IsIconic(hwnd_))
        ShowWindow(hwnd_, SW_RESTORE);
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd_);
}

}  // namespace orlo
