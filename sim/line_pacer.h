// The timing of the simulated controller's line: at B baud each byte takes
// 10 bit times, in both directions, whatever the pseudo-terminal or socket
// underneath can do. A request counts as received when its last byte would
// have arrived, counted from its first; a reply leaves byte by byte, each
// only once the line could have carried it. Pure arithmetic on microsecond
// times; LineClock supplies them (a fake one in the tests).
#pragma once

#include <cstddef>
#include <cstdint>

namespace orlo::sim {

class LineClock {
public:
    virtual ~LineClock() = default;
    // Microseconds since an arbitrary fixed point; never goes backwards.
    virtual std::uint64_t nowUs() = 0;
    // Returns once nowUs() has reached t (at once when it has).
    virtual void sleepUntilUs(std::uint64_t t) = 0;
};

// The steady clock and thread sleeps. Thread-safe.
LineClock& systemLineClock();

// How long count bytes take on the wire at baud (10 bits each), rounded up;
// 0 at baud 0 (a line without a rate).
std::uint64_t wireUs(std::uint64_t count, unsigned baud);

class LinePacer {
public:
    // 0: no pacing; bytes arrive when read and replies leave at once.
    void setBaud(unsigned baud);
    unsigned baud() const { return baud_; }

    // A byte read from the host at nowUs: when its last bit would have come
    // in. Bytes read together arrive one byte time apart; after the line has
    // been quiet the count starts again from the byte read.
    std::uint64_t byteArrives(std::uint64_t nowUs);

    // A reply of count bytes due at nowUs: when its first bit may go out
    // (after the previous reply has left).
    std::uint64_t replyStarts(std::uint64_t nowUs, std::size_t count);
    // Of a reply that started at startUs, how many whole bytes the line has
    // carried by nowUs (capped at count).
    std::size_t bytesCarried(std::uint64_t startUs, std::uint64_t nowUs, std::size_t count) const;
    // When byte index (0 = the first) of a reply that started at startUs has
    // gone out in full.
    std::uint64_t byteLeaves(std::uint64_t startUs, std::size_t index) const;

private:
    unsigned baud_ = 0;
    std::uint64_t inStartUs_ = 0;   // when the current run of received bytes began
    std::uint64_t inBytes_ = 0;     // bytes in that run
    std::uint64_t outFreeUs_ = 0;   // when the last reply has left
};

}  // namespace orlo::sim
