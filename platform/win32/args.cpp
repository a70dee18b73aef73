// Command-line arguments on Windows: read the UTF-16 command line (argv is in
// the ANSI code page, which cannot carry every character) and convert to UTF-8.
#include <windows.h>
#include <shellapi.h>

#include "platform/text.h"

namespace orlo {

std::vector<std::string> utf8Arguments(int argc, char** argv)
{
    int n = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!wide)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) {
        int bytes = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string s(bytes > 0 ? static_cast<std::size_t>(bytes - 1) : 0, '\0');
        if (bytes > 1)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, &s[0], bytes, nullptr, nullptr);
        out.push_back(s);
    }
    LocalFree(wide);
    return out;
}

}  // namespace orlo
