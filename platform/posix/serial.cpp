// Serial lines on POSIX systems (termios): raw 8N1 at a standard rate,
// exclusive use, reads that wait with poll for the read time-out.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "device/transport.h"
#include "platform/strings.h"

namespace orlo {

namespace {

// How long a write may find the output queue full before the line counts as
// stuck (a pseudo-terminal nobody reads): the time the kernel's queue of 4096
// bytes takes to go out at the line's rate (10 bits a byte), and a second.
unsigned writeStallMs(unsigned baud)
{
    constexpr unsigned long long kQueueBits = 4096ull * 10 * 1000;
    return static_cast<unsigned>(1000 + kQueueBits / (baud ? baud : 300));
}

struct Rate {
    unsigned baud;
    speed_t speed;
};
const Rate rates[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},
    {150, B150},       {200, B200},       {300, B300},       {600, B600},
    {1200, B1200},     {1800, B1800},     {2400, B2400},     {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400},
#ifdef B460800
    {460800, B460800},
#endif
#ifdef B921600
    {921600, B921600},
#endif
};

bool speedOf(unsigned baud, speed_t& speed)
{
    for (const Rate& r : rates)
        if (r.baud == baud) {
            speed = r.speed;
            return true;
        }
    return false;
}

unsigned baudOf(speed_t speed)
{
    for (const Rate& r : rates)
        if (r.speed == speed)
            return r.baud;
    return 0;
}

OsError lastError()
{
    return static_cast<OsError>(errno);
}

class PosixSerialLine final : public SerialLine {
public:
    explicit PosixSerialLine(int fd) : fd_(fd) {}
    ~PosixSerialLine() override
    {
        // Exclusive use ends with us, also for a terminal someone else keeps open.
        ioctl(fd_, TIOCNXCL);
        ::close(fd_);
    }
    PosixSerialLine(const PosixSerialLine&) = delete;
    PosixSerialLine& operator=(const PosixSerialLine&) = delete;

    OsError getState(unsigned& baudRate) override
    {
        if (tcgetattr(fd_, &state_) != 0)
            return lastError();
        baudRate = baudOf(cfgetospeed(&state_));
        return 0;
    }

    OsError setState(unsigned baudRate) override
    {
        speed_t speed;
        if (!speedOf(baudRate, speed))
            return EINVAL;
        termios t = state_;
        // A serial line carries frames of any byte value: no line editing,
        // echo, character translation, flow control or signals, which a
        // terminal device has by default (a Windows port has none of them).
        cfmakeraw(&t);
        t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
        t.c_cflag |= CS8 | CLOCAL | CREAD;
        t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = 0;
        if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0)
            return lastError();
        if (tcsetattr(fd_, TCSANOW, &t) != 0)
            return lastError();
        state_ = t;
        baud_ = baudRate;
        return 0;
    }

    void purge(int what) override
    {
        if ((what & PurgeTx) && (what & PurgeRx))
            tcflush(fd_, TCIOFLUSH);
        else if (what & PurgeTx)
            tcflush(fd_, TCOFLUSH);
        else if (what & PurgeRx)
            tcflush(fd_, TCIFLUSH);
    }

    OsError setReadTimeouts(unsigned intervalMs, unsigned totalMs) override
    {
        (void)intervalMs;  // poll returns as soon as bytes are there
        totalMs_ = totalMs;
        return 0;
    }

    Transfer read(std::uint8_t* buffer, std::size_t capacity) override
    {
        Transfer t;
        pollfd p{fd_, POLLIN, 0};
        int ready = ::poll(&p, 1, static_cast<int>(totalMs_));
        if (ready < 0) {
            if (errno != EINTR)
                t.error = lastError();
            return t;
        }
        if (ready == 0)
            return t;
        ssize_t n = ::read(fd_, buffer, capacity);
        if (n > 0) {
            t.count = static_cast<std::size_t>(n);
        } else if (n < 0) {
            if (errno != EAGAIN && errno != EINTR)
                t.error = lastError();
        } else {
            // Readable with nothing to read: the device hung up (a removed
            // adapter, the far end of a pseudo-terminal closed).
            t.error = EIO;
        }
        return t;
    }

    Transfer write(const std::uint8_t* bytes, std::size_t count) override
    {
        Transfer t;
        while (t.count < count) {
            ssize_t n = ::write(fd_, bytes + t.count, count - t.count);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                if (errno == EAGAIN) {
                    // The output queue is full. A line that takes nothing
                    // for as long as the slowest frame needs is stuck (a
                    // pseudo-terminal nobody reads): give up, not hang.
                    pollfd p{fd_, POLLOUT, 0};
                    int ready = ::poll(&p, 1, static_cast<int>(writeStallMs(baud_)));
                    if (ready == 0) {
                        t.error = ETIMEDOUT;
                        break;
                    }
                    continue;
                }
                t.error = lastError();
                break;
            }
            t.count += static_cast<std::size_t>(n);
        }
        return t;
    }

    OsError outputQueued(std::size_t& count) override
    {
        int queued = 0;
        if (ioctl(fd_, TIOCOUTQ, &queued) != 0)
            return lastError();
        count = queued > 0 ? static_cast<std::size_t>(queued) : 0;
        return 0;
    }

    OsError drain() override
    {
        int r;
        do
            r = tcdrain(fd_);
        while (r != 0 && errno == EINTR);
        return r == 0 ? 0 : lastError();
    }

private:
    int fd_;
    termios state_{};
    unsigned baud_ = 0;
    unsigned totalMs_ = 10;
};

}  // namespace

std::string serialPortPath(unsigned portNumber)
{
    return format("/dev/ttyS%u", portNumber - 1);
}

std::unique_ptr<SerialLine> openSerialLine(const std::string& path, OsError& error)
{
    // Opened without waiting for a carrier, and never as the controlling
    // terminal of this process.
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = lastError();
        return nullptr;
    }
    if (!isatty(fd)) {
        ::close(fd);
        error = ENOTTY;
        return nullptr;
    }
    // Nobody else may open the port while we hold it (Windows opens serial
    // ports without sharing).
    if (ioctl(fd, TIOCEXCL) != 0) {
        error = lastError();
        ::close(fd);
        return nullptr;
    }
    error = 0;
    return std::make_unique<PosixSerialLine>(fd);
}

}  // namespace orlo
