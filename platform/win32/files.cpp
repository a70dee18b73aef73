// Files on Windows. Paths (UTF-8, see platform/text.h) become UTF-16 for the
// W functions; a save goes
// to a temporary file beside the target (the file a symbolic link leads to,
// so that the link is not replaced), is flushed, then replaces it with
// MoveFileExW (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
#include <windows.h>

#include "platform/files.h"
#include "platform/text.h"
#include "platform/win32/wide.h"

namespace orlo {

namespace {

std::wstring wide(const std::string& path)
{
    return wideFromPath(path);
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

// A handle for asking about an existing file (or folder) itself, following
// links; INVALID_HANDLE_VALUE when it cannot be opened.
HANDLE openForQuery(const std::wstring& path)
{
    return CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The file a symbolic link (or other reparse point) at path leads to, so
// that a save replaces that file and leaves the link; path itself otherwise.
bool followLinks(std::wstring& path, DWORD& err)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return true;
    HANDLE h = openForQuery(path);
    if (h == INVALID_HANDLE_VALUE) {
        err = GetLastError();
        return false;
    }
    std::wstring final(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(h, &final[0], static_cast<DWORD>(final.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n >= final.size()) {
        final.resize(n + 1);
        n = GetFinalPathNameByHandleW(h, &final[0], static_cast<DWORD>(final.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    err = GetLastError();
    CloseHandle(h);
    if (n == 0 || n >= final.size())
        return false;
    final.resize(n);
    path = final;
    return true;
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
    std::wstring target = wide(path);
    DWORD linkError = 0;
    if (!followLinks(target, linkError)) {
        error = systemError(linkError);
        return false;
    }
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


bool sameFile(const std::string& a, const std::string& b)
{
    BY_HANDLE_FILE_INFORMATION info[2];
    const std::string* paths[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        HANDLE h = openForQuery(wide(*paths[i]));
        if (h == INVALID_HANDLE_VALUE)
            return false;
        const BOOL ok = GetFileInformationByHandle(h, &info[i]);
        CloseHandle(h);
        if (!ok)
            return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
           info[0].nFileIndexLow == info[1].nFileIndexLow;
}

}  // namespace orlo
