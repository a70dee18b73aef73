// Files on POSIX systems. GBK paths become UTF-8; a save goes to a temporary
// file beside the target, is fsync'ed, then rename()d over it, which is
// atomic on one file system.
#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/text.h"

namespace orlo {

namespace {

std::string systemError(int err)
{
    return utf8ToGbk(std::strerror(err));
}

}  // namespace

bool readFilePrefix(const std::string& path, std::size_t maxBytes, std::string& bytes,
                    std::string& error)
{
    bytes.clear();
    int fd = ::open(gbkToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = systemError(errno);
        return false;
    }
    char buf[65536];
    while (bytes.size() < maxBytes) {
        std::size_t want = maxBytes - bytes.size();
        if (want > sizeof buf)
            want = sizeof buf;
        ssize_t n = ::read(fd, buf, want);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = systemError(errno);
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

long long fileSize(const std::string& path, std::string& error)
{
    struct stat st;
    if (::stat(gbkToUtf8(path).c_str(), &st) != 0) {
        error = systemError(errno);
        return -1;
    }
    if (S_ISDIR(st.st_mode)) {
        error = systemError(EISDIR);
        return -1;
    }
    return static_cast<long long>(st.st_size);
}

bool writeFileSafely(const std::string& path, const std::string& bytes, std::string& error)
{
    const std::string target = gbkToUtf8(path);
    std::string temp = target + ".tmp-XXXXXX";
    int fd = ::mkstemp(&temp[0]);
    if (fd < 0) {
        error = systemError(errno);
        return false;
    }
    // Keep the permissions an existing file has.
    struct stat st;
    if (::stat(target.c_str(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);
    else
        ::fchmod(fd, 0644);

    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = systemError(errno);
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        error = systemError(errno);
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        error = systemError(errno);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace orlo
