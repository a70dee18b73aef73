// Telling the standard control classes apart (see controls.h).
#include "platform/win32/controls.h"

#include <cwchar>

namespace orlo {

namespace {

struct ClassName {
    const wchar_t* name;
    ControlKind kind;
};

const ClassName classNames[] = {
    {L"Button", ControlKind::Button},
    {L"Edit", ControlKind::Edit},
    {L"ListBox", ControlKind::ListBox},
    {L"ComboBox", ControlKind::ComboBox},
    {L"Static", ControlKind::Static},
    {L"msctls_progress32", ControlKind::Progress},
};

}  // namespace

ControlKind controlKind(HWND control)
{
    wchar_t buf[64] = {};
    if (!control || GetClassNameW(control, buf, 64) <= 0)
        return ControlKind::Other;
    // Classes of a versioned common-controls library may read "6.0.x!Button".
    const wchar_t* name = std::wcsrchr(buf, L'!');
    name = name ? name + 1 : buf;
    for (const ClassName& c : classNames)
        if (_wcsicmp(name, c.name) == 0)
            return c.kind;
    return ControlKind::Other;
}

bool isMultiSelectList(HWND control)
{
    LONG style = GetWindowLongW(control, GWL_STYLE);
    return controlKind(control) == ControlKind::ListBox &&
           (style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

}  // namespace orlo
