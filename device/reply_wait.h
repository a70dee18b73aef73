// awaitReplies: how the command-line tool waits for a controller's replies.
// It takes received bytes from the link's queue and hands them to the
// caller until the caller is done, the link goes down, or the line falls
// silent. Silence counts from the last byte received, so a slow line (a
// 255-byte reply at 300 baud takes 8.5 s) is not cut off while its bytes
// still arrive; a reply that never completes (noise, a garbled frame that
// keeps growing) is still given up once it has taken kSlowestReplyMs more
// than the silence allowed.
#pragma once

#include <cstdint>
#include <functional>

#include "device/byte_queue.h"
#include "device/clock.h"

namespace orlo {

// The longest reply (255 data bytes and five more) at 300 baud, 10 bits a
// byte, rounded up.
constexpr unsigned kSlowestReplyMs = 9000;

// What the caller makes of one received byte.
enum class ReplyStep {
    More,           // the reply is not complete yet
    ReplyComplete,  // a reply is complete; more are awaited
    Done,           // nothing more is awaited
};

enum class WaitEnd {
    Done,      // the caller said so
    Silent,    // silenceMs without a byte, or a reply that took too long
    LinkLost,  // the link went down; lostKind says which
};

struct WaitOutcome {
    WaitEnd end = WaitEnd::Done;
    LinkKind lostKind = LinkKind::Serial;
};

// Waits on queue, measuring time on clock. onByte is called on the
// caller's thread for each byte, in order.
WaitOutcome awaitReplies(ByteQueue& queue, Clock& clock, unsigned silenceMs,
                         const std::function<ReplyStep(std::uint8_t)>& onByte);

}  // namespace orlo
