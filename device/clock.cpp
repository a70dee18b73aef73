// The real clock (see clock.h).
#include "device/clock.h"

#include <chrono>
#include <thread>

namespace orlo {

namespace {

class SystemClock final : public Clock {
public:
    std::uint64_t nowMs() override
    {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void sleepMs(unsigned ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

}  // namespace

Clock& systemClock()
{
    static SystemClock clock;
    return clock;
}

}  // namespace orlo
