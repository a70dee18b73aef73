// The simulated line's timing (see line_pacer.h).
#include "sim/line_pacer.h"

#include <algorithm>
#include <chrono>
#include <thread>

#if defined(__linux__)
#include <sys/prctl.h>
#endif

namespace orlo::sim {

namespace {

constexpr std::uint64_t kBitsPerByte = 10;
constexpr std::uint64_t kUsPerSecond = 1000000;

class SystemLineClock final : public LineClock {
public:
    std::uint64_t nowUs() override
    {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    }
    void sleepUntilUs(std::uint64_t t) override
    {
#if defined(__linux__)
        // Linux lets a sleep run up to 50 us late by default; a line at
        // 115200 baud carries a byte every 87 us, so the simulated line asks
        // for its wake-ups on time (per thread).
        thread_local const bool precise = ::prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0) == 0;
        (void)precise;
#endif
        const std::uint64_t now = nowUs();
        if (t > now)
            std::this_thread::sleep_for(std::chrono::microseconds(t - now));
    }
};

}  // namespace

LineClock& systemLineClock()
{
    static SystemLineClock clock;
    return clock;
}

std::uint64_t wireUs(std::uint64_t count, unsigned baud)
{
    if (baud == 0)
        return 0;
    const std::uint64_t bitsUs = count * kBitsPerByte * kUsPerSecond;
    return (bitsUs + baud - 1) / baud;
}

void LinePacer::setBaud(unsigned baud)
{
    if (baud != baud_)
        inBytes_ = 0;
    baud_ = baud;
}

std::uint64_t LinePacer::byteArrives(std::uint64_t nowUs)
{
    if (baud_ == 0)
        return nowUs;
    if (inBytes_ == 0 || nowUs >= inStartUs_ + wireUs(inBytes_, baud_)) {
        inStartUs_ = nowUs;
        inBytes_ = 0;
    }
    ++inBytes_;
    return inStartUs_ + wireUs(inBytes_, baud_);
}

std::uint64_t LinePacer::replyStarts(std::uint64_t nowUs, std::size_t count)
{
    const std::uint64_t start = std::max(nowUs, outFreeUs_);
    outFreeUs_ = start + wireUs(count, baud_);
    return start;
}

std::size_t LinePacer::bytesCarried(std::uint64_t startUs, std::uint64_t nowUs,
                                    std::size_t count) const
{
    if (baud_ == 0)
        return count;
    if (nowUs <= startUs)
        return 0;
    const std::uint64_t carried = (nowUs - startUs) * baud_ / (kBitsPerByte * kUsPerSecond);
    return static_cast<std::size_t>(std::min<std::uint64_t>(carried, count));
}

std::uint64_t LinePacer::byteLeaves(std::uint64_t startUs, std::size_t index) const
{
    return startUs + wireUs(index + 1, baud_);
}

}  // namespace orlo::sim
