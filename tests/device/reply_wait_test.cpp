// awaitReplies on a fake clock: bytes are queued up front and each one
// handled moves the clock on by the gap before the next, so slow lines,
// silence and endless noise play out without waiting.
#include <gtest/gtest.h>

#include "device/reply_wait.h"
#include "tests/device/fakes.h"

namespace orlo {
namespace {

TEST(AwaitReplies, SilenceCountsFromTheLastByte)
{
    struct Case {
        const char* what;
        unsigned gapMs;       // between bytes
        unsigned queued;      // bytes waiting in the queue
        unsigned replyBytes;  // a reply completes every this many bytes (0: never)
        unsigned doneAfter;   // the caller is done after this many bytes (0: never)
        WaitEnd end;
        unsigned handled;  // bytes handed to the caller
    };
    const Case cases[] = {
        // 255 bytes at 300 baud take 8.5 s, far beyond the 0.5 s allowed.
        {"a slow reply that keeps coming", 33, 255, 255, 255, WaitEnd::Done, 255},
        {"a pause longer than the silence allowed", 600, 10, 0, 10, WaitEnd::Silent, 1},
        {"noise that never makes a reply", 10, 2000, 0, 0, WaitEnd::Silent, 950},
        {"many slow replies, each within the bound", 33, 1300, 60, 1200, WaitEnd::Done, 1200},
    };
    for (const Case& c : cases) {
        test::FakeClock clock;
        ByteQueue queue;
        OsError error = 0;
        for (unsigned i = 0; i < c.queued; ++i)
            queue.postByte(static_cast<std::uint8_t>(i), 1, error);
        unsigned handled = 0;
        const WaitOutcome w = awaitReplies(queue, clock, 500, [&](std::uint8_t) {
            ++handled;
            clock.sleepMs(c.gapMs);
            if (handled == c.doneAfter)
                return ReplyStep::Done;
            if (c.replyBytes != 0 && handled % c.replyBytes == 0)
                return ReplyStep::ReplyComplete;
            return ReplyStep::More;
        });
        EXPECT_EQ(w.end, c.end) << c.what;
        EXPECT_EQ(handled, c.handled) << c.what;
    }
}

TEST(AwaitReplies, LinkLostEndsTheWaitAfterTheBytesBeforeIt)
{
    test::FakeClock clock;
    ByteQueue queue;
    OsError error = 0;
    queue.postByte(0x01, 1, error);
    queue.linkLost(LinkKind::Tcp);
    queue.postByte(0x02, 1, error);
    std::string got;
    const WaitOutcome w = awaitReplies(queue, clock, 500, [&](std::uint8_t b) {
        got += static_cast<char>(b);
        return ReplyStep::More;
    });
    EXPECT_EQ(w.end, WaitEnd::LinkLost);
    EXPECT_EQ(w.lostKind, LinkKind::Tcp);
    EXPECT_EQ(got, "\x01");
}

}  // namespace
}  // namespace orlo
