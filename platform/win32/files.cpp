// Files on Windows. GBK paths become UTF-16 for the W functions; a save goes
// to a temporary file beside the target, is flushed, then replaces it with
// MoveFileExW (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
#include <windows.h>

#include "platform/files.h"
#include "platform/text.h"

namespace orlo {

namespace {

std::wstring wide(const std::string& gbk)
{
    std::u16string s = gbkToUtf16(gbk);
    return std::wstring(s.begin(), s.end());
}

std::string systemError(DWORD err)
{
    wchar_t* buf = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, err, 0, reinterpret_cast<LPWSTR>(&buf), 0, nullptr);
    std::u16string text;
    if (n && buf)
        text.assign(buf, buf + n);
    if (buf)
        LocalFree(buf);
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' '))
        text.pop_back();
    if (text.empty())
        return "Windows error " + std::to_string(err);
    return utf16ToGbk(text);
}

}  // namespace

bool readFilePrefix(const std::string& path, std::size_t maxBytes, std::string& bytes,
                    std::string& error)
{
    bytes.clear();
    HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = systemError(GetLastError());
        return false;
    }
    char buf[65536];
    while (bytes.size() < maxBytes) {
        DWORD want = static_cast<DWORD>(maxBytes - bytes.size() < sizeof buf ? maxBytes - bytes.size()
                                                                              : sizeof buf);
        DWORD got = 0;
        if (!ReadFile(h, buf, want, &got, nullptr)) {
            error = systemError(GetLastError());
            CloseHandle(h);
            return false;
        }
        if (got == 0)
            break;
        bytes.append(buf, got);
    }
    CloseHandle(h);
    return true;
}

long long fileSize(const std::string& path, std::string& error)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) {
        error = systemError(GetLastError());
        return -1;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        error = systemError(ERROR_ACCESS_DENIED);
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool writeFileSafely(const std::string& path, const std::string& bytes, std::string& error)
{
    const std::wstring target = wide(path);
    std::wstring temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
        temp = target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"_" +
               std::to_wstring(attempt);
        h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (h == INVALID_HANDLE_VALUE) {
        error = systemError(GetLastError());
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(bytes.size() - done > 1u << 20 ? 1u << 20 : bytes.size() - done);
        DWORD wrote = 0;
        if (!WriteFile(h, bytes.data() + done, chunk, &wrote, nullptr)) {
            error = systemError(GetLastError());
            CloseHandle(h);
            DeleteFileW(temp.c_str());
            return false;
        }
        done += wrote;
    }
    if (!FlushFileBuffers(h)) {
        error = systemError(GetLastError());
        CloseHandle(h);
        DeleteFileW(temp.c_str());
        return false;
    }
    CloseHandle(h);
    if (!MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = systemError(GetLastError());
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace orlo
