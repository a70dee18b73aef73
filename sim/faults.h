// Faults the simulated controller can be told to make, for tests of the
// host's failure paths: drop, corrupt, garble, misanswer or misnumber every
// Nth reply; a slow line, a bridge that hangs up, a line that closes in the
// middle of a transfer (LineFaults).
//
// Dropped: the host hears nothing. Corrupted: one data byte changed and the
// check recomputed, a wrong answer that passes the frame check, as from a
// damaged store. Garbled: the check byte changed, so the frame fails its
// check, as with noise on the line. Replies are counted from 1; 0 turns a
// fault off. A reply both dropped and changed is dropped.
#pragma once

#include <string>

namespace orlo::sim {

struct FaultPlan {
    unsigned dropEvery = 0;
    unsigned corruptEvery = 0;
    unsigned garbleEvery = 0;
    // A CRC reply replaced by a setting acknowledgement (0x6C, A = B = 0):
    // a checked answer of the wrong kind.
    unsigned misanswerEvery = 0;
    // A block reply (0x67 data, 0x6A acknowledgement) that names the block
    // after the one asked for, check recomputed: a reply to another request.
    // Other replies pass unchanged.
    unsigned wrongBlockEvery = 0;
};

// How the lines misbehave, for tests of the host's waits.
struct LineFaults {
    unsigned paceMs = 0;  // replies go out one byte at a time, this far apart
    bool hangUp = false;  // every TCP connection is closed as soon as it is accepted
    // The line is closed at the request after this many replies, that
    // request unanswered: a TCP connection is shut (the next one is served
    // afresh), a pseudo-terminal hangs up for good. Off unless closeLine.
    bool closeLine = false;
    unsigned closeAfterReplies = 0;
};

// How the lines behave when nothing is wrong: the rate they run at (0: as
// fast as they go) and the controller's time to work out each reply.
struct LineTiming {
    unsigned baud = 0;
    unsigned replyDelayMs = 0;
};

class FaultInjector {
public:
    explicit FaultInjector(FaultPlan plan = {}) : plan_(plan) {}

    // The reply as it goes out; empty when it is dropped. An empty reply (none
    // due) is not counted.
    std::string apply(std::string reply);
    unsigned repliesSeen() const { return count_; }
    // Replies dropped, changed or replaced so far (each counted once).
    unsigned injected() const { return injected_; }

private:
    FaultPlan plan_;
    unsigned count_ = 0;
    unsigned injected_ = 0;
};

}  // namespace orlo::sim
