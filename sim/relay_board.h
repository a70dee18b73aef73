// The simulated controller's 32-channel relay board: the operations of the
// 0x55 frames on a channel mask (bit n - 1 = channel n closed), including
// the timed ones (jog, closing or opening a run of channels one after the
// other), which are kept as a schedule applied as time passes.
#pragma once

#include <cstdint>
#include <vector>

namespace orlo::sim {

class RelayBoard {
public:
    // Applies the scheduled changes due at nowMs (milliseconds on any
    // monotonic clock).
    void advance(std::uint64_t nowMs);
    // Carries out the frame's function with its value (D3..D0, high byte
    // first). Returns true when the function is a board operation that
    // answers with the state (0x10 to 0x2F); false for those that do not
    // (0x30 to 0x3F) and for unknown functions, which change nothing.
    bool apply(std::uint8_t function, std::uint32_t value, std::uint64_t nowMs);
    // True when the function is one of the board's.
    static bool isBoardFunction(std::uint8_t function);

    std::uint32_t state() const { return state_; }

private:
    struct Change {
        std::uint64_t dueMs;
        std::uint32_t mask;
        bool close;
    };
    void schedule(std::uint64_t dueMs, std::uint32_t mask, bool close);

    std::uint32_t state_ = 0;
    std::vector<Change> schedule_;
};

}  // namespace orlo::sim
