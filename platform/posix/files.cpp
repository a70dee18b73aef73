// Files on POSIX systems. Paths are the system's bytes, passed on untouched
// (see platform/text.h); a save goes to a temporary
// file beside the target (the file a symbolic link leads to, so that the
// link is not replaced), is fsync'ed, then rename()d over it, which is
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

// Follows symbolic links from path to the file they lead to (which need not
// exist yet). False (errno set) for a loop or an unreadable link.
bool followLinks(std::string& path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::string link(4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), &link[0], link.size());
        if (n < 0)
            return false;
        link.resize(static_cast<std::size_t>(n));
        const std::size_t slash = path.rfind('/');
        if (link[0] != '/' && slash != std::string::npos)
            link = path.substr(0, slash + 1) + link;
        path = link;
    }
    errno = ELOOP;
    return false;
}

}  // namespace

bool readFilePrefix(const std::string& path, std::size_t maxBytes, std::string& bytes,
                    std::string& error)
{
    bytes.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
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
    if (::stat(path.c_str(), &st) != 0) {
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
    std::string target = path;
    if (!followLinks(target)) {
        error = systemError(errno);
        return false;
    }
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

bool sameFile(const std::string& a, const std::string& b)
{
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace orlo
