// The flat look's drawing and measuring (see flat_look.h). Sizes are given
// in pixels at 96 DPI and scaled to the device's DPI.
#include "platform/win32/flat_look.h"

#include <algorithm>
#include <map>
#include <string>

#include "platform/win32/controls.h"

namespace orlo::flat {

namespace {

// The palette: one face, one border, one accent.
constexpr COLORREF kFace = RGB(246, 247, 249);
constexpr COLORREF kBorder = RGB(160, 168, 178);
constexpr COLORREF kBorderDisabled = RGB(206, 211, 217);
constexpr COLORREF kAccent = RGB(0, 102, 204);
constexpr COLORREF kAccentPressed = RGB(0, 76, 153);
constexpr COLORREF kText = RGB(33, 37, 41);
constexpr COLORREF kTextOnAccent = RGB(255, 255, 255);
constexpr COLORREF kGrayText = RGB(150, 156, 163);
constexpr COLORREF kMenuBack = RGB(255, 255, 255);
constexpr COLORREF kMenuBarBack = RGB(255, 255, 255);
constexpr COLORREF kMenuDisabledHighlight = RGB(233, 236, 239);
constexpr COLORREF kSeparator = RGB(218, 222, 227);

// Pixels at 96 DPI to pixels of dc.
int px(HDC dc, int pixels96)
{
    return MulDiv(pixels96, GetDeviceCaps(dc, LOGPIXELSY), 96);
}

void fill(HDC dc, const RECT& r, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// Dark text on light faces, white on dark ones (a face colour a window
// chose, such as a relay panel's red or green).
COLORREF textOn(COLORREF face)
{
    const int luma = (GetRValue(face) * 299 + GetGValue(face) * 587 + GetBValue(face) * 114) / 1000;
    return luma < 140 ? kTextOnAccent : kText;
}

std::wstring controlText(HWND h)
{
    int n = GetWindowTextLengthW(h);
    std::wstring text(static_cast<std::size_t>(n > 0 ? n : 0) + 1, L'\0');
    n = GetWindowTextW(h, &text[0], n + 1);
    text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    return text;
}

// ---- Menus.

// What an owner-drawn item carries (its MENUITEMINFO dwItemData). One
// object per distinct text and kind for the whole run: menus are loaded
// again for every context menu, and their items share these.
struct MenuItemData {
    bool bar;
    bool separator;
    std::wstring label;     // the text before a tab, with its "&" mnemonic
    std::wstring shortcut;  // the text after it ("Ctrl+X"), may be empty
};

std::map<std::wstring, MenuItemData>& menuItemPool()
{
    static std::map<std::wstring, MenuItemData> pool;
    return pool;
}

const MenuItemData* pooledItem(bool bar, bool separator, const std::wstring& text)
{
    std::wstring key;
    key += bar ? L'b' : L'p';
    key += separator ? L's' : L't';
    key += text;
    auto& pool = menuItemPool();
    auto it = pool.find(key);
    if (it == pool.end()) {
        MenuItemData d{bar, separator, text, {}};
        const std::size_t tab = text.find(L'\t');
        if (tab != std::wstring::npos) {
            d.label = text.substr(0, tab);
            d.shortcut = text.substr(tab + 1);
        }
        it = pool.emplace(key, d).first;
    }
    return &it->second;
}

// The item data of an owner-drawn menu item, when it is one of ours.
const MenuItemData* knownItem(ULONG_PTR data)
{
    for (const auto& entry : menuItemPool())
        if (reinterpret_cast<ULONG_PTR>(&entry.second) == data)
            return &entry.second;
    return nullptr;
}

// The menu font of the system (it follows the display's DPI), for the
// whole run.
HFONT menuFont()
{
    static HFONT font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            return CreateFontIndirectW(&metrics.lfMenuFont);
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }();
    return font;
}

HBRUSH menuBrush(bool bar)
{
    static HBRUSH barBrush = CreateSolidBrush(kMenuBarBack);
    static HBRUSH popupBrush = CreateSolidBrush(kMenuBack);
    return bar ? barBrush : popupBrush;
}

SIZE textSize(HDC dc, const std::wstring& text)
{
    RECT r{0, 0, 0, 0};
    if (!text.empty())
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// Popup items: a column for the check mark, the label, the shortcut, and
// room on the right for the submenu arrow the system draws.
constexpr int kCheckColumn = 26;
constexpr int kArrowColumn = 22;
constexpr int kShortcutGap = 28;

void drawCheckMark(HDC dc, const RECT& item, COLORREF colour)
{
    const int size = px(dc, 8);
    const int x = item.left + (px(dc, kCheckColumn) - size) / 2;
    const int y = (item.top + item.bottom) / 2;
    HPEN pen = CreatePen(PS_SOLID, std::max(1, px(dc, 2)), colour);
    HGDIOBJ old = SelectObject(dc, pen);
    POINT mark[3] = {{x, y}, {x + size / 3, y + size / 3}, {x + size, y - size / 2}};
    Polyline(dc, mark, 3);
    SelectObject(dc, old);
    DeleteObject(pen);
}

}  // namespace

std::vector<int> ownerDrawPushButtons(HWND dialog)
{
    std::vector<int> ids;
    const LRESULT defId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (controlKind(c) != ControlKind::Button)
            continue;
        const LONG style = GetWindowLongW(c, GWL_STYLE);
        const LONG type = style & BS_TYPEMASK;
        if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON)
            continue;
        SetWindowLongW(c, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
        InvalidateRect(c, nullptr, TRUE);
        ids.push_back(GetDlgCtrlID(c));
    }
    // The dialog found its default among its push buttons; tell it again
    // now that none is one.
    if (HIWORD(defId) == DC_HASDEFID)
        SendMessageW(dialog, DM_SETDEFID, LOWORD(defId), 0);
    return ids;
}

void drawButton(const DRAWITEMSTRUCT& item, bool hasFace, COLORREF face)
{
    HDC dc = item.hDC;
    const RECT rc = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const LRESULT defId = SendMessageW(GetParent(item.hwndItem), DM_GETDEFID, 0, 0);
    const bool isDefault =
        HIWORD(defId) == DC_HASDEFID && LOWORD(defId) == static_cast<WORD>(item.CtlID);

    // Border: one line, two in the accent colour for the button Enter
    // presses (focused, or the default).
    const int line = std::max(1, px(dc, 1));
    const bool accent = !disabled && (focused || isDefault);
    fill(dc, rc, disabled ? kBorderDisabled : accent ? kAccent : kBorder);
    RECT inner = rc;
    InflateRect(&inner, -(accent ? 2 * line : line), -(accent ? 2 * line : line));
    const COLORREF faceColour = pressed ? kAccentPressed : hasFace ? face : kFace;
    fill(dc, inner, faceColour);

    const std::wstring text = controlText(item.hwndItem);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? kGrayText : textOn(faceColour));
    RECT textRect = inner;
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (item.itemState & ODS_NOACCEL)
        format |= DT_HIDEPREFIX;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, format);
    if (oldFont)
        SelectObject(dc, oldFont);

    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = inner;
        InflateRect(&focus, -px(dc, 2), -px(dc, 2));
        SetTextColor(dc, kText);
        SetBkColor(dc, faceColour);
        DrawFocusRect(dc, &focus);
    }
}

bool ownerDrawMenu(HMENU menu, bool bar)
{
    if (!menu)
        return false;
    bool changed = false;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (info.fType & (MFT_OWNERDRAW | MFT_BITMAP))
            continue;
        std::wstring text(info.cch + 1, L'\0');
        info.dwTypeData = &text[0];
        info.cch = static_cast<UINT>(text.size());
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        text.resize(info.cch);
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;

        // Only the type and the item data change: the text stays with the
        // item (the system's mnemonic search and readers of the menu see it).
        MENUITEMINFOW owner{};
        owner.cbSize = sizeof owner;
        owner.fMask = MIIM_FTYPE | MIIM_DATA;
        owner.fType = info.fType | MFT_OWNERDRAW;
        owner.dwItemData = reinterpret_cast<ULONG_PTR>(pooledItem(bar, separator, text));
        if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &owner))
            changed = true;
    }
    if (changed) {
        MENUINFO look{};
        look.cbSize = sizeof look;
        look.fMask = MIM_BACKGROUND;
        look.hbrBack = menuBrush(bar);
        SetMenuInfo(menu, &look);
    }
    return changed;
}

bool measureMenuItem(HWND owner, MEASUREITEMSTRUCT& item)
{
    if (item.CtlType != ODT_MENU)
        return false;
    const MenuItemData* d = knownItem(item.itemData);
    if (!d)
        return false;
    HDC dc = GetDC(owner);
    if (d->separator) {
        item.itemWidth = static_cast<UINT>(px(dc, 10));
        item.itemHeight = static_cast<UINT>(px(dc, 7));
    } else {
        HGDIOBJ old = SelectObject(dc, menuFont());
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        const SIZE label = textSize(dc, d->label);
        const SIZE shortcut = textSize(dc, d->shortcut);
        if (d->bar) {
            item.itemWidth = static_cast<UINT>(label.cx + px(dc, 14));
            item.itemHeight = static_cast<UINT>(tm.tmHeight + px(dc, 6));
        } else {
            int width = px(dc, kCheckColumn) + label.cx + px(dc, kArrowColumn);
            if (shortcut.cx > 0)
                width += px(dc, kShortcutGap) + shortcut.cx;
            item.itemWidth = static_cast<UINT>(width);
            item.itemHeight = static_cast<UINT>(tm.tmHeight + px(dc, 9));
        }
        SelectObject(dc, old);
    }
    ReleaseDC(owner, dc);
    return true;
}

bool drawMenuItem(const DRAWITEMSTRUCT& item)
{
    if (item.CtlType != ODT_MENU)
        return false;
    const MenuItemData* d = knownItem(item.itemData);
    if (!d)
        return false;
    HDC dc = item.hDC;
    const RECT rc = item.rcItem;
    const bool highlighted = (item.itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
    const bool disabled = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const COLORREF back = d->bar ? kMenuBarBack : kMenuBack;

    if (d->separator) {
        fill(dc, rc, back);
        const int mid = (rc.top + rc.bottom) / 2;
        RECT rule{rc.left + px(dc, 4), mid, rc.right - px(dc, 4), mid + std::max(1, px(dc, 1))};
        fill(dc, rule, kSeparator);
        return true;
    }

    const COLORREF fillColour =
        !highlighted ? back : disabled ? kMenuDisabledHighlight : kAccent;
    fill(dc, rc, fillColour);
    const COLORREF textColour = disabled ? kGrayText : highlighted ? kTextOnAccent : kText;
    HGDIOBJ oldFont = SelectObject(dc, menuFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColour);
    UINT format = DT_SINGLELINE | DT_VCENTER;
    if (item.itemState & ODS_NOACCEL)
        format |= DT_HIDEPREFIX;
    RECT text = rc;
    if (d->bar) {
        DrawTextW(dc, d->label.c_str(), static_cast<int>(d->label.size()), &text, format | DT_CENTER);
    } else {
        text.left += px(dc, kCheckColumn);
        text.right -= px(dc, kArrowColumn);
        DrawTextW(dc, d->label.c_str(), static_cast<int>(d->label.size()), &text, format | DT_LEFT);
        if (!d->shortcut.empty())
            DrawTextW(dc, d->shortcut.c_str(), static_cast<int>(d->shortcut.size()), &text,
                      format | DT_RIGHT);
        if (item.itemState & ODS_CHECKED)
            drawCheckMark(dc, rc, textColour);
    }
    SelectObject(dc, oldFont);
    return true;
}

LRESULT menuChar(HMENU menu, wchar_t key)
{
    const int count = GetMenuItemCount(menu);
    const wchar_t wanted = static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(
        reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(key)))));
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        const MenuItemData* d = knownItem(info.dwItemData);
        if (!d || d->separator)
            continue;
        // The mnemonic is the character after a single "&" ("&&" is a
        // literal ampersand).
        const std::wstring& label = d->label;
        for (std::size_t k = 0; k + 1 < label.size(); ++k) {
            if (label[k] != L'&')
                continue;
            if (label[k + 1] == L'&') {
                ++k;
                continue;
            }
            const wchar_t c = static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(
                reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(label[k + 1])))));
            if (c == wanted)
                return MAKELRESULT(i, MNC_EXECUTE);
            break;
        }
    }
    return 0;
}

}  // namespace orlo::flat
