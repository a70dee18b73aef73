// A countdown in timer ticks, for the main window's 100 ms timers 2 and 3
// and for owners that tick it from their own clock (the command-line tool).
#pragma once

#include <functional>

namespace orlo {

// Each tick counts down while above zero and runs onExpired when it reaches
// zero; at zero it stays there and does nothing.
struct Countdown {
    int ticks = 0;
    std::function<void()> onExpired;
    void tick()
    {
        if (ticks > 0 && --ticks == 0 && onExpired)
            onExpired();
    }
};

}  // namespace orlo
