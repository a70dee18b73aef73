// Serial lines on Windows: a COM port opened without sharing for blocking
// (non-overlapped) reads and writes, configured through its DCB and
// COMMTIMEOUTS. Error codes are taken from GetLastError() at the failure,
// before any clean-up.
#include <windows.h>

#include "device/transport.h"
#include "platform/strings.h"

namespace orlo {

namespace {

// A file handle that owns what it holds; both null and INVALID_HANDLE_VALUE
// count as empty.
class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~Handle() { reset(); }
    Handle(Handle&& o) noexcept : h_(o.h_) { o.h_ = INVALID_HANDLE_VALUE; }
    Handle& operator=(Handle&& o) noexcept
    {
        if (this != &o) {
            reset();
            h_ = o.h_;
            o.h_ = INVALID_HANDLE_VALUE;
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return h_; }
    bool valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
    void reset()
    {
        if (valid())
            CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};

class Win32SerialLine final : public SerialLine {
public:
    explicit Win32SerialLine(Handle handle) : handle_(std::move(handle)) {}

    OsError getState(unsigned& baudRate) override
    {
        DCB dcb;
        ZeroMemory(&dcb, sizeof dcb);
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(handle_.get(), &dcb))
            return GetLastError();
        dcb_ = dcb;
        baudRate = dcb.BaudRate;
        return 0;
    }

    OsError setState(unsigned baudRate) override
    {
        // Rate, frame format and flow control; every other field keeps what
        // the driver returned to getState.
        DCB dcb = dcb_;
        dcb.BaudRate = baudRate;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        // A binary line without flow control: with XON/XOFF left on from the
        // driver's state, data bytes 0x11 and 0x13 would be taken as flow
        // control and never arrive.
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        if (!SetCommState(handle_.get(), &dcb))
            return GetLastError();
        dcb_ = dcb;
        return 0;
    }

    void purge(int what) override
    {
        DWORD flags = 0;
        if (what & PurgeTx)
            flags |= PURGE_TXCLEAR;
        if (what & PurgeRx)
            flags |= PURGE_RXCLEAR;
        PurgeComm(handle_.get(), flags);
    }

    OsError setReadTimeouts(unsigned intervalMs, unsigned totalMs) override
    {
        COMMTIMEOUTS t;
        ZeroMemory(&t, sizeof t);
        t.ReadIntervalTimeout = intervalMs;
        t.ReadTotalTimeoutMultiplier = 0;
        t.ReadTotalTimeoutConstant = totalMs;
        // Writes never time out.
        t.WriteTotalTimeoutMultiplier = 0;
        t.WriteTotalTimeoutConstant = 0;
        if (!SetCommTimeouts(handle_.get(), &t))
            return GetLastError();
        pauseMs_ = totalMs;
        return 0;
    }

    Transfer read(std::uint8_t* buffer, std::size_t capacity) override
    {
        Transfer t;
        DWORD got = 0;
        if (ReadFile(handle_.get(), buffer, static_cast<DWORD>(capacity), &got, nullptr)) {
            t.count = got;
            return t;
        }
        DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING || error == ERROR_TIMEOUT) {
            // Some drivers end a read that timed out this way instead of with
            // a short read. Wait out the read time so callers that loop do not
            // spin.
            Sleep(pauseMs_);
            return t;
        }
        t.error = error;
        return t;
    }

    Transfer write(const std::uint8_t* bytes, std::size_t count) override
    {
        Transfer t;
        DWORD written = 0;
        if (!WriteFile(handle_.get(), bytes, static_cast<DWORD>(count), &written, nullptr))
            t.error = GetLastError();
        t.count = written;
        return t;
    }

    OsError outputQueued(std::size_t& count) override
    {
        DWORD errors = 0;
        COMSTAT stat;
        ZeroMemory(&stat, sizeof stat);
        if (!ClearCommError(handle_.get(), &errors, &stat))
            return GetLastError();
        count = stat.cbOutQue;
        return 0;
    }

    OsError drain() override
    {
        if (!FlushFileBuffers(handle_.get()))
            return GetLastError();
        return 0;
    }

private:
    Handle handle_;
    DCB dcb_{};
    DWORD pauseMs_ = 10;
};

}  // namespace

std::string serialPortPath(unsigned portNumber)
{
    return format("\\\\.\\COM%u", portNumber);
}

std::unique_ptr<SerialLine> openSerialLine(const std::string& path, OsError& error)
{
    Handle h(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) {
        error = GetLastError();
        return nullptr;
    }
    error = 0;
    return std::make_unique<Win32SerialLine>(std::move(h));
}

}  // namespace orlo
