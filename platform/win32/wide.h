// GBK text to and from the UTF-16 of the Win32 W functions, for the code in
// platform/win32 (std::wstring is UTF-16 with mingw-w64 and MSVC alike).
#pragma once

#include <string>

#include "platform/text.h"

namespace orlo {

inline std::wstring wideFromGbk(const std::string& gbk)
{
    std::u16string s = gbkToUtf16(gbk);
    return std::wstring(s.begin(), s.end());
}

inline std::string gbkFromWide(const std::wstring& wide)
{
    return utf16ToGbk(std::u16string(wide.begin(), wide.end()));
}

}  // namespace orlo
