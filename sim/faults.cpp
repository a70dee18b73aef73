// Dropped, corrupted and garbled replies (see faults.h).
#include "sim/faults.h"

#include "device/frames.h"

namespace orlo::sim {

namespace {

bool due(unsigned every, unsigned count)
{
    return every != 0 && count % every == 0;
}

// Changes the last byte before the check and recomputes the check: the CRC
// of CRC replies (two bytes), the sum of sum replies (one byte).
void corrupt(std::string& reply)
{
    const bool sumForm = reply.size() == kSumFrameBytes &&
                         static_cast<unsigned char>(reply[0]) == kSumReplyStart;
    const std::size_t checkBytes = sumForm ? 1 : 2;
    if (reply.size() <= checkBytes + 2)
        return;
    reply.resize(reply.size() - checkBytes);
    reply.back() = static_cast<char>(reply.back() ^ 0x5A);
    if (sumForm)
        reply += static_cast<char>(sum8(reply));
    else
        appendCrc(reply);
}

}  // namespace

std::string FaultInjector::apply(std::string reply)
{
    if (reply.empty())
        return reply;
    ++count_;
    if (due(plan_.dropEvery, count_)) {
        ++injected_;
        return std::string();
    }
    const std::string asDue = reply;
    const bool sumForm = reply.size() == kSumFrameBytes &&
                         static_cast<unsigned char>(reply[0]) == kSumReplyStart;
    if (due(plan_.misanswerEvery, count_) && !sumForm)
        reply = shortReply(static_cast<std::uint8_t>(reply[0]), kSettingCommand, 0, 0);
    if (due(plan_.corruptEvery, count_))
        corrupt(reply);
    if (due(plan_.garbleEvery, count_))
        reply.back() = static_cast<char>(reply.back() ^ 0xFF);
    if (reply != asDue)
        ++injected_;
    return reply;
}

}  // namespace orlo::sim
