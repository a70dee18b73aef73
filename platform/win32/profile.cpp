// Private profile files on Windows: the system's own profile functions, in
// their ANSI forms, so the bytes of GBK values pass through unchanged.
#include <windows.h>

#include <vector>

#include "device/profile.h"

namespace orlo {

unsigned readProfileInt(const std::string& path, const std::string& section,
                        const std::string& key, int defaultValue)
{
    return GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, path.c_str());
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
                                       path.c_str());
    return std::string(buffer.data(), n < bufferSize ? n : bufferSize - 1);
}

bool writeProfileString(const std::string& path, const std::string& section,
                        const std::string& key, const std::string& value)
{
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) !=
           FALSE;
}

std::string currentDirectoryFile(const std::string& name)
{
    // The length with the terminating zero when the buffer is too small.
    DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0)
        return name;
    std::vector<char> buffer(needed + 1, '\0');
    DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n == 0 || n >= buffer.size())
        return name;
    std::string dir(buffer.data(), n);
    if (dir.back() != '\\')
        dir += '\\';
    return dir + name;
}

}  // namespace orlo
