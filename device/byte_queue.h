// ByteQueue: the byte sink of the command-line tool and of the tests. The
// transports' threads append received bytes and link-lost notices; the
// owner's loop takes them out, waiting with a time-out. It never makes a
// transport wait.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "device/transport.h"

namespace orlo {

class ByteQueue final : public ByteSink {
public:
    struct Event {
        bool lost = false;       // a link-lost notice instead of a byte
        std::uint8_t byte = 0;
        unsigned source = 0;
        LinkKind kind = LinkKind::Serial;
    };

    bool postByte(std::uint8_t byte, unsigned source, OsError& error) override;
    void sendByte(std::uint8_t byte, unsigned source) override;
    void linkLost(LinkKind kind) override;

    // Takes the oldest event, waiting at most timeoutMs for one. False when
    // none came in time.
    bool next(Event& event, unsigned timeoutMs);
    // Collects received bytes until count have come or timeoutMs has passed
    // (bytes only; link-lost notices stay queued). Returns what came, in order.
    std::string bytes(std::size_t count, unsigned timeoutMs);
    // Waits at most timeoutMs for a link-lost notice of kind, taking it and
    // every byte queued before it. False when none came in time.
    bool waitLinkLost(LinkKind kind, unsigned timeoutMs);
    // The number of events queued now.
    std::size_t size() const;

private:
    void push(const Event& e);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Event> events_;
};

}  // namespace orlo
