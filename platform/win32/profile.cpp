// Private profile files on Windows: the system's own profile functions, in
// their ANSI forms, so the bytes of GBK values pass through unchanged. The
// file's path (UTF-8, see platform/text.h) is given to them in the ANSI code
// page, or by its short name when that page cannot spell it.
#include <windows.h>

#include <vector>

#include "device/profile.h"
#include "platform/win32/wide.h"

namespace orlo {

namespace {

// The path in the ANSI code page, as the A functions take it. A name that
// page has no characters for is given by its short (8.3) alias when the file
// or its folder exists and has one; otherwise as converted (the '?' in it
// then fails to open, which a read takes as no file).
std::string ansiPath(const std::string& path)
{
    const std::wstring wide = wideFromPath(path);
    if (wide.empty())
        return {};
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr,
                                &lossy);
    std::wstring usable = wide;
    if (lossy) {
        DWORD shortLength = GetShortPathNameW(wide.c_str(), nullptr, 0);
        if (shortLength > 0) {
            std::wstring shortName(shortLength, L'\0');
            shortLength = GetShortPathNameW(wide.c_str(), &shortName[0], shortLength);
            if (shortLength > 0 && shortLength < shortName.size()) {
                shortName.resize(shortLength);
                usable = shortName;
            }
        }
        n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, usable.c_str(), -1, nullptr, 0,
                                nullptr, nullptr);
    }
    if (n <= 1)
        return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, usable.c_str(), -1, &out[0], n, nullptr,
                        nullptr);
    out.resize(static_cast<std::size_t>(n - 1));
    return out;
}

}  // namespace

unsigned readProfileInt(const std::string& path, const std::string& section,
                        const std::string& key, int defaultValue)
{
    return GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue,
                                 ansiPath(path).c_str());
}

std::string readProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& defaultValue,
                              std::size_t bufferSize)
{
    if (bufferSize == 0)
        return {};
    std::vector<char> buffer(bufferSize, '\0');
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                       buffer.data(), static_cast<DWORD>(bufferSize),
                                       ansiPath(path).c_str());
    return std::string(buffer.data(), n < bufferSize ? n : bufferSize - 1);
}

bool writeProfileString(const std::string& path, const std::string& section,
                        const std::string& key, const std::string& value)
{
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      ansiPath(path).c_str()) != FALSE;
}

std::string currentDirectoryFile(const std::string& name)
{
    // The length with the terminating zero when the buffer is too small.
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0)
        return name;
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n == 0 || n >= buffer.size())
        return name;
    std::string dir = pathFromWide(std::wstring(buffer.data(), n));
    if (dir.back() != '\\')
        dir += '\\';
    return dir + name;
}

}  // namespace orlo
