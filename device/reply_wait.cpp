// Waiting for a controller's replies on the command line (see reply_wait.h).
#include "device/reply_wait.h"

#include <algorithm>

namespace orlo {

WaitOutcome awaitReplies(ByteQueue& queue, Clock& clock, unsigned silenceMs,
                         const std::function<ReplyStep(std::uint8_t)>& onByte)
{
    WaitOutcome outcome;
    std::uint64_t lastByte = clock.nowMs();
    std::uint64_t replyStart = lastByte;
    for (;;) {
        const std::uint64_t now = clock.nowMs();
        const std::uint64_t silentAt = lastByte + silenceMs;
        const std::uint64_t tooLongAt = replyStart + silenceMs + kSlowestReplyMs;
        const std::uint64_t endAt = std::min(silentAt, tooLongAt);
        if (now >= endAt) {
            outcome.end = WaitEnd::Silent;
            return outcome;
        }
        ByteQueue::Event e;
        if (!queue.next(e, static_cast<unsigned>(endAt - now))) {
            outcome.end = WaitEnd::Silent;  // waited it out
            return outcome;
        }
        if (e.lost) {
            outcome.end = WaitEnd::LinkLost;
            outcome.lostKind = e.kind;
            return outcome;
        }
        lastByte = clock.nowMs();
        switch (onByte(e.byte)) {
        case ReplyStep::More:
            break;
        case ReplyStep::ReplyComplete:
            replyStart = clock.nowMs();
            break;
        case ReplyStep::Done:
            outcome.end = WaitEnd::Done;
            return outcome;
        }
    }
}

}  // namespace orlo
