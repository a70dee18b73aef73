// The relay boards' 8-byte sum replies as the relay tools read them: which
// ones the test panel takes (a state of its board, or the address reply) and
// the channel states in words for the command line.
//
// Reply layout: 0x22, the module's address, function, D3..D0, sum. State
// replies (function 0x10 to 0x2F) carry the 32 channel states high byte
// first, bit n - 1 set for a closed channel n; the address reply (function
// 0x40) carries the module's address in byte 1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orlo {

// True for exactly 8 bytes starting with 0x22 whose last byte is the low
// 8 bits of the sum of the seven before.
bool isRelayReply(std::string_view frame);

enum class RelayReplyKind {
    Ignored,
    State,    // a state reply from the panel's board
    Address,  // the reply to "读地址": the module's address and its state
};

struct RelayReplyAction {
    RelayReplyKind kind = RelayReplyKind::Ignored;
    std::uint8_t address = 0;  // byte 1
    std::uint32_t state = 0;   // bytes 3 to 6, high byte first
};

// What the test panel does with a reply while it talks to panelAddress.
RelayReplyAction interpretPanelReply(std::string_view frame, std::uint8_t panelAddress);

// A state reply's function byte lies in this range.
constexpr std::uint8_t kFirstStateFunction = 0x10;
constexpr std::uint8_t kLastStateFunction = 0x2F;

// The closed channels of a state, ascending, blank-separated ("1 3 12");
// "none" when all are open.
std::string closedChannelsText(std::uint32_t state);

}  // namespace orlo
