// Tarn.exe's serial line: a COM port opened without sharing for blocking
// (non-overlapped) reads and writes; a read ends on the COMMTIMEOUTS read
// time-outs, so the reader cycles every few milliseconds. The settings and
// queue calls are CommLine's (serial_line.h).
#include "platform/win32/serial_line.h"

namespace orlo {

namespace {

class BlockingSerialLine final : public CommLine {
public:
    using CommLine::CommLine;

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
        if (!SetCommTimeouts(handle(), &t))
            return GetLastError();
        pauseMs_ = totalMs;
        return 0;
    }

    Transfer read(std::uint8_t* buffer, std::size_t capacity) override
    {
        Transfer t;
        DWORD got = 0;
        if (ReadFile(handle(), buffer, static_cast<DWORD>(capacity), &got, nullptr)) {
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
        if (!WriteFile(handle(), bytes, static_cast<DWORD>(count), &written, nullptr))
            t.error = GetLastError();
        t.count = written;
        return t;
    }

private:
    DWORD pauseMs_ = 10;
};

}  // namespace

std::unique_ptr<SerialLine> openSerialLine(const std::string& path, OsError& error)
{
    Handle h = openCommHandle(path, 0, error);
    if (!h.valid())
        return nullptr;
    return std::make_unique<BlockingSerialLine>(std::move(h));
}

}  // namespace orlo
