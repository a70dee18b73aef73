// Pseudo-terminal pairs on POSIX systems (see platform/pty_pair.h).
#include "platform/pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace orlo {

namespace {

OsError lastError()
{
    return static_cast<OsError>(errno);
}

class PosixPtyPair final : public PtyPair {
public:
    PosixPtyPair(int master, int slave, std::string path)
        : master_(master), slave_(slave), path_(std::move(path))
    {
    }
    ~PosixPtyPair() override
    {
        hangUp();
        ::close(slave_);
    }
    PosixPtyPair(const PosixPtyPair&) = delete;
    PosixPtyPair& operator=(const PosixPtyPair&) = delete;

    const std::string& devicePath() const override { return path_; }

    Transfer receive(std::uint8_t* buffer, std::size_t capacity, unsigned timeoutMs) override
    {
        Transfer t;
        if (master_ < 0) {
            t.error = EBADF;
            return t;
        }
        pollfd p{master_, POLLIN, 0};
        int ready = ::poll(&p, 1, timeoutMs == kWaitForever ? -1 : static_cast<int>(timeoutMs));
        if (ready < 0 && errno != EINTR)
            t.error = lastError();
        if (ready <= 0)
            return t;
        ssize_t n = ::read(master_, buffer, capacity);
        if (n > 0)
            t.count = static_cast<std::size_t>(n);
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            t.error = lastError();
        return t;
    }

    Transfer send(const std::uint8_t* bytes, std::size_t count, unsigned timeoutMs) override
    {
        Transfer t;
        while (master_ >= 0 && t.count < count) {
            ssize_t n = ::write(master_, bytes + t.count, count - t.count);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                if (errno == EAGAIN) {
                    pollfd p{master_, POLLOUT, 0};
                    int wait = timeoutMs == kWaitForever ? -1 : static_cast<int>(timeoutMs);
                    if (::poll(&p, 1, wait) == 0)
                        return t;  // still full: a short write
                    continue;
                }
                t.error = lastError();
                return t;
            }
            t.count += static_cast<std::size_t>(n);
        }
        if (master_ < 0)
            t.error = EBADF;
        return t;
    }

    bool lineSettings(unsigned& baudRate, bool& raw8N1) const override
    {
        termios t{};
        if (tcgetattr(slave_, &t) != 0)
            return false;
        struct Rate {
            speed_t speed;
            unsigned baud;
        };
        static const Rate rates[] = {{B300, 300},     {B600, 600},     {B1200, 1200},
                                     {B2400, 2400},   {B4800, 4800},   {B9600, 9600},
                                     {B19200, 19200}, {B38400, 38400}, {B57600, 57600},
                                     {B115200, 115200}};
        baudRate = 0;
        for (const Rate& r : rates)
            if (cfgetospeed(&t) == r.speed)
                baudRate = r.baud;
        raw8N1 = (t.c_cflag & CSIZE) == CS8 && !(t.c_cflag & (PARENB | CSTOPB)) &&
                 !(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) &&
                 !(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXON)) && !(t.c_oflag & OPOST);
        return true;
    }

    void hangUp() override
    {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }

private:
    int master_;
    int slave_;  // held open so the line stays up while the near end is closed
    std::string path_;
};

}  // namespace

std::unique_ptr<PtyPair> PtyPair::create(OsError& error)
{
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0) {
        error = lastError();
        return nullptr;
    }
    fcntl(master, F_SETFD, FD_CLOEXEC);
    char name[128];
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0) {
        error = lastError();
        ::close(master);
        return nullptr;
    }
    int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        error = lastError();
        ::close(master);
        return nullptr;
    }
    error = 0;
    return std::make_unique<PosixPtyPair>(master, slave, name);
}

}  // namespace orlo
