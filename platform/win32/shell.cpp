// The Win32 shell (see shell.h).
#include "platform/win32/shell.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/win32/dialog_host.h"
#include "platform/win32/wide.h"

namespace orlo {

namespace {

struct ButtonsStyle {
    Buttons buttons;
    UINT style;
};
const ButtonsStyle buttonStyles[] = {
    {Buttons::Ok, MB_OK},
    {Buttons::OkCancel, MB_OKCANCEL},
    {Buttons::YesNo, MB_YESNO},
    {Buttons::YesNoCancel, MB_YESNOCANCEL},
};

struct IconStyle {
    Icon icon;
    UINT style;
};
const IconStyle iconStyles[] = {
    {Icon::None, 0},
    {Icon::Information, MB_ICONINFORMATION},
    {Icon::Warning, MB_ICONWARNING},
    {Icon::Error, MB_ICONERROR},
    {Icon::Question, MB_ICONQUESTION},
};

struct AnswerCode {
    int code;
    Answer answer;
};
const AnswerCode answerCodes[] = {
    {IDOK, Answer::Ok},
    {IDCANCEL, Answer::Cancel},
    {IDYES, Answer::Yes},
    {IDNO, Answer::No},
};

// "label\0pattern\0...\0\0", the filter form of the common file dialogs.
std::wstring filterString(const std::vector<FileFilter>& filters)
{
    std::wstring out;
    for (const FileFilter& f : filters) {
        out += wideFromGbk(f.label);
        out += L'\0';
        out += wideFromGbk(f.pattern);
        out += L'\0';
    }
    out += L'\0';
    return out;
}

}  // namespace

Answer Win32Shell::messageBox(const std::string& text, const std::string& caption,
                              Buttons buttons, Icon icon)
{
    UINT style = 0;
    for (const ButtonsStyle& b : buttonStyles)
        if (b.buttons == buttons)
            style |= b.style;
    for (const IconStyle& i : iconStyles)
        if (i.icon == icon)
            style |= i.style;
    // Owned by this thread's active window, which is the foreground window
    // whenever the tool is in front; GetForegroundWindow could name another
    // program's window and tie the two programs' input together. With no
    // active window the box disables all of the tool's windows instead.
    HWND owner = GetActiveWindow();
    if (!owner)
        style |= MB_TASKMODAL;
    int code = MessageBoxW(owner, wideFromGbk(text).c_str(), wideFromGbk(caption).c_str(), style);
    for (const AnswerCode& a : answerCodes)
        if (a.code == code)
            return a.answer;
    return Answer::Cancel;
}

std::string Win32Shell::fileDialog(const FileDialogRequest& request, bool save)
{
    std::wstring filter = filterString(request.filters);
    std::wstring folder = wideFromPath(request.initialFolder);
    std::wstring extension = wideFromGbk(request.defaultExtension);
    // Long enough for any path the dialog can return.
    std::vector<wchar_t> path(32768, L'\0');
    std::wstring proposed = wideFromPath(request.fileName);
    proposed.copy(path.data(), std::min(proposed.size(), path.size() - 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.hInstance = instance_;
    ofn.lpstrFilter = request.filters.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // OFN_NOCHANGEDIR: the settings file lives in the working folder, which
    // must not follow the user around the file system.
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    ofn.Flags |= save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
    BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok)
        return {};
    return pathFromWide(std::wstring(path.data()));
}

std::string Win32Shell::openFileDialog(const FileDialogRequest& request)
{
    return fileDialog(request, false);
}

std::string Win32Shell::saveFileDialog(const FileDialogRequest& request)
{
    return fileDialog(request, true);
}

int Win32Shell::popupMenu(Window* owner, int menuId, int subMenu, int x, int y)
{
    HWND hwnd = windowHandle(owner);
    if (!hwnd)
        return 0;
    HMENU menu = LoadMenuW(instance_, MAKEINTRESOURCEW(menuId));
    if (!menu)
        return 0;
    int chosen = 0;
    if (HMENU popup = GetSubMenu(menu, subMenu)) {
        // The owner must be in front, or the menu does not close when the
        // user clicks elsewhere.
        SetForegroundWindow(hwnd);
        chosen = static_cast<int>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                                 x, y, 0, hwnd, nullptr));
    }
    DestroyMenu(menu);
    return chosen;
}

void Win32Shell::setTimer(Window* owner, int timerId, unsigned intervalMs)
{
    if (HWND hwnd = windowHandle(owner))
        SetTimer(hwnd, static_cast<UINT_PTR>(timerId), intervalMs, nullptr);
}

void Win32Shell::killTimer(Window* owner, int timerId)
{
    if (HWND hwnd = windowHandle(owner))
        KillTimer(hwnd, static_cast<UINT_PTR>(timerId));
}

// The lines go out as the program's own GBK bytes, one write each, so lines
// from different threads do not interleave.
void Win32Shell::diagnostic(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

void Win32Shell::note(const std::string& line)
{
    std::fprintf(stdout, "%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace orlo
