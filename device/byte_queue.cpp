// The queue sink (see byte_queue.h).
#include "device/byte_queue.h"

#include <algorithm>
#include <chrono>

namespace orlo {

namespace {

std::chrono::steady_clock::time_point deadlineAfter(unsigned timeoutMs)
{
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
}

}  // namespace

void ByteQueue::push(const Event& e)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(e);
    }
    changed_.notify_all();
}

bool ByteQueue::postByte(std::uint8_t byte, unsigned source, OsError& error)
{
    error = 0;
    push(Event{false, byte, source, LinkKind::Serial});
    return true;
}

void ByteQueue::sendByte(std::uint8_t byte, unsigned source)
{
    push(Event{false, byte, source, LinkKind::Tcp});
}

void ByteQueue::linkLost(LinkKind kind)
{
    push(Event{true, 0, 0, kind});
}

bool ByteQueue::next(Event& event, unsigned timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!changed_.wait_until(lock, deadlineAfter(timeoutMs), [&] { return !events_.empty(); }))
        return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

std::string ByteQueue::bytes(std::size_t count, unsigned timeoutMs)
{
    const auto deadline = deadlineAfter(timeoutMs);
    std::string out;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        auto it = events_.begin();
        while (it != events_.end() && out.size() < count) {
            if (it->lost) {
                ++it;
                continue;
            }
            out += static_cast<char>(it->byte);
            it = events_.erase(it);
        }
        if (out.size() >= count)
            return out;
        std::size_t seen = events_.size();
        if (!changed_.wait_until(lock, deadline, [&] { return events_.size() != seen; }))
            return out;
    }
}

bool ByteQueue::waitLinkLost(LinkKind kind, unsigned timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    auto found = [&] {
        return std::find_if(events_.begin(), events_.end(), [&](const Event& e) {
            return e.lost && e.kind == kind;
        });
    };
    if (!changed_.wait_until(lock, deadlineAfter(timeoutMs), [&] { return found() != events_.end(); }))
        return false;
    events_.erase(events_.begin(), found() + 1);
    return true;
}

std::size_t ByteQueue::size() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return events_.size();
}

}  // namespace orlo
