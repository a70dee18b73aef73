// Reading the relay boards' sum replies (see relay_reply.h).
#include "tools/relay_reply.h"

#include "device/frames.h"
#include "expr/byte_io.h"
#include "tools/relay_frames.h"

namespace orlo {

bool isRelayReply(std::string_view frame)
{
    return frame.size() == kSumFrameBytes &&
           static_cast<std::uint8_t>(frame[0]) == kSumReplyStart &&
           sum8(frame.substr(0, kSumFrameBytes - 1)) == static_cast<std::uint8_t>(frame[7]);
}

RelayReplyAction interpretPanelReply(std::string_view frame, std::uint8_t panelAddress)
{
    RelayReplyAction action;
    if (!isRelayReply(frame))
        return action;
    ByteReader r(frame);
    r.u8();
    const std::uint8_t address = r.u8();
    const std::uint8_t function = r.u8();
    const std::uint32_t state = r.u32be();
    if (function >= kFirstStateFunction && function <= kLastStateFunction &&
        address == panelAddress)
        action.kind = RelayReplyKind::State;
    else if (function == kReadAddressFunction)
        action.kind = RelayReplyKind::Address;
    else
        return action;
    action.address = address;
    action.state = state;
    return action;
}

std::string closedChannelsText(std::uint32_t state)
{
    std::string out;
    for (int n = 1; n <= kRelayChannelCount; ++n) {
        if (state & (std::uint32_t{1} << (n - 1))) {
            if (!out.empty())
                out += ' ';
            out += std::to_string(n);
        }
    }
    return out.empty() ? "none" : out;
}

}  // namespace orlo
