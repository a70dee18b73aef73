// What the two Win32 serial line classes share: the owning handle, the line
// settings (DCB) and queue calls both make the same way, and the openers.
// openSerialLine (serial.cpp, Tarn.exe) reads with blocking calls that end
// on the read time-outs; openEventSerialLine (serial_events.cpp, Orlo.exe)
// opens the port for overlapped I/O and waits on its events.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "device/transport.h"

namespace orlo {

// A kernel handle that owns what it holds; both null and
// INVALID_HANDLE_VALUE count as empty. Move-only.
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

// A COM port: the calls that do not depend on how the port reads and
// writes. getState keeps the driver's DCB; setState applies it with the
// rate, 8N1 and no flow control of any kind (XON/XOFF would swallow data
// bytes 0x11 and 0x13).
class CommLine : public SerialLine {
public:
    explicit CommLine(Handle handle) : handle_(std::move(handle)) {}

    OsError getState(unsigned& baudRate) override;
    OsError setState(unsigned baudRate) override;
    void purge(int what) override;
    OsError outputQueued(std::size_t& count) override;
    OsError drain() override;

protected:
    HANDLE handle() const { return handle_.get(); }
    // The rate last applied by setState (0 before).
    unsigned baudRate() const { return dcb_.BaudRate; }

private:
    Handle handle_;
    DCB dcb_{};
};

// Opens COM port path ("\\.\COMn") for exclusive use: FILE_FLAG_OVERLAPPED
// in flags for overlapped I/O, 0 for blocking calls. Returns an empty
// handle with the error code of CreateFileA in error.
Handle openCommHandle(const std::string& path, DWORD flags, OsError& error);

// Orlo.exe's serial line: the same contract as openSerialLine (an opener
// for SerialPort), but the port is opened for overlapped I/O and a read
// waits on the port's received-character event (WaitCommEvent with
// EV_RXCHAR) instead of cycling through read time-outs. A read returns as
// soon as bytes have arrived, when wakeReader is called, or after
// kEventWaitLimitMs without a byte (a short read); a write waits at most
// for the time its bytes take on the line plus kWriteSlackMs.
std::unique_ptr<SerialLine> openEventSerialLine(const std::string& path, OsError& error);

// Bounds of the event-waiting line (milliseconds). The read bound is what a
// device lost without a port event (a pseudo-terminal whose far end closed)
// takes to be noticed; nothing is read or woken in between.
constexpr DWORD kEventWaitLimitMs = 1000;
constexpr DWORD kWriteSlackMs = 2000;

}  // namespace orlo
