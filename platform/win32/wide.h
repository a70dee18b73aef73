// GBK text, and paths (UTF-8 on Windows, see platform/text.h), to and from
// the UTF-16 of the Win32 W functions, for the code in platform/win32
// (std::wstring is UTF-16 with mingw-w64 and MSVC alike).
#pragma once

#include <string>

#include <windows.h>

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

// A path to the UTF-16 the W functions take; nothing is replaced (invalid
// UTF-8 cannot come from pathFromWide).
inline std::wstring wideFromPath(const std::string& path)
{
    if (path.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                                      nullptr, 0);
    std::wstring out(n > 0 ? static_cast<std::size_t>(n) : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), &out[0], n);
    return out;
}

inline std::string pathFromWide(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n,
                            nullptr, nullptr);
    return out;
}

}  // namespace orlo
