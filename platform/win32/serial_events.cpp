// Orlo.exe's serial line (see serial_line.h): the port opened for
// overlapped I/O, a read that waits on the port's received-character event.
//
// Design. The reader thread of SerialPort calls read in a loop. read takes
// what the driver holds already (COMMTIMEOUTS of MAXDWORD, 0, 0: a ReadFile
// that returns at once); when nothing is there it waits for EV_RXCHAR
// (WaitCommEvent, overlapped) together with the stop event that wakeReader
// sets, and reads again. So the thread sleeps in the kernel until a byte
// comes or the owner stops it: no read time-out cycle, no polling. The wait
// has a bound (kEventWaitLimitMs): a device can go away without an event (a
// pseudo-terminal whose far end closed), and the read after the bound is
// what reports it. A WaitCommEvent still pending when read returns stays
// armed for the next read, so no event is lost and its OVERLAPPED is never
// reused while the system may write to it. The alternative, one
// ReadFile of a single byte left pending, was rejected: each byte would then
// cost a completion, and a pending read cannot be given a new rate's
// settings cleanly.
#include "platform/win32/serial_line.h"

namespace orlo {

namespace {

// A manual-reset event (the kind GetOverlappedResult expects) or, for the
// stop event, an auto-reset one: each wakeReader ends one wait.
Handle makeEvent(bool manualReset)
{
    return Handle(CreateEventW(nullptr, manualReset ? TRUE : FALSE, FALSE, nullptr));
}

class EventSerialLine final : public CommLine {
public:
    EventSerialLine(Handle port, Handle readDone, Handle waitDone, Handle writeDone, Handle stop)
        : CommLine(std::move(port)),
          readDone_(std::move(readDone)),
          waitDone_(std::move(waitDone)),
          writeDone_(std::move(writeDone)),
          stop_(std::move(stop))
    {
        readOv_.hEvent = readDone_.get();
        waitOv_.hEvent = waitDone_.get();
        writeOv_.hEvent = writeDone_.get();
    }

    // The reader has been joined by now; a WaitCommEvent it left armed (or
    // a read or write the driver never ended) is withdrawn (an empty mask
    // ends a wait) and waited for, so the system no longer writes to an
    // OVERLAPPED when it goes.
    ~EventSerialLine() override
    {
        if (!waitPending_ && !readStuck_ && !writeStuck_)
            return;
        SetCommMask(handle(), 0);
        CancelIoEx(handle(), nullptr);
        if (waitPending_)
            WaitForSingleObject(waitDone_.get(), kEventWaitLimitMs);
        if (readStuck_)
            WaitForSingleObject(readDone_.get(), kEventWaitLimitMs);
        if (writeStuck_)
            WaitForSingleObject(writeDone_.get(), kEventWaitLimitMs);
    }

    // Ends the wait of a read in progress (or the next one) at once.
    void wakeReader() override { SetEvent(stop_.get()); }

    // The reads of this line never wait in ReadFile: the timeouts below make
    // it return at once with what has arrived. The given times are those of
    // the blocking line; here the event wait takes their place.
    OsError setReadTimeouts(unsigned, unsigned) override
    {
        COMMTIMEOUTS t;
        ZeroMemory(&t, sizeof t);
        t.ReadIntervalTimeout = MAXDWORD;
        t.ReadTotalTimeoutMultiplier = 0;
        t.ReadTotalTimeoutConstant = 0;
        // Writes are bounded by write itself.
        t.WriteTotalTimeoutMultiplier = 0;
        t.WriteTotalTimeoutConstant = 0;
        if (!SetCommTimeouts(handle(), &t))
            return GetLastError();
        return 0;
    }

    Transfer read(std::uint8_t* buffer, std::size_t capacity) override
    {
        Transfer t = readAvailable(buffer, capacity);
        if (t.count > 0 || t.error != 0)
            return t;

        if (!waitPending_) {
            DWORD events = 0;
            if (WaitCommEvent(handle(), &events, &waitOv_)) {
                // An event was already there: the bytes it announces.
                return readAvailable(buffer, capacity);
            }
            const DWORD error = GetLastError();
            if (error != ERROR_IO_PENDING) {
                t.error = error;
                return t;
            }
            waitPending_ = true;
        }

        HANDLE handles[2] = {waitDone_.get(), stop_.get()};
        const DWORD woke = WaitForMultipleObjects(2, handles, FALSE, kEventWaitLimitMs);
        if (woke == WAIT_OBJECT_0 + 1)
            return t;  // wakeReader: the owner stops the reader
        if (woke == WAIT_OBJECT_0) {
            waitPending_ = false;
            DWORD unused = 0;
            if (!GetOverlappedResult(handle(), &waitOv_, &unused, FALSE)) {
                // A wait withdrawn by a change of the mask or by the end of
                // the thread that armed it is no failure of the device.
                const DWORD error = GetLastError();
                if (error != ERROR_OPERATION_ABORTED) {
                    t.error = error;
                    return t;
                }
            }
        }
        // An event, or the bound passed: what is there now (or the error of
        // a device that has gone away).
        return readAvailable(buffer, capacity);
    }

    Transfer write(const std::uint8_t* bytes, std::size_t count) override
    {
        Transfer t;
        if (writeStuck_) {
            t.error = ERROR_IO_INCOMPLETE;
            return t;
        }
        DWORD written = 0;
        if (WriteFile(handle(), bytes, static_cast<DWORD>(count), &written, &writeOv_)) {
            t.count = written;
            return t;
        }
        DWORD error = GetLastError();
        if (error != ERROR_IO_PENDING) {
            t.error = error;
            return t;
        }
        // The time the bytes take on the line (10 bits each) and some slack:
        // a line that takes nothing (flow control held by a broken device)
        // must not hold the window for ever.
        const unsigned rate = baudRate() ? baudRate() : 300;
        const DWORD limitMs =
            static_cast<DWORD>((static_cast<unsigned long long>(count) * 10 * 1000) / rate) +
            kWriteSlackMs;
        if (WaitForSingleObject(writeDone_.get(), limitMs) != WAIT_OBJECT_0) {
            // Writes are made on this thread only, so CancelIo withdraws this
            // one; its end is waited for before the OVERLAPPED is used again.
            CancelIo(handle());
            WaitForSingleObject(writeDone_.get(), kWriteSlackMs);
            if (!GetOverlappedResult(handle(), &writeOv_, &written, FALSE) &&
                GetLastError() == ERROR_IO_INCOMPLETE)
                writeStuck_ = true;
            t.count = written;
            t.error = ERROR_TIMEOUT;
            return t;
        }
        if (!GetOverlappedResult(handle(), &writeOv_, &written, FALSE))
            t.error = GetLastError();
        t.count = written;
        return t;
    }

private:
    // One ReadFile that returns at once with what the driver holds (up to
    // capacity bytes); a short read when nothing is there.
    Transfer readAvailable(std::uint8_t* buffer, std::size_t capacity)
    {
        Transfer t;
        DWORD got = 0;
        if (ReadFile(handle(), buffer, static_cast<DWORD>(capacity), &got, &readOv_)) {
            t.count = got;
            return t;
        }
        DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING) {
            // Ends at once with these time-outs; the wait is only a bound.
            if (WaitForSingleObject(readDone_.get(), kEventWaitLimitMs) != WAIT_OBJECT_0) {
                CancelIo(handle());
                WaitForSingleObject(readDone_.get(), kEventWaitLimitMs);
            }
            if (GetOverlappedResult(handle(), &readOv_, &got, FALSE)) {
                t.count = got;
                return t;
            }
            error = GetLastError();
            if (error == ERROR_OPERATION_ABORTED)
                return t;
            // ERROR_IO_INCOMPLETE: a read the driver neither ends nor drops.
            // The line cannot be used any more; the port reports it lost.
            readStuck_ = error == ERROR_IO_INCOMPLETE;
        }
        t.error = error;
        return t;
    }

    Handle readDone_, waitDone_, writeDone_, stop_;
    OVERLAPPED readOv_{}, waitOv_{}, writeOv_{};
    // A WaitCommEvent armed and not yet ended; a read or write that did not
    // end even when cancelled (its OVERLAPPED must not be used again).
    bool waitPending_ = false;
    bool readStuck_ = false;
    bool writeStuck_ = false;
};

}  // namespace

std::unique_ptr<SerialLine> openEventSerialLine(const std::string& path, OsError& error)
{
    Handle port = openCommHandle(path, FILE_FLAG_OVERLAPPED, error);
    if (!port.valid())
        return nullptr;
    Handle readDone = makeEvent(true), waitDone = makeEvent(true), writeDone = makeEvent(true);
    Handle stop = makeEvent(false);
    if (!readDone.valid() || !waitDone.valid() || !writeDone.valid() || !stop.valid() ||
        !SetCommMask(port.get(), EV_RXCHAR)) {
        error = GetLastError();
        return nullptr;
    }
    return std::make_unique<EventSerialLine>(std::move(port), std::move(readDone),
                                             std::move(waitDone), std::move(writeDone),
                                             std::move(stop));
}

}  // namespace orlo
