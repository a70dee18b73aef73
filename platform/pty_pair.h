// A pseudo-terminal pair: a serial line without hardware. The near end is a
// terminal device that SerialPort opens by path; this object holds the far
// end and plays the device on the other side of the line. For the tests of
// the serial transport and for the simulated controller. POSIX systems only
// (platform/posix/pty_pair.cpp); there is no Windows implementation.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "device/transport.h"

namespace orlo {

class PtyPair {
public:
    // Creates a pair; nullptr with a platform error code on failure.
    static std::unique_ptr<PtyPair> create(OsError& error);
    virtual ~PtyPair() = default;

    // The device path of the near end ("/dev/pts/N").
    virtual const std::string& devicePath() const = 0;

    // The line starts as a new terminal does (cooked, with echo) until the
    // near end configures it; send only after that.
    // The far end. receive waits at most timeoutMs for the first byte; send
    // waits at most timeoutMs for room in the line's buffer. A short read or
    // write means the time-out expired. kWaitForever: no limit.
    virtual Transfer receive(std::uint8_t* buffer, std::size_t capacity, unsigned timeoutMs) = 0;
    virtual Transfer send(const std::uint8_t* bytes, std::size_t count, unsigned timeoutMs) = 0;

    // The line settings the near end has set: rate in bits per second (0 for
    // a rate without a number), and whether it is raw 8N1 (8 data bits, no
    // parity, one stop bit, no echo, no line editing or translation).
    virtual bool lineSettings(unsigned& baudRate, bool& raw8N1) const = 0;

    // Closes the far end: the near end's device hangs up, as when a USB
    // adapter is pulled out. Later sends and receives fail.
    virtual void hangUp() = 0;
};

}  // namespace orlo
