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

// Adds one to the block number a block reply carries: the first two data
// bytes of a 0x67 reply, A of a 0x6A acknowledgement.
void misnumber(std::string& reply)
{
    if (reply.size() < 6)
        return;
    const auto command = static_cast<unsigned char>(reply[1]);
    std::size_t at = 0;
    if (command == kReadBlockCommand && reply.size() >= 7)
        at = 3;
    else if (command == kDataBlockCommand && reply.size() == kShortReplyBytes)
        at = 2;
    else
        return;
    const unsigned block = (static_cast<unsigned char>(reply[at]) << 8 |
                            static_cast<unsigned char>(reply[at + 1])) + 1;
    reply[at] = static_cast<char>(block >> 8 & 0xFF);
    reply[at + 1] = static_cast<char>(block & 0xFF);
    reply.resize(reply.size() - 2);
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
    if (due(plan_.wrongBlockEvery, count_) && !sumForm)
        misnumber(reply);
    if (due(plan_.corruptEvery, count_))
        corrupt(reply);
    if (due(plan_.garbleEvery, count_))
        reply.back() = static_cast<char>(reply.back() ^ 0xFF);
    if (reply != asDue)
        ++injected_;
    return reply;
}

}  // namespace orlo::sim
