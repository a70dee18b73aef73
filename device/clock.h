// The clock the device code waits on: a monotonic millisecond count and a
// sleep. Injected wherever a time-out is measured, so tests drive time-outs
// with a fake clock instead of waiting for them.
#pragma once

#include <cstdint>

namespace orlo {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary fixed point; never goes backwards.
    virtual std::uint64_t nowMs() = 0;
    // Blocks the calling thread for about ms milliseconds (a fake clock
    // advances its time instead). Safe to call from any thread.
    virtual void sleepMs(unsigned ms) = 0;
};

// The real clock (steady clock and a thread sleep). Process-wide, thread-safe.
Clock& systemClock();

}  // namespace orlo
